#include "core/FileIO.h"

#include "common/ScratchDirectory.h"

#include <gtest/gtest.h>

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
