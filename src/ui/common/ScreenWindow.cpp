#include "ui/common/ScreenWindow.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace korvel {

void closeScreenWindow(QWidget* screen) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        frame->close();
    else
        screen->close();
}

} // namespace korvel
