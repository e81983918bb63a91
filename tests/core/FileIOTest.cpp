#include "core/FileIO.h"

#include "common/ScratchDirectory.h"

#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

class FileIOTest : public ::testing::Test {
protected:
    korvel::testing::ScratchDirectory scratch_;
    const fs::path dir_ = scratch_.path();
};

} // namespace

TEST(FileIO, RecordsPastTheEndReadAsZeros) {
    const Bytes file = {1, 2, 3, 4, 5};
    EXPECT_EQ(recordAt(file, 2, 1), (Bytes{1, 2}));
    EXPECT_EQ(recordAt(file, 2, 3), (Bytes{5, 0}));
    EXPECT_EQ(recordAt(file, 2, 4), (Bytes{0, 0}));
    EXPECT_EQ(recordAt(file, 2, 0), (Bytes{0, 0}));
    EXPECT_EQ(recordCount(file, 2), 3u);
    EXPECT_EQ(recordCount({}, 2), 0u);
}

TEST_F(FileIOTest, WriteRecordsOverwritesInPlaceAndFillsGapsWithZeros) {
    const fs::path file = dir_ / "x.ard";
    writeRecords(file, 2, {{1, {1, 1}}, {2, {2, 2}}});
    writeRecords(file, 2, {{2, {9, 9}}, {4, {4, 4}}});
    EXPECT_EQ(readFileBytes(file), (Bytes{1, 1, 9, 9, 0, 0, 4, 4}));
    // A record of the wrong size is refused before anything is written.
    EXPECT_THROW(writeRecords(file, 2, {{1, {7, 7}}, {3, {3}}}), FileError);
    EXPECT_EQ(readFileBytes(file), (Bytes{1, 1, 9, 9, 0, 0, 4, 4}));
}

TEST_F(FileIOTest, WholeFilesAreReplacedAtomically) {
    const fs::path file = dir_ / "genel.tan";
    writeFileAtomic(file, std::string_view("old"));
    writeFileAtomic(file, Bytes{'n', 'e', 'w'});
    EXPECT_EQ(readFileBytes(file), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    EXPECT_THROW(writeFileAtomic(dir_ / "missing" / "x", std::string_view("x")), FileError);
    EXPECT_FALSE(readFileBytes(dir_ / "missing.ard"));
    EXPECT_FALSE(readFileBytes(dir_));
}

TEST_F(FileIOTest, ReplacedFilesKeepTheirModeAndReadOnlyOnesAreNotReplaced) {
    const fs::path file = dir_ / "genel.tan";
    writeFileAtomic(file, std::string_view("old"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileAtomic(file, std::string_view("new"));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(writeFileAtomic(file, std::string_view("other")), FileError);
    EXPECT_THROW(writeRecords(file, 1, {{1, {'x'}}}), FileError);
    EXPECT_THROW(writeRecords(file, 1, {{1, {'x'}}, {2, {'y'}}}), FileError);
    EXPECT_EQ(readFileBytes(file), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileIOTest, SeveralRecordsCutShortLeaveTheOldFileWhole) {
    const fs::path file = dir_ / "2004_01-001.ard";
    writeRecords(file, 100, {{1, Bytes(100, 1)}, {2, Bytes(100, 2)}, {3, Bytes(100, 3)}});
    const Bytes before = *readFileBytes(file);
    // A child process whose files may not grow past 150 bytes: the write fails part way, as on a
    // full disk.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{150, 150};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            writeRecords(file, 100, {{1, Bytes(100, 7)}, {2, Bytes(100, 8)}, {3, Bytes(100, 9)}});
        } catch (const FileError&) {
            _exit(0);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readFileBytes(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileIOTest, StaleTemporariesOfDeadWritersAreRemoved) {
    const auto touch = [&](const std::string& name) { writeFileAtomic(dir_ / name, std::string_view("x")); };
    const std::string own = "genel.tan.tmp" + std::to_string(getpid()) + "_5_0";
    for (const std::string& name :
         {std::string("2004_01-001.ard.tmp999999999_123_0"), std::string("genel.har.tmp999999998_1_17"), own,
          std::string("notes.tmp"), std::string("x.tmpabc_1_2"), std::string("x.tmp999999999_1_2.bak"),
          std::string("2004_01-001.ard")})
        touch(name);
    EXPECT_EQ(removeStaleTemporaries(dir_), 2u);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir_))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{own, "notes.tmp", "x.tmpabc_1_2", "x.tmp999999999_1_2.bak",
                                           "2004_01-001.ard"}));
    EXPECT_EQ(removeStaleTemporaries(dir_ / "missing"), 0u);
}
