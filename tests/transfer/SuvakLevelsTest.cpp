#include "transfer/SuvakLevels.h"

#include "common/ScratchDirectory.h"
#include "transfer/SuvakFields.h"
#include "transfer/SuvakFiles.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

OleDate at(int hour, int minute) {
    return OleDate::fromTime(hour, minute, 0);
}

class SuvakLevelImport : public ::testing::Test {
protected:
    fs::path source(const std::string& name, const Bytes& bytes) {
        const fs::path file = sourceDir / name;
        writeBytes(file, bytes);
        return file;
    }
    ImportOutcome import(const std::string& name, const Bytes& bytes) {
        return importSuvakLevels(source(name, bytes), stationDir, "01-001  ");
    }
    std::vector<DayRecord> waterYear(int year) const {
        return readWaterYearFile(stationDir / waterYearFileName(year, "01-001"));
    }
    DayRecord day(int year, int month, int dayOfMonth) const {
        const auto records = waterYear(month >= 10 ? year + 1 : year);
        const auto n = findDay(records, OleDate::fromDate(year, month, dayOfMonth));
        return n ? records[*n - 1] : DayRecord{};
    }

    ScratchDirectory scratch;
    fs::path sourceDir = scratch / "suvak";
    fs::path stationDir = scratch / "01-001";

    void SetUp() override {
        fs::create_directories(sourceDir);
        fs::create_directories(stationDir);
    }
};

} // namespace

