#include "store/RainYearFile.h"

#include "common/Dates.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

using namespace korvel;
namespace fs = std::filesystem;

namespace {

using korvel::testing::day;

Bytes fileBytes(const fs::path& path) {
    return readFileBytes(path).value_or(Bytes{});
}

const char* const kStation = "12-345";
const char* const kFile2004 = "2004_12-345  .yrd";

} // namespace

TEST(RainDayRecord, GoldenOffsets) {
    RainDayRecord record = newRainDayRecord(day(2003, 10, 1));
    record.minuteRain[0] = 1;
    record.minuteRain[847] = 25;
    record.minuteRain[1439] = 7;
    const Bytes bytes = serializeRainDayRecord(record);
    ASSERT_EQ(bytes.size(), 1470u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0xE0, 0x80, 0xE2, 0x40}));
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 28), "L    korvelmas      ");
    EXPECT_EQ(bytes[28], 1);
    EXPECT_EQ(bytes[28 + 847], 25);
    EXPECT_EQ(bytes[28 + 1439], 7);
    EXPECT_EQ(bytes[1468], 0); // entry 1440
    EXPECT_EQ(bytes[1469], 0); // padding
    int nonZero = 0;
    for (std::size_t i = 28; i < 1470; ++i)
        nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, 3);
}

TEST(RainDayRecord, ReadAndWrittenAgainKeepsEveryByte) {
    Bytes bytes(1470);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131 + 7) % 256);
    // Tag bytes as odd as a file may hold: NULs, undefined cp1254 bytes, Turkish letters.
    const std::uint8_t tag[20] = {0x00, 0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E, 0xD0, 0xDD,
                                  0xDE, 0xF0, 0xFD, 0xFE, 0x20, 0x00, 0x7F, 0x80, 0xFF, 0x00};
    std::copy(std::begin(tag), std::end(tag), bytes.begin() + 8);
    const RainDayRecord record = parseRainDayRecord(bytes);
    EXPECT_EQ(serializeRainDayRecord(record), bytes);
    EXPECT_EQ(record.padding, bytes[1469]);
    EXPECT_EQ(record.minuteRain[1440], bytes[1468]);
}

TEST(RainDayRecord, ShortRecordReadsAsZeroPadded) {
    const Bytes bytes(20, 0x11);
    const RainDayRecord record = parseRainDayRecord(bytes);
    EXPECT_EQ(record.minuteRain[0], 0);
    EXPECT_EQ(serializeRainDayRecord(record).size(), 1470u);
    EXPECT_EQ(parseRainDayRecord(Bytes{}), RainDayRecord{});
}

TEST(RainDayRecord, DailyTotalsCountMinutesOfTheDayOnly) {
    RainDayRecord record = newRainDayRecord(day(2004, 5, 1));
    EXPECT_FALSE(isRainyDay(record));
    record.minuteRain[1440] = 200; // not a minute of the day
    EXPECT_FALSE(isRainyDay(record));
    record.minuteRain[847] = 25;
    record.minuteRain[0] = 255;
    record.minuteRain[1439] = 3;
    EXPECT_EQ(dailyTotalTenths(record), 283);
    EXPECT_DOUBLE_EQ(dailyTotalMm(record), 28.3);
    EXPECT_TRUE(isRainyDay(record));
}

TEST(RainYearNames, FileNameKeepsTheStationFieldWidth) {
    EXPECT_EQ(rainYearFileName(2004, "12-345"), kFile2004);
    EXPECT_EQ(rainYearFileName(2004, "12345678"), "2004_12345678.yrd");
    EXPECT_EQ(rainYearFileName(2004, "123456789"), "2004_12345678.yrd");
    EXPECT_EQ(rainYearFileName(2004, "Ağrı1"), "2004_Ağrı1   .yrd");
    EXPECT_EQ(rainYearOfFileName(kFile2004), 2004);
    EXPECT_EQ(rainYearOfFileName("20x4_1.yrd"), std::nullopt);
    EXPECT_EQ(rainYearOfFileName("200"), std::nullopt);
}

