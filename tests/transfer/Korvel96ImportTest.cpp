#include "transfer/Korvel96Import.h"

#include "common/ReceivedReadingsFiles.h"
#include "core/Paths.h"
#include "store/WaterYearFile.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

class Korvel96Import : public ::testing::Test {
protected:
    fs::path source() const { return drive / "korvel96" / "istasyon" / "01-001"; }
    fs::path station() const { return drive / "korvel2000" / "Ankara" / "01" / "01-001"; }
    fs::path readings() const { return source() / ReceivedDownload::kReadingsName; }
    std::vector<std::string> stationFiles() const { return listFiles(station(), "*"); }

    void SetUp() override { fs::create_directories(station()); }

    ScratchDirectory drive;
};

} // namespace

TEST_F(Korvel96Import, ConvertsTheDaysOfTheDownloadAndCopiesIt) {
    ReceivedDownload::write(source());
    const ImportOutcome outcome = importKorvel96File(readings(), "01-001  ", station());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(outcome.fileName, "ABC1-10 .-5");
    EXPECT_EQ(outcome.written, 2u);
    EXPECT_TRUE(outcome.notes.empty());
    EXPECT_EQ(stationFiles(), (std::vector<std::string>{"2005_01-001.ard", "ABC1-10 .-5"}));
    EXPECT_EQ(fileBytes(station() / "ABC1-10 .-5"), ReceivedDownload::readings());

    const auto days = readWaterYearFile(station() / "2005_01-001.ard");
    ASSERT_EQ(days.size(), 366u);
    EXPECT_EQ(days[0].date, OleDate::fromDate(2004, 10, 1));
    EXPECT_EQ(days[0].meanValue, 1005.0f);
    EXPECT_EQ(days[0].maxLevel, 1010);
    EXPECT_EQ(days[0].maxTime, OleDate::fromTime(14, 30, 0));
    EXPECT_EQ(days[0].minLevel, 1000);
    EXPECT_EQ(days[0].minTime, OleDate::fromTime(0, 0, 0)); // hour 24
    EXPECT_EQ(days[0].rawDataFile, "ABC1-10 .-5 ");
    EXPECT_EQ(days[1].meanValue, 1200.0f); // 1200.5, halves to even
    EXPECT_EQ(days[1].maxTime, OleDate::fromTime(8, 5, 0));
    EXPECT_EQ(days[1].minTime, OleDate::fromTime(2, 10, 0));
    EXPECT_TRUE(isBlankSource(days[2].source));
}

TEST_F(Korvel96Import, TheCompanionIsFoundInAnyCase) {
    ReceivedDownload::write(source(), false);
    writeBytes(source() / "ABC1-10 .M5", ReceivedDownload::texts());
    ASSERT_TRUE(existingStationTexts(readings()).has_value());
    EXPECT_EQ(importKorvel96File(readings(), "01-001", station()).written, 2u);
}

TEST_F(Korvel96Import, MissingFilesAndBadNumbersAreReportedAndWriteNothing) {
    ReceivedDownload::write(source(), false);
    ImportOutcome outcome = importKorvel96File(readings(), "01-001", station());
    ASSERT_TRUE(outcome.skipped());
    EXPECT_EQ(*outcome.skippedReason, "istasyon bilgi dosyası yok (ABC1-10 .m5)");
    EXPECT_TRUE(stationFiles().empty());

    outcome = importKorvel96File(source() / "ABC2-10 .-5", "01-001", station());
    EXPECT_EQ(outcome.skippedReason, std::optional<std::string>(kReasonUnreadable));

    // A name without a dot has no companion at all.
    writeBytes(source() / "ABC", ReceivedDownload::readings());
    outcome = importKorvel96File(source() / "ABC", "01-001", station());
    EXPECT_EQ(outcome.skippedReason, std::optional<std::string>(kReasonNoCompanion));

    writeBytes(source() / ReceivedDownload::kTextsName, ReceivedDownload::texts());
    for (const char* number : {"", "        ", "../x", "a:b"}) {
        outcome = importKorvel96File(readings(), number, station());
        EXPECT_TRUE(outcome.skipped()) << number;
    }
    EXPECT_TRUE(stationFiles().empty());
}
