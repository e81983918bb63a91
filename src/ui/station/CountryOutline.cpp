#include "ui/station/CountryOutline.h"

#include "store/StationMap.h"

#include <limits>

namespace korvel {

namespace {

constexpr int kPictureWidth = 650;
constexpr int kPictureHeight = 291;

struct GridGeo {
    float longitude;
    float latitude;
};

// The decimal degrees of every grid point, column by column, as the map codes give them.
const std::vector<GridGeo>& gridGeo() {
    static const std::vector<GridGeo> grid = [] {
        std::vector<GridGeo> cells;
        cells.reserve(static_cast<std::size_t>(kMapColumns) * kMapRows);
        for (int i = 1; i <= kMapColumns; ++i) {
            for (int j = 1; j <= kMapRows; ++j) {
                const MapCodes c = mapCodes(i, j);
                cells.push_back({static_cast<float>(c.longitudeDegrees + c.longitudeMinutes / 60.0),
                                 static_cast<float>(c.latitudeDegrees + c.latitudeMinutes / 60.0)});
            }
        }
        return cells;
    }();
    return grid;
}

// Turkey: Thrace, then Anatolia clockwise from the Bosphorus.
const std::vector<GeoPoint> kThrace = {
    {26.04, 40.73}, {26.35, 41.02}, {26.62, 41.35}, {26.33, 41.72}, {26.60, 41.95}, {27.25, 42.08},
    {27.60, 41.95}, {28.02, 41.98}, {27.98, 41.87}, {28.10, 41.63}, {28.68, 41.35}, {29.10, 41.23},
    {29.05, 41.10}, {28.98, 41.01}, {28.60, 40.97}, {28.24, 41.07}, {27.95, 41.00}, {27.50, 40.97},
    {27.10, 40.62}, {26.67, 40.40}, {26.35, 40.18}, {26.18, 40.05}, {26.25, 40.30}, {26.60, 40.55},
    {26.85, 40.63}, {26.50, 40.62}, {26.04, 40.73}};

const std::vector<GeoPoint> kAnatolia = {
    {29.12, 41.22}, {29.60, 41.18}, {30.70, 41.12}, {31.40, 41.28}, {31.80, 41.46}, {32.40, 41.75},
    {33.00, 41.90}, {33.76, 41.98}, {34.70, 41.95}, {35.15, 42.03}, {35.50, 41.65}, {35.95, 41.73},
    {36.33, 41.29}, {36.90, 41.35}, {37.30, 41.13}, {37.88, 40.98}, {38.40, 40.92}, {39.72, 41.00},
    {40.52, 41.03}, {41.42, 41.40}, {41.55, 41.52}, {42.00, 41.50}, {42.50, 41.45}, {42.85, 41.58},
    {43.47, 41.12}, {43.75, 40.70}, {43.58, 40.45}, {44.00, 40.03}, {44.78, 39.66}, {44.40, 39.42},
    {44.07, 39.38}, {44.20, 38.90}, {44.30, 38.38}, {44.48, 37.95}, {44.62, 37.74}, {44.78, 37.16},
    {44.20, 37.28}, {43.00, 37.36}, {42.36, 37.11}, {41.22, 37.08}, {40.00, 36.82}, {39.00, 36.70},
    {38.20, 36.90}, {37.20, 36.65}, {36.66, 36.83}, {36.55, 36.20}, {36.20, 35.95}, {35.92, 35.90},
    {35.97, 36.08}, {35.88, 36.40}, {36.17, 36.58}, {35.78, 36.77}, {35.38, 36.57}, {34.63, 36.80},
    {33.93, 36.38}, {32.80, 36.02}, {32.00, 36.54}, {31.30, 36.80}, {30.70, 36.88}, {30.55, 36.60},
    {30.40, 36.20}, {29.64, 36.20}, {29.10, 36.65}, {28.80, 36.72}, {28.25, 36.85}, {27.42, 36.70},
    {28.00, 36.95}, {27.25, 37.00}, {27.25, 37.37}, {27.25, 37.86}, {26.70, 38.20}, {26.30, 38.30},
    {26.50, 38.65}, {26.75, 38.67}, {26.88, 39.07}, {26.68, 39.32}, {27.00, 39.58}, {26.07, 39.48},
    {26.17, 39.80}, {26.20, 40.02}, {26.40, 40.15}, {26.70, 40.35}, {27.20, 40.43}, {27.80, 40.40},
    {27.97, 40.35}, {28.88, 40.38}, {29.15, 40.43}, {29.27, 40.65}, {29.92, 40.77}, {29.30, 40.82},
    {29.03, 40.98}, {29.12, 41.22}};

// Land beyond the borders: the Balkans in the north-west, the Caucasus, Iran, Iraq and Syria
// in the east and south-east. Points beyond the picture fall on its edge.
const std::vector<GeoPoint> kBalkans = {{26.04, 40.73}, {26.35, 41.02}, {26.62, 41.35}, {26.33, 41.72},
                                        {26.60, 41.95}, {27.25, 42.08}, {27.60, 41.95}, {28.02, 41.98},
                                        {27.90, 42.40}, {27.80, 43.00}, {24.00, 43.00}, {24.00, 40.90},
                                        {25.00, 40.95}, {25.60, 40.87}};

const std::vector<GeoPoint> kEastNeighbours = {
    {41.55, 41.52}, {41.65, 41.90}, {41.55, 42.40}, {41.30, 43.00}, {47.00, 43.00}, {47.00, 35.00},
    {35.95, 35.00}, {35.92, 35.90}, {36.20, 35.95}, {36.55, 36.20}, {36.66, 36.83}, {37.20, 36.65},
    {38.20, 36.90}, {39.00, 36.70}, {40.00, 36.82}, {41.22, 37.08}, {42.36, 37.11}, {43.00, 37.36},
    {44.20, 37.28}, {44.78, 37.16}, {44.62, 37.74}, {44.48, 37.95}, {44.30, 38.38}, {44.20, 38.90},
    {44.07, 39.38}, {44.40, 39.42}, {44.78, 39.66}, {44.00, 40.03}, {43.58, 40.45}, {43.75, 40.70},
    {43.47, 41.12}, {42.85, 41.58}, {42.50, 41.45}, {42.00, 41.50}};

const std::vector<GeoPoint> kLakeVan = {{42.35, 38.50}, {42.90, 38.30}, {43.40, 38.40}, {43.55, 38.62},
                                        {43.10, 38.85}, {42.90, 38.98}, {42.50, 38.85}};

const std::vector<GeoPoint> kSaltLake = {
    {33.30, 39.05}, {33.55, 38.80}, {33.60, 38.55}, {33.40, 38.60}, {33.20, 38.85}};

} // namespace

QPoint mapPixelOf(GeoPoint point) {
    const std::vector<GridGeo>& grid = gridGeo();
    double best = std::numeric_limits<double>::max();
    std::size_t bestIndex = 0;
    for (std::size_t k = 0; k < grid.size(); ++k) {
        const double dx = grid[k].longitude - point.longitude;
        const double dy = grid[k].latitude - point.latitude;
        const double distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            bestIndex = k;
        }
    }
    int column = static_cast<int>(bestIndex / kMapRows) + 1;
    int row = static_cast<int>(bestIndex % kMapRows) + 1;
    if (column <= 1)
        column = 0;
    if (column >= kMapColumns)
        column = kPictureWidth;
    if (row <= 1)
        row = 0;
    if (row >= kPictureHeight)
        row = kPictureHeight;
    return {column, row};
}

QPolygon mapPolygonOf(const std::vector<GeoPoint>& points) {
    QPolygon polygon;
    for (const GeoPoint& point : points)
        polygon << mapPixelOf(point);
    return polygon;
}

const std::vector<MapShape>& countryShapes() {
    static const std::vector<MapShape> shapes = {
        {MapShape::Kind::Neighbour, kBalkans}, {MapShape::Kind::Neighbour, kEastNeighbours},
        {MapShape::Kind::Land, kThrace},       {MapShape::Kind::Land, kAnatolia},
        {MapShape::Kind::Lake, kLakeVan},      {MapShape::Kind::Lake, kSaltLake}};
    return shapes;
}

const std::vector<MapLabel>& seaLabels() {
    static const std::vector<MapLabel> labels = {{QStringLiteral("KARADENİZ"), {37.6, 41.72}},
                                                 {QStringLiteral("AKDENİZ"), {31.0, 36.0}},
                                                 {QStringLiteral("EGE"), {25.9, 38.9}}};
    return labels;
}

} // namespace korvel
