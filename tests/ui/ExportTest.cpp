#include "ui/common/Export.h"

#include "core/CsvText.h"
#include "core/FileIO.h"
#include "ui/common/GridView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;

namespace {

Table grid(const char* corner, const char* value) {
    Table table(2, 2, 1, 1);
    table.setCell(0, 0, corner);
    table.setCell(0, 1, "Akım(l)");
    table.setCell(1, 0, "01.10.2003");
    table.setCell(1, 1, value);
    return table;
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    // The grids of a window are written one file each and read back cell for cell.
    void gridsOfAWindowRoundTripThroughCsv() {
        QWidget window;
        auto* first = new GridView(&window);
        first->setObjectName(QStringLiteral("MSFlexGrid1"));
        first->setTable(grid("Ay", "12,5"));
        auto* second = new GridView(&window);
        second->setObjectName(QStringLiteral("MSFlexGrid2"));
        second->setTable(grid("Gün", "1.234,75"));
        const auto grids = windowGrids(&window);
        QCOMPARE(grids.size(), 2);

        QTemporaryDir dir;
        const std::filesystem::path base = std::filesystem::path(dir.path().toStdString()) / "yillik";
        const auto written = saveGridsAsCsv(grids, base, Locale::turkish());
        QCOMPARE(written.size(), 2);
        QVERIFY(written[1].endsWith(QStringLiteral("yillik_MSFlexGrid2.csv")));
        const Bytes bytes = readFileBytes(written[1].toStdString()).value_or(Bytes{});
        const std::string text(bytes.begin(), bytes.end());
        QCOMPARE(text, std::string("\xEF\xBB\xBFGün;Akım(l)\r\n01.10.2003;1.234,75\r\n"));
        const auto rows = parseCsvText(text, ';');
        QCOMPARE(rows.size(), std::size_t{2});
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                QCOMPARE(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)],
                         grids[1].second.cell(r, c));

        // One grid goes to the file name itself.
        const auto single = saveGridsAsCsv(grids.mid(0, 1), base, Locale::american());
        QCOMPARE(single, QList<QString>{QString::fromStdString(base.string() + ".csv")});
    }

    // A window that leaves controls out of its printout prints itself for the preview and PDF.
    void aPrintedWindowPrintsItself() {
        struct Printed : QWidget, PrintedWindow {
            int prints = 0;
            bool printOn(QPrinter&) override {
                ++prints;
                return true;
            }
        } printed;
        QPrinter printer;
        QVERIFY(printAsShown(&printed, printer));
        QCOMPARE(printed.prints, 1);
    }

    // Windows no menu prints carry the export items themselves; grids keep their own menu.
    void windowsWithoutAPrintCommandCarryTheExportMenu() {
        QWidget chart;
        addExportMenu(&chart);
        QStringList texts;
        for (QAction* action : chart.actions())
            texts << action->text();
        QCOMPARE(texts, (QStringList{"Yazdır", "Baskı önizleme", "PDF olarak kaydet"}));
        QCOMPARE(chart.contextMenuPolicy(), Qt::ActionsContextMenu);

        QWidget table;
        const Locale locale = Locale::turkish();
        addExportMenu(&table, &locale);
        QCOMPARE(table.actions().size(), 4);
        QCOMPARE(table.actions().last()->text(), QStringLiteral("CSV olarak kaydet"));

        auto* grid = new GridView(&table);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        event.ignore();
        QApplication::sendEvent(grid->viewport(), &event);
        QVERIFY(event.isAccepted());
    }

    void previewOpensWithoutBlocking() {
        QWidget window;
        window.resize(200, 100);
        QWidget* preview = previewWindow(&window, nullptr);
        QVERIFY(qobject_cast<QPrintPreviewDialog*>(preview) != nullptr);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Baskı önizleme"));
        preview->close();
    }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
