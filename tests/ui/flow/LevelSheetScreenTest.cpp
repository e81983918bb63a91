#include "ui/flow/LevelSheetScreen.h"

#include "FlowScreenFixture.h"
#include "flow/LevelSheet.h"
#include "platform/ScriptedDialogs.h"
#include "store/WaterYearFile.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace korvel;
using namespace korvel::test;

namespace {

constexpr int kDecember = 2;

DayRecord recordOn(const std::filesystem::path& file, OleDate date) {
    const auto records = readWaterYearFile(file);
    return records[*findDay(records, date) - 1];
}

} // namespace

class LevelSheetScreenTest : public QObject {
    Q_OBJECT

private slots:
    void refusesToOpenWithoutStation() {
        DemoStation station;
        station.hub.state.record = StationRecord();
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        QVERIFY(LevelSheetScreen::open(station.context, station.hub) == nullptr);
        QCOMPARE(dialogs.messages(),
                 QStringList{QStringLiteral("Lütfen istasyon secimini yapınız yada yeniden oluşturunuz")});
    }

    void opensOnTheStationScreensFileAndMonth() {
        DemoStation station;
        station.hub.selectFlowFile("");
        station.hub.setMonthIndex(kDecember);
        std::unique_ptr<LevelSheetScreen> screen(LevelSheetScreen::open(station.context, station.hub));
        QVERIFY(screen);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        saveScreenshot(screen.get(), "seviyegozlemfrm");
        // Without a selection the sheet takes the last file and tells the station screen.
        QCOMPARE(screen->selectedFile(), QStringLiteral("2004_01-001.ard"));
        QCOMPARE(station.hub.state.selectedFlowFile, std::string("2004_01-001.ard"));
        QCOMPARE(screen->findChild<QLabel*>("Label9")->text(), QStringLiteral("2004  Su yılı    Aralık ayı"));
        QCOMPARE(screen->findChild<QLabel*>("Label2")->text(),
                 QStringLiteral("Agi No..............:   01-001  "));
        GridView* grid = gridOf(screen.get(), "MSFlexGrid1");
        QCOMPARE(grid->cell(1, 0), std::string("30.11.2003"));
        QCOMPARE(grid->cell(2, 0), std::string("01.12.2003"));
        QCOMPARE(grid->cell(32, 0), std::string("31.12.2003"));

        screen->selectFile("2003_01-001.ard");
        QCOMPARE(station.hub.state.selectedFlowFile, std::string("2003_01-001.ard"));
        QCOMPARE(grid->cell(2, 0), std::string("01.12.2002"));
        screen->selectMonth(0);
        QCOMPARE(station.hub.state.monthIndex, 0);
        QCOMPARE(grid->cell(1, 0), std::string());
    }

    // December 2003 of the demo holds logger days: saving it as shown changes no byte.
    void untouchedMonthIsSavedUnchanged() {
        DemoStation station;
        station.hub.setMonthIndex(kDecember);
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        std::unique_ptr<LevelSheetScreen> screen(LevelSheetScreen::open(station.context, station.hub));
        const Bytes before = station.bytesOf(station.flowFile());
        QCOMPARE(screen->save(), 0);
        QCOMPARE(station.bytesOf(station.flowFile()), before);
        QVERIFY(dialogs.calls().isEmpty());
    }

