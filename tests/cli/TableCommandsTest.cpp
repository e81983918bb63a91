#include "DemoDrive.h"
#include "common/ToolRun.h"
#include "core/CsvText.h"
#include "core/FileIO.h"
#include "flow/AnnualFlow.h"
#include "flow/MonthTable.h"
#include "flow/YearbookPage.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <random>

namespace korvel {
namespace {

namespace fs = std::filesystem;
using testing::runTool;
using testing::ToolRun;

// One demo drive for all the table commands; none of them writes.
class TableCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // ctest runs every test in a process of its own, several at once.
        drive = new fs::path(fs::temp_directory_path() /
                             ("korvel-cli-table-commands-" + std::to_string(std::random_device()())));
        fs::remove_all(*drive);
        demo::writeDemoDrive(*drive);
    }
    static void TearDownTestSuite() {
        fs::remove_all(*drive);
        delete drive;
    }
    static fs::path station() { return *drive / "korvel2000" / "Ankara" / "01" / "01-001"; }
    static fs::path flowFile() { return station() / "2004_01-001.ard"; }

    static ToolRun run(const std::vector<std::string>& args) { return runTool(args); }

    // The sheet as the tool prints it with --json.
    static nlohmann::json expectedJson(const Sheet& sheet) {
        nlohmann::json grids = nlohmann::json::object();
        for (const auto& [name, table] : sheet.tables()) {
            nlohmann::json rows = nlohmann::json::array();
            for (int r = 0; r < table.rows(); ++r) {
                nlohmann::json row = nlohmann::json::array();
                for (int c = 0; c < table.columns(); ++c)
                    row.push_back(table.cell(r, c));
                rows.push_back(row);
            }
            grids[name] = rows;
        }
        nlohmann::json texts = nlohmann::json::object();
        for (const auto& [name, text] : sheet.texts())
            texts[name] = text;
        return {{"caption", sheet.caption}, {"grids", grids}, {"texts", texts}};
    }

    static fs::path* drive;
};

fs::path* TableCommands::drive = nullptr;

// Station 01-001 drains 126,4 km2 with a mean flow of about 1 m3/s: about 8 l/s/km2 and
// 250 mm a year, and monthly volumes of a few million m3.
TEST_F(TableCommands, DemoStationFiguresArePlausibleForItsBasin) {
    const AnnualFlow flow =
        computeAnnualFlow(readWaterYearFile(flowFile()), loadHqTableSet(station()), 126.4);
    EXPECT_GT(flow.annualMean, 0.6);
    EXPECT_LT(flow.annualMean, 1.5);
    EXPECT_GT(flow.annualYield, 5.0);
    EXPECT_LT(flow.annualYield, 12.0);
    EXPECT_GT(flow.annualDepth, 150.0);
    EXPECT_LT(flow.annualDepth, 400.0);
    for (const AnnualMonth& month : flow.months) {
        EXPECT_GT(month.volume, 0.3);
        EXPECT_LT(month.volume, 15.0);
    }
    const ToolRun monthly =
        run({"--locale", "tr_TR", "--json", "table", "monthly", flowFile().string(), "1"});
    ASSERT_EQ(monthly.code, 0) << monthly.err;
    const auto sheet = nlohmann::json::parse(monthly.out);
    EXPECT_EQ(sheet["grids"]["MSFlexGrid2"][0][6], "HQ (m3/s)");
    EXPECT_TRUE(sheet["texts"]["volume"].get<std::string>().ends_with(" Milyon m3"));
}

