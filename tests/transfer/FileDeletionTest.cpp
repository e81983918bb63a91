#include "transfer/FileDeletion.h"

#include "common/ScratchDirectory.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

TEST(FileDeletion, CompanionOfADayReadingsFile) {
    EXPECT_EQ(companionName("ABC5-10 .-4"), "ABC5-10 .m4");
    EXPECT_EQ(companionName("ABC5-10 .-12"), "ABC5-10 .m12");
    EXPECT_FALSE(companionName("2004_01-001.ard"));
    EXPECT_FALSE(companionName("01_01-001.HQ"));
    EXPECT_FALSE(companionName("ABC5-10 .m4"));
    EXPECT_FALSE(companionName("ABC5-10 .-"));
    EXPECT_FALSE(companionName("ABC5-10 .-123"));
    EXPECT_FALSE(companionName("ABC.-4x"));
}

TEST(FileDeletion, FileAndItsCompanionGo) {
    ScratchDirectory dir;
    for (const char* name : {"ABC5-10 .-4", "ABC5-10 .m4", "ABC5-10 .-5", "2004_01-001.ard"})
        writeBytes(dir / name, Bytes{1});

    const DeletedFiles both = deleteWithCompanion(dir.path(), "ABC5-10 .-4");
    EXPECT_TRUE(both.file);
    EXPECT_TRUE(both.companion);
    EXPECT_FALSE(fs::exists(dir / "ABC5-10 .-4"));
    EXPECT_FALSE(fs::exists(dir / "ABC5-10 .m4"));

    // A missing companion is ignored.
    const DeletedFiles alone = deleteWithCompanion(dir.path(), "ABC5-10 .-5");
    EXPECT_TRUE(alone.file);
    EXPECT_FALSE(alone.companion);

    // Other files have no companion: nothing else goes.
    writeBytes(dir / "2004_01-001.mrd", Bytes{1});
    EXPECT_TRUE(deleteWithCompanion(dir.path(), "2004_01-001.ard").file);
    EXPECT_TRUE(fs::exists(dir / "2004_01-001.mrd"));
}

TEST(FileDeletion, OnlyRegularFilesOfTheDirectory) {
    ScratchDirectory dir;
    fs::create_directories(dir / "sub");
    writeBytes(dir / "sub" / "x", Bytes{1});
    writeBytes(dir / "y", Bytes{1});

    EXPECT_FALSE(deleteStationFile(dir.path(), "sub"));
    EXPECT_FALSE(deleteStationFile(dir.path(), "sub/x"));
    EXPECT_FALSE(deleteStationFile(dir / "sub", "../y"));
    EXPECT_FALSE(deleteStationFile(dir.path(), ".."));
    EXPECT_FALSE(deleteStationFile(dir.path(), ""));
    EXPECT_FALSE(deleteStationFile(dir.path(), "missing"));
    EXPECT_TRUE(fs::exists(dir / "sub" / "x"));
    EXPECT_TRUE(fs::exists(dir / "y"));
    EXPECT_TRUE(deleteStationFile(dir.path(), "y"));
    EXPECT_FALSE(fs::exists(dir / "y"));
}