TEST(RainYearNames, WaterYearOfADay) {
    EXPECT_EQ(rainWaterYearOfDate(day(2003, 9, 30)), 2003);
    EXPECT_EQ(rainWaterYearOfDate(day(2003, 10, 1)), 2004);
    EXPECT_EQ(rainWaterYearOfDate(day(2003, 11, 15)), 2004);
    EXPECT_EQ(rainWaterYearOfDate(day(2003, 12, 31)), 2004);
    EXPECT_EQ(rainWaterYearOfDate(day(2004, 9, 30)), 2004);
    EXPECT_EQ(rainWaterYearOfDate(OleDate(day(2003, 12, 31).value() + 0.75)), 2004);
}

TEST(RainYearLayout, LeapWaterYearFillsAll366Records) {
    const std::vector<RainDayRecord> records = newRainYearRecords(2004);
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records[0].dayDate, day(2003, 10, 1));
    EXPECT_EQ(records[151].dayDate, day(2004, 2, 29));
    EXPECT_EQ(records[365].dayDate, day(2004, 9, 30));
    const std::vector<RainDayRecord> year = readRainYear(records, 2004);
    ASSERT_EQ(year.size(), 366u);
    EXPECT_EQ(year.back().dayDate, day(2004, 9, 30));
}

TEST(RainYearLayout, CommonWaterYearStopsAtTheNextFirstOfOctober) {
    const std::vector<RainDayRecord> records = newRainYearRecords(2003);
    EXPECT_EQ(records[364].dayDate, day(2003, 9, 30));
    EXPECT_EQ(records[365].dayDate, day(2003, 10, 1));
    const std::vector<RainDayRecord> year = readRainYear(records, 2003);
    ASSERT_EQ(year.size(), 365u);
    EXPECT_EQ(year.back().dayDate, day(2003, 9, 30));
}

TEST(RainYearLayout, ShortFileReadsZeroRecordsPastItsEnd) {
    Bytes bytes;
    for (const RainDayRecord& r : newRainYearRecords(2004)) {
        const Bytes one = serializeRainDayRecord(r);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    bytes.resize(2 * 1470 + 100); // two records and the start of a third
    const std::vector<RainDayRecord> records = parseRainYearFile(bytes);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].dayDate, day(2003, 10, 3));
    EXPECT_EQ(records[2].minuteRain[100], 0);
    EXPECT_EQ(rainRecordAt(records, 4), RainDayRecord{});
    EXPECT_EQ(rainRecordAt(records, 0), RainDayRecord{});
    const std::vector<RainDayRecord> year = readRainYear(records, 2004);
    ASSERT_EQ(year.size(), 366u);
    EXPECT_TRUE(year[3].dayDate.isEmpty());
}

TEST(RainYearLayout, FindingRecords) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    EXPECT_EQ(findRecordByDate(records, day(2003, 10, 1)), 1u);
    EXPECT_EQ(findRecordByDate(records, day(2004, 9, 30)), 366u);
    EXPECT_EQ(findRecordByDate(records, day(2004, 10, 1)), std::nullopt);
    EXPECT_EQ(findRecordByMonthDay(records, 2, 29), 152u);
    EXPECT_EQ(findRecordByMonthDay(records, 12, 30), 91u);
    // The first of two records of the same day wins.
    records[9].dayDate = day(2003, 10, 20);
    EXPECT_EQ(findRecordByDate(records, day(2003, 10, 20)), 10u);
    EXPECT_EQ(findRecordByMonthDay(records, 10, 20), 10u);
    // An empty record (date 0 is 30.12.1899) is no day at all.
    std::vector<RainDayRecord> empty(366);
    EXPECT_EQ(findRecordByDate(empty, OleDate()), std::nullopt);
    EXPECT_EQ(findRecordByMonthDay(empty, 12, 30), std::nullopt);
    // Only records 1..366 are searched.
    std::vector<RainDayRecord> longer = newRainYearRecords(2004);
    longer.push_back(newRainDayRecord(day(2004, 10, 1)));
    EXPECT_EQ(findRecordByDate(longer, day(2004, 10, 1)), std::nullopt);
}

