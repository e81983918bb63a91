#include "ui/flow/MonthlyFlowScreen.h"

#include "FlowScreenFixture.h"
#include "flow/MonthTable.h"
#include "platform/ScriptedDialogs.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "ui/common/SheetView.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace korvel;
using namespace korvel::test;

namespace {

constexpr int kNovember = 1;

DayRecord recordOn(const std::filesystem::path& file, OleDate date) {
    const auto records = readWaterYearFile(file);
    return records[*findDay(records, date) - 1];
}

} // namespace

class MonthlyFlowScreenTest : public QObject {
    Q_OBJECT

private slots:
    void refusesToOpenWithoutFlowFile() {
        DemoStation station;
        station.hub.selectFlowFile("");
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        QVERIFY(MonthlyFlowScreen::open(station.context, station.hub) == nullptr);
        QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Lütfen su yılı dosyası seciniz")});
    }

    void showsTheStationScreensMonthAsTheToolDoes() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
        QVERIFY(screen);
        screen->resize(1100, 700);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        QVERIFY2(clock.elapsed() < 2000, "opening took too long");
        saveScreenshot(screen.get(), "aylikgridfrm");

        QCOMPARE(screen->objectName(), QStringLiteral("aylıkgridfrm"));
        QCOMPARE(screen->windowTitle(), QStringLiteral("Seviye gözlem cetveli (limnigraf)"));
        QCOMPARE(screen->findChild<QComboBox*>("Combo1")->currentIndex(), kNovember);
        QVERIFY(screen->findChild<QListWidget*>("List1")->isHidden());

