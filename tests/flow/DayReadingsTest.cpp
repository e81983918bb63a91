#include "flow/DayReadings.h"

#include "FlowFixtures.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using namespace test;

// A readings file: interval, scale code, the header up to byte 13, then the day blocks.
Bytes readingsFile(int interval, int scale, const std::vector<std::array<int, 3>>& days, int firstValue) {
    Bytes bytes(13, 0);
    bytes[0] = static_cast<std::uint8_t>(interval);
    bytes[1] = static_cast<std::uint8_t>(scale);
    int value = firstValue;
    for (const auto& date : days) {
        for (int part : date)
            bytes.push_back(static_cast<std::uint8_t>(part));
        for (int j = 0; j < 1440 / interval; ++j, ++value) {
            bytes.push_back(static_cast<std::uint8_t>(value / 256));
            bytes.push_back(static_cast<std::uint8_t>(value % 256));
        }
    }
    return bytes;
}

TEST(DayReadings, TenMinuteBlocksAreWalkedToTheWantedDay) {
    const Bytes file = readingsFile(10, 1, {{4, 10, 3}, {5, 10, 3}}, 300);
    ASSERT_EQ(file.size(), 13u + 2 * 291u);
    const auto shown = showDayReadings(file, day(2003, 10, 5), Locale::turkish());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->caption, "05.10.2003 anlık ölcümler");
    ASSERT_EQ(shown->entries.size(), 144u);
    EXPECT_EQ(shown->entries[0], "00:00:00....444");
    EXPECT_EQ(shown->entries[1], "00:10:00....445");
    EXPECT_EQ(shown->entries[143], "23:50:00....587");
    // The figures behind the entries, for the readings chart.
    ASSERT_EQ(shown->readings.size(), 144u);
    EXPECT_EQ(shown->readings[1].minute, 10);
    EXPECT_EQ(shown->readings[1].value, 445.0);
    EXPECT_EQ(shown->readings[143].minute, 1430);
    EXPECT_EQ(shown->readings[143].value, 587.0);

    const auto american = showDayReadings(file, day(2003, 10, 4), Locale::american());
    ASSERT_TRUE(american);
    EXPECT_EQ(american->caption, "10/4/2003 anlık ölcümler");
    EXPECT_EQ(american->entries[7], "1:10:00 AM....307");
}

TEST(DayReadings, ScaleCodesDivideAndRoundHalfToEven) {
    const Bytes tenths = readingsFile(240, 10, {{1, 1, 4}}, 12);
    const auto ten = showDayReadings(tenths, day(2004, 1, 1), Locale::turkish());
    ASSERT_TRUE(ten);
    EXPECT_EQ(ten->entries,
              (std::vector<std::string>{"00:00:00....120", "04:00:00....130", "08:00:00....140",
                                        "12:00:00....150", "16:00:00....160", "20:00:00....170"}));

    // Any other code halves: 5 -> 2.5 -> 2, 7 -> 3.5 -> 4.
    Bytes halves = readingsFile(240, 3, {{1, 1, 4}}, 0);
    halves[17] = 5;
    halves[19] = 7;
    const auto half = showDayReadings(halves, day(2004, 1, 1), Locale::turkish());
    ASSERT_TRUE(half);
    EXPECT_EQ(half->entries[0], "00:00:00....2");
    EXPECT_EQ(half->entries[1], "04:00:00....4");

    // Readings with the high bit set are read as large values, not negative ones.
    Bytes high = readingsFile(240, 1, {{1, 1, 4}}, 0);
    high[16] = 0xFF;
    high[17] = 0xFE;
    EXPECT_EQ(showDayReadings(high, day(2004, 1, 1), Locale::turkish())->entries[0], "00:00:00....65534");
}

TEST(DayReadings, DamagedFilesGiveWhatTheyHold) {
    Bytes cut = readingsFile(60, 1, {{2, 2, 4}}, 1);
    cut.resize(cut.size() - 41); // the last 20 readings and a half
    const auto shown = showDayReadings(cut, day(2004, 2, 2), Locale::turkish());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->entries.size(), 3u);

    EXPECT_FALSE(showDayReadings(readingsFile(60, 1, {{2, 2, 4}}, 1), day(2004, 2, 3), Locale::turkish()));
    EXPECT_FALSE(showDayReadings(readingsFile(0, 1, {}, 1), day(2004, 2, 2), Locale::turkish()));
    EXPECT_FALSE(showDayReadings(Bytes{}, day(2004, 2, 2), Locale::turkish()));
    Bytes zeroInterval = readingsFile(60, 1, {{2, 2, 4}}, 1);
    zeroInterval[0] = 0;
    EXPECT_FALSE(showDayReadings(zeroInterval, day(2004, 2, 2), Locale::turkish()));
}

TEST(DayReadings, FileNameComesFromTheDayRecord) {
    auto records = emptyWaterYear(2004);
    recordOf(records, day(2003, 10, 5)).rawDataFile = tag("Yen1-2  .-4");
    recordOf(records, day(2003, 10, 6)).rawDataFile = std::string("abc") + std::string(9, '\0');
    EXPECT_EQ(dayReadingsFileName(records, day(2003, 10, 5)), "Yen1-2  .-4");
    EXPECT_EQ(dayReadingsFileName(records, day(2003, 10, 6)), "abc");
    EXPECT_FALSE(dayReadingsFileName(records, day(2003, 10, 7)));
    EXPECT_FALSE(dayReadingsFileName(records, day(2005, 10, 7)));
}

} // namespace
} // namespace korvel