TEST(CreateRainYear, WritesTheEmptyYearFromTheEndYear) {
    korvel::testing::ScratchDirectory dir;
    const CreateRainYearResult result = createRainYear(dir.path(), " 2004 ", kStation);
    ASSERT_TRUE(result.ok()) << result.error->message;
    EXPECT_EQ(result.path, dir.path() / kFile2004);
    const Bytes bytes = fileBytes(result.path);
    ASSERT_EQ(bytes.size(), 366u * 1470u);
    Bytes expected;
    for (const RainDayRecord& r : newRainYearRecords(2004)) {
        const Bytes one = serializeRainDayRecord(r);
        expected.insert(expected.end(), one.begin(), one.end());
    }
    EXPECT_EQ(bytes, expected);
    const std::vector<RainDayRecord> records = parseRainYearFile(bytes);
    EXPECT_EQ(records[0].dayDate, day(2003, 10, 1));
    EXPECT_EQ(records[0].recordTag, "L    korvelmas      ");
    EXPECT_EQ(records[365].dayDate, day(2004, 9, 30));
    // Nothing is left behind but the year file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(CreateRainYear, ExistingFileWithRainfallIsLeftUntouched) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(createRainYear(dir.path(), "2004", kStation).ok());
    const fs::path path = dir.path() / kFile2004;
    std::vector<RainDayRecord> records = parseRainYearFile(fileBytes(path));
    records[40].minuteRain[847] = 25;
    writeRainRecords(path, records, {41});
    const Bytes before = fileBytes(path);

    const CreateRainYearResult again = createRainYear(dir.path(), "2004", kStation);
    ASSERT_FALSE(again.ok());
    EXPECT_NE(again.error->message.find(kFile2004), std::string::npos);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(CreateRainYear, AnswerThatIsNotAYearIsRefused) {
    korvel::testing::ScratchDirectory dir;
    for (const char* answer : {"", "   ", "abcd", "04", "20x4", "20045", "0999", "2004.5", "-200"}) {
        const CreateRainYearResult result = createRainYear(dir.path(), answer, kStation);
        EXPECT_FALSE(result.ok()) << answer;
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(RainDateRepair, WrongDatesTakeTheExpectedDateAndOnlyTheyAreWritten) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(createRainYear(dir.path(), "2004", kStation).ok());
    const fs::path path = dir.path() / kFile2004;
    std::vector<RainDayRecord> records = parseRainYearFile(fileBytes(path));
    records[4].dayDate = day(1999, 1, 1);
    records[4].minuteRain[10] = 9;
    records[4].recordTag = "other tag";
    records[99].dayDate = OleDate();
    writeRainRecords(path, records, {5, 100});
    // A byte outside any field the repair looks at, in a record it must not write.
    Bytes bytes = fileBytes(path);
    bytes[6 * 1470 + 1469] = 0x5A;
    writeFileAtomic(path, bytes);

    const std::optional<RainDateRepair> repair = loadRainYearRepaired(path);
    ASSERT_TRUE(repair);
    EXPECT_EQ(repair->rewritten, (std::vector<std::size_t>{5, 100}));
    EXPECT_EQ(repair->records[4].dayDate, day(2003, 10, 5));
    EXPECT_EQ(repair->records[99].dayDate, day(2004, 1, 8));

    const Bytes after = fileBytes(path);
    ASSERT_EQ(after.size(), bytes.size());
    const std::vector<RainDayRecord> reread = parseRainYearFile(after);
    EXPECT_EQ(reread[4].dayDate, day(2003, 10, 5));
    EXPECT_EQ(reread[4].minuteRain[10], 9);
    EXPECT_EQ(reread[4].recordTag, "other tag           ");
    EXPECT_EQ(reread[99].dayDate, day(2004, 1, 8));
    EXPECT_EQ(after[6 * 1470 + 1469], 0x5A);
    for (std::size_t k = 1; k <= 366; ++k) {
        if (k == 5 || k == 100)
            continue;
        EXPECT_TRUE(std::equal(after.begin() + (k - 1) * 1470, after.begin() + k * 1470,
                               bytes.begin() + (k - 1) * 1470))
            << k;
    }
}

TEST(RainDateRepair, CommonYearStopsBeforeRepairingTheNextYear) {
    std::vector<RainDayRecord> records = newRainYearRecords(2003);
    records[200].dayDate = day(2010, 1, 1);
    const RainDateRepair repair = repairRainDates(readRainYear(records, 2003));
    EXPECT_EQ(repair.records.size(), 365u);
    EXPECT_EQ(repair.rewritten, (std::vector<std::size_t>{201}));
}

TEST(RainDateRepair, DatesAreRepairedBeforeTheEndDateIsLookedFor) {
    // A record in the middle carrying the end date is repaired and the year goes on.
    std::vector<RainDayRecord> records = newRainYearRecords(2003);
    records[100].dayDate = day(2003, 10, 1);
    RainYearDates dates = repairRainYearDates(records, 2003);
    EXPECT_EQ(dates.yearDays, 365u);
    EXPECT_EQ(dates.rewritten, (std::vector<std::size_t>{101}));

    // Record 366 of a common year that lost its date gets the end date and still ends the year.
    records = newRainYearRecords(2003);
    records[365].dayDate = OleDate();
    dates = repairRainYearDates(records, 2003);
    EXPECT_EQ(dates.yearDays, 365u);
    EXPECT_EQ(dates.rewritten, (std::vector<std::size_t>{366}));
    EXPECT_EQ(dates.records[365].dayDate, day(2003, 10, 1));

    // Records past a short file's end are dated too; with no end year the pass runs to 366.
    records = newRainYearRecords(2004);
    records.resize(3);
    dates = repairRainYearDates(records, std::nullopt);
    EXPECT_EQ(dates.yearDays, 366u);
    ASSERT_EQ(dates.records.size(), 366u);
    EXPECT_EQ(dates.rewritten.size(), 363u);
    EXPECT_EQ(dates.records[365].dayDate, day(2004, 9, 30));
}

TEST(RainDateRepair, AFirstDateOutsideTheWaterYearIsNotCountedFrom) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    records[10].dayDate = day(1990, 1, 1);
    for (const double first :
         {std::nan(""), 1e300, -1e6, 0.5, day(2004, 10, 1).value(), day(2003, 9, 30).value()}) {
        records.front().dayDate = OleDate(first);
        const RainYearDates dates = repairRainYearDates(records, 2004);
        EXPECT_TRUE(dates.rewritten.empty()) << first;
        EXPECT_TRUE(std::equal(records.begin() + 1, records.end(), dates.records.begin() + 1)) << first;
        EXPECT_EQ(dates.repairRefused, "Kayıt 1'in tarihi su yılının bir günü değil; tarihler düzeltilmedi");
    }
    // Without a year in the name any calendar date is counted from, but no impossible one.
    records.front().dayDate = OleDate(1e300);
    EXPECT_TRUE(repairRainYearDates(records, std::nullopt).rewritten.empty());
    records.front().dayDate = day(2003, 10, 2);
    const RainYearDates counted = repairRainYearDates(records, 2004);
    EXPECT_TRUE(counted.repairRefused.empty());
    EXPECT_EQ(counted.records[10].dayDate, day(2003, 10, 12));
}

TEST(RainDateRepair, NothingToCountFromLeavesTheRecordsAlone) {
    std::vector<RainDayRecord> records(366);
    records[3].dayDate = day(2003, 10, 4);
    const RainDateRepair repair = repairRainDates(records);
    EXPECT_TRUE(repair.rewritten.empty());
    EXPECT_EQ(repair.records, records);
}

TEST(DownloadedRain, NovemberDayCreatesTheNextYearsFile) {
    korvel::testing::ScratchDirectory dir;
    const RainDownloadResult result =
        writeDownloadedRain(dir.path(), kStation, {{day(2003, 11, 5), {{605, 2}, {606, 0}, {607, 1}}}}, 2);
    ASSERT_TRUE(result.ok());
    const fs::path path = dir.path() / kFile2004;
    EXPECT_EQ(result.initialisedFiles, (std::vector<fs::path>{path}));
    EXPECT_EQ(result.writtenDays, (std::vector<OleDate>{day(2003, 11, 5)}));
    const std::vector<RainDayRecord> records = parseRainYearFile(fileBytes(path));
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records[0].dayDate, day(2003, 10, 1));
    EXPECT_EQ(records[0].recordTag, "L    korvelmas      ");
    const RainDayRecord& nov5 = records[35];
    EXPECT_EQ(nov5.dayDate, day(2003, 11, 5));
    EXPECT_EQ(nov5.minuteRain[605], 4);
    EXPECT_EQ(nov5.minuteRain[606], 0);
    EXPECT_EQ(nov5.minuteRain[607], 2);
    EXPECT_EQ(dailyTotalTenths(nov5), 6);
}