    void keyedMonthGetsItsMeansAndIsSaved() {
        DemoStation station;
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        station.hub.setMonthIndex(kDecember);
        std::unique_ptr<LevelSheetScreen> screen(LevelSheetScreen::open(station.context, station.hub));
        screen->resize(900, 800);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        GridView* grid = gridOf(screen.get(), "MSFlexGrid1");

        // Readings of the day before and of 1..3 December; 2 December has no afternoon reading.
        typeInto(grid, 1, 1, "120", 4);
        typeInto(grid, 1, 2, "100", 4);
        typeInto(grid, 2, 1, "110", 4);
        typeInto(grid, 2, 2, "130", 4);
        typeInto(grid, 3, 1, "120", 4);
        typeInto(grid, 3, 2, "", 4);
        typeInto(grid, 4, 1, "150", 4);
        typeInto(grid, 4, 2, "0", 4);
        typeInto(grid, 4, 1, "56"); // a fifth character is refused
        QCOMPARE(grid->cell(4, 1), std::string("1505"));
        typeInto(grid, 4, 1, "", 1);
        typeInto(grid, 5, 1, "2", 4);
        doubleClickCell(grid, 1, 3);
        QCOMPARE(grid->cell(2, 3), std::string("118")); // (100 + 5*110 + 5*130 + 120) / 12
        QCOMPARE(grid->cell(3, 3), std::string("126")); // (110 + 13*120 + 4*150) / 18
        QCOMPARE(grid->cell(4, 3), std::string("115")); // (120 + 13*150 + 4*2) / 18
        QCOMPARE(grid->cell(4, 2), std::string());      // its "0" afternoon emptied
        QVERIFY(grid->isVisible());

        // The days typed over and those whose means were computed replace logger days: the
        // user is asked once, naming how many.
        dialogs.queueAnswer(true);
        const int written = screen->save();
        QVERIFY(written >= 3 && written <= 30);
        QCOMPARE(dialogs.calls().size(), 1);
        QCOMPARE(dialogs.calls().at(0).kind, ScriptedDialogs::Kind::YesNo);
        QVERIFY(
            dialogs.calls().at(0).text.contains(QStringLiteral("limnigraftan gelen %1 gün").arg(written)));
        QCOMPARE(screen->save(), 0);
        const DayRecord first = recordOn(station.flowFile(), OleDate::fromDate(2003, 12, 1));
        QCOMPARE(first.maxLevel, std::int16_t(130));
        QCOMPARE(first.minLevel, std::int16_t(110));
        QCOMPARE(first.meanValue, 118.0F);
        QCOMPARE(QString::fromStdString(first.source), QStringLiteral("R 2         "));
        const DayRecord second = recordOn(station.flowFile(), OleDate::fromDate(2003, 12, 2));
        QCOMPARE(QString::fromStdString(second.source), QStringLiteral("R 1         "));

        // Reopened, the sheet shows what was saved.
        std::unique_ptr<LevelSheetScreen> again(LevelSheetScreen::open(station.context, station.hub));
        QCOMPARE(gridOf(again.get(), "MSFlexGrid1")->cell(2, 3), std::string("118"));
        QCOMPARE(gridOf(again.get(), "MSFlexGrid1")->cell(3, 2), std::string());
    }

    void fillDownAndBlockFill() {
        DemoStation station;
        station.hub.setMonthIndex(kDecember);
        std::unique_ptr<LevelSheetScreen> screen(LevelSheetScreen::open(station.context, station.hub));
        screen->resize(900, 800);
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        GridView* grid = gridOf(screen.get(), "MSFlexGrid1");
        for (int r = 1; r <= 33; ++r)
            grid->setCell(r, 2, "");
        grid->setCell(1, 2, "77");
        grid->setCell(10, 2, "88");
        doubleClickCell(grid, 1, 2);
        QCOMPARE(grid->cell(9, 2), std::string("77"));
        QCOMPARE(grid->cell(11, 2), std::string("88"));
        QCOMPARE(grid->cell(33, 2), std::string("88"));

        grid->setCell(3, 1, "99");
        dragCells(grid, 3, 1, 5, 3);
        QTest::mouseClick(screen->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(grid->cell(5, 3), std::string("99"));
        QCOMPARE(grid->cell(4, 2), std::string("99"));
    }

    void newWaterYearAndPrinting() {
        DemoStation station;
        std::unique_ptr<LevelSheetScreen> screen(LevelSheetScreen::open(station.context, station.hub));
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        ScriptedDialogs dialogs;
        DialogProviderScope scope(dialogs);
        dialogs.queueInput("2005");
        screen->addWaterYear();
        QCOMPARE(dialogs.calls().front().defaultAnswer, QStringLiteral("2005"));
        QVERIFY(std::filesystem::exists(station.dir / "2005_01-001.ard"));
        QCOMPARE(screen->selectedFile(), QStringLiteral("2005_01-001.ard"));
        QCOMPARE(screen->findChild<QListWidget*>("File1")->count(), 11);

        // An existing year is left alone; a non-numeric answer does nothing.
        const Bytes before = station.bytesOf(station.flowFile());
        dialogs.queueInput("2004");
        screen->addWaterYear();
        dialogs.queueInput("iki");
        screen->addWaterYear();
        QVERIFY(station.bytesOf(station.flowFile()) == before);
        QVERIFY(dialogs.messages().isEmpty());

        const auto printer = station.pdfPrinter("sheet.pdf");
        QVERIFY(screen->print(*printer));
        QVERIFY(isPdf(station.drive.filePath("sheet.pdf")));
        QVERIFY(screen->findChild<QComboBox*>("Combo1")->isVisible());
        QVERIFY(screen->findChild<QListWidget*>("File1")->isVisible());
    }
};

QTEST_MAIN(LevelSheetScreenTest)
#include "LevelSheetScreenTest.moc"
