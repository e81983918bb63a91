#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace korvel {

inline const QString kProgramVersion = QStringLiteral("vdx.1.1");

// The "Hakkında" box: the program's name, version and what it does; its only button closes it.
QDialog* makeAboutBox(QWidget* parent);

} // namespace korvel