TEST(DownloadedRain, ReportedMinutesAreOverwrittenOthersKept) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(createRainYear(dir.path(), "2004", kStation).ok());
    const fs::path path = dir.path() / kFile2004;
    std::vector<RainDayRecord> records = parseRainYearFile(fileBytes(path));
    RainDayRecord& stored = records[35];
    stored.minuteRain[604] = 11;
    stored.minuteRain[605] = 50;
    stored.minuteRain[606] = 50;
    stored.minuteRain[608] = 13;
    writeRainRecords(path, records, {36});

    const RainDownloadResult result = writeDownloadedRain(
        dir.path(), kStation, {{OleDate(day(2003, 11, 5).value() + 0.4), {{605, 2}, {606, 0}, {607, 1}}}}, 2);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.initialisedFiles.empty());
    const RainDayRecord after = parseRainYearFile(fileBytes(path))[35];
    EXPECT_EQ(after.minuteRain[604], 11);
    EXPECT_EQ(after.minuteRain[605], 4);
    EXPECT_EQ(after.minuteRain[606], 0);
    EXPECT_EQ(after.minuteRain[607], 2);
    EXPECT_EQ(after.minuteRain[608], 13);
}

TEST(DownloadedRain, ProductBeyondAByteIsRefusedNotWrapped) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(createRainYear(dir.path(), "2004", kStation).ok());
    const fs::path path = dir.path() / kFile2004;
    const Bytes before = fileBytes(path);

    const RainDownloadResult result = writeDownloadedRain(
        dir.path(), kStation, {{day(2003, 11, 5), {{600, 1}, {847, 150}}}, {day(2003, 11, 6), {{10, 3}}}}, 2);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].day, day(2003, 11, 5));
    EXPECT_EQ(result.errors[0].minute, 847);
    EXPECT_NE(result.errors[0].message.find("05.11.2003 14:07"), std::string::npos);
    EXPECT_NE(result.errors[0].message.find("300"), std::string::npos);
    EXPECT_EQ(result.writtenDays, (std::vector<OleDate>{day(2003, 11, 6)}));

    const Bytes after = fileBytes(path);
    EXPECT_TRUE(std::equal(after.begin() + 35 * 1470, after.begin() + 36 * 1470, before.begin() + 35 * 1470));
    EXPECT_EQ(parseRainYearFile(after)[36].minuteRain[10], 6);
}

