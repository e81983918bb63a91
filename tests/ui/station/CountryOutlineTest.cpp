#include "ui/station/CountryOutline.h"

#include "store/StationMap.h"
#include "ui/station/StationMapView.h"

#include <QImage>
#include <QTest>

using namespace korvel;

namespace {

GeoPoint geoOf(int i, int j) {
    const MapCodes c = mapCodes(i, j);
    return {c.longitudeDegrees + c.longitudeMinutes / 60.0, c.latitudeDegrees + c.latitudeMinutes / 60.0};
}

} // namespace

// The country outline is placed through the map codes, so stations land where their
// coordinates put them.
class CountryOutlineTest : public QObject {
    Q_OBJECT

private slots:
    void gridPointsMapBackToThemselves() {
        for (const auto& [i, j] :
             std::vector<std::pair<int, int>>{{262, 118}, {100, 50}, {500, 250}, {320, 150}}) {
            const QPoint pixel = mapPixelOf(geoOf(i, j));
            QVERIFY2(std::abs(pixel.x() - i) <= 1 && std::abs(pixel.y() - j) <= 1,
                     qPrintable(QString("%1,%2 -> %3,%4").arg(i).arg(j).arg(pixel.x()).arg(pixel.y())));
        }
    }

    void positionsBeyondTheGridFallOnThePictureEdge() {
        QCOMPARE(mapPixelOf({10.0, 50.0}), QPoint(0, 0));
        QCOMPARE(mapPixelOf({60.0, 30.0}), QPoint(650, 291));
    }

    void ankaraLiesInsideTheCountryAndTheBlackSeaOutside() {
        const MapShape* anatolia = nullptr;
        for (const MapShape& shape : countryShapes())
            if (shape.kind == MapShape::Kind::Land && shape.points.size() > 50)
                anatolia = &shape;
        QVERIFY(anatolia != nullptr);
        const QPolygon polygon = mapPolygonOf(anatolia->points);
        QVERIFY(polygon.containsPoint(mapPixelOf({32.85, 39.93}), Qt::OddEvenFill));
        QVERIFY(polygon.containsPoint(mapPixelOf({40.5, 37.9}), Qt::OddEvenFill)); // Diyarbakır
        QVERIFY(!polygon.containsPoint(mapPixelOf({34.0, 42.2}), Qt::OddEvenFill));
        QVERIFY(!polygon.containsPoint(mapPixelOf({30.5, 35.8}), Qt::OddEvenFill));
    }

    void pictureHasTheMapSizeAndShowsLandAndSea() {
        const QImage& image = countryMapImage();
        QCOMPARE(image.size(), QSize(650, 291));
        const QPoint ankara = mapPixelOf({32.85, 39.93});
        const QPoint sea = mapPixelOf({34.0, 42.2});
        QVERIFY(image.pixel(ankara) != image.pixel(sea));
    }
};

QTEST_MAIN(CountryOutlineTest)
#include "CountryOutlineTest.moc"
