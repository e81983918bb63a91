#include "store/DayDischarge.h"

#include "common/Dates.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using korvel::testing::day;

// Two tables: "01" valid in the first half of water year 2004, "02" in the second.
HqTableSet stationTables() {
    HqTableSet set;
    HqTable first;
    HqTable second;
    for (std::size_t i = 0; i < HqTable::kLevels; ++i) {
        first.discharge[i] = static_cast<float>(i) * 2.0F;
        second.discharge[i] = static_cast<float>(i) * 3.0F;
    }
    first.validFrom[1] = day(2003, 10, 1);
    first.validTo[1] = day(2004, 3, 31);
    second.validFrom[1] = day(2004, 4, 1);
    second.validTo[1] = day(2004, 9, 30);
    set.entries.push_back({"01_01-001.HQ", first});
    set.entries.push_back({"02_01-001.HQ", second});
    return set;
}

DayRecord dayWith(OleDate date, std::string source, float mean) {
    DayRecord r;
    r.date = date;
    r.source = std::move(source);
    r.meanValue = mean;
    return r;
}

TEST(DayDischargeRule, GivenDischargeIsTakenAsItStands) {
    const HqTableSet tables = stationTables();
    const DayDischarge g = dayDischarge(dayWith(day(2004, 1, 15), "G  ", 1250.0F), tables);
    EXPECT_EQ(g.discharge, 1250.0);
    EXPECT_EQ(g.hqKey, std::nullopt);

    // Also outside every period, without tables, and after a hand edit ("GE").
    EXPECT_EQ(dayDischarge(dayWith(day(1990, 1, 1), "GE ", 1250.0F), HqTableSet{}).discharge, 1250.0);
    const DayDischarge k = dayDischarge(dayWith(day(2004, 6, 1), "K 01-002    ", 87.5F), tables);
    EXPECT_EQ(k.discharge, 87.5);
    EXPECT_EQ(k.hqKey, std::nullopt);
}

TEST(DayDischargeRule, LevelDaysGoThroughTheTableValidOnTheDay) {
    const HqTableSet tables = stationTables();
    const DayDischarge logger = dayDischarge(dayWith(day(2004, 1, 15), "L  korvelmaş", 12.5F), tables);
    EXPECT_EQ(logger.discharge, 24.0);
    EXPECT_EQ(logger.hqKey, "01");

    const DayDischarge sheet = dayDischarge(dayWith(day(2004, 4, 1), "RE2 ", 13.5F), tables);
    EXPECT_EQ(sheet.discharge, 42.0);
    EXPECT_EQ(sheet.hqKey, "02");

    const DayDischarge blank = dayDischarge(dayWith(day(2004, 9, 30), std::string(12, '\0'), 100.0F), tables);
    EXPECT_EQ(blank.discharge, 300.0);
    EXPECT_EQ(blank.hqKey, "02");
}

TEST(DayDischargeRule, LevelDayWithoutTableOrPlaceInItHasNoDischarge) {
    const HqTableSet tables = stationTables();
    const DayDischarge outside = dayDischarge(dayWith(day(2004, 10, 1), "R 1 ", 10.0F), tables);
    EXPECT_EQ(outside.discharge, std::nullopt);
    EXPECT_EQ(outside.hqKey, std::nullopt);

    EXPECT_EQ(dayDischarge(dayWith(day(2004, 1, 1), "L  ", 1250.0F), tables).discharge, std::nullopt);
    EXPECT_EQ(dayDischarge(dayWith(day(2004, 1, 1), "L  ", -3.0F), tables).discharge, std::nullopt);
}

} // namespace
} // namespace korvel
