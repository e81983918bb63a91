#include "instruments/LevelConversion.h"

#include "DumpBuilder.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

constexpr int k720Minutes = 144; // two readings a day: small blocks of 15 bytes

OleDate date(int y, int m, int d) {
    return OleDate::fromDate(y, m, d);
}

// Three days at 12-hour readings: two complete, the third in progress with one reading, the
// bytes after the write position left over from an earlier turn of the ring.
DumpBuilder threeDays() {
    DumpBuilder b;
    b.texts("ABC     ", "SAKARYA ", "LOGGER01")
        .nameDate(5, 10, 4)
        .interval(k720Minutes)
        .unit(1)
        .markerBefore(263);
    for (int k = 4; k <= 8; ++k)
        b.p(k, k - 3);
    std::size_t p = b.block(263, 5, 10, 4, {1234, 1240}, BlockExtreme{0, 12, 1240}, BlockExtreme{0, 0, 1234});
    EXPECT_EQ(p, 278u);
    p = b.block(p, 6, 10, 4, {1300, 1100}, BlockExtreme{0, 0, 1300}, BlockExtreme{0, 12, 1100});
    p = b.block(p, 7, 10, 4, {1250});
    b.writePosition(p);
    b.put(p, Bytes(10, 0x99));
    return b;
}

} // namespace

TEST(DayBlocks, BlockSizeFollowsTheInterval) {
    EXPECT_EQ(readingsPerDay(15), 96);
    EXPECT_EQ(dayBlockSize(15), 203);
    EXPECT_EQ(dayBlockSize(1), 2891);
    EXPECT_EQ(dayBlockSize(720), 15);
    EXPECT_EQ(intervalMinutesOfCode(0), 1);
    EXPECT_EQ(intervalMinutesOfCode(3), 15);
}

TEST(DayBlocks, BcdPairsAndDivisors) {
    EXPECT_EQ(bcdPair(0x12, 0x34), 1234);
    EXPECT_EQ(bcdPair(0x01, 0x25), 125);
    EXPECT_EQ(bcdPair(0xFF, 0xFF), 16665);
    EXPECT_EQ(toBcdPair(1234), (std::array<std::uint8_t, 2>{0x12, 0x34}));
    EXPECT_EQ(levelDivisor(1), 10.0);
    EXPECT_EQ(levelDivisor(10), 1.0);
    EXPECT_EQ(levelDivisor(3), 2.0);
    EXPECT_EQ(levelDivisor(0), 2.0);
}

TEST(DayBlocks, TheRingWrapsFrom32767To256) {
    EXPECT_EQ(nextRingPosition(32767), 256u);
    EXPECT_EQ(previousRingPosition(256), 32767u);
    EXPECT_EQ(advanceRingPosition(32766, 3), 257u);
    EXPECT_EQ(loggerYear(29), 2029);
    EXPECT_EQ(loggerYear(30), 1930);
    EXPECT_TRUE(isValidBlockDate(31, 2, 4));
    EXPECT_FALSE(blockDate(31, 2, 4));
    EXPECT_FALSE(isValidBlockDate(0, 0, 0));
    EXPECT_FALSE(isValidBlockDate(1, 13, 4));
    EXPECT_FALSE(isValidBlockDate(1, 1, 100));
}

TEST(SideFiles, NamesPadTheBaseToEightCharacters) {
    DumpBuilder b;
    b.texts("ABCDEFGH", "R", "N").nameDate(5, 10, 4);
    const LevelDumpHeader h = readLevelDumpHeader(b.image);
    EXPECT_EQ(dayReadingsFileName(h), "ABC5-10 .-4");
    EXPECT_EQ(stationTextsFileName(h), "ABC5-10 .m4");

    b.nameDate(15, 12, 26);
    EXPECT_EQ(dayReadingsFileName(readLevelDumpHeader(b.image)), "ABC15-12.-26");
    b.nameDate(155, 255, 104);
    EXPECT_EQ(dayReadingsFileName(readLevelDumpHeader(b.image)), "ABC155-2.-04");
    b.texts("\xC7"
            "AY",
            "R", "N")
        .nameDate(1, 2, 3);
    EXPECT_EQ(stationTextsFileName(readLevelDumpHeader(b.image)), "ÇAY1-2  .m3");
    // Characters that cannot stand in a file name.
    b.texts("../", "R", "N");
    EXPECT_EQ(dayReadingsFileName(readLevelDumpHeader(b.image)), ".._1-2  .-3");
    b.texts(std::string("A\0B", 3), "R", "N");
    EXPECT_EQ(dayReadingsFileName(readLevelDumpHeader(b.image)), "A_B1-2  .-3");
}