TEST(DownloadedRain, NegativeProductsAndMinutesOutsideTheDayAreRefused) {
    korvel::testing::ScratchDirectory dir;
    RainDownloadResult result = writeDownloadedRain(dir.path(), kStation, {{day(2004, 3, 1), {{5, 1}}}}, -1);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].minute, 5);
    result = writeDownloadedRain(dir.path(), kStation, {{day(2004, 3, 1), {{1440, 1}}}}, 1);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].minute, 1440);
    EXPECT_TRUE(result.writtenDays.empty());
}

TEST(DownloadedRain, DayMissingFromTheFileIsSkipped) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(createRainYear(dir.path(), "2004", kStation).ok());
    const fs::path path = dir.path() / kFile2004;
    std::vector<RainDayRecord> records = parseRainYearFile(fileBytes(path));
    records[35].dayDate = day(2003, 11, 4); // 5 November is nowhere now
    writeRainRecords(path, records, {36});
    const Bytes before = fileBytes(path);

    const RainDownloadResult result =
        writeDownloadedRain(dir.path(), kStation, {{day(2003, 11, 5), {{1, 1}}}}, 1);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.skippedDays, (std::vector<OleDate>{day(2003, 11, 5)}));
    EXPECT_EQ(fileBytes(path), before);
}

TEST(DownloadedRain, OneBatchReachesEachYearFile) {
    korvel::testing::ScratchDirectory dir;
    const RainDownloadResult result = writeDownloadedRain(
        dir.path(), kStation,
        {{day(2003, 9, 30), {{0, 1}}}, {day(2003, 10, 1), {{0, 2}}}, {day(2003, 10, 2), {{0, 3}}}}, 1);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.initialisedFiles.size(), 2u);
    const std::vector<RainDayRecord> y2003 = parseRainYearFile(fileBytes(dir.path() / "2003_12-345  .yrd"));
    const std::vector<RainDayRecord> y2004 = parseRainYearFile(fileBytes(dir.path() / kFile2004));
    EXPECT_EQ(y2003[364].minuteRain[0], 1);
    // 1.10.2003 is also record 366 of 2003, which readers skip; the day goes to the 2004 file.
    EXPECT_EQ(y2003[365].minuteRain[0], 0);
    EXPECT_EQ(y2004[0].minuteRain[0], 2);
    EXPECT_EQ(y2004[1].minuteRain[0], 3);
}

