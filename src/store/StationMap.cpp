#include "store/StationMap.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

namespace korvel {

namespace {

double geoCode(double degrees, double minutes) {
    return degrees + minutes / 100.0;
}

// Degrees and minutes of every map point, column by column, computed once: the position
// search runs on every save.
struct CodeCell {
    std::int16_t latitudeDegrees;
    std::int16_t longitudeDegrees;
    std::int8_t latitudeMinutes;
    std::int8_t longitudeMinutes;
};

const std::vector<CodeCell>& codeTable() {
    static const std::vector<CodeCell> table = [] {
        std::vector<CodeCell> cells;
        cells.reserve(static_cast<std::size_t>(kMapColumns) * kMapRows);
        for (int i = 1; i <= kMapColumns; ++i) {
            for (int j = 1; j <= kMapRows; ++j) {
                const MapCodes c = mapCodes(i, j);
                cells.push_back({static_cast<std::int16_t>(c.latitudeDegrees),
                                 static_cast<std::int16_t>(c.longitudeDegrees),
                                 static_cast<std::int8_t>(c.latitudeMinutes),
                                 static_cast<std::int8_t>(c.longitudeMinutes)});
            }
        }
        return cells;
    }();
    return table;
}

bool within(double code, double value) {
    return code - 0.01 <= value && value <= code + 0.01;
}

std::string storedDirText(const ByteReader& record) {
    std::string raw = record.raw(4, kMapPointDirWidth);
    raw.resize(std::min(raw.find('\0'), raw.size()));
    return trimmed(cp1254ToUtf8(raw));
}

} // namespace

std::vector<MapPoint> parseMapPoints(const Bytes& fileBytes) {
    std::vector<MapPoint> points;
    const std::size_t count = recordCount(fileBytes, kMapPointSize);
    for (std::size_t n = 1; n <= count; ++n) {
        const Bytes record = recordAt(fileBytes, kMapPointSize, n);
        const ByteReader reader(record);
        if (reader.i16(0) == 0)
            break;
        points.push_back({reader.i16(0), reader.i16(2), storedDirText(reader)});
    }
    return points;
}

std::vector<MapPoint> readMapPoints(const std::filesystem::path& mapFile) {
    const auto bytes = readFileBytes(resolveCaseInsensitive(mapFile));
    return bytes ? parseMapPoints(*bytes) : std::vector<MapPoint>{};
}

Bytes mapPointRecord(const MapPoint& point) {
    ByteWriter writer(kMapPointSize);
    writer.i16(0, point.x);
    writer.i16(2, point.y);
    writer.text(4, kMapPointDirWidth, trimmed(point.stationDir));
    return writer.take();
}

std::optional<MapPoint> findMapPoint(const std::vector<MapPoint>& points, int clickX, int clickY) {
    for (const MapPoint& p : points)
        if (p.x - 1 <= clickX && clickX <= p.x + 1 && p.y - 1 <= clickY && clickY <= p.y + 1)
            return p;
    return std::nullopt;
}

StoreMapPointResult storeMapPoint(const std::filesystem::path& mapFile, const MapPoint& point) {
    StoreMapPointResult result;
    const std::string dir = trimmed(point.stationDir);
    const std::string dirBytes = utf8ToCp1254(dir);
    if (point.x == 0) {
        result.message = "Harita noktası geçersiz: x = 0";
        return result;
    }
    if (dirBytes.size() > kMapPointDirWidth) {
        result.message = "İstasyon klasörünün yolu 40 karakterden uzun, haritaya kaydedilemedi: " + dir;
        return result;
    }
    if (cp1254ToUtf8(dirBytes) != dir) {
        result.message = "İstasyon klasörünün yolunda haritaya yazılamayan karakterler var: " + dir;
        return result;
    }
    const std::filesystem::path file = resolveCaseInsensitive(mapFile);
    const Bytes existing = readFileBytes(file).value_or(Bytes{});
    std::size_t n = 1;
    for (;; ++n) {
        const Bytes record = recordAt(existing, kMapPointSize, n);
        const ByteReader reader(record);
        const std::int16_t x = reader.i16(0);
        if (x == 0 || (x == point.x && reader.i16(2) == point.y))
            break;
    }
    try {
        writeRecords(file, kMapPointSize, {{n, mapPointRecord(point)}});
    } catch (const FileError&) {
        result.message = "Harita dosyası yazılamadı: " + file.string();
        return result;
    }
    result.stored = true;
    result.recordNumber = n;
    return result;
}

bool createMapFileIfMissing(const std::filesystem::path& mapFile) {
    if (fileExists(resolveCaseInsensitive(mapFile)))
        return true;
    std::ofstream create(mapFile, std::ios::binary);
    return static_cast<bool>(create);
}

MapCodes mapCodes(int i, int j) {
    // Positions outside the int16 range of the map file have no meaning; clamping keeps
    // the arithmetic in range.
    i = std::clamp(i, -32768, 32767);
    j = std::clamp(j, -32768, 32767);
    MapCodes c;
    const double a = (812 + i) - 0.1 * j * (i - 308) / 308;
    const double m = 1.875 * a;
    const long long longitudeDegrees = static_cast<long long>(roundHalfEven(m)) / 60;
    const double longitudeMinutes = roundHalfEven((m / 60 - static_cast<double>(longitudeDegrees)) * 60);
    const double b = 1575 + (281 - j) - std::fabs(std::floor(15 * (322 - i) / 322.0));
    const double latitudeDegrees = std::floor(b / 43.75);
    const double latitudeMinutes = roundHalfEven((b - 43.75 * latitudeDegrees) * (60 / 43.75));
    c.longitudeDegrees = static_cast<int>(longitudeDegrees);
    c.longitudeMinutes = static_cast<int>(longitudeMinutes);
    c.latitudeDegrees = static_cast<int>(latitudeDegrees);
    c.latitudeMinutes = static_cast<int>(latitudeMinutes);
    c.longitudeCode = geoCode(static_cast<double>(longitudeDegrees), longitudeMinutes);
    c.latitudeCode = geoCode(latitudeDegrees, latitudeMinutes);
    return c;
}

StationCodes stationCodes(std::string_view coordinates) {
    return {numericValue(utf8Mid(coordinates, 0, 5)), numericValue(utf8Mid(coordinates, 9, 5))};
}

std::optional<MapPosition> findMapPosition(std::string_view coordinates) {
    if (isBlankField(coordinates))
        return std::nullopt;
    const StationCodes station = stationCodes(coordinates);
    const std::vector<CodeCell>& table = codeTable();
    std::size_t k = 0;
    for (int i = 1; i <= kMapColumns; ++i) {
        for (int j = 1; j <= kMapRows; ++j, ++k) {
            const CodeCell& cell = table[k];
            if (within(geoCode(cell.latitudeDegrees, cell.latitudeMinutes), station.latitude) &&
                within(geoCode(cell.longitudeDegrees, cell.longitudeMinutes), station.longitude))
                return MapPosition{static_cast<std::int16_t>(i), static_cast<std::int16_t>(j)};
        }
    }
    return kOffMapPosition;
}

} // namespace korvel
