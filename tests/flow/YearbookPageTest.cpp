#include "flow/YearbookPage.h"

#include "FlowFixtures.h"
#include "common/ExpectCells.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using namespace test;
using testing::expectCells;

const Locale& tr = Locale::turkish();
const Locale& en = Locale::american();

class YearbookPage : public ::testing::Test {
protected:
    void SetUp() override {
        records = emptyWaterYear(2004);
        tables = yearTables(2004, 2.0F);
    }
    YearbookFigures figures(double area = 120.0) const { return computeYearbook(records, tables, area); }
    Sheet page(const Locale& locale = tr, int files = 2) const {
        return fillYearbookPage(records, tables, testStation(), "2004_01-001.ard", files, locale);
    }
    std::vector<DayRecord> records;
    HqTableSet tables;
};

TEST_F(YearbookPage, TextsOfTheStationYear) {
    const Sheet s = page(tr, 12);
    EXPECT_EQ(s.caption, "Kitap ");
    EXPECT_EQ(s.text("Label7"), "Akımlar 1 ekim 2003 den 30 eylül 2004 ' a kadar saniyede metre küp olarak");
    EXPECT_EQ(s.findTable("MSFlexGrid1")->cell(1, 0), "2004 Su yılında en çok akım       ");
    EXPECT_EQ(s.findTable("MSFlexGrid1")->cell(2, 0), "2004 Su yılında en az akım         ");
    EXPECT_EQ(s.text("Text4"), "01 - Kızılırmak - havzası");
    EXPECT_EQ(s.text("Text5"), "01-001   - Değirmen Çayı - Yenice Köprüsü");
    EXPECT_EQ(s.text("Text2"), "120 km2");
    EXPECT_EQ(s.text("Text3"), "12.05.1998 - 30.09. 2004 yılları arası");
    EXPECT_EQ(s.text("Text6").rfind("Gözlem süresinde  ...... (12 yıllık) 2004 su yılında ", 0), 0u);
    EXPECT_EQ(s.text("Text7"), "845,5 m.");
    EXPECT_EQ(page(en).text("Text7"), "845.5 m.");
    EXPECT_EQ(s.text("Text1").rfind("39.58.00K32.51.00D  Köprü ayağında eşel.", 0), 0u);
}

TEST_F(YearbookPage, OneReadingDaysTakeTheirMinimumFromTheMeanLevel) {
    setLevelDay(records, day(2003, 10, 3), 30.0F, 40, 20, "R 1 ");
    setLevelDay(records, day(2003, 10, 4), 30.0F, 40, 25, "R 2 ");
    setLevelDay(records, day(2003, 11, 3), 30.0F, 40, 20, "R 2 ");
    const YearbookFigures f = figures();
    EXPECT_EQ(f.months[0].monthMin, 50.0F); // 4 October's minimum level 25, not the mean 30
    EXPECT_EQ(f.months[0].monthMinDate, day(2003, 10, 4));
    EXPECT_EQ(f.months[1].monthMin, 40.0F);
    EXPECT_EQ(f.months[0].monthMax, 80.0F);
    EXPECT_EQ(f.months[0].monthMaxDate, day(2003, 10, 3));
}

TEST_F(YearbookPage, MeanLevelMinimumRoundsHalfToEvenAndZeroIsNoCandidate) {
    setLevelDay(records, day(2003, 10, 3), 12.5F, 40, 0, "R 1 SUVAK");
    setLevelDay(records, day(2003, 10, 4), 0.0F, 40, 1, "R 1 ");
    EXPECT_EQ(figures().months[0].monthMin, 24.0F);
}

