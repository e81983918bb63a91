#include "SimToolDrive.h"
#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "instruments/ProtocolLog.h"
#include "sim/SimProcess.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class KeptDownloadsTool : public SimToolDrive {
protected:
    void SetUp() override {
        SimToolDrive::SetUp();
        fs::create_directories(other);
    }

    nlohmann::json downloads(const fs::path& dir) { return json({"downloads", dir.string()})["downloads"]; }

    // The log of the only kept download of a directory.
    fs::path onlyLog(const fs::path& dir) {
        const nlohmann::json list = downloads(dir);
        EXPECT_EQ(list.size(), 1u);
        return list.empty() ? fs::path() : dir / list[0]["log"].get<std::string>();
    }

    const fs::path other = drive / "korvel2000" / "Ankara" / "01" / "01-002";
};

Bytes januaryRecords(const fs::path& file) {
    const Bytes all = *readFileBytes(file);
    // 1 October is record 1: January starts with record 93 and holds 31 records of 128 bytes.
    return Bytes(all.begin() + 92 * 128, all.begin() + 123 * 128);
}

} // namespace

TEST_F(KeptDownloadsTool, TwoDownloadsKeptAndAMonthDeletedByMistakeComesBackFromTheFirst) {
    const fs::path memory = drive / "sim-memory";
    SimProcess sim(levelSimArguments(200, {"--save-memory", memory.string()}));
    ASSERT_TRUE(sim.running());
    for (int i = 0; i < 2; ++i) {
        const ToolRun r = run({"--json", "logger", "download", "--port", sim.path(), "--station",
                               station.string(), "--number", "01-001"});
        ASSERT_EQ(r.code, 0) << r.err;
    }
    const nlohmann::json list = downloads(station);
    ASSERT_EQ(list.size(), 2u);
    for (const nlohmann::json& k : list) {
        EXPECT_EQ(k["instrument"], "level");
        EXPECT_EQ(k["bytes"], 32768);
        EXPECT_EQ(k["complete"], true);
        EXPECT_EQ(k["station"], "01-001");
        EXPECT_EQ(k["files"][0], "2026_01-001.ard");
        EXPECT_EQ(k["image"].get<std::string>().rfind("sagimlar/", 0), 0u);
        EXPECT_EQ(readFileBytes(station / k["image"].get<std::string>()), readFileBytes(memory));
        const auto text = readFileBytes(station / k["log"].get<std::string>());
        ASSERT_TRUE(text);
        const auto log = ProtocolLog::parse(std::string(text->begin(), text->end()));
        ASSERT_TRUE(log);
        EXPECT_EQ(log->allBytes(ProtocolLog::Kind::Written).back(), 0x50); // "P", the download
        const Bytes read = log->allBytes(ProtocolLog::Kind::Read);
        ASSERT_GE(read.size(), 32768u);
        EXPECT_EQ(Bytes(read.end() - 32768, read.end()), readFileBytes(memory));
    }
    const ToolRun listed = run({"downloads", station.string()});
    EXPECT_NE(listed.out.find("toplam: 2 sağım, "), std::string::npos) << listed.out;

    const fs::path year = station / "2026_01-001.ard";
    const Bytes january = januaryRecords(year);
    std::vector<DayRecord> days = readWaterYearFile(year);
    std::map<std::size_t, DayRecord> blanked;
    for (std::size_t n = 93; n <= 123; ++n) {
        DayRecord d = days[n - 1];
        d.meanValue = 0;
        d.maxLevel = d.minLevel = 0;
        d.source = "";
        blanked[n] = d;
    }
    writeDayRecords(year, blanked);
    ASSERT_NE(januaryRecords(year), january);

    const ToolRun r = run({"--json", "logger", "reconvert", station / list[0]["image"].get<std::string>(),
                           station.string(), "--number", "01-001"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(januaryRecords(year), january);
    EXPECT_EQ(downloads(station)[0]["station"], "01-001");
}

TEST_F(KeptDownloadsTool, ACutOffDownloadIsKeptIncompleteAndRefusedForConversion) {
    SimProcess sim(levelSimArguments(200, {"--fault", "cutoff"}));
    ASSERT_TRUE(sim.running());
    ToolRun r = run(
        {"logger", "download", "--port", sim.path(), "--station", station.string(), "--number", "01-001"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Yeniden deneyin\n");
    const nlohmann::json list = downloads(station);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["complete"], false);
    const int bytes = list[0]["bytes"];
    EXPECT_GT(bytes, 0);
    EXPECT_LT(bytes, 32768);
    EXPECT_TRUE(fs::exists(station / list[0]["log"].get<std::string>()));

    const std::string image = (station / list[0]["image"].get<std::string>()).string();
    r = run({"logger", "reconvert", image, other.string(), "--number", "01-002"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvel: Ham veri eksik: " + std::to_string(bytes) +
                         " bayt, 32768 olmalı: " + fs::path(image).filename().string() + "\n");
    r = run({"rainlogger", "reconvert", image, other.string(), "--number", "01-002", "--bucket", "2"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.rfind("korvel: Pluviograf ham verisi değil: ", 0), 0u) << r.err;
    EXPECT_TRUE(fs::is_empty(other));
}

TEST_F(KeptDownloadsTool, ARecordedSessionOfEachDeviceReplaysToTheSameConversion) {
    struct Device {
        std::vector<std::string> sim;
        std::vector<std::string> command; // the port, station and number follow
        std::string file;                 // what the conversion wrote
    };
    const std::vector<Device> devices{
        {levelSimArguments(200), {"logger", "download"}, "2026_01-001.ard"},
        {{"--device", "rain", "--date", "15.03.2026", "--time", "10:00", "--days", "20", "--seed", "3"},
         {"rainlogger", "download", "--bucket", "2"},
         rainYearFileName(2026, "01-001")},
        {{"--device", "modem", "--date", "15.03.2026", "--time", "10:00", "--days", "12", "--lead", "5"},
         {"modem", "download", "--phone", "3124567"},
         "2026_01-001.ard"},
    };
    for (const Device& device : devices) {
        SCOPED_TRACE(device.command[0]);
        fs::remove_all(station);
        fs::remove_all(other);
        fs::create_directories(station);
        fs::create_directories(other);
        const auto download = [&](const std::string& port, const fs::path& dir) {
            std::vector<std::string> args = device.command;
            args.insert(args.end(), {"--port", port, "--station", dir.string(), "--number", "01-001"});
            return run(args);
        };
        {
            SimProcess sim(device.sim);
            ASSERT_TRUE(sim.running());
            const ToolRun r = download(sim.path(), station);
            ASSERT_EQ(r.code, 0) << r.err;
        }
        SimProcess replay({"--replay", onlyLog(station).string()});
        ASSERT_TRUE(replay.running());
        const ToolRun r = download(replay.path(), other);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(readFileBytes(other / device.file), readFileBytes(station / device.file));
        if (device.command[0] == "modem") {
            // The modem's image is kept as the bytes came and aligned again when converted.
            fs::remove(other / device.file);
            const std::string image = (station / downloads(station)[0]["image"].get<std::string>()).string();
            const ToolRun again = run({"logger", "reconvert", image, other.string(), "--number", "01-001"});
            ASSERT_EQ(again.code, 0) << again.err;
            EXPECT_EQ(readFileBytes(other / device.file), readFileBytes(station / device.file));
        }
    }

    fs::remove_all(station);
    fs::create_directories(station);
    std::string calibration;
    {
        SimProcess meter({"--device", "meter"});
        ASSERT_TRUE(meter.running());
        const ToolRun r = run({"meter", "read", "--port", meter.path(), "--station", station.string()});
        ASSERT_EQ(r.code, 0) << r.err;
        calibration = r.out;
    }
    SimProcess replay({"--replay", onlyLog(station).string()});
    const ToolRun r = run({"meter", "read", "--port", replay.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, calibration);
}
