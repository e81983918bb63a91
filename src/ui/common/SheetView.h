#pragma once

#include "core/Sheet.h"

#include <QString>

class QWidget;

namespace korvel {

// Shows a `Sheet` on a screen: every text goes into the child control of the same object name
// (label, line box, text box or button caption), every table into the grid of its name, and a
// non-empty caption becomes the window title. Names without a control are skipped.
void showSheet(QWidget* screen, const Sheet& sheet);

// Sets the text of the named child control; false when the screen has no such control.
bool setControlText(QWidget* screen, const QString& name, const QString& text);
// The text of the named child control, empty when there is none.
QString controlText(const QWidget* screen, const QString& name);

// What the screen shows, read back: its title, the tables of its grids and the texts of the
// controls named in `like` (the sheet it was filled from).
Sheet readSheet(const QWidget* screen, const Sheet& like);

} // namespace korvel