TEST(SuvakFields, FieldsEndAtCommasAndLineEnds) {
    EXPECT_EQ(readFieldList("  12, 3 ,\r\n4\n5\r6"),
              (std::vector<std::string>{"12", "3", "", "4", "5", "6"}));
    EXPECT_EQ(readFieldList("1,2\r\n"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(readFieldList("1,,\r\n"), (std::vector<std::string>{"1", "", ""}));
    EXPECT_EQ(readFieldList("\"a, b\" ,\"\\\",3"), (std::vector<std::string>{"a, b", "\\", "3"}));
    EXPECT_TRUE(readFieldList("").empty());

    const std::vector<std::string> fields = readFieldList("1,2");
    EXPECT_EQ(fieldAt(fields, 2), "2");
    EXPECT_EQ(fieldAt(fields, 3), "");
    EXPECT_EQ(fieldAt(fields, 0), "");
}

TEST(SuvakFields, TextEndsAtTheEndOfFileMarkAndRefusesControlBytes) {
    EXPECT_EQ(suvakTextOf(bytesOf("1,2\x1A"
                                  "garbage\x01")),
              "1,2");
    EXPECT_TRUE(isSuvakText(bytesOf("1,2\x1A\x01")));
    EXPECT_TRUE(isSuvakText(bytesOf("1\t2\r\nÇ")));
    EXPECT_FALSE(isSuvakText(Bytes{'1', 0, '2'}));
    EXPECT_FALSE(isSuvakText(Bytes{'1', 0x7F}));
}

TEST(SuvakFields, TimeDigits) {
    EXPECT_EQ(parseTimeDigits("830"), at(8, 30));
    EXPECT_EQ(parseTimeDigits("0830"), at(8, 30));
    EXPECT_EQ(parseTimeDigits("5"), at(5, 0));
    EXPECT_EQ(parseTimeDigits("14"), at(14, 0));
    EXPECT_EQ(parseTimeDigits("2359"), at(23, 59));
    EXPECT_EQ(parseTimeDigits(""), at(0, 0));
    EXPECT_FALSE(parseTimeDigits("2400"));
    EXPECT_FALSE(parseTimeDigits("860"));
    EXPECT_FALSE(parseTimeDigits("8:30"));
    EXPECT_FALSE(parseTimeDigits("-5"));
}

TEST(SuvakLevelNames, YearAndMonthOfTheName) {
    const auto november = parseSuvakLevelName("o0401001.11o");
    ASSERT_TRUE(november);
    EXPECT_EQ(november->year, 2003); // October to December belong to the water year ending next year
    EXPECT_EQ(november->month, 11);
    const auto march = parseSuvakLevelName("O0401001.03O");
    ASSERT_TRUE(march);
    EXPECT_EQ(march->year, 2004);
    EXPECT_EQ(march->month, 3);
    EXPECT_EQ(parseSuvakLevelName("o9801001.10o")->year, 1997);
    EXPECT_EQ(parseSuvakLevelName("o0001001.12o")->year, 1999);

    for (const char* bad : {"o0401001.13o", "o0401001.00o", "oAB01001.11o", "o0401001.1Xo", "o0401001.11x",
                            "o040100111.o", "o04010.11o", "x0401001.11o"})
        EXPECT_FALSE(parseSuvakLevelName(bad)) << bad;
}

TEST_F(SuvakLevelImport, StaffGaugeMonthFillsItsWaterYear) {
    StaffMonthFile month;
    month.readings[1] = {"1250", "1190"};
    month.readings[2] = {"1250", "0"};
    month.readings[3] = {"900", "950"};
    for (int d = 1; d <= 30; ++d)
        month.means[d] = "1000.5";
    month.highest = {"1400", "3", "830"};
    month.lowest = {"800", "3", "5"};

    const ImportOutcome outcome = import("o0401001.11o", month.bytes());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(outcome.target, stationDir / "2004_01-001.ard");
    EXPECT_EQ(outcome.written, 30u);

    // The file is created with the first-write rule: 366 records from 1 October 2003.
    const auto records = waterYear(2004);
    ASSERT_EQ(records.size(), 366u);
    EXPECT_EQ(records[0].date, OleDate::fromDate(2003, 10, 1));
    EXPECT_TRUE(isBlankSource(records[0].source));
    EXPECT_TRUE(isBlankSource(day(2003, 12, 1).source));

    // 1250 at 08:00 and 1190 at 16:00.
    const DayRecord first = day(2003, 11, 1);
    EXPECT_EQ(first.maxLevel, 1250);
    EXPECT_EQ(first.maxTime, at(8, 0));
    EXPECT_EQ(first.minLevel, 1190);
    EXPECT_EQ(first.minTime, at(16, 0));
    EXPECT_FLOAT_EQ(first.meanValue, 1000.5F);
    EXPECT_EQ(first.source, "R 2 SUVAK   ");
    EXPECT_EQ(first.rawDataFile, std::string(12, ' '));

    // No 16:00 reading: one reading, the 0 taking the lower slot at 16:00.
    const DayRecord second = day(2003, 11, 2);
    EXPECT_EQ(second.source, "R 1 SUVAK   ");
    EXPECT_EQ(second.maxLevel, 1250);
    EXPECT_EQ(second.maxTime, at(8, 0));
    EXPECT_EQ(second.minLevel, 0);
    EXPECT_EQ(second.minTime, at(16, 0));

    // Day 3 is the day of both extremes: "830" is 08:30, "5" is 05:00.
    const DayRecord third = day(2003, 11, 3);
    EXPECT_EQ(third.maxLevel, 1400);
    EXPECT_EQ(third.maxTime, at(8, 30));
    EXPECT_EQ(third.minLevel, 800);
    EXPECT_EQ(third.minTime, at(5, 0));
    EXPECT_EQ(third.source, "R 2 SUVAK   ");
}

TEST_F(SuvakLevelImport, DayRecordBytesAreExact) {
    StaffMonthFile month;
    month.readings[1] = {"1250", "1190"};
    for (int d = 1; d <= 30; ++d)
        month.means[d] = "1220";
    ASSERT_FALSE(import("o0401001.11o", month.bytes()).skipped());

    const Bytes file = fileBytes(stationDir / "2004_01-001.ard");
    ASSERT_EQ(file.size(), 366u * 128u);
    const std::size_t n = 31; // 1 November 2003
    const Bytes record = slice(file, n * 128, 128);
    Bytes expected(128, 0);
    ByteWriter writer(expected);
    writer.f64(0, 37926.0); // 1 November 2003
    writer.i16(8, 1250);
    writer.f64(10, 8.0 / 24.0);
    writer.i16(18, 1190);
    writer.f64(20, 16.0 / 24.0);
    writer.f32(28, 1220.0F);
    writer.raw(32, "R 2 SUVAK   ");
    writer.raw(44, "            ");
    EXPECT_EQ(record, writer.bytes());
}

TEST_F(SuvakLevelImport, MonthEndsAtADailyMeanOfZeroFromDay28) {
    // A 30-day month whose field 31 is 0: day 31 is not stored (and does not exist).
    StaffMonthFile april;
    for (int d = 1; d <= 30; ++d)
        april.means[d] = "500";
    EXPECT_EQ(import("o0401001.04o", april.bytes()).written, 30u);

    // February 2004 with a day-28 mean of 0 stops there: day 28 keeps its record.
    StaffMonthFile february;
    for (int d = 1; d <= 29; ++d)
        february.means[d] = "600";
    february.means[28] = "0";
    EXPECT_EQ(import("o0401001.02o", february.bytes()).written, 27u);
    EXPECT_EQ(day(2004, 2, 27).source, "R 1 SUVAK   ");
    EXPECT_TRUE(isBlankSource(day(2004, 2, 28).source));
    EXPECT_TRUE(isBlankSource(day(2004, 2, 29).source));

    // A mean of 0 before day 28 is a day like any other.
    StaffMonthFile may;
    for (int d = 1; d <= 31; ++d)
        may.means[d] = d == 10 ? "0" : "700";
    EXPECT_EQ(import("o0401001.05o", may.bytes()).written, 31u);
    EXPECT_EQ(day(2004, 5, 10).source, "R 1 SUVAK   ");
}

TEST_F(SuvakLevelImport, LoggerMonthAndItsExtremes) {
    LoggerMonthFile month;
    for (int d = 1; d <= 31; ++d)
        month.levels[d] = std::to_string(1000 + d);
    month.levels[5] = "1005.6";
    month.highest = {"1500", "10", "1415"};
    month.lowest = {"900", "20", "830"};

    const ImportOutcome outcome = import("o0401001.12o", month.bytes());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;

    const DayRecord plain = day(2003, 12, 5);
    EXPECT_EQ(plain.source, "L  SUVAK    ");
    EXPECT_EQ(plain.rawDataFile, std::string(12, ' '));
    EXPECT_FLOAT_EQ(plain.meanValue, 1005.6F);
    EXPECT_EQ(plain.maxLevel, 1006);
    EXPECT_EQ(plain.minLevel, 1006);
    EXPECT_EQ(plain.maxTime, OleDate());
    EXPECT_EQ(plain.minTime, OleDate());

    const DayRecord high = day(2003, 12, 10);
    EXPECT_FLOAT_EQ(high.meanValue, 1010.0F);
    EXPECT_EQ(high.maxLevel, 1500);
    EXPECT_EQ(high.maxTime, at(14, 15));
    EXPECT_EQ(high.minLevel, 1010);
    EXPECT_EQ(high.minTime, OleDate());

    const DayRecord low = day(2003, 12, 20);
    EXPECT_FLOAT_EQ(low.meanValue, 1020.0F);
    EXPECT_EQ(low.minLevel, 900);
    EXPECT_EQ(low.minTime, at(8, 30));
    EXPECT_EQ(low.maxLevel, 1020);
    EXPECT_EQ(low.maxTime, OleDate());
}

TEST_F(SuvakLevelImport, LoggerExtremesOnOneDayKeepTheHighest) {
    LoggerMonthFile month;
    for (int d = 1; d <= 30; ++d)
        month.levels[d] = "300";
    month.highest = {"450", "7", "5"};
    month.lowest = {"250", "7", "2210"};
    ASSERT_FALSE(import("o0401001.06o", month.bytes()).skipped());

    const DayRecord both = day(2004, 6, 7);
    EXPECT_EQ(both.maxLevel, 450);
    EXPECT_EQ(both.maxTime, at(5, 0));
    EXPECT_EQ(both.minLevel, 250);
    EXPECT_EQ(both.minTime, at(22, 10));
    EXPECT_FLOAT_EQ(both.meanValue, 300.0F);
}

TEST_F(SuvakLevelImport, LoggerDayWithoutValueKeepsItsRecord) {
    DayRecord earlier;
    earlier.date = OleDate::fromDate(2004, 3, 8);
    earlier.maxLevel = earlier.minLevel = 77;
    earlier.meanValue = 77.0F;
    earlier.source = "R 1 ";
    ASSERT_EQ(writeDays(stationDir, "01-001", {earlier}).written, 1u);
    const DayRecord before = day(2004, 3, 8);
    const DayRecord ninthBefore = day(2004, 3, 9);

    LoggerMonthFile month;
    for (int d = 1; d <= 31; ++d)
        month.levels[d] = "400";
    month.levels[8] = "\\";
    month.levels[9] = "";
    month.highest = {"400", "1", "0"};
    month.lowest = {"400", "2", "0"};
    ASSERT_FALSE(import("o0401001.03o", month.bytes()).skipped());

    EXPECT_EQ(day(2004, 3, 8), before);
    EXPECT_EQ(day(2004, 3, 9), ninthBefore);
    EXPECT_EQ(day(2004, 3, 10).source, "L  SUVAK    ");
}

TEST_F(SuvakLevelImport, FilesNotOfTheFormAreSkippedAndWriteNothing) {
    StaffMonthFile good;
    for (int d = 1; d <= 30; ++d)
        good.means[d] = "500";
    std::vector<std::string> fields = good.fields();

    struct Case {
        std::string name;
        Bytes bytes;
        std::string reason;
    };
    std::vector<std::string> shortFields(fields.begin(), fields.begin() + 480);
    const std::vector<Case> cases = {
        {"o0401001.11o", bytesOf("1,2,3"), "dosya çok kısa"},
        {"o0401001.11o", bytesOf(fieldFileText(shortFields)), "dosya çok kısa (480 alan, en az 487 gerekir)"},
        {"o0401001.11o", Bytes(600, 0), "metin dosyası değil"},
        {"o0401001.13o", good.bytes(), "dosya adı beklenen biçimde değil"},
    };
    for (const Case& c : cases) {
        const ImportOutcome outcome = import(c.name, c.bytes);
        ASSERT_TRUE(outcome.skipped()) << c.reason;
        EXPECT_EQ(*outcome.skippedReason, c.reason);
        EXPECT_EQ(outcome.fileName, c.name);
        EXPECT_TRUE(fs::is_empty(stationDir)) << c.reason;
    }

    const ImportOutcome noNumber = importSuvakLevels(source("o0401001.11o", good.bytes()), stationDir, "   ");
    EXPECT_EQ(noNumber.skippedReason, std::string(kReasonNoStationNumber));
    EXPECT_TRUE(fs::is_empty(stationDir));
}

TEST_F(SuvakLevelImport, AFieldThatIsNoNumberLeavesOutOnlyItsStep) {
    StaffMonthFile good;
    for (int d = 1; d <= 30; ++d)
        good.means[d] = "500";
    const std::vector<std::string> fields = good.fields();

    struct Case {
        std::size_t field; // from 1
        std::string text;
        std::string note;
        int dayLeftOut; // 0: every day of November stored
    };
    const std::vector<Case> cases = {
        {3, "12x", "gün 1: alan 3 sayı değil: \"12x\"", 1},
        {16, "40000", "gün 2: alan 16 seviye sınır dışında: \"40000\"", 2},
        {460, "1e300", "gün 1: alan 460 sayı sınır dışında: \"1e300\"", 1},
        {413, "2575", "ayın en yüksek seviyesi: alan 413 saat değil: \"2575\"", 0},
        {412, "32", "ayın en yüksek seviyesi: alan 412 gün değil: \"32\"", 0},
        {416, "1e300", "ayın en düşük seviyesi: alan 416 sayı sınır dışında: \"1e300\"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        fs::remove_all(stationDir);
        fs::create_directories(stationDir);
        std::vector<std::string> bad = fields;
        bad[c.field - 1] = c.text;
        const ImportOutcome outcome = import("o0401001.11o", bytesOf(fieldFileText(bad)));
        ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
        EXPECT_EQ(outcome.notes, std::vector<std::string>{c.note});
        EXPECT_EQ(outcome.written, c.dayLeftOut == 0 ? 30u : 29u);
        for (int d = 1; d <= 30; ++d)
            EXPECT_EQ(day(2003, 11, d).source.rfind("R 1 SUVAK", 0) == 0, d != c.dayLeftOut) << d;
    }
}

TEST_F(SuvakLevelImport, LoggerDayThatIsNoNumberIsListedAndTheOthersStored) {
    LoggerMonthFile month;
    for (int d = 1; d <= 31; ++d)
        month.levels[d] = "400";
    month.levels[12] = "4O0";
    month.highest = {"450", "12", "1000"}; // on the day left out: its level is not known
    month.lowest = {"350", "3", "0400"};
    const ImportOutcome outcome = import("o0401001.03o", month.bytes());
    ASSERT_FALSE(outcome.skipped()) << *outcome.skippedReason;
    EXPECT_EQ(outcome.notes, std::vector<std::string>{"gün 12: alan 157 sayı değil: \"4O0\""});
    EXPECT_TRUE(isBlankSource(day(2004, 3, 12).source)); // no mean of 0 made up for it
    EXPECT_EQ(day(2004, 3, 11).maxLevel, 400);
    EXPECT_EQ(day(2004, 3, 13).maxLevel, 400);
    EXPECT_EQ(day(2004, 3, 3).minLevel, 350);
}

TEST_F(SuvakLevelImport, ShortLoggerFileIsSkipped) {
    LoggerMonthFile month;
    std::vector<std::string> fields = month.fields();
    fields.resize(420);
    const ImportOutcome outcome = import("o0401001.11o", bytesOf(fieldFileText(fields)));
    ASSERT_TRUE(outcome.skipped());
    EXPECT_EQ(*outcome.skippedReason, "dosya çok kısa (420 alan, en az 427 gerekir)");
    EXPECT_TRUE(fs::is_empty(stationDir));
}
