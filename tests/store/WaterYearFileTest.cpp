#include "store/WaterYearFile.h"

#include "common/Dates.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <thread>

namespace korvel {
namespace {

using testing::fileBytes;
using testing::ScratchDirectory;
using testing::slice;
using testing::writeBytes;

constexpr std::size_t kFullFile = 46848;

using korvel::testing::day;

DayRecord loggerDay(OleDate date, std::int16_t maxLevel, float mean) {
    DayRecord r;
    r.date = date;
    r.maxLevel = maxLevel;
    r.maxTime = OleDate::fromTime(16, 0, 0);
    r.minLevel = static_cast<std::int16_t>(maxLevel - 10);
    r.minTime = OleDate::fromTime(8, 0, 0);
    r.meanValue = mean;
    r.source = "L  korvelmaş";
    r.rawDataFile = "ist01.dat   ";
    return r;
}

// ---- record layout -------------------------------------------------------------------------

TEST(DayRecordLayout, FieldsSitAtTheirOffsets) {
    DayRecord r;
    r.date = day(2003, 10, 1);
    r.maxLevel = 1234;
    r.maxTime = OleDate::fromTime(16, 0, 0);
    r.minLevel = -5;
    r.minTime = OleDate::fromTime(8, 0, 0);
    r.meanValue = 1250.0F;
    r.source = "L  korvelmaş";
    r.rawDataFile = "ist01.dat   ";

    const Bytes b = serializeDayRecord(r);
    ASSERT_EQ(b.size(), 128u);
    EXPECT_EQ(slice(b, 0, 8), (Bytes{0x00, 0x00, 0x00, 0x00, 0xE0, 0x80, 0xE2, 0x40}));
    EXPECT_EQ(slice(b, 8, 2), (Bytes{0xD2, 0x04}));
    EXPECT_EQ(slice(b, 10, 8), (Bytes{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0xE5, 0x3F}));
    EXPECT_EQ(slice(b, 18, 2), (Bytes{0xFB, 0xFF}));
    EXPECT_EQ(slice(b, 20, 8), (Bytes{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0xD5, 0x3F}));
    EXPECT_EQ(slice(b, 28, 4), (Bytes{0x00, 0x40, 0x9C, 0x44}));
    EXPECT_EQ(slice(b, 32, 12), (Bytes{'L', ' ', ' ', 'k', 'o', 'r', 'v', 'e', 'l', 'm', 'a', 0xFE}));
    EXPECT_EQ(slice(b, 44, 12), (Bytes{'i', 's', 't', '0', '1', '.', 'd', 'a', 't', ' ', ' ', ' '}));
    EXPECT_EQ(slice(b, 56, 72), Bytes(72, 0));

    EXPECT_EQ(parseDayRecord(b), r);
}

TEST(DayRecordLayout, NewRecordHasZeroTextFields) {
    const Bytes b = serializeDayRecord(DayRecord{});
    EXPECT_EQ(b, Bytes(128, 0));
}

TEST(DayRecordLayout, AnyRecordReadAndWrittenAgainKeepsEveryByte) {
    Bytes original(128);
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 37 + 11);
    // NULs inside the text fields and bytes cp1254 leaves undefined.
    original[33] = 0x00;
    original[40] = 0x81;
    original[50] = 0x00;
    original[51] = 0x9D;
    EXPECT_EQ(serializeDayRecord(parseDayRecord(original)), original);
}

TEST(DayRecordLayout, ShortBufferReadsAsZeroPadded) {
    Bytes b = serializeDayRecord(loggerDay(day(2004, 3, 15), 500, 480.0F));
    b.resize(30);
    const DayRecord r = parseDayRecord(b);
    EXPECT_EQ(r.date, day(2004, 3, 15));
    EXPECT_EQ(r.maxLevel, 500);
    EXPECT_EQ(r.meanValue, 0.0F);
    EXPECT_EQ(r.source, std::string(12, '\0'));
    EXPECT_TRUE(isBlankSource(r.source));
}

TEST(DayRecordSource, FirstCharacterDecidesWhetherTheMeanIsADischarge) {
    EXPECT_TRUE(sourceIsDischarge("G  "));
    EXPECT_TRUE(sourceIsDischarge("K korelasyon"));
    EXPECT_FALSE(sourceIsDischarge("L  korvelmaş"));
    EXPECT_FALSE(sourceIsDischarge(" G"));
    EXPECT_FALSE(sourceIsDischarge("g  "));
    EXPECT_FALSE(sourceIsDischarge(std::string(12, '\0')));

    EXPECT_TRUE(isBlankSource(std::string(12, '\0')));
    EXPECT_TRUE(isBlankSource(std::string(12, ' ')));
    EXPECT_TRUE(isBlankSource(std::string("\0R 1", 4)));
    EXPECT_FALSE(isBlankSource("R 1 "));
}

// ---- names and water years -----------------------------------------------------------------

TEST(WaterYearNaming, FileNameCarriesEndYearAndTrimmedStationNumber) {
    EXPECT_EQ(waterYearFileName(2004, "01-001"), "2004_01-001.ard");
    EXPECT_EQ(waterYearFileName(2004, "  01-001   "), "2004_01-001.ard");
}

TEST(WaterYearNaming, OctoberToDecemberBelongToTheNextYear) {
    EXPECT_EQ(waterYearOfDate(day(2003, 11, 15)), 2004);
    EXPECT_EQ(waterYearOfDate(day(2004, 3, 15)), 2004);
    EXPECT_EQ(waterYearOfDate(day(2003, 10, 1)), 2004);
    EXPECT_EQ(waterYearOfDate(day(2004, 9, 30)), 2004);
    EXPECT_EQ(waterYearOfDate(day(2004, 10, 1)), 2005);
    EXPECT_EQ(firstDayOfWaterYear(2004), day(2003, 10, 1));
}

// ---- reading and finding days --------------------------------------------------------------

TEST(WaterYearReading, TrailingPartialRecordIsZeroPadded) {
    Bytes file = serializeDayRecord(loggerDay(day(2003, 10, 1), 300, 290.0F));
    const Bytes second = serializeDayRecord(loggerDay(day(2003, 10, 2), 310, 300.0F));
    file.insert(file.end(), second.begin(), second.begin() + 20);

    const auto records = parseWaterYearFile(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].date, day(2003, 10, 2));
    EXPECT_EQ(records[1].maxLevel, 310);
    EXPECT_EQ(records[1].minLevel, 300);
    EXPECT_EQ(records[1].minTime, OleDate());
    EXPECT_TRUE(parseWaterYearFile(Bytes{}).empty());
    EXPECT_EQ(dayAt(records, 3), DayRecord{});
    EXPECT_EQ(dayAt(records, 0), DayRecord{});
}

