#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace korvel {

// The button row of a dialog that does one thing: its action button (the default one) and
// "Kapat" ("closeButton"), which closes the dialog without acting, both at the right.
QHBoxLayout* actionButtonRow(QDialog* dialog, QPushButton* action);

} // namespace korvel
