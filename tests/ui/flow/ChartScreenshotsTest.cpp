#include "FlowScreenFixture.h"
#include "ui/charts/ChartWindow.h"
#include "ui/flow/AnnualFlowScreen.h"
#include "ui/flow/MonthlyFlowScreen.h"
#include "ui/rain/RainAnalysisScreen.h"

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QImage>
#include <QLineSeries>
#include <QSet>
#include <QTest>

using namespace korvel;

// The four chart windows drawn offscreen from the demo drive, as a user opens them. Each picture
// must show a drawn chart (many colours, the plot lines in the series' colours); the pictures are
// kept in KORVEL_SCREENSHOT_DIR when that is set, to be looked at.
class ChartScreenshotsTest : public QObject {
    Q_OBJECT

private slots:
    void monthlyAndReadingsCharts() {
        test::DemoStation station;
        station.hub.setMonthIndex(1); // November
        std::unique_ptr<MonthlyFlowScreen> table(MonthlyFlowScreen::open(station.context, station.hub));
        QVERIFY(table);
        MonthlyChartScreen monthly(table->monthFlow(), QStringLiteral("Aylık grafik"),
                                   station.context.locale);
        checkDrawn(monthly, "monthly-chart.png");

        int row = 0;
        while (row < 31 && !table->dayReadings()) {
            table->showReadingsOfRow(row);
            if (!table->dayReadings() || table->dayReadings()->readings.empty())
                ++row;
            else
                break;
        }
        QVERIFY2(table->dayReadings(), "no day of the month has logger readings");
        ReadingsChartScreen readings(*table->dayReadings());
        checkDrawn(readings, "readings-chart.png");
    }

    void annualChart() {
        test::DemoStation station;
        std::unique_ptr<AnnualFlowScreen> table(AnnualFlowScreen::open(station.context, station.hub));
        QVERIFY(table);
        AnnualChartScreen annual(table->annualFlow(), QStringLiteral("Yıllık grafik"));
        checkDrawn(annual, "annual-chart.png");
    }

    void annualRainfallChart() {
        test::DemoStation station;
        const auto dir = station.context.paths.dataRoot() / "Ankara" / "01" / "01-001";
        const std::string file = "2004_01-001  .yrd";
        station.hub.selectRainFile(file);
        station.hub.state.rainSelection = {dir / file};
        station.hub.state.rainSelectionCurrent = 0;
        RainAnalysisScreen analysis(station.context, station.hub);
        std::unique_ptr<QDialog> chart(analysis.makeRainChart());
        QVERIFY(chart);
        checkDrawn(*chart, "rain-chart.png");
    }

private:
    static void checkDrawn(QWidget& window, const char* name) {
        window.resize(900, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        const QImage image = window.grab().toImage();
        QVERIFY(!image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 20, qPrintable(QString::number(colours.size())));

        // The chart has series, and none of its lines is empty.
        auto* view = window.findChild<QChartView*>();
        QVERIFY(view != nullptr);
        QChart* chart = view->chart();
        QVERIFY(!chart->series().isEmpty());
        for (QAbstractSeries* series : chart->series())
            if (auto* line = qobject_cast<QLineSeries*>(series))
                QVERIFY(!line->points().isEmpty());
        const QString dir = qEnvironmentVariable("KORVEL_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(image.save(QDir(dir).filePath(QString::fromLatin1(name))));
    }
};

QTEST_MAIN(ChartScreenshotsTest)
#include "ChartScreenshotsTest.moc"
