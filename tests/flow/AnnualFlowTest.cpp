#include "flow/AnnualFlow.h"

#include "FlowFixtures.h"
#include "common/ExpectCells.h"
#include "flow/DayRating.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using namespace test;
using testing::expectCells;

const Locale& tr = Locale::turkish();
const Locale& en = Locale::american();

TEST(DischargeText, FormatIsChosenOnTheValueBeforeRounding) {
    EXPECT_EQ(dischargeText(9.9996, tr), "10,000");
    EXPECT_EQ(dischargeText(10.0, tr), "10,00");
    EXPECT_EQ(dischargeText(100.0, tr), "100,0");
    EXPECT_EQ(dischargeText(0.1234, tr), "0,123");
    EXPECT_EQ(dischargeText(1234.56, tr), "1234,6");
    EXPECT_EQ(dischargeText(9.9996, en), "10.000");
    EXPECT_EQ(dischargeText(99.999, en), "100.00");
    EXPECT_EQ(dischargeText(100.0, en), "100.0");
}

TEST(MonthWalks, TwelveWalksFollowTheCalendar) {
    const auto leap = walkMonths(emptyWaterYear(2004));
    ASSERT_EQ(leap.size(), 12u);
    const int expected[] = {31, 30, 31, 31, 29, 31, 30, 31, 30, 31, 31, 30};
    std::size_t first = 1;
    for (std::size_t m = 0; m < 12; ++m) {
        EXPECT_EQ(leap[m].first, first);
        EXPECT_EQ(leap[m].count, static_cast<std::size_t>(expected[m])) << m;
        first += leap[m].count;
    }
    EXPECT_EQ(leap[4].month, 2);
    EXPECT_EQ(walkMonths(emptyWaterYear(2003))[4].count, 28u);

    // A file without dates walks 32 records at a time, never past the twelfth walk.
    const auto blank = walkMonths(std::vector<DayRecord>(40));
    EXPECT_EQ(blank[0].month, 0);
    EXPECT_EQ(blank[0].count, 32u);
    EXPECT_EQ(blank[11].first, 353u);
}

class AnnualTable : public ::testing::Test {
protected:
    void SetUp() override {
        records = emptyWaterYear(2004);
        tables = yearTables(2004, 2.0F);
    }
    AnnualFlow flow(double area = 120.0) const { return computeAnnualFlow(records, tables, area); }
    Sheet sheet(const Locale& locale = tr) const {
        return fillAnnualTable(records, tables, testStation(), "2004_01-001.ard", locale);
    }
    std::vector<DayRecord> records;
    HqTableSet tables;
};

TEST_F(AnnualTable, DailyGridShowsLevelsAndDischarges) {
    setLevelDay(records, day(2003, 10, 1), 12.0F, 20, 10);
    setLevelDay(records, day(2004, 9, 30), 60.0F, 70, 50);
    setGivenDay(records, day(2003, 11, 15), 1250.0F);
    const Sheet s = sheet();
    const Table& g = *s.findTable("MSFlexGrid2");
    ASSERT_EQ(g.rows(), 32);
    ASSERT_EQ(g.columns(), 25);
    expectCells(g, {{0, 1, "  H"}, {0, 2, "   Q"}, {31, 0, "31"}});
    EXPECT_EQ(g.columnWidth(0), 300);
    EXPECT_EQ(g.columnWidth(23), 450);
    EXPECT_EQ(g.columnWidth(24), 475);
    expectCells(g, {{1, 1, "12"}, {1, 2, "24,00"}, {30, 23, "60"}, {30, 24, "120,0"}, {15, 3, ""}});
    EXPECT_EQ(g.cell(15, 4), "1250,0");
    // A day without data: level 0 lies below the table's lowest discharge, so it has none.
    expectCells(g, {{2, 1, "0"}, {2, 2, "?"}, {30, 9, ""}});

    const Table& strip = *s.findTable("MSFlexGrid1");
    expectCells(strip, {{0, 0, "gün"}, {0, 5, "Şubat"}});
    EXPECT_EQ(strip.columnWidth(12), 930);
    EXPECT_EQ(s.caption, "Yıllık akım  tablosu");
}

