#include "store/StationMap.h"

#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "store/StationLists.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

Bytes record(std::int16_t x, std::int16_t y, std::string_view pathBytes) {
    Bytes r(kMapPointSize, ' ');
    r[0] = static_cast<std::uint8_t>(x & 0xFF);
    r[1] = static_cast<std::uint8_t>((x >> 8) & 0xFF);
    r[2] = static_cast<std::uint8_t>(y & 0xFF);
    r[3] = static_cast<std::uint8_t>((y >> 8) & 0xFF);
    for (std::size_t k = 0; k < pathBytes.size() && k < 40; ++k)
        r[4 + k] = static_cast<std::uint8_t>(pathBytes[k]);
    return r;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The codes worked out in exact rational arithmetic: A * 3080 and M * 24640 are integers.
// Where M lies exactly halfway between two integers, the rounding depends on the last bit
// of the floating-point product, so the caller accepts either neighbour (tieUp false/true).
struct ExactCodes {
    double latitude;
    double longitude;
};

ExactCodes exactCodes(int i, int j, bool tieUp) {
    const long long n = (812LL + i) * 3080 - static_cast<long long>(j) * (i - 308); // A * 3080
    const long long p = 15 * n;                                                     // M * 24640
    const long long den = 24640;
    const auto roundExact = [&](long long num) { // num / den to the nearest, halves by tieUp
        long long q = num / den;
        long long r = num % den;
        if (r < 0) {
            r += den;
            --q;
        }
        if (2 * r > den || (2 * r == den && tieUp))
            ++q;
        return q;
    };
    const long long roundedM = roundExact(p);
    const long long lonDegrees = roundedM / 60;
    const long long lonMinutes = roundExact(p - 60 * lonDegrees * den);
    // B is an integer; 43.75 = 175 / 4 and 60 / 43.75 = 48 / 35.
    long long k = 15 * (322 - i);
    long long fl = k >= 0 ? k / 322 : -((-k + 321) / 322);
    const long long b = 1575 + (281 - j) - (fl < 0 ? -fl : fl);
    const long long latDegrees = (4 * b) / 175;
    const long long minutes140 = (4 * b - 175 * latDegrees) * 48; // minutes * 140, never a half
    const long long latMinutes = (2 * minutes140 + 140) / 280;
    return {static_cast<double>(latDegrees) + static_cast<double>(latMinutes) / 100.0,
            static_cast<double>(lonDegrees) + static_cast<double>(lonMinutes) / 100.0};
}

class StationMapFile : public ::testing::Test {
protected:
    Bytes bytes() const { return readFileBytes(file_).value_or(Bytes{}); }
    korvel::testing::ScratchDirectory scratch_;
    const fs::path dir_ = scratch_.path();
    const fs::path file_ = dir_ / "genel.har";
};

} // namespace

TEST(MapPointRecord, LayoutIsLittleEndianWithPaddedCp1254Path) {
    const Bytes r = mapPointRecord({300, -2, "c:\\korvel2000\\Eskişehir\\01\\01-001"});
    ASSERT_EQ(r.size(), 44u);
    EXPECT_EQ(r[0], 0x2C);
    EXPECT_EQ(r[1], 0x01);
    EXPECT_EQ(r[2], 0xFE);
    EXPECT_EQ(r[3], 0xFF);
    const std::string path(r.begin() + 4, r.end());
    EXPECT_EQ(path, "c:\\korvel2000\\Eski\xFE"
                    "ehir\\01\\01-001" +
                        std::string(7, ' '));
}

TEST(MapPointRecord, ParseStopsAtTheFirstFreeRecord) {
    const Bytes file = join({record(300, 120, "c:\\korvel2000\\Ankara\\01\\01-001"),
                             record(-5, 7,
                                    "c:\\korvel2000\\Eski\xFE"
                                    "ehir\\02\\02-010"),
                             record(0, 9, "c:\\x"), record(10, 10, "c:\\y")});
    const auto points = parseMapPoints(file);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], (MapPoint{300, 120, "c:\\korvel2000\\Ankara\\01\\01-001"}));
    EXPECT_EQ(points[1], (MapPoint{-5, 7, "c:\\korvel2000\\Eskişehir\\02\\02-010"}));
}

