#include "AppTestDrive.h"
#include "app/MainWindow.h"
#include "store/StationMap.h"
#include "ui/station/StationMapView.h"
#include "ui/station/StationScreen.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>

using namespace korvel;

// The main window with the station screen on the demo drive, drawn offscreen. The picture is
// kept in KORVEL_SCREENSHOT_DIR when that is set.
class MainWindowScreenshotTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowWithStationScreenIsDrawn() {
        test::TestDrive drive(true);
        MainWindow window(drive.context());
        window.start();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        StationScreen& station = window.stationScreen();
        station.setStationDirectory(drive.station("01-001"));
        station.selectRainFile("2004_01-001  .yrd");
        station.markStations();
        QTest::qWait(50);

        const QImage image = window.grab().toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), window.size());
        saveIfAsked(image, "main-window.png");

        // Not blank: many colours, and the map shows the red station points.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 50, qPrintable(QString::number(colours.size())));

        const QImage map = station.map()->grab().toImage();
        int red = 0;
        for (const MapPoint& point : readMapPoints(drive.dataRoot() / "genel.har"))
            if (map.pixelColor(point.x, point.y) == QColor(255, 0, 0))
                ++red;
        QCOMPARE(red, 3);
        saveIfAsked(map, "station-map.png");
    }

private:
    static void saveIfAsked(const QImage& image, const char* name) {
        const QString dir = qEnvironmentVariable("KORVEL_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(image.save(QDir(dir).filePath(QString::fromLatin1(name))));
    }
};

QTEST_MAIN(MainWindowScreenshotTest)
#include "MainWindowScreenshotTest.moc"
