#pragma once

class QWidget;

namespace korvel {

// Closes a screen together with the child-window frame the main window put around it; a
// screen shown as a window of its own simply closes.
void closeScreenWindow(QWidget* screen);

} // namespace korvel
