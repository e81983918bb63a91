#pragma once

#include <QPoint>
#include <QPolygon>
#include <QString>
#include <vector>

namespace korvel {

// A geographic position in decimal degrees (east longitude, north latitude).
struct GeoPoint {
    double longitude = 0.0;
    double latitude = 0.0;
};

// The map pixel of a geographic position: the grid point (column, row) whose map codes lie
// nearest to it. Positions beyond the grid fall on its edge; the last column and row stand
// for the picture's right and bottom edges.
QPoint mapPixelOf(GeoPoint point);
QPolygon mapPolygonOf(const std::vector<GeoPoint>& points);

// The shapes the country map is drawn from, as latitude/longitude lists.
struct MapShape {
    enum class Kind { Land, Neighbour, Lake };
    Kind kind;
    std::vector<GeoPoint> points;
};
const std::vector<MapShape>& countryShapes();

// The names of the seas, written on the map at their positions.
struct MapLabel {
    QString text;
    GeoPoint at;
};
const std::vector<MapLabel>& seaLabels();

} // namespace korvel