TEST(DownloadedRain, UndatedFileHoldingRainIsNotLaidOutAgain) {
    korvel::testing::ScratchDirectory dir;
    const fs::path path = dir.path() / kFile2004;
    Bytes bytes(3 * 1470, 0);
    bytes[1470 + 28 + 100] = 40; // rain in record 2, record 1 without a date
    writeFileAtomic(path, bytes);

    const RainDownloadResult result =
        writeDownloadedRain(dir.path(), kStation, {{day(2003, 10, 1), {{1, 1}}}}, 1);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_TRUE(result.errors[0].day.isEmpty());
    EXPECT_EQ(fileBytes(path), bytes);
}

TEST(DownloadedRain, EmptyFileIsLaidOutAsANewYear) {
    korvel::testing::ScratchDirectory dir;
    const fs::path path = dir.path() / kFile2004;
    writeFileAtomic(path, Bytes{});
    const RainDownloadResult result =
        writeDownloadedRain(dir.path(), kStation, {{day(2004, 9, 30), {{1439, 5}}}}, 1);
    ASSERT_TRUE(result.ok());
    const std::vector<RainDayRecord> records = parseRainYearFile(fileBytes(path));
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records[365].minuteRain[1439], 5);
}

TEST(EditedRainDay, MinutesAreTenthsRoundedHalfToEven) {
    RainDayRecord buffer = newRainDayRecord(day(2004, 5, 1));
    buffer.minuteRain.fill(99);
    EditedRainMinutes minutes;
    minutes[847] = 2.5; // 14:07
    minutes[0] = 0.25;  // 2.5 tenths -> 2
    minutes[1] = 0.35;  // 3.5 tenths -> 4
    minutes[2] = 25.5;  // the largest value a minute holds
    minutes[3] = 0.0;
    const RainEditResult result = applyEditedMinutes(buffer, minutes);
    ASSERT_TRUE(result.ok());
    const RainDayRecord& r = *result.record;
    EXPECT_EQ(r.minuteRain[847], 25);
    EXPECT_EQ(r.minuteRain[0], 2);
    EXPECT_EQ(r.minuteRain[1], 4);
    EXPECT_EQ(r.minuteRain[2], 255);
    EXPECT_EQ(r.minuteRain[3], 0);
    EXPECT_EQ(r.minuteRain[500], 0); // empty cell
    EXPECT_EQ(dailyTotalTenths(r), 25 + 2 + 4 + 255);
}

TEST(EditedRainDay, ValueOutsideAByteIsRefusedNamingTheMinute) {
    EditedRainMinutes tooMuch;
    tooMuch[847] = 25.6;
    RainEditResult result = applyEditedMinutes(newRainDayRecord(day(2004, 5, 1)), tooMuch);
    ASSERT_FALSE(result.ok());
    EXPECT_FALSE(result.record);
    EXPECT_EQ(result.error->minute, 847);
    EXPECT_NE(result.error->message.find("14:07"), std::string::npos);

    EditedRainMinutes negative;
    negative[61] = -0.01;
    result = applyEditedMinutes(newRainDayRecord(day(2004, 5, 1)), negative);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->minute, 61);
}

TEST(EditedRainDay, WholeRecordWrittenAtItsNumberOrNothing) {
    korvel::testing::ScratchDirectory dir;
    ASSERT_TRUE(createRainYear(dir.path(), "2004", kStation).ok());
    const fs::path path = dir.path() / kFile2004;
    Bytes before = fileBytes(path);
    before[212 * 1470 + 1469] = 0x33; // padding as read is written back as read
    writeFileAtomic(path, before);
    RainDayRecord buffer = parseRainYearFile(before)[212];

    EditedRainMinutes refused;
    refused[3] = 30.0;
    EXPECT_FALSE(writeEditedRainDay(path, 213, buffer, refused).ok());
    EXPECT_FALSE(writeEditedRainDay(path, 0, buffer, EditedRainMinutes{}).ok());
    EXPECT_FALSE(writeEditedRainDay(path, 367, buffer, EditedRainMinutes{}).ok());
    EXPECT_EQ(fileBytes(path), before);

    EditedRainMinutes minutes;
    minutes[360] = 0.3;
    ASSERT_TRUE(writeEditedRainDay(path, 213, buffer, minutes).ok());
    const Bytes after = fileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    Bytes expected = before;
    expected[212 * 1470 + 28 + 360] = 3;
    EXPECT_EQ(after, expected);
}