TEST(LevelDumpDecoding, SideFileBytesAreExact) {
    const DumpBuilder b = threeDays();
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.readingsFileName, "ABC5-10 .-4");
    EXPECT_EQ(d.textsFileName, "ABC5-10 .m4");
    const Bytes readings = bytesOf({208, 1,  2, 0,    1,    2,    3,    4, 5, 0x04, 0xD2, 0, 32, //
                                    5,   10, 4, 0x04, 0xD2, 0x04, 0xD8,                          //
                                    6,   10, 4, 0x05, 0x14, 0x04, 0x4C,                          //
                                    7,   10, 4, 0x04, 0xE2});
    EXPECT_EQ(d.readingsFile, readings);
    Bytes texts;
    for (const char c : std::string("ABC     01-001  SAKARYA "))
        texts.push_back(static_cast<std::uint8_t>(c));
    texts.push_back(0);
    for (const int v : {0, 12, 0x04, 0xD8, 0, 0, 0x04, 0xD2, 0, 0, 0x05, 0x14,
                        0, 12, 0x04, 0x4C, 0, 0, 0x04, 0xE2, 0, 0, 0x04, 0xE2})
        texts.push_back(static_cast<std::uint8_t>(v));
    EXPECT_EQ(d.textsFile, texts);
}

TEST(LevelDumpDecoding, DayRecordsTakeTheDivisorHalfToEven) {
    const DecodedLevelDump d = decodeLevelDump(threeDays().image, "01-001");
    ASSERT_EQ(d.days.size(), 3u);
    const DayRecord& first = d.days[0];
    EXPECT_EQ(first.date, date(2004, 10, 5));
    EXPECT_EQ(first.meanValue, 124.0f); // (1234 + 1240) / 2 / 10 = 123.7
    EXPECT_EQ(first.maxLevel, 124);
    EXPECT_EQ(first.maxTime, OleDate::fromTime(12, 0, 0));
    EXPECT_EQ(first.minLevel, 123); // 123.4
    EXPECT_EQ(first.minTime, OleDate::fromTime(0, 0, 0));
    EXPECT_EQ(first.source, "L  korvelmaş");
    EXPECT_EQ(first.rawDataFile, "ABC5-10 .-4");
    EXPECT_EQ(d.days[1].meanValue, 120.0f);
    EXPECT_EQ(d.days[1].minTime, OleDate::fromTime(12, 0, 0));
    EXPECT_EQ(d.days[1].minLevel, 110);
}

TEST(LevelDumpDecoding, TheDayInProgressIsReadFromTheReadingsPresent) {
    const DecodedLevelDump d = decodeLevelDump(threeDays().image, "01-001");
    ASSERT_EQ(d.days.size(), 3u);
    EXPECT_TRUE(d.lastDayInProgress);
    const DayRecord& today = d.days[2];
    EXPECT_EQ(today.date, date(2004, 10, 7));
    // Neither the unwritten reading nor the trailer bytes beyond the write position count.
    EXPECT_EQ(today.meanValue, 125.0f);
    EXPECT_EQ(today.maxLevel, 125);
    EXPECT_EQ(today.minLevel, 125);
    EXPECT_EQ(today.maxTime, OleDate::fromTime(0, 0, 0));
}

TEST(LevelDumpDecoding, ExtremesOfTheDayInProgressComeFromItsReadings) {
    DumpBuilder b;
    b.nameDate(1, 1, 26).interval(72).unit(10).markerBefore(300); // 6-hour readings, N = 4
    std::size_t p = b.block(300, 1, 1, 26, {300, 420, 280});
    b.writePosition(p);
    b.put(p, bytesOf({0x99, 0x99, 30, 23, 0x99, 0x99, 45, 22, 0, 1}));
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 1u);
    EXPECT_EQ(d.days[0].maxLevel, 420);
    EXPECT_EQ(d.days[0].maxTime, OleDate::fromTime(6, 0, 0));
    EXPECT_EQ(d.days[0].minLevel, 280);
    EXPECT_EQ(d.days[0].minTime, OleDate::fromTime(12, 0, 0));
    EXPECT_EQ(d.days[0].meanValue, 333.0f); // 1000 / 3
    // The texts file holds the same extremes.
    const Bytes& t = d.textsFile;
    ASSERT_EQ(t.size(), 33u);
    EXPECT_EQ(Bytes(t.begin() + 25, t.end()), bytesOf({0, 6, 0x01, 0xA4, 0, 12, 0x01, 0x18}));
}

