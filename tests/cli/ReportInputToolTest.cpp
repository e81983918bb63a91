#include "common/ToolRun.h"
#include "core/FileIO.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// Files and arguments a report cannot work from: each is refused in one line saying what is wrong.
class ReportInputTool : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }

    fs::path fileOf(const std::string& name, std::size_t size) const {
        const fs::path file = station / name;
        writeFileAtomic(file, std::string(size, '\x01'));
        return file;
    }
};

} // namespace

TEST_F(ReportInputTool, EmptyAndOneByteFilesAreRefusedAlike) {
    const std::vector<std::vector<std::string>> commands = {
        {"wy", "dump"}, {"table", "annual"}, {"table", "yearbook"}, {"rain", "dump"}};
    for (const auto& command : commands) {
        for (const std::size_t size : {0u, 1u}) {
            std::vector<std::string> args = command;
            args.push_back(fileOf("2009_01-001.ard", size).string());
            const ToolRun refused = run(args);
            EXPECT_EQ(refused.code, 1) << command[0] << " " << command[1] << " " << size;
            EXPECT_NE(refused.err.find(size == 0 ? "empty file" : "no multiple"), std::string::npos)
                << refused.err;
        }
    }
}

TEST_F(ReportInputTool, AFileFarLargerThanItsFormatIsNotRead) {
    const fs::path huge = fileOf("2009_01-001.ard", 128 * 10000);
    const ToolRun dump = run({"wy", "dump", huge.string()});
    EXPECT_EQ(dump.code, 1);
    EXPECT_NE(dump.err.find("far more than the format holds"), std::string::npos) << dump.err;
}

TEST_F(ReportInputTool, MonthIsAWholeNumberAsTyped) {
    const std::string file = (station / "2004_01-001.ard").string();
    EXPECT_EQ(run({"table", "monthly", file, "10"}).code, 0);
    for (const char* month : {"1e1", "10.0", "0x0A", "", "13"}) {
        const ToolRun refused = run({"table", "monthly", file, month});
        EXPECT_EQ(refused.code, 1) << month;
        EXPECT_NE(refused.err.find("month must be a number 1..12"), std::string::npos) << refused.err;
    }
}

TEST_F(ReportInputTool, ALevelOutsideTheTableIsNotAMissingTable) {
    const ToolRun outside = run({"hq", "lookup", station.string(), "15.03.2004", "5000"});
    EXPECT_EQ(outside.code, 0);
    EXPECT_EQ(outside.out, "level 5000 lies outside the rating table (0..1000)\n");
    const ToolRun uncovered = run({"hq", "lookup", station.string(), "15.03.1950", "245"});
    EXPECT_EQ(uncovered.out, "no table covers 15.03.1950\n");
}