TEST(WaterYearReading, FindDayScansUpToTheLimit) {
    std::vector<DayRecord> records(367);
    for (std::size_t n = 1; n <= records.size(); ++n)
        records[n - 1].date = day(2003, 10, 1).plusDays(static_cast<long long>(n - 1));

    EXPECT_EQ(findDay(records, day(2003, 10, 1)), 1u);
    EXPECT_EQ(findDay(records, day(2004, 2, 29)), 152u);
    EXPECT_EQ(findDay(records, day(2004, 9, 30)), 366u);
    EXPECT_EQ(findDay(records, day(2004, 10, 1)), std::nullopt);
    EXPECT_EQ(findDay(records, day(2004, 10, 1), 367), 367u);
    EXPECT_EQ(findDay(records, OleDate()), std::nullopt);
    EXPECT_EQ(findDay({}, day(2003, 10, 1)), std::nullopt);
}

TEST(WaterYearReading, FirstRecordOfMonthLooksAtRecords1To365) {
    std::vector<DayRecord> records(366);
    for (std::size_t n = 1; n <= records.size(); ++n)
        records[n - 1].date = day(2002, 10, 1).plusDays(static_cast<long long>(n - 1));
    EXPECT_EQ(firstRecordOfMonth(records, 10), 1u);
    EXPECT_EQ(firstRecordOfMonth(records, 1), 93u);
    EXPECT_EQ(firstRecordOfMonth(records, 9), 336u);
    EXPECT_EQ(firstRecordOfMonth(records, 13), std::nullopt);

    // A corrupt date neither matches nor breaks the scan.
    records[0].date = OleDate(1e300);
    EXPECT_EQ(firstRecordOfMonth(records, 10), 2u);
}

// ---- creating a water year -----------------------------------------------------------------