// --csv writes each grid of the annual table as CSV; the cells read back are the sheet's.
TEST_F(TableCommands, CsvOptionWritesEveryGridOfTheReport) {
    const fs::path dir = *drive / "csv-out";
    const ToolRun r =
        run({"--locale", "tr_TR", "--csv", dir.string(), "table", "annual", flowFile().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const Sheet sheet =
        fillAnnualTable(readWaterYearFile(flowFile()), loadHqTableSet(station()),
                        loadStationRecord(station(), ""), "2004_01-001.ard", Locale::turkish());
    ASSERT_FALSE(sheet.tables().empty());
    for (const auto& [name, table] : sheet.tables()) {
        const Bytes bytes = readFileBytes(dir / (name + ".csv")).value_or(Bytes{});
        const auto rows = parseCsvText(std::string(bytes.begin(), bytes.end()), ';');
        ASSERT_EQ(static_cast<int>(rows.size()), table.rows()) << name;
        for (int row = 0; row < table.rows(); ++row)
            for (int column = 0; column < table.columns(); ++column)
                EXPECT_EQ(rows[static_cast<std::size_t>(row)].at(static_cast<std::size_t>(column)),
                          table.cell(row, column));
    }
    // The annual figures and the station header outside the grids come in texts.csv.
    const Bytes bytes = readFileBytes(dir / "texts.csv").value_or(Bytes{});
    const auto texts = parseCsvText(std::string(bytes.begin(), bytes.end()), ';');
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], (std::vector<std::string>{"Başlık", sheet.caption}));
    std::vector<std::string> values;
    for (const auto& row : texts)
        values.push_back(row.at(1));
    for (const char* name : {"annualMean", "institute", "stationNumber"})
        EXPECT_NE(std::find(values.begin(), values.end(), sheet.text(name)), values.end()) << name;
    fs::remove_all(dir);
}

TEST_F(TableCommands, MonthlyTablePrintsTheScreensSheet) {
    const ToolRun r = run({"--locale", "tr_TR", "--json", "table", "monthly", flowFile().string(), "11"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto records = readWaterYearFile(flowFile());
    const Sheet sheet = fillMonthTable(records, loadHqTableSet(station()), loadStationRecord(station(), ""),
                                       "2004_01-001.ard", 1, Locale::turkish());
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json, expectedJson(sheet));
    EXPECT_EQ(json["grids"]["MSFlexGrid2"][1][0], "01.11.2003");
    EXPECT_EQ(json["texts"]["month"], " Kasım ayı ");
}

TEST_F(TableCommands, AnnualAndYearbookInTheAmericanLocale) {
    const auto records = readWaterYearFile(flowFile());
    const HqTableSet tables = loadHqTableSet(station());
    const StationRecord record = loadStationRecord(station(), "");

    const ToolRun annual = run({"--locale", "en_US", "--json", "table", "annual", flowFile().string()});
    ASSERT_EQ(annual.code, 0) << annual.err;
    EXPECT_EQ(nlohmann::json::parse(annual.out),
              expectedJson(fillAnnualTable(records, tables, record, "2004_01-001.ard", Locale::american())));

    const ToolRun yearbook = run({"--locale", "en_US", "--json", "table", "yearbook", flowFile().string()});
    ASSERT_EQ(yearbook.code, 0) << yearbook.err;
    const auto json = nlohmann::json::parse(yearbook.out);
    EXPECT_EQ(json, expectedJson(
                        fillYearbookPage(records, tables, record, "2004_01-001.ard", 10, Locale::american())));
    EXPECT_EQ(json["texts"]["Label7"],
              "Akımlar 1 ekim 2003 den 30 eylül 2004 ' a kadar saniyede metre küp olarak");
}

TEST_F(TableCommands, TextOutputHasCaptionGridsAndTexts) {
    const ToolRun r = run({"--locale", "tr_TR", "table", "annual", flowFile().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Yıllık akım  tablosu\n[MSFlexGrid1]\ngün\tEkim\t", 0), 0u);
    EXPECT_NE(r.out.find("\n[List1]\n02...01.10.2003   30.09.2004\t\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nannualMean: Yıllık Ortalama debi         :   "), std::string::npos);
}

TEST_F(TableCommands, BadArgumentsFailWithOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"table", "monthly", flowFile().string(), "13"},
        {"table", "monthly", flowFile().string(), "Ekim"},
        {"table", "monthly", flowFile().string(), "2.5"},
        {"table", "annual", (station() / "missing.ard").string()},
        {"table", "yearbook", (station() / "genel.tan").string()},
        {"table", "annual", (station() / "01_01-001.HQ").string()},
    };
    for (const auto& args : bad) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.code, 1) << args[1] << " " << args.back();
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

} // namespace
} // namespace korvel
