#pragma once

#include "common/ToolRun.h"
#include "sim/SimProcess.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvel::testing {

// A drive for the tool's runs against the device simulator: skipped when korvel-sim is not
// built, the station directory made.
class SimToolDrive : public ToolDrive {
protected:
    void SetUp() override {
        if (!SimProcess::available())
            GTEST_SKIP() << "korvel-sim is not built";
        std::filesystem::create_directories(station);
    }
};

// The simulated water-level logger of 15 March 2026, 10:00, 15-minute readings in millimetres,
// with `days` days in its memory.
inline std::vector<std::string> levelSimArguments(int days, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--date", "15.03.2026", "--time", "10:00", "--days", std::to_string(days)};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

} // namespace korvel::testing
