#include "ui/common/Export.h"

#include "core/CsvText.h"
#include "core/FileIO.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "ui/common/GridView.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace korvel {

namespace {

QString suggestedName(QWidget* window, const QString& extension) {
    QString name = window->objectName().isEmpty() ? QStringLiteral("tablo") : window->objectName();
    return name + extension;
}

} // namespace

bool printAsShown(QWidget* window, QPrinter& printer) {
    if (auto* report = dynamic_cast<ReportWindow*>(window))
        return printSheets({report->reportSheet()}, printer);
    if (auto* printed = dynamic_cast<PrintedWindow*>(window))
        return printed->printOn(printer);
    return printWindow(window, printer);
}

QWidget* previewWindow(QWidget* window, QWidget* parent) {
    auto* dialog = new QPrintPreviewDialog(&applicationPrinter(), parent);
    dialog->setObjectName(QStringLiteral("baskionizleme"));
    dialog->setWindowTitle(QStringLiteral("Baskı önizleme"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Large enough to read a page, within the screen.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen != nullptr ? screen->availableGeometry().size() : QSize(1600, 1000);
    dialog->resize(QSize(1100, 900).boundedTo(available - QSize(40, 60)));
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [window = QPointer<QWidget>(window)](QPrinter* printer) {
                         if (window != nullptr)
                             printAsShown(window, *printer);
                     });
    dialog->open();
    return dialog;
}

bool saveWindowAsPdf(QWidget* window, QWidget* parent) {
    if (window == nullptr)
        return false;
    const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("PDF olarak kaydet"),
                                                      suggestedName(window, QStringLiteral(".pdf")),
                                                      QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty())
        return false;
    if (printToPdf(file, [window](QPrinter& printer) { return printAsShown(window, printer); }))
        return true;
    showMessage(parent, QStringLiteral("PDF dosyası yazılamadı: %1").arg(file));
    return false;
}

QList<std::pair<QString, Table>> windowGrids(QWidget* window) {
    QList<std::pair<QString, Table>> grids;
    if (window == nullptr)
        return grids;
    for (GridView* grid : window->findChildren<GridView*>())
        grids.append({grid->objectName(), grid->table()});
    return grids;
}

QList<QString> saveGridsAsCsv(const QList<std::pair<QString, Table>>& grids,
                              const std::filesystem::path& base, const Locale& locale) {
    QList<QString> written;
    const char separator = csvSeparator(locale);
    for (const auto& [name, table] : grids) {
        std::filesystem::path file = base;
        file += grids.size() == 1 ? std::string(".csv") : "_" + name.toStdString() + ".csv";
        try {
            writeFileAtomic(file, csvText(table, separator));
            written.append(QString::fromStdString(file.string()));
        } catch (const std::exception&) {
            continue;
        }
    }
    return written;
}

QList<QString> saveSheetAsCsv(const Sheet& sheet, const std::filesystem::path& base, const Locale& locale) {
    QList<std::pair<QString, Table>> grids;
    for (const auto& [name, table] : sheet.tables())
        grids.append({QString::fromStdString(name), table});
    QList<QString> written = grids.isEmpty() ? QList<QString>{} : saveGridsAsCsv(grids, base, locale);
    std::filesystem::path file = base;
    file += "_" + std::string(kCsvTextsName) + ".csv";
    try {
        writeFileAtomic(file, csvTextsOf(sheet, csvSeparator(locale)));
        written.append(QString::fromStdString(file.string()));
    } catch (const std::exception&) {
    }
    return written;
}

bool saveWindowGridsAsCsv(QWidget* window, QWidget* parent, const Locale& locale) {
    const auto* report = dynamic_cast<const ReportWindow*>(window);
    const auto grids = windowGrids(window);
    if (report == nullptr && grids.isEmpty())
        return false;
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("CSV olarak kaydet"),
                                                suggestedName(window, QStringLiteral(".csv")),
                                                QStringLiteral("CSV (*.csv)"));
    if (file.isEmpty())
        return false;
    if (file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        file.chop(4);
    if (report != nullptr) {
        const Sheet sheet = report->reportSheet();
        const auto written = saveSheetAsCsv(sheet, file.toStdString(), locale);
        if (written.size() == static_cast<qsizetype>(sheet.tables().size()) + 1)
            return true;
    } else if (saveGridsAsCsv(grids, file.toStdString(), locale).size() == grids.size()) {
        return true;
    }
    showMessage(parent, QStringLiteral("CSV dosyası yazılamadı: %1").arg(file));
    return false;
}

void addExportMenu(QWidget* window, const Locale* locale) {
    const auto add = [window](const QString& name, const QString& text, std::function<void()> run) {
        auto* action = new QAction(text, window);
        action->setObjectName(name);
        QObject::connect(action, &QAction::triggered, window, std::move(run));
        window->addAction(action);
    };
    add(QStringLiteral("yazdir"), QStringLiteral("Yazdır"),
        [window] { printAsShown(window, applicationPrinter()); });
    add(QStringLiteral("onizle"), QStringLiteral("Baskı önizleme"),
        [window] { previewWindow(window, window); });
    add(QStringLiteral("pdf"), QStringLiteral("PDF olarak kaydet"),
        [window] { saveWindowAsPdf(window, window); });
    if (locale != nullptr)
        add(QStringLiteral("csv"), QStringLiteral("CSV olarak kaydet"),
            [window, locale] { saveWindowGridsAsCsv(window, window, *locale); });
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace korvel
