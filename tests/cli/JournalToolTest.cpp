#include "common/ToolRun.h"
#include "core/FileIO.h"
#include "journal/ChangeJournal.h"

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvel;
using korvel::testing::ToolDrive;
using korvel::testing::ToolRun;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kTotals{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};

class JournalTool : public ToolDrive {
protected:
    void SetUp() override { writeDemo(); }
    ToolRun fromMonthly(const std::string& year, bool replace) const {
        std::vector<std::string> args{"wy", "from-monthly", station.string(), year};
        args.insert(args.end(), kTotals.begin(), kTotals.end());
        if (replace)
            args.push_back("--replace");
        return run(args);
    }
    nlohmann::json history(const std::string& file = "") const {
        std::vector<std::string> args{"history", station.string()};
        if (!file.empty())
            args.push_back(file);
        return json(args);
    }
};

TEST_F(JournalTool, AYearFromMonthlyTotalsOverAMeasuredYearIsUndoneByteForByte) {
    const fs::path file = station / "2004_01-001.ard";
    const Bytes measured = *readFileBytes(file);
    EXPECT_TRUE(history()["entries"].empty()); // the demo drive starts without journal entries

    ASSERT_EQ(fromMonthly("2004", true).code, 0);
    ASSERT_NE(readFileBytes(file), measured);
    const nlohmann::json entries = history("2004_01-001.ard")["entries"];
    ASSERT_EQ(entries.size(), 1u);
    const nlohmann::json& entry = entries[0];
    EXPECT_EQ(entry["file"], "2004_01-001.ard");
    EXPECT_NE(entry["command"].get<std::string>().find("wy from-monthly"), std::string::npos);
    EXPECT_EQ(entry["records"].size(), 366u);
    EXPECT_EQ(entry["undone"], false);
    for (const char* key : {"id", "time", "user"})
        EXPECT_TRUE(entry.contains(key)) << key;

    const ToolRun undo = run({"undo", station.string(), std::to_string(entry["id"].get<long long>())});
    ASSERT_EQ(undo.code, 0) << undo.err;
    EXPECT_EQ(readFileBytes(file), measured);
    const nlohmann::json after = history()["entries"];
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0]["command"], "korvel undo " + std::to_string(entry["id"].get<long long>()));
    EXPECT_EQ(after[1]["undone"], true);
}

TEST_F(JournalTool, ANewRatingTableAndAnUnpackedArchiveAreTakenBack) {
    const fs::path table = station / "05_01-001.HQ";
    ASSERT_EQ(run({"rating", "save", station.string(), "5", "--valid-from", "01.10.2005", "--valid-to",
                   "30.09.2006"})
                  .code,
              0);
    ASSERT_TRUE(fileExists(table));
    const nlohmann::json made = history("05_01-001.HQ")["entries"];
    ASSERT_FALSE(made.empty());
    ASSERT_EQ(run({"undo", station.string(), std::to_string(made.back()["id"].get<long long>())}).code, 0);
    EXPECT_FALSE(fileExists(table));

    // An archive unpacked over a station's file: taking it back restores the file it replaced.
    const fs::path other = station.parent_path() / "01-002";
    const fs::path exchange = drive / "disket";
    fs::create_directories(exchange);
    fs::copy_file(station / "01_01-001.HQ", other / "01_01-001.HQ");
    const Bytes own = *readFileBytes(other / "01_01-001.HQ");
    std::fstream(other / "01_01-001.HQ", std::ios::in | std::ios::out | std::ios::binary).put('X');
    const Bytes edited = *readFileBytes(other / "01_01-001.HQ");
    ASSERT_EQ(run({"archive", "pack", (station / "01_01-001.HQ").string(), exchange.string()}).code, 0);
    ASSERT_EQ(run({"archive", "unpack", (exchange / "01_01-001.HQ.zip").string(), other.string()}).code, 0);
    EXPECT_EQ(readFileBytes(other / "01_01-001.HQ"), own);
    const nlohmann::json unpacked = json({"history", other.string()})["entries"];
    ASSERT_EQ(unpacked.size(), 1u);
    ASSERT_EQ(run({"undo", other.string(), std::to_string(unpacked[0]["id"].get<long long>())}).code, 0);
    EXPECT_EQ(readFileBytes(other / "01_01-001.HQ"), edited);
}

TEST_F(JournalTool, UndoOfAFileChangedOutsideTheJournalIsRefusedInOneLine) {
    ASSERT_EQ(fromMonthly("2004", true).code, 0);
    std::fstream(station / "2004_01-001.ard", std::ios::in | std::ios::out | std::ios::binary).put('X');
    const ToolRun undo = run({"undo", station.string(), "1"});
    EXPECT_EQ(undo.code, 1);
    EXPECT_EQ(std::count(undo.err.begin(), undo.err.end(), '\n'), 1) << undo.err;
    EXPECT_NE(undo.err.find("wy from-monthly"), std::string::npos) << undo.err;
}

TEST_F(JournalTool, AnyCommandOnTheStationSettlesAnInterruptedChange) {
    const fs::path file = station / "2004_01-001.ard";
    const Bytes before = *readFileBytes(file);
    Bytes after = before;
    after[5] ^= 0xFF;
    long long id = 0;
    {
        ChangeJournal journal(station, ChangeJournal::Access::write);
        JournalEntry entry;
        entry.file = file.filename().string();
        entry.recordSize = 128;
        entry.sizeBefore = entry.sizeAfter = before.size();
        entry.sumBefore = fileChecksum(before);
        entry.sumAfter = fileChecksum(after);
        id = journal.addPending(entry, changedRecords(before, after, 128));
    }
    // The writer died after its rename: the file holds the new bytes.
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary)
        .seekp(5)
        .put(static_cast<char>(after[5]));
    ASSERT_EQ(run({"wy", "dump", file.string()}).code, 0);
    EXPECT_EQ(ChangeJournal(station, ChangeJournal::Access::read).entry(id)->state, ChangeState::done);
}

TEST_F(JournalTool, TwoToolProcessesWritingOneStationFollowOneAnother) {
    const fs::path tool = fs::read_symlink("/proc/self/exe").parent_path() / "korvel";
    std::vector<pid_t> writers;
    for (int first : {1, 100}) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            std::vector<std::string> args{tool.string(), "wy", "from-monthly", station.string(), "2031"};
            args.insert(args.end(), kTotals.begin(), kTotals.end());
            args.push_back("--replace");
            for (int k = 0; k < 3; ++k) {
                args[5] = std::to_string(first + k); // another October total each time
                const pid_t run = fork();
                if (run == 0) {
                    std::freopen("/dev/null", "w", stdout);
                    std::vector<char*> argv;
                    for (std::string& arg : args)
                        argv.push_back(arg.data());
                    argv.push_back(nullptr);
                    execv(argv[0], argv.data());
                    _exit(127);
                }
                int status = 0;
                waitpid(run, &status, 0);
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    _exit(1);
            }
            _exit(0);
        }
        writers.push_back(writer);
    }
    for (const pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Each change started from what the one before it left.
    const std::vector<JournalEntry> entries =
        ChangeJournal(station, ChangeJournal::Access::read).entries(std::string("2031_01-001.ard"));
    ASSERT_EQ(entries.size(), 6u);
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        EXPECT_EQ(entries[i].sumBefore, entries[i + 1].sumAfter) << i;
    EXPECT_EQ(entries[0].sumAfter, fileChecksum(readFileBytes(station / "2031_01-001.ard")));
}

} // namespace
