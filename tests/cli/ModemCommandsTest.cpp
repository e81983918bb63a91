#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "instruments/LevelConversion.h"
#include "sim/SimProcess.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class ModemTool : public ToolDrive {
protected:
    void SetUp() override {
        if (!SimProcess::available())
            GTEST_SKIP() << "korvel-sim is not built";
        fs::create_directories(station);
    }
};

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
