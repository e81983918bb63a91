#include "rain/BasinTables.h"

#include "common/ExpectCells.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "flow/YearFixtures.h"
#include "store/StationRecord.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::testing::day;
using korvel::testing::dischargeDay;
using korvel::testing::expectCells;
using korvel::testing::ScratchDirectory;

namespace {

const Locale& tr = Locale::turkish();

BasinGauge gauge(const char* number, float weight) {
    BasinGauge g;
    g.stationNumber = fixedText(number, StationRecord::stationNumberWidth);
    g.thiessenArea = weight;
    return g;
}

void setMonthTotal(BasinGauge& g, int column, int tenths, int largestTenths = 0) {
    g.analysis.months[static_cast<std::size_t>(column)].totalTenths = tenths;
    g.analysis.months[static_cast<std::size_t>(column)].largestTenths = largestTenths;
}

void setDay(BasinGauge& g, int column, int dayOfMonth, int tenths) {
    g.analysis.dailyTenths[static_cast<std::size_t>(column)][static_cast<std::size_t>(dayOfMonth)] = tenths;
}

BasinInputs threeGauges(float w0 = 1.0F, float w1 = 1.0F, float w2 = 2.0F) {
    BasinInputs inputs;
    inputs.gauges = {gauge("01-001", w0), gauge("01-002", w1), gauge("01-003", w2)};
    return inputs;
}

// A water year of 2004 whose every day carries the discharge q (m3/s), except the days given.
AnnualFlow flowOf(float q, double drainageArea, const std::vector<std::pair<OleDate, float>>& days = {}) {
    auto records = korvel::testing::waterYearDays(2004, [q, &days](OleDate d) {
        for (const auto& [date, value] : days)
            if (date == d)
                return dischargeDay(d, value);
        return dischargeDay(d, q);
    });
    return computeAnnualFlow(records, HqTableSet{}, drainageArea);
}

Table grid(const Sheet& sheet, const char* name) {
    const Table* table = sheet.findTable(name);
    EXPECT_NE(table, nullptr) << name;
    return table ? *table : Table();
}

} // namespace

TEST(BasinRainTable, LayoutAndHeadings) {
    const Sheet s = basinRainSheet(threeGauges(), tr);
    EXPECT_EQ(s.caption, "Su yılı Havzası toplam ,max ve havza ortalama yağışları");
    const Table g = grid(s, "MSFlexGrid1");
    ASSERT_EQ(g.rows(), 9);
    ASSERT_EQ(g.columns(), 14);
    expectCells(g, {{0, 0, "Aylar"}, {0, 1, "X"}, {0, 4, "I"}, {0, 12, "IX"}, {0, 13, "yıllık"}});
    expectCells(g, {{4, 0, "Aritmetik"}, {5, 0, "Thiesen"}});
    // Five characters from the fourth of the 8-character number field.
    expectCells(g, {{1, 0, "001  "}, {8, 0, "003  "}});
    EXPECT_EQ(g.columnWidth(0), 800);
    EXPECT_EQ(g.columnWidth(6), 500);
    EXPECT_EQ(g.columnWidth(13), 600);
}

TEST(BasinRainTable, ArithmeticAndThiessenMeans) {
    BasinInputs in = threeGauges(1.0F, 1.0F, 2.0F);
    setMonthTotal(in.gauges[0], 1, 300, 120);
    setMonthTotal(in.gauges[1], 1, 600, 250);
    setMonthTotal(in.gauges[2], 1, 900, 125);
    setMonthTotal(in.gauges[2], 5, 15, 15);
    const Table g = grid(basinRainSheet(in, tr), "MSFlexGrid1");
    expectCells(g, {{1, 1, "30"}, {2, 1, "60"}, {4, 1, "60,0"}, {5, 1, "67,5"}});
    // Annual column from the annual totals, not from the mean rows.
    expectCells(g, {{3, 13, "91,5"}, {4, 13, "60,5"}});
    EXPECT_EQ(g.cell(5, 13), "68,3"); // (30 + 60 + 183) / 4 = 68.25
    // Maxima: general text per month, the largest of the year with one decimal.
    expectCells(g, {{6, 1, "12"}, {7, 1, "25"}, {6, 13, "12,0"}, {8, 13, "12,5"}, {8, 2, "0"}});
}

