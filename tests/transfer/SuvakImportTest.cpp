#include "transfer/SuvakImport.h"

#include "core/Cp1254.h"
#include "store/MeasurementCard.h"
#include "common/ScratchDirectory.h"
#include "store/WaterYearFile.h"
#include "transfer/StationDestination.h"
#include "transfer/SuvakFiles.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

std::string measurement(const std::string& day, const std::string& person, const std::string& gauge) {
    return measurementLine({{5, day},
                            {13, person},
                            {33, "   12.50"},
                            {41, "  3.400"},
                            {48, "  0.250"},
                            {63, gauge},
                            {68, "  12"},
                            {72, "345"},
                            {75, "muline   "},
                            {85, "iyi    "}});
}

class SuvakSource : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(source);
        fs::create_directories(station);
    }
    void write(const std::string& name, const Bytes& bytes) { writeBytes(source / name, bytes); }

    ScratchDirectory scratch;
    fs::path source = scratch / "suvak";
    fs::path station = scratch / "01-001";
};

} // namespace

TEST(SuvakFileKinds, PatternsWithoutCase) {
    EXPECT_EQ(suvakFileKind("e01.dat"), SuvakFileKind::Hq);
    EXPECT_EQ(suvakFileKind("E01.DAT"), SuvakFileKind::Hq);
    EXPECT_EQ(suvakFileKind("o0401001.11o"), SuvakFileKind::Levels);
    EXPECT_EQ(suvakFileKind("O0401001.11O"), SuvakFileKind::Levels);
    EXPECT_EQ(suvakFileKind("K01001.DAT"), SuvakFileKind::Measurements);
    EXPECT_EQ(suvakFileKind("k01001.dat"), SuvakFileKind::Measurements);
    EXPECT_FALSE(suvakFileKind("genel.tan"));
}

TEST_F(SuvakSource, MeasurementListGoesIntoTheCard) {
    write("K01001.DAT",
          bytesOf(measurement("01112003", "Ali Veli", " 1.25") + measurement("xx", "Bozuk", "1") +
                  measurement("15112003", "Ali Veli", " 0.80")));
    const ImportOutcome outcome = importSuvakMeasurements(source / "K01001.DAT", station, "01-001");
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(outcome.written, 2u);
    ASSERT_EQ(outcome.notes.size(), 1u);
    EXPECT_EQ(outcome.notes[0].rfind("satır 2: ", 0), 0u) << outcome.notes[0];

    const auto card = parseMeasurementCardFile(fileBytes(station / "01-001.olc"));
    ASSERT_EQ(card.size(), 2u);
    EXPECT_EQ(card[0].measurementDate, OleDate::fromDate(2003, 11, 1));
    EXPECT_EQ(card[0].gaugeLevel, 125);
    EXPECT_FLOAT_EQ(card[0].measuredDischarge, 12.345F);
    EXPECT_EQ(trimmedRight(card[0].sourceTag), "SUVAK");
    EXPECT_EQ(card[1].gaugeLevel, 80);
}

TEST_F(SuvakSource, MeasurementFilesNotOfTheFormAreSkipped) {
    write("K1.DAT", bytesOf("kısa"));
    write("K2.DAT", Bytes(200, 0));
    write("X3.DAT", bytesOf(measurement("01112003", "Ali", "1")));
    EXPECT_EQ(importSuvakMeasurements(source / "K1.DAT", station, "01-001").skippedReason,
              std::string(kReasonTooShort));
    EXPECT_EQ(importSuvakMeasurements(source / "K2.DAT", station, "01-001").skippedReason,
              std::string(kReasonNotText));
    EXPECT_EQ(importSuvakMeasurements(source / "X3.DAT", station, "01-001").skippedReason,
              std::string(kReasonBadName));
    EXPECT_EQ(importSuvakMeasurements(source / "K4.DAT", station, "01-001").skippedReason,
              std::string(kReasonUnreadable));
    EXPECT_TRUE(fs::is_empty(station));
}