TEST_F(YearbookPage, MaximumNeedsALevelAndTiesKeepTheEarlierMonth) {
    setLevelDay(records, day(2003, 12, 6), 10.0F, 0, 5);
    EXPECT_EQ(figures().months[2].monthMax, 0.0F);

    setLevelDay(records, day(2003, 12, 7), 10.0F, 60, 5);
    setLevelDay(records, day(2004, 2, 8), 10.0F, 60, 5);
    const YearbookFigures f = figures();
    EXPECT_EQ(f.yearMax, 120.0F);
    EXPECT_EQ(f.yearMaxDate, day(2003, 12, 7));
    EXPECT_EQ(f.yearMin, 10.0F);
    EXPECT_EQ(f.yearMinDate, day(2003, 12, 6));

    const Sheet s = page();
    const Table& block = *s.findTable("MSFlexGrid1");
    expectCells(block, {{1, 1, "120"}, {1, 2, "07.12.2003"}});
    EXPECT_EQ(page(en).findTable("MSFlexGrid1")->cell(1, 2), "12/7/2003");
}

TEST_F(YearbookPage, MonthWithoutLevelDischargesShowsZeroAndNoMinimum) {
    tables = yearTables(2003);
    setGivenDay(records, day(2003, 10, 2), 7.0F);
    const Sheet s = page();
    const Table& monthly = *s.findTable("MSFlexGrid2");
    expectCells(monthly, {{0, 0, "Maximum"}, {0, 1, "0"}, {1, 1, ""}});
    EXPECT_EQ(monthly.cell(2, 1), "0,225"); // floor(7000 / 31) / 1000
    const Table& daily = *s.findTable("MSFlexGrid3");
    expectCells(daily, {{2, 1, "7,00"}, {3, 1, ""}, {0, 12, "Eylül"}});
    EXPECT_EQ(s.findTable("MSFlexGrid1")->cell(2, 1), "");
    EXPECT_EQ(s.findTable("MSFlexGrid1")->cell(2, 2), "");
}

TEST_F(YearbookPage, WithoutDrainageAreaYieldAndDepthStayEmpty) {
    setGivenDay(records, day(2003, 10, 2), 7.0F);
    const Sheet s = fillYearbookPage(records, tables, testStation(0.0F), "2004_01-001.ard", 2, tr);
    const Table& monthly = *s.findTable("MSFlexGrid2");
    expectCells(monthly, {{3, 1, ""}, {4, 1, ""}, {5, 1, "0,604"}});
    EXPECT_EQ(s.text("Label6"),
              "Su yılı (2004)Yıllık toplam akım 0,604 Milyon m3  0 mm.    verim=0 Lt./sn./km2");
}

TEST_F(YearbookPage, LevelsOutsideTheTablesAreMarkedAndSkipped) {
    setLevelDay(records, day(2003, 10, 9), 2000.0F, 3000, 2000, "L  ");
    const Sheet s = page();
    EXPECT_EQ(s.findTable("MSFlexGrid3")->cell(9, 1), "?");
    setLevelDay(records, day(2003, 10, 9), 20.0F, 3000, 2000, "L  ");
    const YearbookFigures f = figures();
    EXPECT_EQ(f.months[0].monthMax, 0.0F);
    EXPECT_FALSE(f.months[0].monthMin);
}

// Flows above 999 (and 9999) all year: the lowest of them is the minimum of month and year.
TEST_F(YearbookPage, MinimumOfHighFlowsIsTheirLowest) {
    tables = yearTables(2004, 20.0F);
    setLevelDay(records, day(2004, 3, 10), 700.0F, 720, 650);
    setLevelDay(records, day(2004, 3, 11), 700.0F, 710, 640);
    const YearbookFigures f = figures();
    EXPECT_EQ(f.months[5].monthMin, 12800.0F);
    EXPECT_EQ(f.yearMin, 12800.0F);
    EXPECT_EQ(f.yearMinDate, day(2004, 3, 11));
    EXPECT_FALSE(f.months[0].monthMin);
    EXPECT_EQ(page().findTable("MSFlexGrid2")->cell(1, 6), "12800");
}

} // namespace
} // namespace korvel
