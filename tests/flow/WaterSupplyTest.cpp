#include "flow/WaterSupply.h"

#include "YearFixtures.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

// Discharges given directly: `october` on 1 October, `other` on every other day.
std::vector<DayRecord> givenYear(int year, float october, float other = 0.0F) {
    return waterYearDays(
        year, [&](OleDate d) { return dischargeDay(d, d.month() == 10 && d.day() == 1 ? october : other); });
}

std::string cell(const WaterSupplyTable& table, int row, int column) {
    return table.grid().cell(row, column);
}

} // namespace

TEST(WaterSupplyVolumes, MonthVolumeIsTheFlooredDischargeSumInMillionCubicMetres) {
    const auto volumes = waterSupplyVolumes(givenYear(2004, 1.5F), HqTableSet{});
    EXPECT_DOUBLE_EQ(volumes[0], 0.129); // floor(129.6) / 1000
    EXPECT_DOUBLE_EQ(volumes[1], 0.0);
    EXPECT_DOUBLE_EQ(volumes[12], 0.129);

    // Level days through the table valid on the day; days outside every period add nothing.
    HqTableSet tables;
    tables.entries.push_back({"01_01-001.HQ", linearTable(2.0F, day(2003, 10, 1), day(2004, 3, 31))});
    const auto levels = waterYearDays(2004, [](OleDate d) { return levelDay(d, 100.0F); });
    const auto byTable = waterSupplyVolumes(levels, tables);
    EXPECT_DOUBLE_EQ(byTable[0], std::floor(31 * 200.0 * 86.4) / 1000); // 535.68
    EXPECT_DOUBLE_EQ(byTable[4], std::floor(29 * 200.0 * 86.4) / 1000); // leap February
    EXPECT_DOUBLE_EQ(byTable[6], 0.0);                                  // April: no table
    double annual = 0;
    for (int m = 0; m < 12; ++m)
        annual += byTable[static_cast<std::size_t>(m)];
    EXPECT_DOUBLE_EQ(byTable[12], annual);
}

TEST(WaterSupplyTableRows, RoundedValuesAreShownAndAddedUp) {
    WaterSupplyTable table(Locale::turkish());
    EXPECT_EQ(table.grid().rows(), 42);
    EXPECT_EQ(table.grid().columns(), 14);
    EXPECT_EQ(cell(table, 0, 13), "Yıllık top.");
    EXPECT_EQ(cell(table, 40, 0), "Top.");
    EXPECT_EQ(cell(table, 41, 0), "Ort.");

    EXPECT_EQ(table.addYear("2003_01-001.ard", givenYear(2003, 1.5F), {}),
              WaterSupplyTable::AddResult::Added);
    EXPECT_EQ(cell(table, 1, 0), "2003");
    EXPECT_EQ(cell(table, 1, 1), "0,13");
    EXPECT_EQ(cell(table, 1, 2), "0,00");
    EXPECT_EQ(cell(table, 1, 13), "0,13");
    // Six years of 0.129 shown as 0.13: the totals add the shown 0.13s (0.78), not 0.774.
    for (int year = 2004; year <= 2008; ++year)
        table.addYear(std::to_string(year) + "_01-001.ard", givenYear(year, 1.5F), {});
    EXPECT_EQ(table.rowCount(), 6);
    EXPECT_EQ(cell(table, 40, 1), "0,78");
    EXPECT_EQ(cell(table, 41, 1), "0,13");
    EXPECT_EQ(cell(table, 40, 2), "0,00");

    WaterSupplyTable american(Locale::american());
    american.addYear("2003_01-001.ard", givenYear(2003, 1.5F), {});
    EXPECT_EQ(american.grid().cell(1, 1), "0.13");
}

TEST(WaterSupplyTableRows, RepeatedFileIsAddedOnce) {
    WaterSupplyTable table(Locale::turkish());
    table.addYear("2004_01-001.ard", givenYear(2004, 1.5F), {});
    EXPECT_EQ(table.addYear("2004_01-001.ard", givenYear(2004, 9.0F), {}),
              WaterSupplyTable::AddResult::AlreadyListed);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(cell(table, 2, 0), "");
    EXPECT_EQ(cell(table, 1, 1), "0,13");
}

TEST(WaterSupplyTableRows, MeanRowIsTheTotalRowOverTheYearsListed) {
    WaterSupplyTable table(Locale::turkish());
    const float october[] = {10.0F, 25.5F, 3.25F, 40.0F, 7.0F};
    for (int y = 0; y < 5; ++y)
        table.addYear(std::to_string(2000 + y) + "_01-001.ard", givenYear(2000 + y, october[y], 1.0F), {});
    EXPECT_EQ(table.rowCount(), 5);
    for (int c = 1; c <= 13; ++c) {
        const double total = *Locale::turkish().parseNumber(cell(table, 40, c));
        const double mean = *Locale::turkish().parseNumber(cell(table, 41, c));
        EXPECT_NEAR(mean, total / 5, 0.005 + 1e-9) << "column " << c;
        double sum = 0;
        for (int r = 1; r <= 5; ++r)
            sum += *Locale::turkish().parseNumber(cell(table, r, c));
        EXPECT_NEAR(total, sum, 1e-6) << "column " << c;
    }
    // October volumes 3.456, 4.795, 2.872, 6.048 and 3.196 are shown 3,46 4,80 2,87 6,05 3,20: the
    // total of the shown values is 20,38 (the volumes themselves add up to 20.367).
    EXPECT_EQ(cell(table, 1, 1), "3,46");
    EXPECT_EQ(cell(table, 2, 1), "4,80");
    EXPECT_EQ(cell(table, 40, 1), "20,38");
    EXPECT_EQ(cell(table, 41, 1), "4,08");
}

TEST(WaterSupplyTableRows, ThirtyNineYearsAtMost) {
    WaterSupplyTable table(Locale::turkish());
    for (int y = 1; y <= 39; ++y)
        ASSERT_EQ(table.addYear(std::to_string(1960 + y) + "_x.ard", givenYear(1960 + y, 1.5F), {}),
                  WaterSupplyTable::AddResult::Added);
    EXPECT_EQ(table.addYear("2020_x.ard", givenYear(2020, 1.5F), {}), WaterSupplyTable::AddResult::TableFull);
    EXPECT_EQ(table.rowCount(), 39);
    EXPECT_EQ(cell(table, 39, 0), "1999");
    EXPECT_EQ(cell(table, 40, 1), "5,07"); // 39 x 0.13
    EXPECT_EQ(cell(table, 41, 1), "0,13");
}

TEST(WaterSupplySheetTexts, HeaderUsesTheAgiNumberLabel) {
    StationRecord station;
    station.stationNumber = "01-001  ";
    station.regionName = fixedText("Ankara", StationRecord::regionNameWidth);
    station.drainageArea = 126.4F;
    WaterSupplyTable table(Locale::turkish());
    const Sheet sheet = waterSupplySheet(table, station, Locale::turkish());
    EXPECT_EQ(sheet.caption, "Su temini tablosu");
    EXPECT_EQ(sheet.text("title"), "Su Temini Tablosu");
    EXPECT_EQ(sheet.text("units"), "Birimler :  Milyon metre küp");
    EXPECT_EQ(sheet.text("stationNumber"), "Agi No..............:   01-001  ");
    EXPECT_EQ(sheet.text("institute"), "Ankara  ARAŞTIRMA ENSTİTÜSÜ");
    EXPECT_EQ(sheet.text("area"), "Yağış Alanı.......:   126,4 km2");
    ASSERT_NE(sheet.findTable("MSFlexGrid3"), nullptr);
}
