#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "store/HqTable.h"
#include "store/WaterYearFile.h"
#include "transfer/SuvakFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class TransferTool : public ToolDrive {
protected:
    void SetUp() override {
        writeDemo();
        fs::create_directories(drive / "suvak");
    }

    void writeText(const fs::path& file, const std::string& text) {
        writeFileAtomic(file, std::string_view(text));
    }

    const fs::path other = drive / "korvel2000" / "Ankara" / "01" / "01-002";
};

// A logger month of the sibling program: day d of the month at level 100 + d.
std::string loggerMonth() {
    LoggerMonthFile month;
    for (int d = 1; d <= 31; ++d)
        month.levels[d] = std::to_string(100 + d);
    month.highest = {"140", "2", "1330"};
    month.lowest = {"90", "3", "5"};
    return fieldFileText(month.fields());
}

} // namespace

TEST_F(TransferTool, ImportSuvakLevelFileIntoAStation) {
    writeText(drive / "suvak" / "o0401001.01o", loggerMonth());
    const ToolRun result =
        run({"--json", "import", "suvak", "c:\\suvak\\o0401001.01o", "c:\\korvel2000\\Ankara\\01\\01-001"});
    ASSERT_EQ(result.code, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["file"], "o0401001.01o");
    EXPECT_EQ(json["written"], 33);
    EXPECT_EQ(fs::path(json["target"].get<std::string>()).filename(), "2004_01-001.ard");

    const auto days = readWaterYearFile(station / "2004_01-001.ard");
    const auto n = findDay(days, OleDate::fromDate(2004, 1, 2));
    ASSERT_TRUE(n);
    EXPECT_EQ(days[*n - 1].maxLevel, 140);
    EXPECT_EQ(days[*n - 1].maxTime, OleDate::fromTime(13, 30, 0));
    EXPECT_EQ(days[*n - 1].source, "L  SUVAK    ");
}

TEST_F(TransferTool, ImportRefusesBadFilesAndDestinations) {
    writeText(drive / "suvak" / "o0401001.01o", "1,2,3");
    ToolRun result = run({"import", "suvak", (drive / "suvak" / "o0401001.01o").string(), station.string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "korvel: o0401001.01o: dosya çok kısa\n");

    writeText(drive / "suvak" / "o0401001.02o", loggerMonth());
    result =
        run({"import", "suvak", (drive / "suvak" / "o0401001.02o").string(), station.parent_path().string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("KORVEL2000 deki seciminiz dogru gozukmuyor"), std::string::npos);

    writeText(drive / "suvak" / "notes.txt", "x");
    result = run({"import", "suvak", (drive / "suvak" / "notes.txt").string(), station.string()});
    EXPECT_EQ(result.code, 1);
}

TEST_F(TransferTool, ArchiveRoundTripBetweenStations) {
    const fs::path exchange = drive / "disket";
    fs::create_directories(exchange);
    ToolRun result = run({"archive", "pack", (station / "01_01-001.HQ").string(), exchange.string()});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, (exchange / "01_01-001.HQ.zip").string() + "\n");

    result = run({"--json", "archive", "unpack", (exchange / "01_01-001.HQ.zip").string(), other.string()});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["file"], (other / "01_01-001.HQ").string());
    EXPECT_EQ(readFileBytes(other / "01_01-001.HQ"), readFileBytes(station / "01_01-001.HQ"));

    // At the drive root the archive goes into korvelzip.
    result = run({"archive", "pack", (station / "2004_01-001.ard").string(), drive.string()});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_TRUE(fs::exists(drive / "korvelzip" / "2004_01-001.ard.zip"));
}

TEST_F(TransferTool, ArchiveRefusals) {
    ToolRun result = run({"archive", "pack", (station / "01_01-001.HQ").string(), other.string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "korvel: Çalışma alanına sıkıştırma yapılamaz\n");

    const fs::path exchange = drive / "disket";
    fs::create_directories(exchange);
    ASSERT_EQ(run({"archive", "pack", (station / "01_01-001.HQ").string(), exchange.string()}).code, 0);
    result =
        run({"archive", "unpack", (exchange / "01_01-001.HQ.zip").string(), other.parent_path().string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("KORVEL2000 deki seciminiz dogru gozukmuyor"), std::string::npos);
    EXPECT_FALSE(fs::exists(other.parent_path() / "01_01-001.HQ"));
}
