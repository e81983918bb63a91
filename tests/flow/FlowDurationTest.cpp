#include "flow/FlowDuration.h"

#include "YearFixtures.h"
#include "common/ScratchDirectory.h"
#include "flow/AnnualFlow.h"
#include "flow/FlowRecordSheet.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using testing::day;
using testing::dischargeDay;
using testing::levelDay;
using testing::ScratchDirectory;
using testing::waterYearDays;
using testing::writeYear;

// Water year 2003 (365 days): on the first 299 days the discharge falls from 299 to 1 m³/s,
// the last 66 days were never observed (the file holds only their dates).
std::vector<DayRecord> fallingYear() {
    int index = 0;
    return waterYearDays(2003, [&index](OleDate date) {
        const int i = index++;
        if (i < 299)
            return dischargeDay(date, static_cast<float>(299 - i));
        DayRecord blank;
        blank.date = date;
        return blank;
    });
}

TEST(FlowDuration, WeibullPositionsGiveTheExceededDischarge) {
    std::vector<double> descending;
    for (int q = 99; q >= 1; --q)
        descending.push_back(q);
    // 99 values: the i-th largest is exceeded with probability i / 100.
    EXPECT_EQ(exceededDischarge(descending, 1), 99.0);
    EXPECT_EQ(exceededDischarge(descending, 37), 63.0);
    EXPECT_EQ(exceededDischarge(descending, 99), 1.0);
    EXPECT_DOUBLE_EQ(*exceededDischarge({10.0, 8.0, 4.0}, 50), 8.0);
    EXPECT_DOUBLE_EQ(*exceededDischarge({10.0, 8.0, 4.0}, 62.5), 6.0);
    EXPECT_EQ(exceededDischarge({10.0, 8.0, 4.0}, 10), 10.0);
    EXPECT_EQ(exceededDischarge({10.0, 8.0, 4.0}, 90), 4.0);
    EXPECT_FALSE(exceededDischarge({}, 50));
}

TEST(FlowDuration, ConstructedRecordHasItsKnownExceedances) {
    const HqTableSet noTables;
    FlowRecord record;
    record.years.push_back(flowRecordYear(2003, "2003_x.ard", fallingYear(), noTables, 0.0));
    const FlowRecordYear& year = record.years.front();
    EXPECT_EQ(year.days.size(), 299u);
    EXPECT_EQ(year.missingDays, 66);
    EXPECT_EQ(year.largest->discharge, 299.0);
    EXPECT_EQ(year.largest->date, day(2002, 10, 1));
    EXPECT_EQ(year.smallest->discharge, 1.0);
    EXPECT_EQ(year.annualMean, computeAnnualFlow(fallingYear(), noTables, 0.0).annualMean);

    const FlowDuration duration = computeFlowDuration(record);
    ASSERT_EQ(duration.curve.size(), 99u);
    // n = 299: p % is rank 3p, the discharge 300 - 3p.
    EXPECT_DOUBLE_EQ(*duration.exceeded(5), 285.0);
    EXPECT_DOUBLE_EQ(*duration.exceeded(50), 150.0);
    EXPECT_DOUBLE_EQ(*duration.exceeded(95), 15.0);
    EXPECT_DOUBLE_EQ(duration.curve[0], 297.0);
    EXPECT_EQ(duration.days, 299u);
    EXPECT_EQ(duration.missingDays, 66u);
    EXPECT_EQ(duration.years.front().curve, duration.curve);

    const Sheet sheet = flowDurationSheet(duration, "01-001", Locale::turkish());
    EXPECT_EQ(sheet.text("Q50"), "Q50 = 150,0");
    EXPECT_EQ(sheet.findTable("duration")->cell(95, 1), "15,00");
    EXPECT_EQ(sheet.findTable("years")->cell(1, 2), "66");
}

TEST(FlowDuration, StationRecordRatesLevelsAndLeavesOutWhatItCannotRead) {
    ScratchDirectory dir;
    writeYear(dir / "2003_01-009.ard", fallingYear());
    // 2004 in levels: 50 mm on every day, 80 mm on the two largest days, rated at 2 m³/s per mm.
    writeYear(dir / "2004_01-009.ard", waterYearDays(2004, [](OleDate date) {
                  const bool high = date == day(2004, 3, 1) || date == day(2004, 5, 1);
                  return levelDay(date, high ? 80.0F : 50.0F);
              }));
    writeHqTable(dir / hqTableFileName(1, "01-009"),
                 testing::linearTable(2.0F, day(2003, 10, 1), day(2004, 9, 30)));
    writeFileAtomic(dir / "eski.ard", Bytes(128, 0));

    const FlowRecord record = readFlowRecord(dir.path(), 10.0);
    ASSERT_EQ(record.years.size(), 2u);
    EXPECT_EQ(record.years[1].waterYear, 2004);
    EXPECT_EQ(record.years[1].days.size(), 366u);
    EXPECT_EQ(record.years[1].missingDays, 0);
    EXPECT_EQ(record.years[1].largest->discharge, 160.0);
    EXPECT_EQ(record.years[1].largest->date, day(2004, 3, 1)); // the earlier of two equal days
    EXPECT_EQ(record.years[1].smallest->discharge, 100.0);
    EXPECT_EQ(record.years[1].smallest->date, day(2003, 10, 1));
    ASSERT_EQ(record.leftOut.size(), 1u);
    EXPECT_EQ(record.leftOut[0].file, "eski.ard");
    EXPECT_EQ(record.dayCount(), 299u + 366u);

    const Sheet sheet = flowRecordSheet(record, "01-009", Locale::turkish());
    EXPECT_EQ(sheet.findTable("annual")->cell(2, 2), "160,0");
    EXPECT_EQ(sheet.findTable("annual")->cell(2, 3), "01.03.2004");
    EXPECT_EQ(sheet.text("period"), "Su yılları 2003 - 2004 (2 yıl)");
}

} // namespace
} // namespace korvel
