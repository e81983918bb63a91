#include "core/Paths.h"

#include "common/ScratchDirectory.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

// A fresh directory standing in for the drive root, removed afterwards.
class PathsTest : public ::testing::Test {
protected:
    void touch(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }

    korvel::testing::ScratchDirectory scratch_;
    const fs::path drive_ = scratch_.path();
};

} // namespace

TEST_F(PathsTest, FixedPathsResolveUnderTheDrive) {
    const Paths paths(drive_);
    EXPECT_EQ(paths.dataRoot(), drive_ / "korvel2000");
    EXPECT_EQ(paths.korvel96Root(), drive_ / "korvel96");
    EXPECT_EQ(paths.suvakRoot(), drive_ / "suvak");
    EXPECT_EQ(paths.resolve("c:\\korvel2000\\Ankara\\01"), drive_ / "korvel2000" / "Ankara" / "01");
    EXPECT_EQ(paths.resolve("D:/korvel2000/Ankara/"), drive_ / "korvel2000" / "Ankara");
    EXPECT_EQ(paths.resolve("c:\\"), drive_);
}

TEST_F(PathsTest, ExistingNamesAreFoundWhateverTheirCase) {
    fs::create_directories(drive_ / "KORVEL2000" / "ANKARA" / "01");
    touch(drive_ / "KORVEL2000" / "ANKARA" / "01" / "GENEL.TAN");
    const Paths paths(drive_);
    EXPECT_EQ(paths.resolve("c:\\korvel2000\\Ankara\\01"), drive_ / "KORVEL2000" / "ANKARA" / "01");
    EXPECT_EQ(paths.resolve("c:\\korvel2000\\Ankara\\01\\genel.tan"),
              drive_ / "KORVEL2000" / "ANKARA" / "01" / "GENEL.TAN");
    // A missing name keeps its spelling; the existing part before it is still resolved.
    EXPECT_EQ(paths.resolve("c:\\korvel2000\\ankara\\02\\x.ard"),
              drive_ / "KORVEL2000" / "ANKARA" / "02" / "x.ard");
}

TEST_F(PathsTest, WindowsFormOfPathsUnderTheDrive) {
    const Paths paths(drive_);
    EXPECT_EQ(paths.toWindows(drive_ / "korvel2000" / "Ankara" / "01"), "c:\\korvel2000\\Ankara\\01");
    EXPECT_EQ(paths.toWindows(drive_), "c:");
    EXPECT_EQ(paths.toWindows("/elsewhere/x"), "/elsewhere/x");
    const fs::path station = drive_ / "korvel2000" / "Ankara" / "01";
    EXPECT_EQ(paths.resolve(paths.toWindows(station)), station);
}

TEST(Paths, PatternsMatchWithoutCase) {
    EXPECT_TRUE(matchesPattern("01_1201.HQ", "*.HQ"));
    EXPECT_TRUE(matchesPattern("01_1201.hq", "*.HQ"));
    EXPECT_FALSE(matchesPattern("01_1201.HQX", "*.HQ"));
    EXPECT_TRUE(matchesPattern("K1201.DAT", "K*.DAT"));
    EXPECT_TRUE(matchesPattern("k1201.dat", "K*.DAT"));
    EXPECT_FALSE(matchesPattern("E1201.DAT", "K*.DAT"));
    EXPECT_TRUE(matchesPattern("o1201.03o", "o*.**o"));
    EXPECT_TRUE(matchesPattern("O1201.03O", "o*.**o"));
    EXPECT_TRUE(matchesPattern("o1.o", "o*.**o"));
    EXPECT_FALSE(matchesPattern("o1201.03x", "o*.**o"));
    EXPECT_TRUE(matchesPattern("2004_1201.ard", "????_*.ard"));
    EXPECT_FALSE(matchesPattern("204_1201.ard", "????_*.ard"));
    EXPECT_TRUE(matchesPattern("İSTANBUL.DAT", "i*.dat"));
    EXPECT_TRUE(matchesPattern("ŞİLE.dat", "şi*.DAT"));
}

TEST_F(PathsTest, ListFilesSortsByNameWithoutCase) {
    for (const char* name : {"b.HQ", "A.hq", "c.txt", "02_1.HQ", "01_1.HQ"})
        touch(drive_ / name);
    fs::create_directories(drive_ / "dir.HQ");
    EXPECT_EQ(listFiles(drive_, "*.HQ"), (std::vector<std::string>{"01_1.HQ", "02_1.HQ", "A.hq", "b.HQ"}));
    EXPECT_EQ(listFiles(drive_, "*.*").size(), 5u);
    EXPECT_TRUE(listFiles(drive_ / "missing", "*.HQ").empty());
    fs::create_directories(drive_ / "beta");
    fs::create_directories(drive_ / "Alpha");
    EXPECT_EQ(listDirectories(drive_), (std::vector<std::string>{"Alpha", "beta", "dir.HQ"}));
}
