#include "common/ReceivedReadingsFiles.h"
#include "common/ToolRun.h"
#include "store/WaterYearFile.h"

#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class Korvel96Tool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(run({"demo", drive.path().string()}).code, 0);
        ReceivedDownload::write(drive / "korvel96" / "istasyon" / "01-001");
    }

    ToolRun run(std::vector<std::string> args) {
        if (args.front() != "demo")
            args.insert(args.begin(), {"--drive", drive.path().string(), "--locale", "tr_TR"});
        return runTool(args);
    }

    ToolRun import(const std::string& destination, const std::string& number = "01-001") {
        return run({"--json", "import", "korvel96", "c:\\korvel96\\istasyon\\01-001\\ABC1-10 .-5",
                    destination, "--number", number});
    }

    // Every file under the data root with its bytes.
    std::map<std::string, Bytes> dataRoot() const {
        std::map<std::string, Bytes> files;
        for (const auto& entry : fs::recursive_directory_iterator(drive / "korvel2000"))
            if (entry.is_regular_file())
                files[entry.path().string()] = fileBytes(entry.path());
        return files;
    }

    ScratchDirectory drive;
    const std::string stationArg = "c:\\korvel2000\\Ankara\\01\\01-001";
    fs::path station() const { return drive / "korvel2000" / "Ankara" / "01" / "01-001"; }
};

} // namespace

TEST_F(Korvel96Tool, ImportsADownloadIntoTheStationsWaterYear) {
    const ToolRun result = import(stationArg);
    ASSERT_EQ(result.code, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["file"], "ABC1-10 .-5");
    EXPECT_EQ(json["written"], 2);

    const auto days = readWaterYearFile(station() / "2005_01-001.ard");
    const auto first = findDay(days, OleDate::fromDate(2004, 10, 1));
    ASSERT_TRUE(first.has_value());
    const DayRecord& day = days[*first - 1];
    EXPECT_EQ(day.meanValue, 1005.0f);
    EXPECT_EQ(day.maxLevel, 1010);
    EXPECT_EQ(day.maxTime, OleDate::fromTime(14, 30, 0));
    EXPECT_EQ(days[*first].meanValue, 1200.0f);
    EXPECT_EQ(fileBytes(station() / "ABC1-10 .-5"), ReceivedDownload::readings());
}

TEST_F(Korvel96Tool, RefusesAMissingCompanionAndARegionDirectory) {
    const auto before = dataRoot();
    ToolRun result = import("c:\\korvel2000\\Ankara");
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("KORVEL2000 deki seciminiz dogru gozukmuyor"), std::string::npos) << result.err;

    fs::remove(drive / "korvel96" / "istasyon" / "01-001" / ReceivedDownload::kTextsName);
    result = import(stationArg);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "korvel: ABC1-10 .-5: istasyon bilgi dosyası yok (ABC1-10 .m5)\n");
    EXPECT_EQ(dataRoot(), before);
}