TEST(MapPointRecord, ShortTrailingRecordReadsAsZeroPadded) {
    Bytes file = record(300, 120, "c:\\korvel2000\\A");
    const Bytes partial = record(12, 34, "c:\\korvel2000\\B\\01\\01-002");
    file.insert(file.end(), partial.begin(), partial.begin() + 20);
    const auto points = parseMapPoints(file);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1], (MapPoint{12, 34, "c:\\korvel2000\\B\\"}));
    file.resize(44 + 1); // only the low byte of x
    EXPECT_EQ(parseMapPoints(file).back(), (MapPoint{12, 0, ""}));
    EXPECT_TRUE(parseMapPoints(Bytes{}).empty());
}

TEST(MapPointRecord, ClickSelectsTheFirstPointWithinOneUnit) {
    const std::vector<MapPoint> points{{100, 50, "a"}, {101, 51, "b"}, {300, 200, "c"}};
    EXPECT_EQ(findMapPoint(points, 99, 49)->stationDir, "a");
    EXPECT_EQ(findMapPoint(points, 101, 51)->stationDir, "a"); // both cover it; the first wins
    EXPECT_EQ(findMapPoint(points, 102, 52)->stationDir, "b");
    EXPECT_EQ(findMapPoint(points, 301, 199)->stationDir, "c");
    EXPECT_FALSE(findMapPoint(points, 98, 50));
    EXPECT_FALSE(findMapPoint(points, 300, 202));
    EXPECT_FALSE(findMapPoint({}, 1, 1));
}

TEST_F(StationMapFile, StoreFillsTheFirstFreeOrSameRecordOnly) {
    const Bytes a = record(10, 20, "c:\\korvel2000\\A\\01\\01-001");
    const Bytes c = record(30, 40, "c:\\korvel2000\\C\\01\\01-003");
    writeFileAtomic(file_, join({a, Bytes(44, 0), c}));

    // Record 2 is free: the new point goes there and nothing else changes.
    StoreMapPointResult r = storeMapPoint(file_, {50, 60, "c:\\korvel2000\\B\\01\\01-002"});
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(r.recordNumber, 2u);
    EXPECT_EQ(bytes(), join({a, record(50, 60, "c:\\korvel2000\\B\\01\\01-002"), c}));

    // Same x and y as record 1: overwritten there.
    r = storeMapPoint(file_, {10, 20, "c:\\korvel2000\\D\\01\\01-004"});
    EXPECT_EQ(r.recordNumber, 1u);
    EXPECT_EQ(bytes(), join({record(10, 20, "c:\\korvel2000\\D\\01\\01-004"),
                             record(50, 60, "c:\\korvel2000\\B\\01\\01-002"), c}));

    // No free or matching record: appended after the last.
    r = storeMapPoint(file_, {70, 80, "c:\\korvel2000\\E"});
    EXPECT_EQ(r.recordNumber, 4u);
    EXPECT_EQ(bytes().size(), 4 * 44u);
    EXPECT_EQ(readMapPoints(file_).back(), (MapPoint{70, 80, "c:\\korvel2000\\E"}));
}

TEST_F(StationMapFile, StoreCreatesTheFileAndCompletesAShortRecord) {
    EXPECT_EQ(storeMapPoint(file_, {5, 6, "c:\\korvel2000\\A"}).recordNumber, 1u);
    EXPECT_EQ(bytes(), record(5, 6, "c:\\korvel2000\\A"));

    // A trailing partial record with a point in it counts as taken.
    Bytes file = bytes();
    const Bytes partial = record(7, 8, "c:\\x");
    file.insert(file.end(), partial.begin(), partial.begin() + 10);
    writeFileAtomic(file_, file);
    EXPECT_EQ(storeMapPoint(file_, {9, 9, "c:\\y"}).recordNumber, 3u);
    EXPECT_EQ(bytes().size(), 3 * 44u);
    EXPECT_EQ(readMapPoints(file_).size(), 3u);
}

