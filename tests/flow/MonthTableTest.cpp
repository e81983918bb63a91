#include "flow/MonthTable.h"

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

constexpr int kNovember = 1; // month list index of "11.ay  Kasım"
constexpr int kFebruary = 4;

TEST(MonthStatistics, WorkedExampleInBothLocales) {
    MonthFlow flow;
    flow.sum = 3000.456;
    flow.days.resize(30);
    setMonthStatistics(flow, 120.0);
    EXPECT_DOUBLE_EQ(flow.total, 3000.45);
    EXPECT_DOUBLE_EQ(*flow.mean, 100.01);
    EXPECT_DOUBLE_EQ(*flow.yield, 833.41);
    EXPECT_DOUBLE_EQ(*flow.depth, 2160.32);
    EXPECT_DOUBLE_EQ(flow.volume, 259.239);

    const Sheet t = monthTableSheet(flow, testStation(120.0F), "2004_01-001.ard", kNovember, tr);
    EXPECT_EQ(t.text("total"), "Aylık toplam debi             :   3000,45 m3/sn.");
    EXPECT_EQ(t.text("mean"), "Aylık Ortalama debi         :   100,01 m3/sn.");
    EXPECT_EQ(t.text("yield"), "Aylık Ortalama verim       :   833,41 Lt./sn./km2");
    EXPECT_EQ(t.text("depth"), "Aylık  akış(mm.)               :    2160,32 mm");
    EXPECT_EQ(t.text("volume"), "Aylık Toplam akım(mil.m3):   259,239 Milyon m3");
    EXPECT_EQ(t.text("month"), " Kasım ayı ");
    EXPECT_EQ(t.text("waterYear"), "  Su yılı  2004");
    EXPECT_EQ(t.text("stationNumber"), "İstasyon No.......:   01-001  ");

    const Sheet e = monthTableSheet(flow, testStation(120.0F), "2004_01-001.ard", kNovember, en);
    EXPECT_EQ(e.text("total"), "Aylık toplam debi             :   3000.45 m3/sn.");
    EXPECT_EQ(e.text("yield"), "Aylık Ortalama verim       :   833.41 Lt./sn./km2");
    EXPECT_EQ(e.text("volume"), "Aylık Toplam akım(mil.m3):   259.239 Milyon m3");
}

TEST(MonthStatistics, MissingDaysOrAreaLeaveFiguresOut) {
    MonthFlow empty;
    setMonthStatistics(empty, 120.0);
    EXPECT_FALSE(empty.mean);
    EXPECT_EQ(empty.yield, 0.0);
    const Sheet s = monthTableSheet(empty, testStation(), "2004_01-001.ard", 0, tr);
    EXPECT_EQ(s.text("mean"), "Aylık Ortalama debi         :    m3/sn.");
    EXPECT_EQ(s.text("yield"), "Aylık Ortalama verim       :   0 Lt./sn./km2");

    MonthFlow noArea;
    noArea.sum = 10.0;
    noArea.days.resize(2);
    setMonthStatistics(noArea, 0.0);
    EXPECT_FALSE(noArea.yield);
    EXPECT_FALSE(noArea.depth);
    const Sheet a = monthTableSheet(noArea, testStation(0.0F), "2004_01-001.ard", 0, tr);
    EXPECT_EQ(a.text("yield"), "");
    EXPECT_EQ(a.text("depth"), "");
    EXPECT_EQ(a.text("mean"), "Aylık Ortalama debi         :   5 m3/sn.");
}

class MonthTableFill : public ::testing::Test {
protected:
    void SetUp() override {
        records = emptyWaterYear(2004);
        tables = yearTables(2004, 10.0F);
    }
    Table grid(int monthIndex = kNovember, const Locale& locale = tr) {
        const Sheet s = fillMonthTable(records, tables, testStation(), "2004_01-001.ard", monthIndex, locale);
        return *s.findTable(kMonthGridName);
    }
    std::vector<DayRecord> records;
    HqTableSet tables;
};

TEST_F(MonthTableFill, GridLayoutAndLevelDay) {
    setLevelDay(records, day(2003, 11, 1), 12.5F, 40, 7);
    const Table g = grid();
    ASSERT_EQ(g.rows(), 32);
    ASSERT_EQ(g.columns(), 10);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedColumns(), 1);
    EXPECT_EQ(g.columnWidth(9), 1300);
    expectCells(g, {{0, 0, " Tarih"}, {0, 9, "Olç.şekli"}});
    const std::vector<std::string> row{"01.11.2003", "40",     "14:30:00", "7",      "03:15:00",
                                       "12,5",       "120,00", "10368",    "01    ", "L  korvelmaş"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(g.cell(1, c), row[static_cast<std::size_t>(c)]) << c;
    // November has 30 days; row 31 stays empty. A blank (NUL) tag shows empty.
    expectCells(g, {{30, 0, "30.11.2003"}, {30, 9, ""}, {31, 0, ""}});

    const Table e = grid(kNovember, en);
    expectCells(e, {{1, 0, "11/1/2003"}, {1, 2, "2:30:00 PM"}, {1, 5, "12.5"}, {1, 6, "120.00"}});
}

TEST_F(MonthTableFill, MeanLevelIndexRoundsHalfToEven) {
    setLevelDay(records, day(2003, 11, 1), 12.5F);
    setLevelDay(records, day(2003, 11, 2), 13.5F);
    const Table g = grid();
    expectCells(g, {{1, 6, "120,00"}, {2, 6, "140,00"}});
}