TEST(WaterYearCreate, Year2004Holds366DaysFromFirstOctober2003) {
    ScratchDirectory dir;
    const CreatedWaterYear created = createWaterYear(dir.path(), 2004, " 01-001 ");
    EXPECT_FALSE(created.alreadyExisted);
    EXPECT_EQ(created.file, dir / "2004_01-001.ard");

    const Bytes bytes = fileBytes(created.file);
    ASSERT_EQ(bytes.size(), kFullFile);
    const auto records = parseWaterYearFile(bytes);
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records.front().date, day(2003, 10, 1));
    EXPECT_EQ(records[151].date, day(2004, 2, 29));
    EXPECT_EQ(records.back().date, day(2004, 9, 30));
    for (std::size_t n = 1; n <= 366; ++n) {
        DayRecord blank;
        blank.date = day(2003, 10, 1).plusDays(static_cast<long long>(n - 1));
        ASSERT_EQ(recordAt(bytes, 128, n), serializeDayRecord(blank)) << "record " << n;
    }
    EXPECT_TRUE(isBlankSource(records[100].source));
    EXPECT_EQ(records[100].maxLevel, 0);
    EXPECT_EQ(records[100].minLevel, 0);
}

TEST(WaterYearCreate, Year2003EndsWithFirstDayOfTheNextYear) {
    ScratchDirectory dir;
    const auto records = readWaterYearFile(createWaterYear(dir.path(), 2003, "01-001").file);
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records.front().date, day(2002, 10, 1));
    EXPECT_EQ(records[364].date, day(2003, 9, 30));
    EXPECT_EQ(records[365].date, day(2003, 10, 1));
}

TEST(WaterYearCreate, ExistingFileIsLeftUntouched) {
    ScratchDirectory dir;
    const Bytes old = {1, 2, 3, 4, 5};
    writeBytes(dir / "2004_01-001.ARD", old);

    const CreatedWaterYear created = createWaterYear(dir.path(), 2004, "01-001");
    EXPECT_TRUE(created.alreadyExisted);
    EXPECT_EQ(created.file, dir / "2004_01-001.ARD");
    EXPECT_EQ(fileBytes(dir / "2004_01-001.ARD"), old);
    EXPECT_FALSE(fileExists(dir / "2004_01-001.ard"));
}

TEST(WaterYearCreate, YearThatCannotNameAFileIsRefused) {
    ScratchDirectory dir;
    EXPECT_THROW(createWaterYear(dir.path(), 0, "01-001"), std::invalid_argument);
    EXPECT_THROW(createWaterYear(dir.path(), 10000, "01-001"), std::invalid_argument);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// ---- writing days --------------------------------------------------------------------------

TEST(WaterYearWriteDays, AutumnAndSpringDaysGoToTheSameNewFile) {
    ScratchDirectory dir;
    const DayRecord november = loggerDay(day(2003, 11, 15), 420, 410.5F);
    const DayRecord march = loggerDay(day(2004, 3, 15), 515, 500.0F);

    const WrittenDays result = writeDays(dir.path(), "01-001", {november, march});
    EXPECT_EQ(result.written, 2u);
    EXPECT_EQ(result.dropped, 0u);

    const Bytes bytes = fileBytes(dir / "2004_01-001.ard");
    ASSERT_EQ(bytes.size(), kFullFile);
    const auto records = parseWaterYearFile(bytes);
    EXPECT_EQ(records[45], november);
    EXPECT_EQ(records[166], march);
    EXPECT_EQ(records[0].date, day(2003, 10, 1));
    EXPECT_EQ(records[365].date, day(2004, 9, 30));
    EXPECT_TRUE(isBlankSource(records[46].source));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WaterYearWriteDays, FirstOfOctoberStartsTheNextFile) {
    ScratchDirectory dir;
    createWaterYear(dir.path(), 2003, "01-001");
    const Bytes before = fileBytes(dir / "2003_01-001.ard");

    writeDays(dir.path(), "01-001", {loggerDay(day(2003, 10, 1), 100, 95.0F)});
    EXPECT_EQ(fileBytes(dir / "2003_01-001.ard"), before);
    EXPECT_EQ(parseWaterYearFile(fileBytes(dir / "2004_01-001.ard"))[0].maxLevel, 100);
}

TEST(WaterYearWriteDays, RewriteTouchesOnlyItsDayAndKeepsUnusedBytes) {
    ScratchDirectory dir;
    const auto file = createWaterYear(dir.path(), 2004, "01-001").file;
    Bytes bytes = fileBytes(file);
    // Foreign content in the unused tail of day 10 and 11, and a trailing partial record.
    bytes[9 * 128 + 100] = 0xAB;
    bytes[10 * 128 + 60] = 0xCD;
    bytes.insert(bytes.end(), {9, 9, 9});
    writeBytes(file, bytes);

    const DayRecord tenth = loggerDay(day(2003, 10, 10), 250, 245.0F);
    const WrittenDays result = writeDays(dir.path(), "01-001", {tenth});
    EXPECT_EQ(result.written, 1u);

    const Bytes after = fileBytes(file);
    ASSERT_EQ(after.size(), bytes.size());
    Bytes expected = serializeDayRecord(tenth);
    expected[100] = 0xAB;
    EXPECT_EQ(recordAt(after, 128, 10), expected);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i / 128 != 9) {
            ASSERT_EQ(after[i], bytes[i]) << "byte " << i;
        }
    }
}

