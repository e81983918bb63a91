#include "ui/transfer/ImportReportView.h"

#include "platform/Dialogs.h"

#include <QListWidget>
#include <QStringList>

namespace korvel {

void showImportReport(QWidget* screen, QListWidget* resultList, const ImportReport& report) {
    QStringList lines;
    for (const std::string& text : report.texts())
        lines << QString::fromStdString(text);
    if (resultList != nullptr) {
        resultList->clear();
        resultList->addItems(lines);
        resultList->setVisible(!lines.isEmpty());
    }
    if (!lines.isEmpty())
        showMessage(screen, lines.join('\n'), kResultListTitle);
}

} // namespace korvel