TEST_F(StationMapFile, PathsLongerThanARecordAreRefused) {
    const std::string forty = "c:\\korvel2000\\Ankara T.G\\01\\01-001\\abcde";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_TRUE(storeMapPoint(file_, {1, 1, forty}).stored);
    const Bytes before = bytes();

    const StoreMapPointResult r = storeMapPoint(file_, {2, 2, forty + "f"});
    EXPECT_FALSE(r.stored);
    EXPECT_NE(r.message.find("40"), std::string::npos);
    EXPECT_EQ(bytes(), before);
    // Turkish letters count once each, as in the file.
    EXPECT_TRUE(storeMapPoint(file_, {3, 3, "c:\\korvel2000\\ŞanlıUrfa\\01\\01-001\\ğğğğğğ"}).stored);
    EXPECT_FALSE(storeMapPoint(file_, {4, 4, "c:\\korvel2000\\x\\☃"}).stored);
    EXPECT_FALSE(storeMapPoint(file_, {0, 4, "c:\\korvel2000\\x"}).stored);
    EXPECT_EQ(readMapPoints(file_).size(), 2u);
}

TEST_F(StationMapFile, CreateIfMissingKeepsAnExistingFile) {
    EXPECT_TRUE(createMapFileIfMissing(file_));
    EXPECT_TRUE(fileExists(file_));
    EXPECT_TRUE(bytes().empty());
    storeMapPoint(file_, {1, 2, "c:\\a"});
    EXPECT_TRUE(createMapFileIfMissing(file_));
    EXPECT_EQ(bytes().size(), 44u);
    EXPECT_TRUE(readMapPoints(dir_ / "none.har").empty());
}

TEST(MapCodes, HandWorkedPoints) {
    // (308, 100): A = 1120, M = 2100 = 35 * 60; B = 1856 - 100 - 0 = 1756 = 40 * 43.75 + 6,
    // 6 * 60 / 43.75 = 8.23.
    MapCodes c = mapCodes(308, 100);
    EXPECT_EQ(c.longitudeDegrees, 35);
    EXPECT_EQ(c.longitudeMinutes, 0);
    EXPECT_EQ(c.latitudeDegrees, 40);
    EXPECT_EQ(c.latitudeMinutes, 8);
    EXPECT_DOUBLE_EQ(c.longitudeCode, 35.00);
    EXPECT_DOUBLE_EQ(c.latitudeCode, 40.08);
    // (1, 1): A = 813 + 30.7 / 308, M = 1524.56 -> 25 deg 24.56 -> 25 min;
    // B = 1855 - floor(4815 / 322) = 1841, 3.5 * 60 / 43.75 = 4.8 -> 5 min.
    c = mapCodes(1, 1);
    EXPECT_DOUBLE_EQ(c.longitudeCode, 25.25);
    EXPECT_DOUBLE_EQ(c.latitudeCode, 42.05);
    // (644, 292): A = 1456 - 29.2 * 336 / 308 = 1424.145, M = 2670.27 -> 44 deg 30 min;
    // B = 1575 - 11 - |-15| = 1549, 17.75 * 60 / 43.75 = 24.34.
    c = mapCodes(644, 292);
    EXPECT_DOUBLE_EQ(c.longitudeCode, 44.30);
    EXPECT_DOUBLE_EQ(c.latitudeCode, 35.24);
}

TEST(MapCodes, HalvesRoundToEven) {
    // j = 0: M = 1.875 * 828 = 1552.5 -> 1552 = 25 deg, minutes 52.5 -> 52 (not 53).
    EXPECT_DOUBLE_EQ(mapCodes(16, 0).longitudeCode, 25.52);
    // M = 1.875 * 820 = 1537.5 -> 1538, minutes 37.5 -> 38.
    EXPECT_DOUBLE_EQ(mapCodes(8, 0).longitudeCode, 25.38);
}