TEST(LevelDumpDecoding, UnitCodesSetTheDivisor) {
    auto meanOf = [](int unit, int reading) {
        DumpBuilder b;
        b.nameDate(1, 1, 26).interval(k720Minutes).unit(unit).markerBefore(263);
        b.writePosition(b.block(263, 1, 1, 26, {reading, reading}, BlockExtreme{0, 0, reading},
                                BlockExtreme{0, 12, reading}));
        const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
        EXPECT_EQ(d.days.size(), 1u);
        return std::make_tuple(d.days.at(0).meanValue, d.days.at(0).maxLevel, d.days.at(0).minLevel);
    };
    EXPECT_EQ(meanOf(1, 1234), std::make_tuple(123.0f, std::int16_t(123), std::int16_t(123)));
    EXPECT_EQ(meanOf(10, 125), std::make_tuple(125.0f, std::int16_t(125), std::int16_t(125)));
    EXPECT_EQ(meanOf(3, 125), std::make_tuple(62.0f, std::int16_t(62), std::int16_t(62)));
    EXPECT_EQ(meanOf(3, 127), std::make_tuple(64.0f, std::int16_t(64), std::int16_t(64))); // 63.5 -> 64
}

TEST(LevelDumpDecoding, AConstantDayOfFifteenMinuteReadings) {
    DumpBuilder b;
    b.nameDate(2, 1, 26).interval(3).unit(1).markerBefore(263);
    const std::size_t end = b.block(263, 1, 1, 26, std::vector<int>(96, 1234), BlockExtreme{0, 0, 1234},
                                    BlockExtreme{0, 0, 1234});
    EXPECT_EQ(end - 263, 203u);
    b.writePosition(end);
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 1u);
    EXPECT_EQ(d.days[0].meanValue, 123.0f);
    EXPECT_EQ(d.days[0].maxLevel, 123);
    EXPECT_EQ(d.days[0].minLevel, 123);
    EXPECT_FALSE(d.lastDayInProgress);
    EXPECT_EQ(d.readingsFile.size(), 13u + 3 + 192);
}

TEST(LevelDumpDecoding, ABlockAtTheRingEndContinuesAt256) {
    DumpBuilder b;
    b.nameDate(2, 2, 26).interval(k720Minutes).unit(10).markerBefore(32766);
    const std::size_t end =
        b.block(32766, 1, 2, 26, {210, 220}, BlockExtreme{0, 12, 220}, BlockExtreme{0, 0, 210});
    EXPECT_EQ(b.at(32766), 1);
    EXPECT_EQ(b.at(32767), 2);
    EXPECT_EQ(b.at(256), 26);
    EXPECT_EQ(end, 269u);
    b.writePosition(end);
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 1u);
    EXPECT_EQ(d.days[0].date, date(2026, 2, 1));
    EXPECT_EQ(d.days[0].meanValue, 215.0f);
    EXPECT_EQ(Bytes(d.readingsFile.begin() + 13, d.readingsFile.end()), bytesOf({1, 2, 26, 0, 210, 0, 220}));
}

TEST(LevelDumpDecoding, WithoutTheMarkerTheDateSearchFindsABlockOfTheYearBefore) {
    DumpBuilder b;
    b.nameDate(1, 1, 4).interval(k720Minutes).unit(10).ringStart(255); // no marker
    std::size_t p = b.block(10000, 31, 12, 3, {125, 125}, BlockExtreme{0, 0, 125}, BlockExtreme{0, 0, 125});
    p = b.block(p, 1, 1, 4, {130});
    b.writePosition(p);
    EXPECT_EQ(firstBlockPosition(b.image, readLevelDumpHeader(b.image)), std::optional<std::size_t>(10000));
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 2u);
    EXPECT_EQ(d.days[0].date, date(2003, 12, 31));
    EXPECT_EQ(d.days[1].date, date(2004, 1, 1));
}

TEST(LevelDumpDecoding, YearZeroSearchesForNinetyNineToo) {
    DumpBuilder b;
    b.nameDate(1, 1, 0).interval(k720Minutes).unit(10);
    // Zero bytes would read as a date of year 0 themselves: the ring holds other bytes.
    b.put(256, Bytes(levellogger::kRingSize, 0xEE));
    const std::size_t p =
        b.block(20000, 31, 12, 99, {125, 125}, BlockExtreme{0, 0, 125}, BlockExtreme{0, 0, 125});
    b.writePosition(p);
    EXPECT_EQ(firstBlockPosition(b.image, readLevelDumpHeader(b.image)), std::optional<std::size_t>(20000));
    EXPECT_EQ(decodeLevelDump(b.image, "01-001").days.at(0).date, date(1999, 12, 31));
}

