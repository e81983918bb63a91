#include "SimToolDrive.h"
#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "instruments/RainLogger.h"
#include "sim/SimProcess.h"
#include "store/RainYearFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// The simulated rain logger: 15 March 2026, 10:00, rain on some of the 20 days before.
std::vector<std::string> rainSim(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--device", "rain",   "--date", "15.03.2026", "--time", "10:00",   "--days",
                                  "20",       "--seed", "3",      "--bucket",   "2",      "--total", "317"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

class RainLoggerTool : public SimToolDrive {};

} // namespace

TEST_F(RainLoggerTool, InfoSetDownloadConvertAndErase) {
    SimProcess sim(rainSim());
    ASSERT_TRUE(sim.running());

    ToolRun r = run({"--json", "rainlogger", "info", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json info = nlohmann::json::parse(r.out);
    EXPECT_EQ(info["texts"]["Text1"], "0317");
    EXPECT_EQ(info["texts"]["Text4"], "2");
    EXPECT_EQ(info["texts"]["Text3"], "15.03.2026");

    r = run({"--json", "rainlogger", "set", "--port", sim.path(), "--bucket", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["texts"]["Text4"], "1");
    EXPECT_NE(run({"rainlogger", "set", "--port", sim.path(), "--bucket", "256"}).code, 0);

    r = run({"--json", "rainlogger", "download", "--port", sim.path(), "--station", station.string(),
             "--number", "01-001", "--bucket", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    const nlohmann::json converted = nlohmann::json::parse(r.out);
    EXPECT_EQ(converted["message"], "Kayıd tamamlandı");
    EXPECT_TRUE(converted["errors"].empty());
    EXPECT_FALSE(converted["writtenDays"].empty());
    const fs::path dump = drive / "korvel96" / "hamdata.plu";
    const auto image = readFileBytes(dump);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), 32768u);
    const fs::path year = station / "2026_01-001  .yrd";
    ASSERT_TRUE(fs::exists(year));
    const DecodedRainDump decoded = decodeRainDump(*image);
    const std::vector<RainDayRecord> records = parseRainYearFile(readFileBytes(year).value_or(Bytes{}));
    const DownloadedRainDay& last = decoded.days.back();
    const auto k = findRecordByDate(records, last.day);
    ASSERT_TRUE(k);
    for (const auto& [minute, tips] : last.tipCounts)
        EXPECT_EQ(records[*k - 1].minuteRain[static_cast<std::size_t>(minute)], tips) << minute;

    // A factor that makes a look-alike header byte overflow holds that minute at 255 and names it.
    r = run(
        {"rainlogger", "convert", dump.string(), station.string(), "--number", "01-001", "--bucket", "5"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("sığmaz, 255 yazıldı"), std::string::npos) << r.out;

    r = run({"rainlogger", "erase", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    r = run({"rainlogger", "download", "--port", sim.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(decodeRainDump(readFileBytes(dump).value_or(Bytes{})).events.empty());
}

TEST_F(RainLoggerTool, SilentLoggerAsksToTryAgain) {
    SimProcess sim(rainSim({"--fault", "silence@0x04"}));
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"rainlogger", "info", "--port", sim.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Yeniden deneyin"), std::string::npos) << r.err;
}
