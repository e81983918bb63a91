#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "store/HqTable.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class KorvelTool : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }
};

} // namespace

TEST_F(KorvelTool, DemoDriveIsCompleteAndRepeatable) {
    const auto first = scratch.snapshot();
    ASSERT_EQ(runTool({"demo", drive.string()}).code, 0);
    EXPECT_EQ(scratch.snapshot(), first);

    // Two flow stations with two water years and rating tables covering every day of them.
    for (const char* number : {"01-001", "01-002"}) {
        const fs::path dir = drive / "korvel2000" / "Ankara" / "01" / number;
        const HqTableSet tables = loadHqTableSet(dir);
        ASSERT_EQ(tables.entries.size(), 2u);
        for (int year : {2003, 2004}) {
            const auto days = readWaterYearFile(dir / waterYearFileName(year, number));
            ASSERT_EQ(days.size(), 366u);
            EXPECT_TRUE(lookupDischarge(tables, days[100].date, 150));
        }
    }
    // Three rain gauges, each with rainy days in both years.
    int gauges = 0;
    for (const auto& entry : fs::recursive_directory_iterator(drive / "korvel2000"))
        if (entry.path().extension() == ".yrd" && entry.path().filename().string().rfind("2004_", 0) == 0) {
            ++gauges;
            const auto records = loadRainYear(entry.path());
            ASSERT_TRUE(records);
            int rainy = 0;
            for (const auto& r : *records)
                rainy += isRainyDay(r);
            EXPECT_GT(rainy, 20);
        }
    EXPECT_EQ(gauges, 3);
}

TEST_F(KorvelTool, WaterYearDumpAsJsonHoldsEveryDay) {
    const ToolRun r = run({"--json", "wy", "dump", (station / "2004_01-001.ard").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["caption"], "2004_01-001.ard");
    const auto& days = json["grids"]["days"];
    ASSERT_EQ(days.size(), 367u);
    EXPECT_EQ(days[1][1], "01.10.2003");
    EXPECT_EQ(days[366][1], "30.09.2004");
    EXPECT_EQ(days[1][7], "L  korvelmaş");
    EXPECT_EQ(json["texts"]["records"], "366");
}

TEST_F(KorvelTool, RatingLookupAnswersByDate) {
    const auto covered =
        nlohmann::json::parse(run({"--json", "hq", "lookup", station.string(), "15.03.2004", "245"}).out);
    EXPECT_EQ(covered["hqKey"], "02");
    const HqTable table = readHqTable(station / "02_01-001.HQ");
    EXPECT_FLOAT_EQ(covered["discharge"].get<float>(), table.discharge[245]);

    const auto uncovered =
        nlohmann::json::parse(run({"--json", "hq", "lookup", station.string(), "15.03.1990", "245"}).out);
    EXPECT_TRUE(uncovered["discharge"].is_null());
    EXPECT_TRUE(uncovered["hqKey"].is_null());
}

TEST_F(KorvelTool, BadInputFailsWithOneLineAndWritesNothing) {
    const auto before = scratch.snapshot();
    const std::vector<std::vector<std::string>> bad = {
        {"wy", "dump", (drive / "missing.ard").string()},
        {"wy", "dump", (station / "genel.tan").string()},
        {"hq", "show", (station / "2004_01-001.ard").string()},
        {"hq", "lookup", station.string(), "31.02.2004", "100"},
        {"wy", "create", station.string(), "20x4"},
        {"wy", "create", station.string(), "2004"},
        {"rain", "create", station.string(), "abc"},
        {"rain", "create", station.string(), "2004"},
        {"station", "save", "--number", "1-01", "--region", "Ankara", "--drainage-area", "5"},
        {"station", "save", "--number", "01-009", "--region", "Ankara", "--drainage-area", "0"},
        {"--locale", "xx", "wy", "dump", (station / "2004_01-001.ard").string()},
    };
    for (const auto& args : bad) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.code, 1) << args[0] << " " << args[1];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(scratch.snapshot(), before);
    EXPECT_EQ(run(bad[8]).err, "korvel: Lutfen istasyon numarası 01-001 gibi beş hane giriniz\n");
}

TEST_F(KorvelTool, StationSaveAndShowRoundTrip) {
    const ToolRun saved =
        run({"station", "save", "--number", "02-015", "--region", "Konya ", "--drainage-area", "12,5",
             "--elevation", "1012.5", "--river", "Çarşamba Çayı", "--coordinates", "37.52.00K32.30.00D"});
    ASSERT_EQ(saved.code, 0) << saved.err;
    const fs::path dir = drive / "korvel2000" / "Konya" / "02" / "02-015";
    EXPECT_TRUE(fs::exists(dir / "genel.tan"));
    const auto shown =
        nlohmann::json::parse(run({"--json", "station", "show", "c:\\korvel2000\\konya\\02\\02-015"}).out);
    EXPECT_EQ(shown["texts"]["riverName"], "Çarşamba Çayı                   ");
    EXPECT_EQ(shown["texts"]["drainageArea"], "12,5");
    EXPECT_EQ(shown["texts"]["elevation"], "1012,5");

    ASSERT_EQ(run({"wy", "create", dir.string(), "2005"}).code, 0);
    EXPECT_EQ(fs::file_size(dir / "2005_02-015.ard"), 46848u);
    ASSERT_EQ(run({"rain", "create", dir.string(), "2005"}).code, 0);
    EXPECT_EQ(fs::file_size(dir / "2005_02-015  .yrd"), 366u * 1470u);
}