TEST(BasinRainTable, WeightsAndTheirEdges) {
    BasinInputs in = threeGauges(3.0F, 3.0F, 3.0F);
    setMonthTotal(in.gauges[0], 3, 123);
    setMonthTotal(in.gauges[1], 3, 457);
    setMonthTotal(in.gauges[2], 3, 5);
    Table g = grid(basinRainSheet(in, tr), "MSFlexGrid1");
    for (int k = 1; k <= 13; ++k)
        EXPECT_EQ(g.cell(5, k), g.cell(4, k)) << k; // equal weights: Thiessen = arithmetic

    in.gauges[2].thiessenArea = 0.0F; // does not move the Thiessen mean
    g = grid(basinRainSheet(in, tr), "MSFlexGrid1");
    expectCells(g, {{5, 3, "29,0"}, {4, 3, "19,5"}});

    in.gauges[0].thiessenArea = in.gauges[1].thiessenArea = 0.0F; // no weights: no Thiessen row
    g = grid(basinRainSheet(in, tr), "MSFlexGrid1");
    for (int k = 1; k <= 13; ++k)
        EXPECT_EQ(g.cell(5, k), "") << k;
    EXPECT_EQ(g.cell(4, 3), "19,5");
}

TEST(BasinRainTable, ChartSeriesFollowTheMeanRowAndRunoff) {
    BasinInputs in = threeGauges();
    setMonthTotal(in.gauges[0], 1, 100);
    setMonthTotal(in.gauges[0], 2, 101); // mean 3.3666.. shown and charted as 3,4
    in.flowGauge.flow.months[0].depth = 1.25;
    in.flowGauge.flow.months[1].depth = 0.5;
    const Sheet s = basinRainSheet(in, tr);
    const Table c1 = grid(s, "chart1");
    const Table c2 = grid(s, "chart2");
    expectCells(c1, {{1, 0, "X"}, {1, 1, "3,3"}, {2, 1, "3,4"}, {2, 2, "0,5"}});
    expectCells(c2, {{2, 1, "6,7"}, {2, 2, "1,75"}, {12, 2, "1,75"}});
}

TEST(BasinDailyTable, LayoutMeansAndEmptyZeros) {
    BasinInputs in = threeGauges();
    setDay(in.gauges[0], 2, 15, 30); // 15 November: 3.0, 0, 1.5 -> 1,5
    setDay(in.gauges[2], 2, 15, 15);
    setDay(in.gauges[1], 2, 16, 10); // 0.333.. -> 0,3
    in.flowGauge.flow = flowOf(2.5F, 0.0, {{day(2003, 10, 3), 0.0F}, {day(2003, 10, 4), 123.456F}});
    const Sheet s = basinDailySheet(in, tr);
    const Table g = grid(s, "MSFlexGrid1");
    ASSERT_EQ(g.rows(), 37);
    ASSERT_EQ(g.columns(), 25);
    expectCells(g, {{0, 1, "ekim"}, {0, 2, "ekim"}, {0, 23, "eylül"}, {1, 3, "P"}, {2, 4, "m3/s"}});
    expectCells(g, {{3, 0, "1"}, {34, 0, "Ay. top. yağ."}});
    EXPECT_EQ(g.rowHeight(33), 220);
    EXPECT_EQ(g.rowHeight(34), 600);
    EXPECT_EQ(g.columnWidth(1), 400);
    EXPECT_EQ(g.columnWidth(2), 480);

    expectCells(g, {{17, 3, "1,5"}, {18, 3, "0,3"}, {34, 3, "1,8"}, {36, 3, "1,5"}});
    // A dry month: no daily cells, no total, no maximum.
    expectCells(g, {{3, 1, ""}, {34, 1, ""}, {36, 1, ""}});

    // Discharges as the annual table shows them, read back; zeros stay empty.
    expectCells(g, {{3, 2, "2,5"}, {5, 2, ""}, {6, 2, "123,5"}});
    EXPECT_EQ(g.cell(33, 4), ""); // 31 November does not exist
    EXPECT_EQ(g.cell(35, 4), "2,5");
    EXPECT_EQ(g.cell(36, 4), ""); // given discharges have no instantaneous maximum
}

