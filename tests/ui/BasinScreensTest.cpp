#include "ui/basin/BasinScreens.h"

#include "DemoDrive.h"
#include "store/RainYearFile.h"
#include "ui/common/GridView.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace korvel;

namespace {

// The demo drive's basin: the rain gauges 01-001, 01-002 and 01-003 and the flow gauge 01-001
// for the water year 2004, selected on the station screen, whose current station is 01-002.
struct DemoBasin {
    QTemporaryDir temp;
    std::filesystem::path region;
    MemoryStationHub hub;
    BasinInputs inputs;

    DemoBasin() {
        const std::filesystem::path drive = temp.path().toStdString();
        korvel::demo::writeDemoDrive(drive);
        region = drive / "korvel2000" / "Ankara" / "01";
        std::array<std::filesystem::path, 3> rain;
        const char* numbers[] = {"01-001", "01-002", "01-003"};
        for (std::size_t s = 0; s < 3; ++s)
            rain[s] = region / numbers[s] / rainYearFileName(2004, numbers[s]);
        hub.setStationDirectory(region / "01-002");
        hub.state.flowSelection = {region / "01-001" / "2004_01-001.ard"};
        hub.state.rainSelection = {rain[0], rain[1], rain[2]};
        hub.state.rainSelectionCurrent = 0;
        inputs = loadBasinInputs(hub.state.flowSelection[0], rain);
    }
};

} // namespace

class BasinScreensTest : public QObject {
    Q_OBJECT
private slots:
    void basinRainScreenShowsTheTableAndCharts() {
        DemoBasin basin;
        AppContext context;
        BasinRainScreen screen(context, basin.hub);
        QCOMPARE(screen.objectName(), QString("kht1"));
        const Sheet expected = basinRainSheet(basin.inputs, context.locale);
        QCOMPARE(screen.shownSheet().findTable("MSFlexGrid1")->clipboardText(),
                 expected.findTable("MSFlexGrid1")->clipboardText());
        QCOMPARE(screen.windowTitle(), QString::fromStdString(expected.caption));
        QCOMPARE(screen.monthlyChart()->series().size(), 1);
        QCOMPARE(screen.runningChart()->series().size(), 2);
        // The station screen ends on the third rain file and the flow gauge's station.
        QCOMPARE(basin.hub.state.rainSelectionCurrent, 2);
        QCOMPARE(QString::fromStdString(basin.hub.state.stationDir.filename().string()), QString("01-001"));

        GridView* grid = screen.grid("MSFlexGrid1");
        QCOMPARE(grid->copyMenu()->objectName(), QString("kesmen1"));
        grid->copyMenu()->actions().at(0)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(grid->table().clipboardText()));
    }

    void runoffScreenEndsOnTheThirdGaugeAndTakesTyping() {
        DemoBasin basin;
        AppContext context;
        BasinRunoffScreen screen(context, basin.hub);
        const Sheet expected = basinRunoffSheet(basin.inputs, context.locale);
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2", "MSFlexGrid3"})
            QCOMPARE(screen.shownSheet().findTable(name)->clipboardText(),
                     expected.findTable(name)->clipboardText());
        QCOMPARE(screen.grid("MSFlexGrid3")->copyMenu()->objectName(), QString("kesmen5"));
        QCOMPARE(QString::fromStdString(basin.hub.state.stationDir.filename().string()), QString("01-003"));
        QCOMPARE(basin.hub.state.rainSelectionCurrent, 2);

        GridView* grid = screen.grid("MSFlexGrid1");
        grid->setCurrentCell(3, 1);
        QTest::keyClicks(grid, "12,5x");
        QCOMPARE(grid->cell(3, 1), std::string("12.5"));
    }

    void dailyAndRainyDayScreens() {
        DemoBasin basin;
        AppContext context;
        BasinDailyScreen daily(context, basin.hub);
        QCOMPARE(daily.shownSheet().findTable("MSFlexGrid1")->clipboardText(),
                 basinDailySheet(basin.inputs, context.locale).findTable("MSFlexGrid1")->clipboardText());
        QCOMPARE(daily.grid("MSFlexGrid1")->copyMenu()->objectName(), QString("kesmen2"));

        basin.hub.setStationDirectory(basin.region / "01-003");
        RainyDayScreen rainy(context, basin.hub);
        const Sheet expected = rainyDaySheet(basin.inputs, context.locale);
        QCOMPARE(rainy.shownSheet().findTable("MSFlexGrid2")->clipboardText(),
                 expected.findTable("MSFlexGrid2")->clipboardText());
        QCOMPARE(rainy.grid("MSFlexGrid2")->copyMenu()->objectName(), QString("kesmen7"));
        QCOMPARE(QString::fromStdString(basin.hub.state.stationDir.filename().string()), QString("01-001"));

        MultiYearSummaryScreen* summary = rainy.openMultiYearSummary();
        QCOMPARE(summary->objectName(), QString("kht10"));
        QCOMPARE(summary->windowTitle(), QString("Form1"));
        QCOMPARE(summary->grid("MSFlexGrid1")->cell(0, 0), std::string("Yıllar"));
    }

    void incompleteSelectionBuildsEmptyTables() {
        MemoryStationHub hub;
        AppContext context;
        BasinRunoffScreen screen(context, hub);
        QCOMPARE(screen.grid("MSFlexGrid2")->cell(1, 8), std::string("0"));
        QCOMPARE(hub.state.rainSelectionCurrent, -1);
    }
};

QTEST_MAIN(BasinScreensTest)
#include "BasinScreensTest.moc"
