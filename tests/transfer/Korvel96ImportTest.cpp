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

TEST_F(Korvel96Import, ABadDateSkipsItsBlockAndTheLaterDaysAreStored) {
    // Three blocks: 1 October, a block dated 00.13.04, 2 October. The texts file has one entry of
    // extremes per block.
    Bytes bytes = ReceivedDownload::readings();
    const Bytes secondDay(bytes.end() - 7, bytes.end());
    bytes.resize(bytes.size() - 7);
    for (const std::uint8_t byte : {0, 13, 4, 0x09, 0x99, 0x09, 0x99})
        bytes.push_back(byte);
    bytes.insert(bytes.end(), secondDay.begin(), secondDay.end());
    Bytes texts = ReceivedDownload::texts();
    const Bytes secondExtremes(texts.end() - 8, texts.end());
    texts.resize(texts.size() - 8);
    for (const std::uint8_t byte : {0, 0, 0x09, 0x99, 0, 0, 0x09, 0x99})
        texts.push_back(byte);
    texts.insert(texts.end(), secondExtremes.begin(), secondExtremes.end());
    fs::create_directories(source());
    writeBytes(readings(), bytes);
    writeBytes(source() / ReceivedDownload::kTextsName, texts);

    const ImportOutcome outcome = importKorvel96File(readings(), "01-001", station());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(outcome.written, 2u);
    EXPECT_EQ(outcome.notes, (std::vector<std::string>{"gün 2: tarih geçersiz (00.13.04)"}));
    const auto days = readWaterYearFile(station() / "2005_01-001.ard");
    EXPECT_EQ(days[0].meanValue, 1005.0f);
    EXPECT_EQ(days[1].meanValue, 1200.0f);
    EXPECT_EQ(days[1].maxLevel, 1201); // the extremes of the third entry
    EXPECT_EQ(days[1].maxTime, OleDate::fromTime(8, 5, 0));
}

TEST_F(Korvel96Import, FilesWithoutADayAreRefusedAndNotCopied) {
    fs::create_directories(source());
    writeBytes(source() / ReceivedDownload::kTextsName, ReceivedDownload::texts());
    Bytes intervalZero = ReceivedDownload::readings();
    intervalZero[0] = 0;
    intervalZero[2] = 0;
    for (const Bytes& bytes : {Bytes{}, Bytes{208, 1, 2, 0, 0}, intervalZero}) {
        writeBytes(readings(), bytes);
        const ImportOutcome outcome = importKorvel96File(readings(), "01-001", station());
        EXPECT_TRUE(outcome.skipped()) << bytes.size();
    }
    EXPECT_TRUE(stationFiles().empty());
}

TEST_F(Korvel96Import, ACopyNeverReplacesAStationFileOrAnotherFile) {
    // A source named like the station's water year: its days would be stored into the very file
    // the copy would then replace with readings bytes.
    fs::create_directories(source());
    const fs::path waterYearNamed = source() / "2004_01-001.ard";
    writeBytes(waterYearNamed, ReceivedDownload::readings());
    writeBytes(source() / "2004_01-001.mrd", ReceivedDownload::texts());
    ASSERT_FALSE(createWaterYear(station(), 2004, "01-001").alreadyExisted);
    const Bytes waterYear = fileBytes(station() / "2004_01-001.ard");
    ImportOutcome outcome = importKorvel96File(waterYearNamed, "01-001", station());
    EXPECT_TRUE(outcome.skipped());
    EXPECT_EQ(fileBytes(station() / "2004_01-001.ard"), waterYear);
    EXPECT_EQ(stationFiles(), (std::vector<std::string>{"2004_01-001.ard"}));

    // A different file of the download's name stays; an earlier copy of the same readings is
    // replaced.
    ReceivedDownload::write(source());
    writeBytes(station() / ReceivedDownload::kReadingsName, Bytes{'n', 'o', 't', 'e', 's'});
    outcome = importKorvel96File(readings(), "01-001", station());
    EXPECT_TRUE(outcome.skipped());
    EXPECT_EQ(fileBytes(station() / ReceivedDownload::kReadingsName), (Bytes{'n', 'o', 't', 'e', 's'}));
    EXPECT_FALSE(fs::exists(station() / "2005_01-001.ard"));

    Bytes earlier = ReceivedDownload::readings();
    earlier.resize(earlier.size() - 7); // the same download before its second day
    writeBytes(station() / ReceivedDownload::kReadingsName, earlier);
    outcome = importKorvel96File(readings(), "01-001", station());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(fileBytes(station() / ReceivedDownload::kReadingsName), ReceivedDownload::readings());
}

TEST_F(Korvel96Import, AStationNumberLongerThanTheTextsHoldIsRefused) {
    ReceivedDownload::write(source());
    const ImportOutcome outcome = importKorvel96File(readings(), "01-001-AB", station());
    ASSERT_TRUE(outcome.skipped());
    EXPECT_NE(outcome.skippedReason->find("8 karakter"), std::string::npos);
    EXPECT_TRUE(stationFiles().empty());
}
