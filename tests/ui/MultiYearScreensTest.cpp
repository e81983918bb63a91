#include "platform/Printing.h"
#include "platform/ScriptedDialogs.h"
#include "rain/IdfSheet.h"
#include "ui/charts/ZoomableChartView.h"
#include "ui/flow/FlowRecordScreens.h"
#include "ui/flow/FlowScreenFixture.h"
#include "ui/rain/IdfScreen.h"

#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>
#include <memory>

using namespace korvel;
using korvel::test::DemoStation;
using korvel::test::gridOf;

class MultiYearScreensTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { demo_ = std::make_unique<DemoStation>(); }
    void cleanupTestCase() { demo_.reset(); }

    void idfScreenShowsTheQuantilesOfEveryRainYear() {
        MemoryStationHub hub;
        const auto gauge = demo_->context.paths.dataRoot() / "Ankara" / "01" / "01-003";
        hub.setStationDirectory(gauge);
        IdfScreen screen(demo_->context, hub);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        test::saveScreenshot(&screen, "yagissiddetfrm");
        QVERIFY(screen.analysis());
        QCOMPARE(screen.analysis()->maxima.years.size(), std::size_t(12));

        // The 50-year quarter-hour intensity, as the logic computes it for the station.
        const IdfAnalysis expected = computeIdf(collectRainMaxima(gauge).maxima);
        const Sheet gumbel =
            idfSheet(expected, ExtremeDistribution::Gumbel, "01-003  ", {}, Locale::turkish());
        GridView* intensity = gridOf(&screen, "intensity");
        QCOMPARE(intensity->cell(4, 0), std::string("15 dk"));
        QCOMPARE(intensity->cell(0, 5), std::string("50 yıl"));
        QVERIFY(!intensity->cell(4, 5).empty());
        QCOMPARE(intensity->cell(4, 5), gumbel.findTable("intensity")->cell(4, 5));
        QVERIFY(screen.findChild<QLabel*>("years")->text().startsWith("Kullanılan su yılları (12): 1993"));

        // The chart: one curve per return period on log-log axes.
        QCOMPARE(screen.chart()->series().size(), 6);
        QCOMPARE(screen.chart()->axes(Qt::Horizontal).size(), 1);
        QVERIFY(qobject_cast<QLogValueAxis*>(screen.chart()->axes(Qt::Horizontal).front()));
        QVERIFY(qobject_cast<QLogValueAxis*>(screen.chart()->axes(Qt::Vertical).front()));
        auto* fifty = qobject_cast<QLineSeries*>(screen.chart()->series().at(4));
        QCOMPARE(fifty->count(), 12);
        QCOMPARE(fifty->at(3).x(), 15.0);
        QVERIFY(std::abs(fifty->at(3).y() - intensityOf(*expected.gumbel.depth[3][4], 15)) < 1e-9);

        screen.findChild<QComboBox*>("distributionChoice")->setCurrentIndex(1);
        const Sheet gev = idfSheet(expected, ExtremeDistribution::Gev, "01-003  ", {}, Locale::turkish());
        QCOMPARE(intensity->cell(4, 5), gev.findTable("intensity")->cell(4, 5));
        QCOMPARE(screen.chart()->series().size(), 6);

        const auto printer = demo_->pdfPrinter("idf.pdf");
        QVERIFY(printWindow(&screen, *printer));
        QVERIFY(QFileInfo(demo_->drive.filePath("idf.pdf")).size() > 1000);
    }

    void idfScreenTakesAMaximaTableAndSaysWhenYearsAreTooFew() {
        MemoryStationHub hub;
        hub.setStationDirectory(demo_->dir);
        ScriptedDialogs dialogs;
        const DialogProviderScope scope(dialogs);
        IdfScreen screen(demo_->context, hub);
        const QString table = demo_->drive.filePath("maxima.csv");
        writeFileAtomic(
            table.toStdString(),
            std::string("yıl;15;60\n1995;12;21\n1996;18;30\n1997;9,5;19\n1998;22;35\n1999;14;25\n"));
        dialogs.queueFileName(table);
        screen.loadMaxima();
        QVERIFY(screen.analysis()->maxima.durations == (std::vector<int>{15, 60}));
        QCOMPARE(gridOf(&screen, "maxima")->cell(5, 2), std::string("25"));

        writeFileAtomic(table.toStdString(), std::string("yıl;15\n1995;12\n1996;18\n"));
        dialogs.clear();
        QVERIFY(!screen.analyseMaximaFile(table));
        QCOMPARE(dialogs.messages(), QStringList{IdfScreen::kTooFewYearsMessage.arg(2)});
        // The earlier analysis stays on the screen.
        QCOMPARE(screen.analysis()->maxima.years.size(), std::size_t(5));
    }

    void flowDurationScreenShowsTheCurveOfTenYears() {
        FlowDurationScreen screen(demo_->context, demo_->hub);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        test::saveScreenshot(&screen, "akimsureklilikfrm");
        QCOMPARE(screen.duration().years.size(), std::size_t(10));
        GridView* grid = gridOf(&screen, "duration");
        QCOMPARE(grid->table().rows(), 100);
        QCOMPARE(grid->table().columns(), 12);
        QCOMPARE(screen.findChild<QLabel*>("Q50")->text(),
                 QString::fromStdString(screen.sheet().text("Q50")));
        QCOMPARE(screen.chart()->series().size(), 11);
        const auto printer = demo_->pdfPrinter("duration.pdf");
        QVERIFY(printWindow(&screen, *printer));

        MemoryStationHub rainOnly;
        rainOnly.setStationDirectory(demo_->context.paths.dataRoot() / "Ankara" / "01" / "01-003");
        ScriptedDialogs dialogs;
        const DialogProviderScope scope(dialogs);
        FlowDurationScreen empty(demo_->context, rainOnly);
        QCOMPARE(dialogs.messages(), QStringList{"Bu istasyonun su yılı dosyası yok"});
        QVERIFY(empty.chart()->series().isEmpty());
    }

    void longRecordChartZoomsAndScrollsWithTheMouse() {
        FlowRecordScreen screen(demo_->context, demo_->hub);
        screen.resize(1000, 700);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        test::saveScreenshot(&screen, "uzundonemfrm");
        QCOMPARE(gridOf(&screen, "annual")->table().rows(), 11);
        auto* axis = qobject_cast<QDateTimeAxis*>(screen.chart()->axes(Qt::Horizontal).front());
        QVERIFY(axis);
        const qint64 fullSpan = axis->min().msecsTo(axis->max());
        QVERIFY(fullSpan > 9LL * 365 * 86400000);

        ZoomableChartView* view = screen.chartView();
        const QPoint middle = view->viewport()->rect().center();
        QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        const qint64 zoomedSpan = axis->min().msecsTo(axis->max());
        QVERIFY(zoomedSpan < fullSpan * 0.7);

        const QDateTime before = axis->min();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseMove(view->viewport(), middle - QPoint(120, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, middle - QPoint(120, 0));
        QVERIFY(axis->min() > before);

        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, middle);
        QVERIFY(std::llabs(axis->min().msecsTo(axis->max()) - fullSpan) < 86400000);
    }

private:
    std::unique_ptr<DemoStation> demo_;
};

QTEST_MAIN(MultiYearScreensTest)
#include "MultiYearScreensTest.moc"