TEST(LevelDumpDecoding, TheSearchStartsAtTheWritePosition) {
    // Two candidate dates; the first one after the write position in ring order wins.
    DumpBuilder b;
    b.nameDate(1, 1, 26).interval(k720Minutes).unit(10);
    b.block(5000, 3, 1, 26, {100, 100}, BlockExtreme{0, 0, 100}, BlockExtreme{0, 0, 100});
    b.block(30000, 2, 1, 26, {100, 100}, BlockExtreme{0, 0, 100}, BlockExtreme{0, 0, 100});
    b.writePosition(20000);
    EXPECT_EQ(firstBlockPosition(b.image, readLevelDumpHeader(b.image)), std::optional<std::size_t>(30000));
    b.writePosition(4000);
    EXPECT_EQ(firstBlockPosition(b.image, readLevelDumpHeader(b.image)), std::optional<std::size_t>(5000));
}

TEST(LevelDumpDecoding, NoMarkerAndNoDateFindsNothing) {
    DumpBuilder b;
    b.nameDate(1, 1, 26).writePosition(4000);
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    EXPECT_FALSE(d.found);
    EXPECT_TRUE(d.readingsFile.empty());
    // A write position outside the ring finds nothing either.
    b.writePosition(100);
    EXPECT_FALSE(decodeLevelDump(b.image, "01-001").found);
}

TEST(LevelDumpDecoding, ADateOfZeroEndsTheConversion) {
    DumpBuilder b;
    b.nameDate(1, 1, 26).interval(k720Minutes).unit(10).markerBefore(263).writePosition(9000);
    const std::size_t p =
        b.block(263, 1, 1, 26, {100, 102}, BlockExtreme{0, 12, 102}, BlockExtreme{0, 0, 100});
    b.put(p + 3, bytesOf({0x01, 0x05, 0x01, 0x05}));
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 1u);
    EXPECT_FALSE(d.lastDayInProgress);
    // The zero date is in the readings file, nothing after it.
    EXPECT_EQ(Bytes(d.readingsFile.end() - 3, d.readingsFile.end()), bytesOf({0, 0, 0}));
    EXPECT_EQ(d.readingsFile.size(), 13u + 7 + 3);
    EXPECT_EQ(d.textsFile.size(), 25u + 8);
}

TEST(LevelDumpDecoding, ABlockTheLoggerHasNotStartedIsNotRead) {
    // The day ended and its trailer is written; the next date lies at the write position, where
    // an earlier turn of the ring left a valid-looking block.
    DumpBuilder b;
    b.nameDate(2, 1, 26).interval(k720Minutes).unit(10).markerBefore(263);
    const std::size_t p =
        b.block(263, 1, 1, 26, {100, 102}, BlockExtreme{0, 12, 102}, BlockExtreme{0, 0, 100});
    b.block(p, 10, 8, 25, {300, 300}, BlockExtreme{0, 0, 300}, BlockExtreme{0, 0, 300});
    b.writePosition(p);
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 1u);
    EXPECT_EQ(d.readingsFile.size(), 13u + 7);
}

TEST(LevelDumpDecoding, AnImpossibleDateIsSkippedButTheWalkGoesOn) {
    DumpBuilder b;
    b.nameDate(2, 3, 26).interval(k720Minutes).unit(10).markerBefore(263);
    std::size_t p = b.block(263, 31, 2, 26, {100, 100}, BlockExtreme{0, 0, 100}, BlockExtreme{0, 0, 100});
    p = b.block(p, 1, 3, 26, {200, 200}, BlockExtreme{0, 0, 200}, BlockExtreme{0, 0, 200});
    b.writePosition(p);
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    ASSERT_EQ(d.days.size(), 1u);
    EXPECT_EQ(d.days[0].date, date(2026, 3, 1));
    EXPECT_EQ(d.textsFile.size(), 25u + 16); // both days keep their place in the side files
}

TEST(LevelDumpDecoding, AFullRingWithoutTheWritePositionEndsOnceRoundTheRing) {
    DumpBuilder b;
    b.nameDate(2, 3, 26).interval(k720Minutes).unit(10).markerBefore(263).writePosition(5);
    std::size_t p = 263;
    for (int i = 0; i < 2167; ++i)
        p = b.block(p, 1, 3, 26, {200, 200}, BlockExtreme{0, 0, 200}, BlockExtreme{0, 0, 200});
    const DecodedLevelDump d = decodeLevelDump(b.image, "01-001");
    EXPECT_EQ(d.days.size(), 32512u / 15);
}

TEST(LevelDumpDecoding, ConfirmedStationNumberGoesIntoTheTextsFile) {
    const DecodedLevelDump d = decodeLevelDump(threeDays().image, "02-123456789");
    EXPECT_EQ(std::string(d.textsFile.begin() + 8, d.textsFile.begin() + 16), "02-12345");
}
