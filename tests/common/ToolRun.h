#pragma once

#include "cli/Korvel.h"
#include "common/ScratchDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace korvel::testing {

// What one in-process run of the korvel tool printed and returned.
struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

inline ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = runKorvel(args, out, err);
    return {code, out.str(), err.str()};
}

// A scratch drive for the tool: run() names the drive and the Turkish locale before the arguments.
// Suites over the demo data call writeDemo() in their SetUp; the station is the demo's first.
class ToolDrive : public ::testing::Test {
protected:
    ToolRun run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--drive", drive.string(), "--locale", "tr_TR"});
        return runTool(args);
    }
    // A run with --json that must succeed, its output parsed.
    nlohmann::json json(std::vector<std::string> args) const {
        args.insert(args.begin(), "--json");
        const ToolRun r = run(std::move(args));
        EXPECT_EQ(r.code, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }
    void writeDemo() const { ASSERT_EQ(runTool({"demo", drive.string()}).code, 0); }

    ScratchDirectory scratch;
    const std::filesystem::path drive = scratch.path();
    const std::filesystem::path station = drive / "korvel2000" / "Ankara" / "01" / "01-001";
};

} // namespace korvel::testing