TEST_F(AnnualTable, GivenDaysCountButTakeNoPartInExtremesOrKeys) {
    setGivenDay(records, day(2003, 10, 2), 5000.0F);
    setLevelDay(records, day(2003, 10, 3), 10.0F, 15, 5);
    const AnnualFlow f = flow();
    EXPECT_DOUBLE_EQ(f.months[0].sum, 5020.0);
    EXPECT_EQ(f.months[0].instMax, 30.0F);
    EXPECT_EQ(f.months[0].instMaxDay, 3);
    EXPECT_EQ(f.months[0].instMin, 10.0F);
    EXPECT_EQ(f.months[0].instMinDay, 3);
    ASSERT_EQ(f.keyPeriods.size(), 1u);
}

TEST_F(AnnualTable, TiesKeepTheEarlierDayAndZeroMinimumIsNoCandidate) {
    setLevelDay(records, day(2003, 12, 4), 10.0F, 40, 9);
    setLevelDay(records, day(2003, 12, 9), 10.0F, 40, 9);
    setLevelDay(records, day(2003, 12, 20), 10.0F, 30, 0);
    // January: every minimum level 0.
    setLevelDay(records, day(2004, 1, 5), 10.0F, 30, 0);
    const AnnualFlow f = flow();
    EXPECT_EQ(f.months[2].instMax, 80.0F);
    EXPECT_EQ(f.months[2].instMaxDay, 4);
    EXPECT_EQ(f.months[2].instMin, 18.0F);
    EXPECT_EQ(f.months[2].instMinDay, 4);
    EXPECT_FALSE(f.months[3].instMin);
    EXPECT_EQ(f.months[3].instMinDay, 0);
    // A month without level days.
    EXPECT_EQ(f.months[5].instMax, 0.0F);
    EXPECT_FALSE(f.months[5].instMin);

    // A month without a minimum shows empty cells.
    const Sheet s = sheet();
    const Table& g = *s.findTable("MSFlexGrid4");
    expectCells(g, {{1, 0, "anl.max."}, {0, 5, "gün"}, {1, 5, "4"}, {1, 6, "80"}, {2, 5, "4"}, {2, 7, ""}});
    EXPECT_EQ(g.cell(2, 8), "");
}

// Flows above 999 all month long: the lowest of them is the minimum.
TEST_F(AnnualTable, MinimumOfHighFlowsIsTheirLowest) {
    setLevelDay(records, day(2004, 3, 10), 700.0F, 720, 650);
    setLevelDay(records, day(2004, 3, 11), 700.0F, 710, 640);
    const AnnualFlow f = flow();
    EXPECT_EQ(f.months[5].instMin, 1280.0F);
    EXPECT_EQ(f.months[5].instMinDay, 11);
    const Sheet high = sheet();
    expectCells(*high.findTable("MSFlexGrid4"), {{2, 11, "11"}, {2, 12, "1280"}});
}

TEST_F(AnnualTable, ExtremesSkipLevelsOutsideTheTables) {
    setLevelDay(records, day(2003, 10, 7), 10.0F, 1500, -4);
    const AnnualFlow f = flow();
    EXPECT_EQ(f.months[0].instMax, 0.0F);
    EXPECT_FALSE(f.months[0].instMin);
    EXPECT_DOUBLE_EQ(f.months[0].sum, 20.0);

    setLevelDay(records, day(2003, 10, 8), 1400.0F);
    const AnnualFlow high = flow();
    EXPECT_TRUE(high.months[0].days[7].levelOutOfRange);
    EXPECT_EQ(sheet().findTable("MSFlexGrid2")->cell(8, 2), "?");
}