        const auto records = readWaterYearFile(station.flowFile());
        const Sheet expected = fillMonthTable(records, loadHqTableSet(station.dir), station.hub.state.record,
                                              "2004_01-001.ard", kNovember, station.context.locale);
        const Sheet shown = readSheet(screen.get(), expected);
        QCOMPARE(*shown.findTable("MSFlexGrid2"), *expected.findTable("MSFlexGrid2"));
        QCOMPARE(shown.texts(), expected.texts());
        QCOMPARE(gridOf(screen.get(), "MSFlexGrid2")->cell(1, 0), std::string("01.11.2003"));
    }

    void choosingAMonthMovesTheStationScreenToo() {
        DemoStation station;
        std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
        auto* combo = screen->findChild<QComboBox*>("Combo1");
        QCOMPARE(combo->currentIndex(), 0);
        screen->selectMonth(4);
        QCOMPARE(station.hub.state.monthIndex, 4);
        QCOMPARE(combo->currentIndex(), 4);
        QCOMPARE(gridOf(screen.get(), "MSFlexGrid2")->cell(29, 0), std::string("29.02.2004"));
        QCOMPARE(screen->monthFlow().days.size(), std::size_t(29));
    }

    void keyedCellIsSavedWithTheEditTagAndNeighboursStay() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
        screen->show();
        GridView* grid = gridOf(screen.get(), "MSFlexGrid2");
        const DayRecord before2 = recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 2));
        const DayRecord before4 = recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 4));

        typeInto(grid, 3, 1, "95", 3);
        QCOMPARE(grid->cell(3, 1), std::string("95"));
        typeInto(grid, 3, 1, "5"); // a fourth digit is refused
        QCOMPARE(grid->cell(3, 1), std::string("955"));
        typeInto(grid, 3, 1, "1");
        QCOMPARE(grid->cell(3, 1), std::string("955"));
        typeInto(grid, 3, 6, "7"); // the discharge column takes no keys
        QCOMPARE(grid->cell(3, 6), screen->sheet().findTable("MSFlexGrid2")->cell(3, 6));

        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        const MonthTableSave saved = screen->save();
        QVERIFY(saved.kept.empty());
        QVERIFY(dialogs.messages().isEmpty());
        const DayRecord after = recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 3));
        QCOMPARE(after.maxLevel, std::int16_t(955));
        QCOMPARE(QString::fromStdString(after.source), QStringLiteral("LE korvelmaş"));
        QVERIFY(recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 2)) == before2);
        QVERIFY(recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 4)) == before4);

        // Opened again, the table shows the saved day.
        std::unique_ptr<MonthlyFlowScreen> again(MonthlyFlowScreen::open(station.context, station.hub));
        QCOMPARE(gridOf(again.get(), "MSFlexGrid2")->cell(3, 1), std::string("955"));
        QCOMPARE(gridOf(again.get(), "MSFlexGrid2")->cell(3, 9), std::string("LE korvelmaş"));
    }

    void clearedCellKeepsItsValueAndIsNamed() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
        GridView* grid = gridOf(screen.get(), "MSFlexGrid2");
        const DayRecord before = recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 5));
        grid->setCell(5, 2, "");
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        screen->save();
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages().front().contains(QStringLiteral("05.11.2003  Max.saat")));
        QVERIFY(recordOn(station.flowFile(), OleDate::fromDate(2003, 11, 5)) == before);
    }

    void commandOneCopiesThePressedCellDownwards() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
        screen->resize(1100, 700);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        GridView* grid = gridOf(screen.get(), "MSFlexGrid2");
        const std::string top = grid->cell(2, 1);
        dragCells(grid, 2, 1, 4, 1);
        QTest::mouseClick(screen->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(grid->cell(3, 1), top);
        QCOMPARE(grid->cell(4, 1), top);
    }

    void doubleClickListsTheDaysReadingsAndPrintingKeepsThem() {
        DemoStation station;
        station.hub.setMonthIndex(kNovember);
        // A readings file for 7 November: ten-minute readings 500, 501, ...
        QByteArray readings(13, '\0');
        readings[0] = 10;
        readings[1] = 1;
        readings.append(char(7)).append(char(11)).append(char(3));
        for (int j = 0; j < 144; ++j)
            readings.append(char((500 + j) / 256)).append(char((500 + j) % 256));
        Bytes bytes(readings.begin(), readings.end());
        writeFileAtomic(station.dir / "Yen1-2  .-3", bytes);
        auto records = readWaterYearFile(station.flowFile());
        const auto n = *findDay(records, OleDate::fromDate(2003, 11, 7));
        records[n - 1].rawDataFile = "Yen1-2  .-3 ";
        // 8 November has no readings file.
        records[n].rawDataFile = std::string(DayRecord::kTextWidth, ' ');
        writeDayRecords(station.flowFile(), {{n, records[n - 1]}, {n + 1, records[n]}});

        std::unique_ptr<MonthlyFlowScreen> screen(MonthlyFlowScreen::open(station.context, station.hub));
        screen->resize(1100, 700);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        GridView* grid = gridOf(screen.get(), "MSFlexGrid2");
        grid->setCurrentCell(7, 4);
        doubleClickCell(grid, 7, 4);
        auto* list = screen->findChild<QListWidget*>("List1");
        QVERIFY(list->isVisible());
        QCOMPARE(list->count(), 144);
        QCOMPARE(list->item(1)->text(), QStringLiteral("00:10:00....501"));
        QCOMPARE(screen->findChild<QLabel*>("readingsCaption")->text(),
                 QStringLiteral("07.11.2003 anlık ölcümler"));
        QCOMPARE(grid->currentColumn(), 4);
        saveScreenshot(screen.get(), "aylikgridfrm-readings");

        const auto printer = station.pdfPrinter("monthly.pdf");
        QVERIFY(screen->print(*printer));
        QVERIFY(isPdf(station.drive.filePath("monthly.pdf")));
        QVERIFY(list->isVisible());
        QVERIFY(screen->findChild<QComboBox*>("Combo1")->isVisible());
        QVERIFY(screen->findChild<QLabel*>("readingsCaption")->isVisible());

        // A day without a readings file hides the list again.
        doubleClickCell(grid, 8, 1);
        QVERIFY(list->isHidden());
    }
};

QTEST_MAIN(MonthlyFlowScreenTest)
#include "MonthlyFlowScreenTest.moc"