TEST(MapCodes, WholeGridAgreesWithExactArithmetic) {
    int ties = 0;
    for (int i = 1; i <= kMapColumns; ++i) {
        for (int j = 1; j <= kMapRows; ++j) {
            const MapCodes c = mapCodes(i, j);
            const ExactCodes down = exactCodes(i, j, false);
            const ExactCodes up = exactCodes(i, j, true);
            ASSERT_EQ(c.latitudeCode, down.latitude) << i << "," << j;
            ASSERT_TRUE(c.longitudeCode == down.longitude || c.longitudeCode == up.longitude)
                << i << "," << j;
            ties += down.longitude != up.longitude;
        }
    }
    EXPECT_GT(ties, 0); // the grid does hold halfway points
}

TEST(MapCodes, StationCodesReadTheCoordinateParts) {
    const StationCodes s = stationCodes("39.55.00K32.50.00D");
    EXPECT_DOUBLE_EQ(s.latitude, 39.55);
    EXPECT_DOUBLE_EQ(s.longitude, 32.50);
    EXPECT_DOUBLE_EQ(stationCodes("  .5").latitude, 0.5);
    EXPECT_DOUBLE_EQ(stationCodes("xx").longitude, 0.0);
}

TEST(MapCodes, PositionSearchRunsColumnByColumn) {
    EXPECT_EQ(findMapPosition("42.05.00K25.25.00D"), (MapPosition{1, 1}));
    // Column 308 is the first reaching 35.00; rows 100 and 101 both give 40.08 or 40.07.
    EXPECT_EQ(findMapPosition("40.08.00K35.00.00D"), (MapPosition{308, 100}));
    EXPECT_EQ(findMapPosition("00.00.00K00.00.00D"), kOffMapPosition);
    EXPECT_EQ(findMapPosition("                  "), std::nullopt);
    EXPECT_EQ(findMapPosition(""), std::nullopt);

    // The cached search finds what a plain scan over mapCodes finds.
    for (const char* coordinates : {"39.55.00K32.50.00D", "41.00.00K29.00.00D", "37.10.00K38.47.00D",
                                    "38.25.00K27.08.00D", "36.50.00K34.38.00D"}) {
        const StationCodes s = stationCodes(coordinates);
        MapPosition expected = kOffMapPosition;
        for (int i = 1; i <= kMapColumns && expected == kOffMapPosition; ++i)
            for (int j = 1; j <= kMapRows; ++j) {
                const MapCodes c = mapCodes(i, j);
                if (c.latitudeCode - 0.01 <= s.latitude && s.latitude <= c.latitudeCode + 0.01 &&
                    c.longitudeCode - 0.01 <= s.longitude && s.longitude <= c.longitudeCode + 0.01) {
                    expected = {static_cast<std::int16_t>(i), static_cast<std::int16_t>(j)};
                    break;
                }
            }
        EXPECT_EQ(findMapPosition(coordinates), expected) << coordinates;
        EXPECT_NE(expected, kOffMapPosition) << coordinates;
    }
}

TEST(StationLists, RegionsAndWaterYearMonths) {
    ASSERT_EQ(kRegionList.size(), 11u);
    EXPECT_EQ(kRegionList.front(), "Atatürk ");
    EXPECT_EQ(kRegionList[7], "ŞanlıUrfa ");
    for (std::string_view region : kRegionList)
        EXPECT_EQ(region.back(), ' ');
    ASSERT_EQ(kMonthList.size(), 12u);
    EXPECT_EQ(kMonthList.front(), "10.ay  Ekim");
    EXPECT_EQ(kMonthList.back(), "09.ay  Eylül");
    const int expected[] = {10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (std::size_t k = 0; k < kMonthList.size(); ++k)
        EXPECT_EQ(monthNumberOfItem(kMonthList[k]), expected[k]);
    EXPECT_EQ(monthNumberOfItem(""), 0);
    EXPECT_EQ(monthNumberOfItem("7"), 7);
}