TEST_F(AnnualTable, KeyListHasOneEntryPerTablePeriodUsed) {
    tables.entries.clear();
    tables.entries.push_back({"01_01-001.HQ", linearTable(1.0F, {{day(2003, 10, 1), day(2003, 12, 31)},
                                                                 {day(2004, 1, 1), day(2004, 9, 30)}})});
    setLevelDay(records, day(2003, 10, 5), 10.0F);
    setLevelDay(records, day(2003, 11, 5), 10.0F);
    setLevelDay(records, day(2004, 2, 5), 10.0F);
    setGivenDay(records, day(2004, 3, 5), 10.0F);
    const Sheet s = sheet();
    const Table& list = *s.findTable("List1");
    ASSERT_EQ(list.rows(), 2);
    expectCells(list, {{0, 0, "01...01.10.2003   31.12.2003"}, {1, 0, "01...01.01.2004   30.09.2004"}});
    EXPECT_EQ(sheet(en).findTable("List1")->cell(0, 0), "01...10/1/2003   12/31/2003");
}

TEST_F(AnnualTable, SummaryAndAnnualFigures) {
    // Every day 1 m3/s: every monthly mean is 1 and so is the annual mean.
    for (auto& r : records)
        if (r.date < day(2004, 10, 1)) {
            r.meanValue = 1.0F;
            r.source = tag("G  ");
        }
    const Sheet s = fillAnnualTable(records, tables, testStation(0.0F), "2004_01-001.ard", tr);
    EXPECT_EQ(s.text("annualMean"), "Yıllık Ortalama debi         :   1 m3/sn");
    EXPECT_EQ(s.text("annualYield"), "Yıllık Ortalama verim       :   0 Lt./sn./km2");
    EXPECT_EQ(s.text("annualDepth"), "Yıllık Toplam akış(mm)    :   0 mm");
    const Table& g = *s.findTable("MSFlexGrid3");
    expectCells(g, {{0, 0, "top. Q "}, {0, 1, "31"}, {1, 5, "1"}, {2, 5, ""}, {3, 5, ""}, {4, 1, "2,678"}});
    EXPECT_EQ(s.text("annualVolume"), "Yıllık Toplam akış(mil.m3):   " +
                                          tr.numberText(computeAnnualFlow(records, tables, 0).annualVolume) +
                                          " Milyon m3");

    // Copying the summary grid: five lines of thirteen tab-ended cells.
    const std::string copied = g.clipboardText();
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\t'), 65);
    EXPECT_EQ(copied.substr(copied.size() - 2), "\r\n");
    EXPECT_EQ(copied.rfind("top. Q \t31\t", 0), 0u);
}

TEST_F(AnnualTable, DepthsSumAndLeapFebruaryCountsTwentyNineDays) {
    // One day a month whose volume is 1.25 million litres: depth 1.25 mm on 1000 km2.
    for (int m = 0; m < 12; ++m) {
        const int month = (m + 9) % 12 + 1;
        setGivenDay(records, day(month >= 10 ? 2003 : 2004, month, 1), 14.4734F);
    }
    const AnnualFlow f = flow(1000.0);
    EXPECT_EQ(f.months[4].dayCount, 29);
    EXPECT_DOUBLE_EQ(*f.months[4].depth, 1.25);
    EXPECT_DOUBLE_EQ(f.annualDepth, 15.0);
    // floor(14.4734 * 1000 / 29) / 1000; over 28 days it would be 0.516.
    EXPECT_DOUBLE_EQ(*f.months[4].mean, 0.499);
    EXPECT_EQ(tr.numberText(f.annualDepth), "15");
}

TEST(AnnualTableMonths, FileWithoutDatesFillsNoDailyCells) {
    const std::vector<DayRecord> records(10);
    const Sheet s = fillAnnualTable(records, yearTables(2004), testStation(), "2004_01-001.ard", tr);
    const Table& g = *s.findTable("MSFlexGrid2");
    for (int r = 1; r < g.rows(); ++r)
        for (int c = 1; c < g.columns(); ++c)
            EXPECT_EQ(g.cell(r, c), "");
    EXPECT_EQ(s.findTable("MSFlexGrid3")->cell(1, 1), "0");
}

} // namespace
} // namespace korvel
