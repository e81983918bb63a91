#pragma once

#include "transfer/ImportReport.h"

#include <QString>

class QListWidget;
class QWidget;

namespace korvel {

// The heading of the result list's message box.
inline const QString kResultListTitle = QStringLiteral("Aktarılamayan dosyalar");

// Puts the report's lines into the screen's result list and, when there are any, shows them
// in one message box: the files left out, each with its reason.
void showImportReport(QWidget* screen, QListWidget* resultList, const ImportReport& report);

} // namespace korvel
