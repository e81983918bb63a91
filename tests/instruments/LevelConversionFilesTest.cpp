#include "DumpBuilder.h"
#include "common/ScratchDirectory.h"
#include "instruments/LevelConversion.h"
#include "instruments/ReceivedReadings.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// Two days of 12-hour readings in October 2004 (water year 2005) and one on 30 September 2004.
DumpBuilder loggerDump() {
    DumpBuilder b;
    b.texts("ABC     ", "SAKARYA ", "LOGGER01").nameDate(5, 10, 4).interval(144).unit(1).markerBefore(263);
    std::size_t p = b.block(263, 30, 9, 4, {1000, 1010}, BlockExtreme{0, 12, 1010}, BlockExtreme{0, 0, 1000});
    p = b.block(p, 1, 10, 4, {1234, 1240}, BlockExtreme{0, 12, 1240}, BlockExtreme{0, 0, 1234});
    p = b.block(p, 2, 10, 4, {1250});
    b.writePosition(p);
    return b;
}

class ConversionFiles : public ::testing::Test {
protected:
    fs::path station() const { return drive / "korvel2000" / "Ankara" / "01" / "01-001"; }
    fs::path korvel96() const { return drive / "korvel96"; }
    LevelConversionTarget target() const { return {station(), korvel96()}; }

    ScratchDirectory drive;
};

} // namespace

TEST_F(ConversionFiles, WritesTheSideFilesTheCopyAndTheDays) {
    const LevelConversionResult r = convertLevelDump(loggerDump().image, "01-001", target());
    ASSERT_TRUE(r.converted) << r.message;
    EXPECT_EQ(r.written.written, 3u);
    const fs::path sideDir = korvel96() / "istasyon" / "01-001";
    EXPECT_EQ(r.readingsFile, sideDir / "ABC5-10 .-4");
    EXPECT_EQ(r.textsFile, sideDir / "ABC5-10 .m4");
    EXPECT_EQ(r.stationCopy, station() / "ABC5-10 .-4");
    EXPECT_EQ(readFileBytes(r.readingsFile), readFileBytes(r.stationCopy));

    const auto files = drive.snapshot();
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"korvel2000/Ankara/01/01-001/2004_01-001.ard",
                                               "korvel2000/Ankara/01/01-001/2005_01-001.ard",
                                               "korvel2000/Ankara/01/01-001/ABC5-10 .-4",
                                               "korvel96/istasyon/01-001/ABC5-10 .-4",
                                               "korvel96/istasyon/01-001/ABC5-10 .m4"}));

    // The first write makes a whole water year; each day sits on the record of its date.
    const auto y2005 = readWaterYearFile(station() / "2005_01-001.ard");
    ASSERT_EQ(y2005.size(), 366u);
    EXPECT_EQ(y2005[0].date, OleDate::fromDate(2004, 10, 1));
    EXPECT_EQ(y2005[0].meanValue, 124.0f);
    EXPECT_EQ(y2005[0].source, "L  korvelmaş");
    EXPECT_EQ(y2005[0].rawDataFile, "ABC5-10 .-4 ");
    EXPECT_EQ(y2005[1].meanValue, 125.0f);
    EXPECT_TRUE(isBlankSource(y2005[2].source));
    const auto y2004 = readWaterYearFile(station() / "2004_01-001.ard");
    EXPECT_EQ(y2004[365].date, OleDate::fromDate(2004, 9, 30));
    EXPECT_EQ(y2004[365].meanValue, 100.0f);
}

TEST_F(ConversionFiles, ConvertingAgainRewritesOnlyTheDaysFound) {
    fs::create_directories(station());
    createWaterYear(station(), 2005, "01-001");
    std::map<std::size_t, DayRecord> edited;
    DayRecord other = readWaterYearFile(station() / "2005_01-001.ard")[10];
    other.meanValue = 777;
    other.source = "R 2 ";
    edited[11] = other;
    writeDayRecords(station() / "2005_01-001.ard", edited);

    ASSERT_TRUE(convertLevelDump(loggerDump().image, "01-001", target()).converted);
    const auto days = readWaterYearFile(station() / "2005_01-001.ard");
    EXPECT_EQ(days[10].meanValue, 777.0f);
    EXPECT_EQ(days[0].meanValue, 124.0f);
}

TEST_F(ConversionFiles, AnImageOfTheWrongSizeIsRefused) {
    Bytes image = loggerDump().image;
    image.pop_back();
    const LevelConversionResult r = convertLevelDump(image, "01-001", target());
    EXPECT_FALSE(r.converted);
    EXPECT_EQ(r.message, "Ham veri dosyası 32768 bayt olmalı, bu dosya 32767 bayt");
    EXPECT_TRUE(drive.snapshot().empty());
}

TEST_F(ConversionFiles, NoRecordedDateWritesNothing) {
    DumpBuilder b;
    b.nameDate(1, 1, 26).writePosition(3000);
    const LevelConversionResult r = convertLevelDump(b.image, "01-001", target());
    EXPECT_FALSE(r.converted);
    EXPECT_EQ(r.message, "KAYITLI TARIH BULUNAMADI");
    EXPECT_TRUE(fs::is_empty(drive.path()));
}

TEST_F(ConversionFiles, AStationNumberThatLeavesItsDirectoryIsRefused) {
    for (const char* number : {"../../x", "..", "a/b", "a\\b", "   ", ""}) {
        const LevelConversionResult r = convertLevelDump(loggerDump().image, number, target());
        EXPECT_FALSE(r.converted) << number;
        EXPECT_FALSE(r.message.empty());
    }
    EXPECT_TRUE(fs::is_empty(drive.path()));
}