TEST_F(MonthTableFill, GivenDischargeDay) {
    setGivenDay(records, day(2003, 11, 3), 1.2345F);
    const Table g = grid();
    expectCells(g, {{3, 5, ""}, {3, 6, "1,23"}, {3, 7, "106,66"}, {3, 8, ""}});
    EXPECT_EQ(grid(kNovember, en).cell(3, 7), "106.66");

    const MonthFlow flow = computeMonthFlow(records, tables, 11, 120.0);
    EXPECT_EQ(flow.days.size(), 30u);
    EXPECT_DOUBLE_EQ(flow.sum, static_cast<double>(1.2345F));
}

TEST_F(MonthTableFill, DaysWithoutDischargeCountInDaysOnly) {
    // Outside every period (a table of the year before) and a level above the tables.
    tables = yearTables(2003, 10.0F);
    tables.entries.push_back({"02_01-001.HQ", linearTable(1.0F, {{day(2003, 11, 2), day(2003, 11, 2)}})});
    setLevelDay(records, day(2003, 11, 1), 50.0F);
    setLevelDay(records, day(2003, 11, 2), 1000.6F);
    setLevelDay(records, day(2003, 11, 4), 20.0F);
    const Table g = grid();
    for (int c = 6; c <= 8; ++c)
        EXPECT_EQ(g.cell(1, c), "") << c;
    expectCells(g, {{2, 6, "?"}, {2, 7, ""}});
    const MonthFlow flow = computeMonthFlow(records, tables, 11, 120.0);
    EXPECT_EQ(flow.sum, 0.0);
    EXPECT_EQ(flow.days.size(), 30u);
    EXPECT_TRUE(flow.days[1].levelOutOfRange);
    EXPECT_EQ(*flow.mean, 0.0);
}

TEST_F(MonthTableFill, LevelAboveTheTablesHighestDischargeIsMarkedNotZero) {
    for (std::size_t i = 101; i < HqTable::kLevels; ++i)
        tables.entries[0].table.discharge[i] = 0.0F;
    setLevelDay(records, day(2003, 11, 1), 100.0F);
    setLevelDay(records, day(2003, 11, 2), 150.0F);
    expectCells(grid(), {{1, 6, "1000,00"}, {2, 6, "?"}, {2, 7, ""}});
}

TEST_F(MonthTableFill, FirstTableOfTheListWinsWhereTwoCoverTheDay) {
    tables.entries.push_back({"02_01-001.HQ", linearTable(1.0F, {{day(2003, 10, 1), day(2004, 9, 30)}})});
    std::swap(tables.entries[0], tables.entries[1]);
    setLevelDay(records, day(2003, 11, 1), 30.0F);
    const Table g = grid();
    expectCells(g, {{1, 6, "30,00"}, {1, 8, "02    "}});
}

TEST_F(MonthTableFill, LeapFebruaryHasTwentyNineRows) {
    const Table g = grid(kFebruary);
    expectCells(g, {{29, 0, "29.02.2004"}, {30, 0, ""}});
    EXPECT_EQ(computeMonthFlow(emptyWaterYear(2003), tables, 2, 1.0).days.size(), 28u);
}

TEST(MonthList, IndicesWrapAroundTheWaterYear) {
    EXPECT_EQ(monthListItem(0), "10.ay  Ekim");
    EXPECT_EQ(monthListItem(12), "10.ay  Ekim");
    EXPECT_EQ(monthListItem(-1), "09.ay  Eylül");
    EXPECT_EQ(monthIndexOfMonth(2), 4);
    EXPECT_EQ(fillMonthTable({}, {}, testStation(), "2004_01-001.ard", -11, tr).text("month"), " Kasım ayı ");
}

TEST(MonthWalkOverDamagedFile, TruncatedFileShowsOnlyWhatItHas) {
    auto records = emptyWaterYear(2004);
    records.resize(40); // October and 9 days of November
    const MonthFlow flow = computeMonthFlow(records, yearTables(2004), 11, 1.0);
    EXPECT_EQ(flow.days.size(), 9u);
    EXPECT_TRUE(computeMonthFlow({}, yearTables(2004), 11, 1.0).days.empty());
}

TEST(CopyCellToRange, CopiesDownAndRightOnly) {
    Table g(6, 4, 1, 1);
    g.setCell(2, 1, "120");
    EXPECT_TRUE(copyCellToRange(g, {2, 1}, {4, 2}));
    for (int r = 2; r <= 4; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_EQ(g.cell(r, c), "120");
    expectCells(g, {{5, 1, ""}, {2, 3, ""}});

    Table up(6, 4, 1, 1);
    up.setCell(3, 2, "9");
    EXPECT_FALSE(copyCellToRange(up, {3, 2}, {1, 3}));
    EXPECT_FALSE(copyCellToRange(up, {3, 2}, {4, 1}));
    EXPECT_FALSE(copyCellToRange(up, {0, 2}, {4, 3}));
    EXPECT_FALSE(copyCellToRange(up, {3, 0}, {4, 3}));
    EXPECT_EQ(up.cell(4, 2), "");
    // A release below the grid stops at its last row.
    EXPECT_TRUE(copyCellToRange(up, {3, 2}, {40, 2}));
    EXPECT_EQ(up.cell(5, 2), "9");
}

TEST(FillBlock, FillsTheRectangleBetweenBothCells) {
    Table g(6, 4, 1, 1);
    g.setCell(4, 3, "77");
    EXPECT_TRUE(fillBlock(g, {4, 3}, {2, 1}));
    for (int r = 2; r <= 4; ++r)
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(g.cell(r, c), "77");
    EXPECT_FALSE(fillBlock(g, {4, 3}, {0, 1}));
    EXPECT_FALSE(fillBlock(g, {4, 3}, {-1, -1}));
}

} // namespace
} // namespace korvel
