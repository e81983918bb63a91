#include "core/OleDate.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace korvel;

TEST(OleDate, EpochAndKnownDays) {
    EXPECT_EQ(OleDate::fromDate(1899, 12, 30).value(), 0.0);
    EXPECT_EQ(OleDate::fromDate(1899, 12, 31).value(), 1.0);
    EXPECT_EQ(OleDate::fromDate(1900, 1, 1).value(), 2.0);
    EXPECT_EQ(OleDate::fromDate(2003, 10, 1).value(), 37895.0);
    EXPECT_EQ(OleDate::fromDate(2004, 2, 29).value(), 38046.0);
    EXPECT_EQ(OleDate(37895.0).date(), (CivilDate{2003, 10, 1}));
}

TEST(OleDate, TimeFractionRoundsToTheSecond) {
    const OleDate noon = OleDate::fromDateTime(2004, 3, 15, 12, 0, 0);
    EXPECT_DOUBLE_EQ(noon.value() - noon.datePart().value(), 0.5);
    EXPECT_EQ(OleDate::fromTime(16, 0, 0).time(), (TimeOfDay{16, 0, 0}));
    EXPECT_EQ(OleDate::fromTime(14, 7, 59).time(), (TimeOfDay{14, 7, 59}));
    // A fraction a hair below midnight rounds into the next day.
    const OleDate almost(37895.0 + 86399.6 / 86400.0);
    EXPECT_EQ(almost.date(), (CivilDate{2003, 10, 2}));
    EXPECT_EQ(almost.time(), (TimeOfDay{0, 0, 0}));
}

TEST(OleDate, DateTextRoundTripAndRefusal) {
    EXPECT_EQ(OleDate::fromDate(2004, 3, 5).dateText(), "05.03.2004");
    EXPECT_EQ(OleDate().dateText(), "00.00.00");
    EXPECT_EQ(parseDateText("05.03.2004"), OleDate::fromDate(2004, 3, 5));
    EXPECT_EQ(parseDateText("1.10.2003"), OleDate::fromDate(2003, 10, 1));
    EXPECT_EQ(parseDateText("01/10/2003"), OleDate::fromDate(2003, 10, 1));
    EXPECT_EQ(parseDateText("00.00.00"), OleDate());
    EXPECT_FALSE(parseDateText("31.02.2004"));
    EXPECT_FALSE(parseDateText("29.02.2003"));
    EXPECT_TRUE(parseDateText("29.02.2004"));
    EXPECT_FALSE(parseDateText("12.2004"));
    EXPECT_FALSE(parseDateText("ab.cd.efgh"));
}

TEST(OleDate, RangeEndsAndDaysBeforeTheEpoch) {
    EXPECT_EQ(OleDate::fromDate(9999, 12, 31).value(), 2958465.0);
    EXPECT_EQ(OleDate::fromDate(100, 1, 1).value(), -657434.0);
    EXPECT_EQ(OleDate(-657434.0).date(), (CivilDate{100, 1, 1}));
    // Before the epoch the whole days count backwards and the fraction still runs forwards.
    const OleDate morning = OleDate::fromDateTime(1899, 12, 29, 6, 0, 0);
    EXPECT_EQ(morning.value(), -1.25);
    EXPECT_EQ(morning.date(), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(morning.time(), (TimeOfDay{6, 0, 0}));
    EXPECT_EQ(morning.datePart().value(), -1.0);
}

TEST(OleDate, TimeValuesAndDayArithmetic) {
    EXPECT_EQ(OleDate::fromTime(8, 0, 0).value(), 1.0 / 3.0);
    EXPECT_EQ(OleDate::fromTime(16, 0, 0).value(), 2.0 / 3.0);
    EXPECT_EQ(OleDate::fromTime(0, 0, 0), OleDate());
    EXPECT_TRUE(OleDate().isEmpty());
    const OleDate lastOfFebruary = OleDate::fromDate(2004, 2, 28).plusDays(1);
    EXPECT_EQ(lastOfFebruary.date(), (CivilDate{2004, 2, 29}));
    EXPECT_EQ(lastOfFebruary.plusDays(1).date(), (CivilDate{2004, 3, 1}));
    EXPECT_EQ(OleDate::fromDate(2003, 10, 1).plusDays(365).date(), (CivilDate{2004, 9, 30}));
    EXPECT_EQ(daysInMonth(2004, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(2004, 13), 0);
    EXPECT_EQ(parseDateText("5.3.04"), OleDate::fromDate(2004, 3, 5));
    EXPECT_EQ(parseDateText("5.3.30"), OleDate::fromDate(1930, 3, 5));
}

TEST(OleDate, GarbageValuesFromDamagedFilesConvertSafely) {
    EXPECT_EQ(OleDate(std::nan("")).date(), (CivilDate{1899, 12, 30}));
    EXPECT_EQ(OleDate(std::nan("")).time(), (TimeOfDay{0, 0, 0}));
    EXPECT_EQ(OleDate(1e300).date(), (CivilDate{9999, 12, 31}));
    EXPECT_EQ(OleDate(std::numeric_limits<double>::infinity()).date(), (CivilDate{9999, 12, 31}));
    EXPECT_EQ(OleDate(-1e300).date(), (CivilDate{100, 1, 1}));
    EXPECT_EQ(OleDate(1e300).dateText(), "31.12.9999");
}