TEST_F(ConversionFiles, AStationNameOfPathCharactersStaysInTheSideDirectory) {
    DumpBuilder b = loggerDump();
    b.texts("../     ", "R", "N");
    const LevelConversionResult r = convertLevelDump(b.image, " 01-001 ", target());
    ASSERT_TRUE(r.converted);
    for (const auto& [name, bytes] : drive.snapshot())
        EXPECT_TRUE(name.rfind("korvel2000/Ankara/01/01-001/", 0) == 0 ||
                    name.rfind("korvel96/istasyon/01-001/", 0) == 0)
            << name;
    EXPECT_EQ(r.stationCopy.filename(), ".._5-10 .-4");
}

TEST(ReceivedReadings, TextsFileNameReplacesTheCharacterAfterTheLastDot) {
    EXPECT_EQ(stationTextsPathOf("/a/b/ABC5-10 .-4"), fs::path("/a/b/ABC5-10 .m4"));
    EXPECT_EQ(stationTextsPathOf("x.y.-26"), fs::path("x.y.m26"));
    EXPECT_FALSE(stationTextsPathOf("noext"));
    EXPECT_FALSE(stationTextsPathOf("dot."));
}

TEST_F(ConversionFiles, ReceivedReadingsGiveTenTimesTheLevels) {
    const LevelConversionResult first = convertLevelDump(loggerDump().image, "01-001", target());
    ASSERT_TRUE(first.converted);
    const auto texts = readStationTexts(first.readingsFile);
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->stationName, "ABC     ");
    EXPECT_EQ(texts->stationNumber, "01-001  ");
    EXPECT_EQ(texts->riverName, "SAKARYA ");
    const fs::path destination = drive / "other";
    const ReceivedConversionResult r = convertReceivedReadings(first.readingsFile, "01-009", destination);
    ASSERT_TRUE(r.converted) << r.message;
    ASSERT_EQ(r.days.size(), 3u);
    EXPECT_EQ(r.written.written, 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(r.days[i].date, first.days[i].date);
        EXPECT_EQ(r.days[i].source, "L  korvelmaş");
        EXPECT_EQ(r.days[i].rawDataFile, "ABC5-10 .-4");
    }
    EXPECT_EQ(r.days[0].meanValue, 1005.0f);
    EXPECT_EQ(r.days[1].meanValue, 1237.0f);
    EXPECT_EQ(r.days[1].maxLevel, 1240);
    EXPECT_EQ(r.days[1].maxTime, OleDate::fromTime(12, 0, 0));
    EXPECT_EQ(r.days[1].minLevel, 1234);
    EXPECT_EQ(r.days[2].meanValue, 1250.0f);
    EXPECT_EQ(r.copy, destination / "ABC5-10 .-4");
    EXPECT_EQ(readFileBytes(r.copy), readFileBytes(first.readingsFile));
    EXPECT_TRUE(fs::exists(destination / "2005_01-009.ard"));
    EXPECT_TRUE(fs::exists(destination / "2004_01-009.ard"));
    EXPECT_FALSE(fs::exists(destination / "ABC5-10 .m4"));
}

TEST(ReceivedReadings, DivisorsHoursOfTwentyFourAndHighExtremes) {
    // Unit code 10: levels times ten; an extreme above 9800 is stored as 0.
    const Bytes readings = bytesOf({208, 10, 2,  0,    0,    0,    0,   0, 0, 0, 0, 0, 0, //
                                    1,   1,  26, 0x03, 0xE8, 0x03, 0xF2});                // 1000, 1010
    const Bytes texts = [] {
        Bytes t(25, ' ');
        t.insert(t.end(), {30, 24, 0x03, 0xF2, 15, 3, 0x03, 0xE8});
        return t;
    }();
    const auto days = decodeReceivedReadings(readings, texts, "X.-26");
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].meanValue, 10050.0f);
    EXPECT_EQ(days[0].maxLevel, 0); // 10100
    EXPECT_EQ(days[0].maxTime, OleDate::fromTime(0, 30, 0));
    EXPECT_EQ(days[0].minLevel, 0); // 10000
    EXPECT_EQ(days[0].minTime, OleDate::fromTime(3, 15, 0));

    // Another unit code halves each reading before the mean, halves to even.
    Bytes halved = readings;
    halved[1] = 3;
    halved[16] = 0x00, halved[17] = 0x05; // 5 -> 2
    halved[18] = 0x00, halved[19] = 0x07; // 7 -> 4
    const auto h = decodeReceivedReadings(halved, texts, "X.-26");
    EXPECT_EQ(h.at(0).meanValue, 3.0f);
    EXPECT_EQ(h.at(0).maxLevel, 505);
}

TEST(ReceivedReadings, TheEndOfTheFileEndsTheData) {
    Bytes readings = bytesOf({208, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 26, 0x03, 0xE8});
    EXPECT_EQ(decodeReceivedReadings(readings, {}, "X").size(), 1u);
    readings.resize(15); // date cut short
    EXPECT_TRUE(decodeReceivedReadings(readings, {}, "X").empty());
    EXPECT_TRUE(decodeReceivedReadings({}, {}, "X").empty());
    EXPECT_TRUE(decodeReceivedReadings(bytesOf({0, 1, 0}), {}, "X").empty()); // interval 0
}

TEST_F(ConversionFiles, AMissingTextsFileWritesNothing) {
    const LevelConversionResult first = convertLevelDump(loggerDump().image, "01-001", target());
    fs::remove(first.textsFile);
    const auto before = drive.snapshot();
    const ReceivedConversionResult r = convertReceivedReadings(first.readingsFile, "01-001", drive / "dest");
    EXPECT_FALSE(r.converted);
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(drive.snapshot(), before);
    EXPECT_FALSE(fs::exists(drive / "dest"));
}
