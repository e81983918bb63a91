#pragma once

#include "core/ByteIO.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One record of genel.har: a station's dot on the country map and its directory, kept in
// the Windows form "c:\korvel2000\..." (resolve it with Paths::resolve).
struct MapPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::string stationDir; // UTF-8, trimmed

    bool operator==(const MapPoint&) const = default;
};

inline constexpr std::size_t kMapPointSize = 44;
inline constexpr std::size_t kMapPointDirWidth = 40;
inline constexpr std::string_view kStationMapFileName = "genel.har";

// Map points from record 1 up to the first free record (x = 0) or the end of the data.
std::vector<MapPoint> parseMapPoints(const Bytes& fileBytes);
// A missing file has no points.
std::vector<MapPoint> readMapPoints(const std::filesystem::path& mapFile);
// The 44 bytes of a record; a path longer than 40 characters is cut (storeMapPoint refuses it).
Bytes mapPointRecord(const MapPoint& point);

// The first point within one map unit of the click in both directions.
std::optional<MapPoint> findMapPoint(const std::vector<MapPoint>& points, int clickX, int clickY);

struct StoreMapPointResult {
    bool stored = false;
    std::size_t recordNumber = 0; // from 1, when stored
    std::string message;          // why the point was not stored
};

// Writes the point into the first free record or over the record with the same x and y,
// whichever comes first, else after the last record; only that record is written. A
// directory path longer than the 40 characters of a record (or not writable in cp1254) is
// refused rather than stored cut, as a cut path would select a wrong directory.
StoreMapPointResult storeMapPoint(const std::filesystem::path& mapFile, const MapPoint& point);

// Creates an empty genel.har when there is none; false when it cannot be created.
bool createMapFileIfMissing(const std::filesystem::path& mapFile);

// The geographic codes of map point (i, j); each code reads degrees + minutes / 100.
struct MapCodes {
    int latitudeDegrees = 0;
    int latitudeMinutes = 0;
    int longitudeDegrees = 0;
    int longitudeMinutes = 0;
    double latitudeCode = 0.0;
    double longitudeCode = 0.0;
};
MapCodes mapCodes(int i, int j);

// The station's codes: numeric values of characters 1-5 and 10-14 of its coordinates.
struct StationCodes {
    double latitude = 0.0;
    double longitude = 0.0;
};
StationCodes stationCodes(std::string_view coordinates);

struct MapPosition {
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool operator==(const MapPosition&) const = default;
};
inline constexpr int kMapColumns = 644;
inline constexpr int kMapRows = 292;
inline constexpr MapPosition kOffMapPosition{kMapColumns + 1, kMapRows + 1};

// The first map point, column by column and row by row, whose codes lie within 0.01 of the
// station's codes; kOffMapPosition when none does, nothing for blank coordinates.
std::optional<MapPosition> findMapPosition(std::string_view coordinates);

} // namespace korvel
