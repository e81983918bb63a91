#include "core/StationFiles.h"

#include "common/ScratchDirectory.h"
#include "core/FileIO.h"

#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

TEST(StationFiles, StationNumbersThatAreNoFileNameAreRefused) {
    EXPECT_FALSE(stationNumberProblem("01-001  "));
    EXPECT_FALSE(stationNumberProblem("D14A003"));
    EXPECT_EQ(stationNumberProblem("   "), "İstasyon numarası boş");
    for (const char* number : {"/tmp/pwn", "../../pw", "..", ".", "a\\b", "c:x", "a\tb"})
        EXPECT_EQ(stationNumberProblem(number),
                  "İstasyon numarası dosya adında kullanılamaz: " + std::string(number))
            << number;
}

TEST(StationFiles, AFileOfTheStationLiesInsideItsDirectory) {
    korvel::testing::ScratchDirectory scratch;
    const fs::path station = scratch / "01-001";
    fs::create_directories(station);
    writeFileAtomic(station / "2004_01-001.ARD", std::string_view("x"));
    // The existing name is taken whatever its case.
    EXPECT_EQ(stationFilePath(station, "2004_01-001.ard"), station / "2004_01-001.ARD");
    EXPECT_EQ(stationFilePath(station, "01-001.olc"), station / "01-001.olc");
    for (const char* name : {"../pw.olc", "/tmp/pwn.olc", "..", "", "a/b.olc"})
        EXPECT_THROW(stationFilePath(station, name), FileError) << name;

    // A link inside the station that leads out of it is no station file.
    fs::create_symlink(scratch / "elsewhere.olc", station / "02-002.olc");
    EXPECT_THROW(stationFilePath(station, "02-002.olc"), FileError);
    EXPECT_FALSE(isInsideDirectory(station / "02-002.olc", station));
    EXPECT_TRUE(isInsideDirectory(station / "new.olc", station));
}