TEST_F(SuvakSource, AllFilesInListOrderWithTheSkippedOnesReported) {
    HqFileImage hq;
    hq.entry(1, '1', "  10");
    write("e01.dat", hq.bytes());
    write("E02.DAT", bytesOf("kisa"));
    StaffMonthFile month;
    for (int d = 1; d <= 30; ++d)
        month.means[d] = "500";
    write("o0401001.11o", month.bytes());
    write("o0401001.12o", Bytes(700, 1));
    write("K01001.DAT", bytesOf(measurement("01112003", "Ali", " 1.00")));
    write("notlar.txt", bytesOf("başka bir dosya"));

    const SuvakSourceFiles files = listSuvakFiles(source);
    EXPECT_EQ(files.hq, (std::vector<std::string>{"e01.dat", "E02.DAT"}));
    EXPECT_EQ(files.levels, (std::vector<std::string>{"o0401001.11o", "o0401001.12o"}));
    EXPECT_EQ(files.measurements, (std::vector<std::string>{"K01001.DAT"}));

    const ImportReport report = importAllSuvak(source, station, "01-001", Locale::turkish());
    EXPECT_EQ(report.convertedFiles(), 3u);
    EXPECT_EQ(report.texts(), (std::vector<std::string>{
                                  "E02.DAT: dosya çok kısa (4 karakter, en az 560 gerekir)",
                                  "o0401001.12o: metin dosyası değil",
                              }));
    EXPECT_TRUE(fs::exists(station / "01_01-001.HQ"));
    EXPECT_FALSE(fs::exists(station / "02_01-001.HQ"));
    EXPECT_TRUE(fs::exists(station / "2004_01-001.ard"));
    EXPECT_TRUE(fs::exists(station / "01-001.olc"));
}

TEST_F(SuvakSource, ImportByKindDispatchesOnTheName) {
    HqFileImage hq;
    hq.entry(1, '1', "  10");
    write("E05.DAT", hq.bytes());
    write("genel.tan", bytesOf("x"));
    EXPECT_FALSE(importSuvakFile(source / "E05.DAT", station, "01-001", Locale::turkish()).skipped());
    EXPECT_TRUE(fs::exists(station / "05_01-001.HQ"));
    EXPECT_EQ(importSuvakFile(source / "genel.tan", station, "01-001", Locale::turkish()).skippedReason,
              std::string(kReasonBadName));
}

TEST(StationDestination, OnlyStationDirectoriesUnderTheDataRoot) {
    ScratchDirectory drive;
    const Paths paths(drive.path());
    const fs::path station = drive / "korvel2000" / "Ankara" / "01" / "01-001";
    fs::create_directories(station / "alt");
    fs::create_directories(drive / "elsewhere" / "a" / "b" / "c");

    EXPECT_TRUE(isStationDirectory(station, paths));
    EXPECT_TRUE(isStationDirectory(station / "alt", paths));
    EXPECT_TRUE(isStationDirectory(station / "alt" / "..", paths));
    EXPECT_FALSE(isStationDirectory(station.parent_path(), paths));               // basin
    EXPECT_FALSE(isStationDirectory(station.parent_path().parent_path(), paths)); // region
    EXPECT_FALSE(isStationDirectory(drive / "korvel2000", paths));
    EXPECT_FALSE(isStationDirectory(drive.path(), paths));
    EXPECT_FALSE(isStationDirectory(drive / "elsewhere" / "a" / "b" / "c", paths));
    EXPECT_FALSE(isStationDirectory(station / ".." / ".." / ".." / ".." / "elsewhere" / "a" / "b", paths));
    EXPECT_FALSE(isStationDirectory(drive / "korvel2000" / "Ankara" / "01" / "missing", paths));

    EXPECT_TRUE(isDriveRoot(drive.path(), paths));
    EXPECT_TRUE(isDriveRoot(drive.path() / "", paths));
    EXPECT_TRUE(isDriveRoot("/", paths));
    EXPECT_FALSE(isDriveRoot(station, paths));

    EXPECT_TRUE(isInDataRoot(drive / "korvel2000", paths));
    EXPECT_TRUE(isInDataRoot(station, paths));
    EXPECT_FALSE(isInDataRoot(drive / "korvel2000yedek", paths));
    EXPECT_FALSE(isInDataRoot(drive.path(), paths));
}
