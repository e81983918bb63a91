#include "JournalFixture.h"

#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvel;
using korvel::testing::JournaledStation;
using korvel::testing::ScratchDirectory;
namespace fs = std::filesystem;

namespace {

constexpr int kSteps = 12;
constexpr std::size_t kRecord = 128;

Bytes filled(std::size_t size, int value) {
    return Bytes(size, static_cast<std::uint8_t>(value));
}

// Change k (from 1) of the file: creation, removal, one record in place, two records and a
// whole-file replacement, so that a kill can land inside each kind of write.
void change(const fs::path& file, int k) {
    if (!fileExists(file))
        writeFileAtomic(file, filled(16 * kRecord, k));
    else if (k % 11 == 0)
        removeFile(file);
    else if (k % 3 == 0)
        writeRecords(file, kRecord, {{1, filled(kRecord, k)}, {9, filled(kRecord, k)}});
    else if (k % 7 == 0)
        writeFileAtomic(file, filled(20 * kRecord, k));
    else
        writeRecords(file, kRecord, {{static_cast<std::size_t>(k % 16) + 1, filled(kRecord, k)}});
}

std::vector<JournalEntry> doneOldestFirst(const fs::path& dir) {
    std::vector<JournalEntry> done;
    for (JournalEntry& entry : ChangeJournal(dir, ChangeJournal::Access::read).entries())
        if (entry.state == ChangeState::done)
            done.insert(done.begin(), std::move(entry));
    return done;
}

class InterruptedWriterTest : public JournaledStation {};

TEST_F(InterruptedWriterTest, AWriterKilledAnywhereLeavesTheFileBeforeOrAfterAndTheJournalAgrees) {
    // The states the file goes through, made without a journal.
    ScratchDirectory reference;
    std::vector<std::optional<Bytes>> states{std::nullopt};
    {
        const ScopedFileWriteJournal unjournaled(nullptr);
        for (int k = 1; k <= kSteps; ++k) {
            change(reference / "2020_01-001.ard", k);
            states.push_back(readFileBytes(reference / "2020_01-001.ard"));
        }
    }
    // The kills fall anywhere within the time a whole run takes here.
    const auto start = std::chrono::steady_clock::now();
    {
        const fs::path station = dir / "whole";
        fs::create_directory(station);
        for (int k = 1; k <= kSteps; ++k)
            change(station / "2020_01-001.ard", k);
        ASSERT_EQ(readFileBytes(station / "2020_01-001.ard"), states.back());
    }
    const auto whole =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::mt19937 random(20261209);
    std::uniform_int_distribution<long long> delay(0, whole.count());
    int settled = 0;
    std::set<std::size_t> reached;
    for (int run = 0; run < 200; ++run) {
        const fs::path station = dir / std::to_string(run);
        fs::create_directory(station);
        const fs::path file = station / "2020_01-001.ard";
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            try {
                for (int k = 1; k <= kSteps; ++k)
                    change(file, k);
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        if (!ChangeJournal::existsIn(station))
            continue; // killed before its first entry
        settled += static_cast<int>(recoverInterruptedChanges(station).size());

        ASSERT_TRUE(ChangeJournal(station, ChangeJournal::Access::read).pendingEntries().empty()) << run;
        const std::vector<JournalEntry> done = doneOldestFirst(station);
        reached.insert(done.size());
        ASSERT_LE(done.size(), static_cast<std::size_t>(kSteps));
        const std::optional<Bytes> now = readFileBytes(file);
        ASSERT_EQ(now, states[done.size()]) << "run " << run << " after " << done.size() << " changes";
        if (!done.empty()) {
            ASSERT_EQ(done.back().sumAfter, fileChecksum(now)) << run;
        }
        for (std::size_t i = 1; i < done.size(); ++i)
            ASSERT_EQ(done[i].sumBefore, done[i - 1].sumAfter) << run;
    }
    // The kills landed all along the run, some of them inside a change.
    EXPECT_GT(reached.size(), 8u);
    EXPECT_GT(settled, 0);
}

TEST_F(InterruptedWriterTest, TwoProcessesWritingOneStationFollowOneAnother) {
    const fs::path file = dir / "2020_01-001.ard";
    writeFileAtomic(file, filled(16 * kRecord, 0));
    std::vector<pid_t> writers;
    for (int half = 0; half < 2; ++half) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            try {
                for (int k = 1; k <= 30; ++k)
                    writeRecords(
                        file, kRecord,
                        {{static_cast<std::size_t>(half * 8 + k % 8) + 1, filled(kRecord, half * 100 + k)}});
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        writers.push_back(writer);
    }
    for (const pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<JournalEntry> done = doneOldestFirst(dir);
    ASSERT_EQ(done.size(), 61u);
    // Each change started from what the one before it left.
    for (std::size_t i = 1; i < done.size(); ++i)
        EXPECT_EQ(done[i].sumBefore, done[i - 1].sumAfter) << i;
    EXPECT_EQ(done.back().sumAfter, fileChecksum(readFileBytes(file)));
    EXPECT_EQ(recordAt(*readFileBytes(file), kRecord, 7),
              filled(kRecord, 30)); // the last of the first writer
    EXPECT_EQ(recordAt(*readFileBytes(file), kRecord, 15), filled(kRecord, 130));
}

} // namespace
