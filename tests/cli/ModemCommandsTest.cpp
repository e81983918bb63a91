#include "SimToolDrive.h"
#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "core/FileWriteJournal.h"
#include "instruments/LevelConversion.h"
#include "sim/SimProcess.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class ModemTool : public SimToolDrive {};

} // namespace

TEST_F(ModemTool, DialReadAndDownloadEachModeOnAPty) {
    const fs::path memory = drive / "memory";
    SimProcess sim({"--device", "modem", "--date", "15.03.2026", "--time", "10:00", "--days", "12", "--lead",
                    "3", "--save-memory", memory.string()});
    ASSERT_TRUE(sim.running());
    ToolRun r = run({"--json", "modem", "info", "--port", sim.path(), "--prefix", "0", "--phone", "3124567"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto info = nlohmann::json::parse(r.out);
    EXPECT_EQ(info["texts"]["Text3"], "15.03.2026");
    EXPECT_EQ(info["texts"]["Text6"], "01-001  ");
    EXPECT_EQ(info["texts"]["Text4"], "15");

    const auto expected = readFileBytes(memory);
    ASSERT_TRUE(expected);
    for (const char* mode : {"normal", "slow", "special"}) {
        const fs::path dump = drive / (std::string("dump-") + mode);
        r = run({"modem", "download", "--port", sim.path(), "--phone", "3124567", "--mode", mode, "--dump",
                 dump.string()});
        ASSERT_EQ(r.code, 0) << mode << ": " << r.err;
        EXPECT_EQ(readFileBytes(dump), expected) << mode;
    }
    r = run({"--json", "modem", "download", "--port", sim.path(), "--phone", "3124567", "--station",
             station.string(), "--number", "01-001"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["days"], 13);
}

TEST_F(ModemTool, ACutOffDownloadStoresOnlyTheDaysThatCameAndSaysSo) {
    const fs::path memory = drive / "memory";
    SimProcess sim({"--device", "modem", "--date", "15.03.2026", "--time", "10:00", "--days", "100",
                    "--fault", "cutoff@0x50", "--save-memory", memory.string()});
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"--json", "modem", "download", "--port", sim.path(), "--phone", "3124567",
                           "--station", station.string(), "--number", "01-001"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Sağım eksik kaldı"), std::string::npos) << r.err;
    const auto expected = readFileBytes(memory);
    ASSERT_TRUE(expected);
    const DecodedLevelDump whole = decodeLevelDump(*expected, "01-001");
    const auto report = nlohmann::json::parse(r.out);
    const int days = report["days"];
    EXPECT_GT(days, 0);
    EXPECT_EQ(days + report["missingDays"].get<int>(), static_cast<int>(whole.days.size()));
    // Every stored day is the logger's own; none is read from the filler after the cut.
    std::size_t matched = 0;
    for (const fs::path& file : {station / "2026_01-001.ard"}) {
        for (const DayRecord& stored : readWaterYearFile(file)) {
            if (isBlankSource(stored.source))
                continue;
            const auto same = std::find_if(whole.days.begin(), whole.days.end(),
                                           [&](const DayRecord& d) { return d.date == stored.date; });
            ASSERT_NE(same, whole.days.end());
            EXPECT_EQ(stored.meanValue, same->meanValue) << stored.date.dateText();
            EXPECT_EQ(stored.maxLevel, same->maxLevel) << stored.date.dateText();
            EXPECT_EQ(stored.minLevel, same->minLevel) << stored.date.dateText();
            ++matched;
        }
    }
    EXPECT_EQ(matched, static_cast<std::size_t>(days));
}

TEST_F(ModemTool, StrayBytesBeforeTheImageAreAlignedAway) {
    SimProcess sim(
        {"--device", "modem", "--date", "15.03.2026", "--time", "10:00", "--days", "12", "--lead", "250"});
    ASSERT_TRUE(sim.running());
    const ToolRun r = run({"--json", "modem", "download", "--port", sim.path(), "--phone", "3124567",
                           "--station", station.string(), "--number", "01-001"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["days"], 13);
    EXPECT_EQ(nlohmann::json::parse(r.out)["complete"], true);
    // Only the water year, the copy of the day readings and the kept downloads (beside the change
    // journal): no side file named from junk.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(station))
        if (!isJournalFileName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"2026_01-001.ard", "KAR15-3 .-26", "sagimlar"}));
}
