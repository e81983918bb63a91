#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "store/MeasurementCard.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// The card, monthly-totals, supply and correlation commands on a fresh demo drive.
class FlowRecordTool : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }

    const fs::path other = drive / "korvel2000" / "Ankara" / "01" / "01-002";
};

// A sibling-program measurement line: date ddmmyyyy at 5, person at 13, level at 63, discharge
// at 68 (four characters) and 72 (three decimals).
std::string listLine(std::string_view date, std::string_view level, std::string_view whole,
                     std::string_view decimals) {
    std::string line(133, ' ');
    line.replace(4, 8, date);
    line.replace(12, 9, "Veli Unal");
    line.replace(62, level.size(), level);
    line.replace(67, whole.size(), whole);
    line.replace(71, decimals.size(), decimals);
    return line;
}

} // namespace

TEST_F(FlowRecordTool, CardImportReplacesASameDateLineAndAppendsNewOnes) {
    const auto before = json({"card", "show", station.string()})["grids"]["MSFlexGrid1"];
    const std::string secondDate = before[2][0]; // "dd.mm.yyyy"
    const std::string sameDate = secondDate.substr(0, 2) + secondDate.substr(3, 2) + secondDate.substr(6, 4);
    const std::size_t last = parseMeasurementCardFile(*readFileBytes(station / "01-001.olc")).size();
    const fs::path list = drive / "K0101.DAT";
    writeFileAtomic(list,
                    listLine("01052005", " 1.25", "  12", "345") + listLine(sameDate, "2.5", "   7", "500"));

    const auto result = json({"card", "import", list.string(), station.string()});
    EXPECT_EQ(result["imported"], 2);
    EXPECT_TRUE(result["refused"].empty());

    const auto records = parseMeasurementCardFile(*readFileBytes(station / "01-001.olc"));
    ASSERT_EQ(records.size(), last + 1);
    EXPECT_EQ(records[last].measurementDate, OleDate::fromDate(2005, 5, 1));
    EXPECT_EQ(records[last].gaugeLevel, 125);
    EXPECT_EQ(records[last].measuredDischarge, 12.345F);
    EXPECT_EQ(records[last].sourceTag.substr(0, 5), "SUVAK");
    EXPECT_EQ(records[1].gaugeLevel, 250);
    EXPECT_EQ(records[1].measuredDischarge, 7.5F);
    EXPECT_EQ(records[1].sourceTag.substr(0, 5), "SUVAK");
    EXPECT_EQ(records[0].sourceTag, std::string(20, ' '));

    const ToolRun missing = run({"card", "import", (drive / "none.DAT").string(), station.string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no such file"), std::string::npos);
}

TEST_F(FlowRecordTool, WaterYearFromMonthlyTotals) {
    const auto written = json({"wy", "from-monthly", station.string(), "2005", "2,678", "3", "3", "3", "3",
                               "3", "3", "3", "3", "3", "3", "1.5"});
    EXPECT_EQ(written["records"], 365);
    const auto days = readWaterYearFile(station / "2005_01-001.ard");
    ASSERT_EQ(days.size(), 365u);
    EXPECT_EQ(days[0].date, OleDate::fromDate(2004, 10, 1));
    EXPECT_EQ(days[0].source, "G           ");
    EXPECT_NEAR(days[0].meanValue, 0.99985, 1e-5);
    EXPECT_EQ(days[364].meanValue, static_cast<float>(1.5 * 1000 / 86.4 / 30));

    const ToolRun refused = run({"wy", "from-monthly", station.string(), "05", "1", "1", "1", "1", "1", "1",
                                 "1", "1", "1", "1", "1", "1"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "korvel: Lütfen su yılını doğru giriniz\n");
    EXPECT_EQ(run({"wy", "from-monthly", station.string(), "2006", "1", "1"}).code, 1);
    EXPECT_FALSE(fs::exists(station / "2006_01-001.ard"));
}

// The demo's 2004 holds logger days: the year is built over them only with --replace.
TEST_F(FlowRecordTool, MonthlyTotalsReplaceMeasuredDaysOnlyWithReplace) {
    const fs::path file = station / "2004_01-001.ard";
    const Bytes before = *readFileBytes(file);
    std::size_t measured = 0;
    for (const DayRecord& day : readWaterYearFile(file))
        measured += isMeasuredSource(day.source) ? 1 : 0;
    ASSERT_GT(measured, 300u);
    std::vector<std::string> args{"wy", "from-monthly", station.string(), "2004"};
    for (int m = 0; m < 12; ++m)
        args.push_back("2,5");
    const ToolRun refused = run(args);
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err,
              "korvel: 2004_01-001.ard holds " + std::to_string(measured) +
                  " measured days that the year would replace; give --replace to replace them\n");
    EXPECT_EQ(*readFileBytes(file), before);

    args.push_back("--replace");
    EXPECT_EQ(run(args).code, 0);
    EXPECT_EQ(readWaterYearFile(file)[0].source, "G           ");
}

// Records between saved rows are zero bytes; the card shows them without those bytes.
TEST_F(FlowRecordTool, CardShowsZeroRecordsWithoutZeroBytes) {
    MeasurementCard row;
    row.measurementDate = OleDate::fromDate(2005, 6, 1);
    row.measuredBy = "Ayşe Demir";
    writeMeasurementRow(station / "01-001.olc", 45, row);
    const ToolRun shown = run({"card", "show", station.string()});
    EXPECT_EQ(shown.code, 0);
    EXPECT_EQ(shown.out.find('\0'), std::string::npos);
    const auto grid = json({"card", "show", station.string()})["grids"]["MSFlexGrid1"];
    EXPECT_EQ(grid[43][1].get<std::string>().find_first_not_of(' '), std::string::npos);
}

TEST_F(FlowRecordTool, SupplyTableOfAllYearsOrOfTheFilesGiven) {
    const auto all = json({"table", "supply", station.string()});
    EXPECT_EQ(all["caption"], "Su temini tablosu");
    const auto& grid = all["grids"]["MSFlexGrid3"];
    ASSERT_EQ(grid.size(), 42u);
    // The demo's water years 1995 ... 2004.
    EXPECT_EQ(grid[1][0], "1995");
    EXPECT_EQ(grid[9][0], "2003");
    EXPECT_EQ(grid[10][0], "2004");
    EXPECT_EQ(grid[11][0], "");
    EXPECT_EQ(grid[40][0], "Top.");
    EXPECT_TRUE(
        all["texts"]["stationNumber"].get<std::string>().starts_with("Agi No..............:   01-001"));

    const auto once = json({"table", "supply", station.string(), "2004_01-001.ard", "2004_01-001.ard"});
    EXPECT_EQ(once["grids"]["MSFlexGrid3"][1][0], "2004");
    EXPECT_EQ(once["grids"]["MSFlexGrid3"][2][0], "");
    // One year: the totals and the means are the year itself.
    for (int c = 1; c <= 13; ++c) {
        EXPECT_EQ(once["grids"]["MSFlexGrid3"][1][c], once["grids"]["MSFlexGrid3"][40][c]);
        EXPECT_EQ(once["grids"]["MSFlexGrid3"][1][c], once["grids"]["MSFlexGrid3"][41][c]);
    }
}

TEST_F(FlowRecordTool, CorrelationCompletesTheMissingDaysOfTheOtherStation) {
    const auto scan = json({"correlate", "scan", station.string()});
    EXPECT_EQ(scan["grids"]["targetYears"],
              nlohmann::json::parse(
                  R"([["1995"],["1996"],["1997"],["1998"],["1999"],["2000"],["2001"],["2002"],["2003"]])"));
    ASSERT_EQ(scan["grids"]["List4"].size(), 1u);
    const std::string line = scan["grids"]["List4"][0][0];
    EXPECT_EQ(line.substr(line.find(" .."), 12), " ..01-002 no");
    EXPECT_EQ(scan["grids"]["candidatePaths"][0][0], "c:\\korvel2000\\Ankara\\01\\01-002");

    const auto done = json({"correlate", "complete", station.string(), other.string(), "2004"});
    EXPECT_EQ(done["filled"], 10);
    const auto days = readWaterYearFile(station / "2004_01-001.ard");
    EXPECT_EQ(days[103].source, "K " + line.substr(0, 3) + "_01-002");
    EXPECT_GT(days[103].meanValue, 0.0F);

    const ToolRun again = run({"correlate", "complete", station.string(), other.string(), "2004"});
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.err.find("complete water year 2004 already"), std::string::npos);
    const auto after = json({"correlate", "scan", station.string()});
    EXPECT_EQ(after["grids"]["targetYears"].size(), 10u);
}