TEST(BasinRunoffTables, MonthlyRowsAndSeasons) {
    BasinInputs in = threeGauges();
    // March, April, May 10, 20, 30 mm and 180 mm in October: 240 mm in the year.
    for (auto& g : in.gauges) {
        setDay(g, 6, 1, 100);
        setDay(g, 7, 1, 200);
        setDay(g, 8, 1, 300);
        setDay(g, 1, 1, 1800);
    }
    in.flowGauge.flow = flowOf(10.0F, 100.0);
    const Sheet s = basinRunoffSheet(in, tr);
    EXPECT_EQ(s.caption, "Su yılı aylık yağış , yüzey akış ,yüzeyaltı akım,ana akım miktarları");
    const Table m = grid(s, "MSFlexGrid1");
    expectCells(m, {{1, 0, "Aylık yağış (mm)"}, {6, 0, "Yüzey akış kts.(%)"}, {1, 1, "180,0"}});
    EXPECT_EQ(m.cell(1, 6), "10,0");
    EXPECT_EQ(m.cell(1, 2), ""); // dry month
    EXPECT_EQ(m.cell(1, 13), "240");
    // 31 days of 10 m3/s: 26.784 million m3 over 100 km2.
    expectCells(m, {{2, 1, "267,84"}, {3, 1, ""}});
    const Table seasons = grid(s, "MSFlexGrid2");
    expectCells(seasons, {{0, 0, "mm"}, {0, 7, "%"}, {1, 0, "60"}, {1, 1, "25,"}, {1, 2, "0"}, {1, 3, ","}});
    expectCells(seasons, {{1, 4, "180"}, {1, 5, "75,"}, {1, 8, "240"}});
    EXPECT_EQ(s.text("seasonHeading"),
              "           İlk Bahar                     yaz                    sonbahar      "
              "              kış                  toplam");
}

TEST(BasinRunoffTables, DryYearHasNoShares) {
    const Sheet s = basinRunoffSheet(threeGauges(), tr);
    const Table seasons = grid(s, "MSFlexGrid2");
    for (int c = 1; c < 8; c += 2)
        EXPECT_EQ(seasons.cell(1, c), "") << c;
    EXPECT_EQ(seasons.cell(1, 8), "0");
    EXPECT_EQ(grid(s, "MSFlexGrid1").cell(1, 13), "0");
}

TEST(BasinRunoffTables, HeavyRainDepthIntensityAndDate) {
    BasinInputs in = threeGauges();
    in.gauges[1].analysis.durations[1] = {125, day(2003, 11, 15), 14 * 60 + 7};
    in.gauges[1].analysis.durations[11] = {480, day(2004, 2, 3), 0};
    const Table h = grid(basinRunoffSheet(in, tr), "MSFlexGrid3");
    ASSERT_EQ(h.rows(), 10);
    ASSERT_EQ(h.columns(), 13);
    expectCells(h, {{0, 0, "İstasyon"}, {0, 2, " 5"}, {0, 12, "1440"}, {4, 1, "Yağış derinliği(mm)"}});
    expectCells(h, {{5, 1, "Yağış şiddeti(mm/h)"}, {6, 1, "Yağış tarihi"}, {5, 0, "002"}, {4, 2, "12,5"}});
    expectCells(h, {{5, 2, "150,"}, {6, 2, "15.11"}, {4, 12, "48"}, {5, 12, "2,"}, {6, 12, "03.02"}});
    // A duration without rain shows nothing.
    expectCells(h, {{4, 3, ""}, {6, 3, ""}, {1, 2, ""}});
}

TEST(RainyDayClasses, Boundaries) {
    EXPECT_EQ(rainyDayClassCount(0.0), 0);
    EXPECT_EQ(rainyDayClassCount(1 / 10.0), 1);
    EXPECT_EQ(rainyDayClassCount(0.9), 1);
    EXPECT_EQ(rainyDayClassCount(12.0), 5);
    EXPECT_EQ(rainyDayClassCount(250 / 10.0), 6);
    EXPECT_EQ(flowClassOf(2.5, 1000.0), 1); // r = 0.216
    EXPECT_EQ(flowClassOf(2.5, 864.0), 2);  // r = 0.25
    EXPECT_EQ(flowClassOf(0.0, 864.0), 0);
    EXPECT_EQ(flowClassOf(5.0, 864.0), 3);
    EXPECT_EQ(flowClassOf(10.0, 864.0), 4);
    EXPECT_EQ(flowClassOf(15.0, 864.0), 5);
    EXPECT_EQ(flowClassOf(15.0, 0.0), 0); // no drainage area, no class
}

