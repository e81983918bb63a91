#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace korvel {

void copyGridToClipboard(const Table& table) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    clipboard->clear();
    clipboard->setText(QString::fromStdString(table.clipboardText()));
}

} // namespace korvel
