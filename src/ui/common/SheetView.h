#pragma once

#include "core/Sheet.h"

#include <QString>
#include <vector>

class QWidget;

namespace korvel {

class GridView;

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

// Widens the shown columns of the sheet's grids (grids[i] shows the i-th table; null when the
// screen has no such grid) so that the grids the sheet aligns line up on the screen.
void lineUpGrids(const Sheet& sheet, const std::vector<GridView*>& grids);

} // namespace korvel