TEST(RainyDayTables, CountsPerGaugeAndMonth) {
    BasinInputs in = threeGauges();
    setDay(in.gauges[0], 1, 1, 1);   // 0.1 mm: class 1 only
    setDay(in.gauges[0], 1, 2, 250); // 25.0 mm: all six
    setDay(in.gauges[2], 12, 30, 30);
    in.flowGauge.drainageArea = 864.0F;
    in.flowGauge.flow = flowOf(2.5F, 864.0, {{day(2003, 10, 5), 15.0F}, {day(2003, 10, 6), 0.0F}});
    const Sheet s = rainyDaySheet(in, tr);
    const Table r = grid(s, "MSFlexGrid1");
    ASSERT_EQ(r.rows(), 19);
    expectCells(r, {{1, 0, "    >= 0,1 mm"}, {18, 0, "    >= 25,0 mm"}, {1, 1, "2"}, {2, 1, "1"}});
    expectCells(r, {{6, 1, "1"}, {6, 13, "1"}});
    EXPECT_EQ(r.cell(7, 1), "0"); // a dry gauge shows zeros
    expectCells(r, {{7, 13, "0"}, {15, 12, "1"}, {17, 12, "0"}});
    EXPECT_EQ(r.columnWidth(0), 1100);

    const Table f = grid(s, "MSFlexGrid2");
    ASSERT_EQ(f.rows(), 6);
    EXPECT_EQ(f.cell(5, 0), "1,50 mm büyük ");
    EXPECT_EQ(f.cell(2, 1), "29"); // 2.5 m3/s over 864 km2 gives 0.25 mm
    expectCells(f, {{5, 1, "1"}, {1, 1, "0"}});
    EXPECT_EQ(f.cell(2, 5), "29"); // February 2004 has 29 days
    EXPECT_EQ(f.cell(2, 13), "364");

    in.flowGauge.drainageArea = 0.0F;
    const Table none = grid(rainyDaySheet(in, tr), "MSFlexGrid2");
    EXPECT_EQ(none.cell(2, 13), "0");
}

TEST(MultiYearSummary, EntryGridOnly) {
    const Sheet s = multiYearSummarySheet();
    EXPECT_EQ(s.caption, "Form1");
    const Table g = grid(s, "MSFlexGrid1");
    ASSERT_EQ(g.rows(), 20);
    ASSERT_EQ(g.columns(), 7);
    expectCells(g, {{0, 1, "Yıllık toplam yağış  (mm)"}, {0, 6, "Günlük en yüksek akım (mm)"}});
    EXPECT_EQ(g.rowHeight(0), 800);
    EXPECT_EQ(g.cell(1, 0), "");
}

TEST(BasinInputsFromFiles, GaugesStationsAndFlow) {
    ScratchDirectory scratch;
    std::array<std::filesystem::path, 3> rainFiles;
    for (int s = 0; s < 3; ++s) {
        const auto dir = scratch.path() / ("g" + std::to_string(s));
        std::filesystem::create_directories(dir);
        StationRecord station;
        station.stationNumber = fixedText("01-00" + std::to_string(s + 1), 8);
        station.thiessenArea = static_cast<float>(s + 1);
        saveStationRecordFile(dir, station);
        auto records = newRainYearRecords(2004);
        records[45].minuteRain[600] = static_cast<std::uint8_t>(10 * (s + 1)); // 15 November
        Bytes bytes;
        for (const auto& r : records) {
            const Bytes one = serializeRainDayRecord(r);
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        rainFiles[static_cast<std::size_t>(s)] = dir / rainYearFileName(2004, station.stationNumber);
        writeFileAtomic(rainFiles[static_cast<std::size_t>(s)], bytes);
    }
    const auto flowDir = scratch.path() / "flow";
    std::filesystem::create_directories(flowDir);
    StationRecord flowStation;
    flowStation.drainageArea = 864.0F;
    saveStationRecordFile(flowDir, flowStation);
    const auto flowFile = flowDir / "2004_01-009.ard";
    korvel::testing::writeYear(
        flowFile, korvel::testing::waterYearDays(2004, [](OleDate d) { return dischargeDay(d, 2.5F); }));

    const BasinInputs in = loadBasinInputs(flowFile, rainFiles);
    EXPECT_EQ(in.gauges[1].thiessenArea, 2.0F);
    EXPECT_EQ(in.gauges[2].stationNumber, "01-003  ");
    EXPECT_EQ(in.gauges[2].analysis.dailyTenths[2][15], 30);
    EXPECT_EQ(in.flowGauge.drainageArea, 864.0F);
    EXPECT_EQ(grid(basinDailySheet(in, tr), "MSFlexGrid1").cell(17, 3), "2,0");
    EXPECT_EQ(grid(rainyDaySheet(in, tr), "MSFlexGrid2").cell(2, 13), "366");

    // Missing files give empty gauges and no flow, and nothing fails.
    const BasinInputs missing = loadBasinInputs(scratch.path() / "none.ard", {scratch.path() / "a.yrd"});
    EXPECT_EQ(grid(basinRainSheet(missing, tr), "MSFlexGrid1").cell(5, 1), "");
    EXPECT_EQ(grid(rainyDaySheet(missing, tr), "MSFlexGrid1").cell(1, 13), "0");
}