TEST(WaterYearWriteDays, ValuesThatAreNotNumbersAreRefusedAndNothingIsWritten) {
    ScratchDirectory dir;
    const auto file = createWaterYear(dir.path(), 2004, "01-001").file;
    const Bytes before = fileBytes(file);

    DayRecord infinite = loggerDay(day(2003, 10, 10), 250, std::numeric_limits<float>::infinity());
    infinite.source = "G";
    try {
        writeDays(dir.path(), "01-001", {loggerDay(day(2003, 10, 9), 250, 245.0F), infinite});
        FAIL() << "an infinite discharge was stored";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("Günlük akım sayı değil (10.10.2003)"), std::string::npos)
            << e.what();
    }
    DayRecord badTime = loggerDay(day(2003, 10, 11), 250, 245.0F);
    badTime.maxTime = OleDate(std::nan(""));
    EXPECT_THROW(writeDayRecords(file, {{11, badTime}}), FileError);
    EXPECT_EQ(fileBytes(file), before);
}

TEST(WaterYearWriteDays, EmptyFileIsInitialisedFromItsFirstRecord) {
    ScratchDirectory dir;
    // A first record with the empty date but other content: every new record repeats it.
    DayRecord zero;
    zero.source = "R 1 ";
    zero.reserved[5] = 7;
    writeBytes(dir / "2004_01-001.ard", serializeDayRecord(zero));

    const DayRecord march = loggerDay(day(2004, 3, 15), 515, 500.0F);
    writeDays(dir.path(), "01-001", {march});

    const auto records = readWaterYearFile(dir / "2004_01-001.ard");
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records[0].date, day(2003, 10, 1));
    EXPECT_EQ(records[0].source, "R 1         ");
    EXPECT_EQ(records[365].reserved[5], 7);
    EXPECT_EQ(records[166].source, march.source);
    EXPECT_EQ(records[166].reserved[5], 7);
}

TEST(WaterYearWriteDays, DaysWithoutAPlaceAreDropped) {
    ScratchDirectory dir;
    // A file whose dates are shifted by a day: the first of October has no record.
    Bytes bytes;
    for (std::size_t n = 1; n <= 366; ++n) {
        DayRecord r;
        r.date = day(2003, 10, 2).plusDays(static_cast<long long>(n - 1));
        const Bytes b = serializeDayRecord(r);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    writeBytes(dir / "2004_01-001.ard", bytes);

    DayRecord withTime = loggerDay(day(2003, 10, 5), 1, 1.0F);
    withTime.date = OleDate(withTime.date.value() + 0.5);
    const WrittenDays result =
        writeDays(dir.path(), "01-001",
                  {loggerDay(day(2003, 10, 1), 1, 1.0F), loggerDay(OleDate(), 1, 1.0F),
                   loggerDay(OleDate(1e300), 1, 1.0F), withTime, loggerDay(day(2003, 10, 3), 7, 7.0F)});
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(result.dropped, 4u);
    EXPECT_EQ(parseWaterYearFile(fileBytes(dir / "2004_01-001.ard"))[1].maxLevel, 7);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WaterYearWriteDays, RecordsWithNoChangeAreNotRewritten) {
    ScratchDirectory dir;
    const auto file = createWaterYear(dir.path(), 2004, "01-001").file;
    const auto before = std::filesystem::last_write_time(file);
    // Past the file system's time stamp resolution, so that a write would show.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    DayRecord same;
    same.date = day(2004, 1, 1);
    const WrittenDays result = writeDays(dir.path(), "01-001", {same});
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

} // namespace
} // namespace korvel
