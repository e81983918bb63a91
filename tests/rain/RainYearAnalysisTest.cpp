#include "rain/RainYearAnalysis.h"

#include "common/Dates.h"
#include "common/ExpectCells.h"
#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "rain/DurationReference.h"
#include "rain/RainYearBytes.h"
#include "rain/RainYearSheet.h"

#include <gtest/gtest.h>
#include <random>

using namespace korvel;
using korvel::testing::expectCells;
using korvel::testing::fileBytes;
using korvel::testing::ScratchDirectory;

namespace {

const Locale& tr = Locale::turkish();

using korvel::testing::day;

// Sets the rain of the minute hh:mm of the record holding the day.
void rain(std::vector<RainDayRecord>& records, OleDate date, int hour, int minute, int tenths) {
    const std::optional<std::size_t> k = findRecordByDate(records, date);
    ASSERT_TRUE(k) << date.dateText();
    records[*k - 1].minuteRain[static_cast<std::size_t>(hour * 60 + minute)] =
        static_cast<std::uint8_t>(tenths);
}

Sheet analysedSheet(const std::vector<RainDayRecord>& records, int endYear) {
    return rainYearAnalysisSheet(analyseRainYear(records, endYear).analysis, "01-001", tr);
}

void expectSameMaxima(const DurationMaxima& fast, const DurationMaxima& plain, const std::string& what) {
    for (int i = 0; i < kRainDurationCount; ++i) {
        const auto& f = fast[static_cast<std::size_t>(i)];
        const auto& p = plain[static_cast<std::size_t>(i)];
        EXPECT_EQ(f.tenths, p.tenths) << what << " duration " << kRainDurations[static_cast<std::size_t>(i)];
        EXPECT_EQ(f.day, p.day) << what << " duration " << kRainDurations[static_cast<std::size_t>(i)];
        EXPECT_EQ(f.startMinute, p.startMinute)
            << what << " duration " << kRainDurations[static_cast<std::size_t>(i)];
    }
}

} // namespace

TEST(RainMonthColumns, OctoberFirstAndBack) {
    EXPECT_EQ(monthColumn(10), 1);
    EXPECT_EQ(monthColumn(12), 3);
    EXPECT_EQ(monthColumn(1), 4);
    EXPECT_EQ(monthColumn(9), 12);
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(columnMonth(monthColumn(month)), month);
    EXPECT_EQ(columnMonth(0), 9); // the day-number column reads as September
}

TEST(RainYearAnalysis, OnlyRainIsOneTenthAtTheLastMinuteOfTheYear) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    rain(records, day(2004, 9, 30), 23, 59, 1);
    const Sheet sheet = analysedSheet(records, 2004);

    EXPECT_EQ(sheet.text("rainyDays"), "Yağışlı günler sayısı.. 1");
    EXPECT_EQ(sheet.text("annualTotal"), "Yıllık toplam yağış= 0,1");
    EXPECT_EQ(sheet.text("largestDay"), "Yıllık max. yağış= 0,1 Tarihi= 30.09.2004");
    EXPECT_EQ(sheet.text("units"), "   Değerler (mm) dir");
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(sheet.text("Text" + std::to_string(i)), "30.09.2004_23:59:00_0,1") << i;

    const Table& daily = *sheet.findTable("f1book1");
    EXPECT_EQ(daily.cell(30, 12), "0,1");
    const Table& summary = *sheet.findTable("MSFlexGrid1");
    expectCells(summary, {{0, 12, "0,1"}, {1, 12, "0,1"}, {2, 12, "1"}});
    for (int column = 1; column <= 11; ++column) {
        expectCells(summary, {{0, column, "0"}, {1, column, "0"}, {2, column, "0"}});
    }
}

TEST(RainYearAnalysis, FourMinutesAcrossMidnight) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    rain(records, day(2003, 11, 14), 23, 58, 10);
    rain(records, day(2003, 11, 14), 23, 59, 10);
    rain(records, day(2003, 11, 15), 0, 0, 10);
    rain(records, day(2003, 11, 15), 0, 1, 10);
    const Sheet sheet = analysedSheet(records, 2004);

    EXPECT_EQ(sheet.text("Text1"), "14.11.2003_23:58:00_1");
    for (int i = 2; i <= 12; ++i)
        EXPECT_EQ(sheet.text("Text" + std::to_string(i)), "14.11.2003_23:58:00_4") << i;
    // Both days hold 2 mm; the earlier one is the largest.
    EXPECT_EQ(sheet.text("largestDay"), "Yıllık max. yağış= 2 Tarihi= 14.11.2003");
    EXPECT_EQ(sheet.text("rainyDays"), "Yağışlı günler sayısı.. 2");
    EXPECT_EQ(sheet.findTable("f1book1")->cell(14, 2), "2");
    EXPECT_EQ(sheet.findTable("f1book1")->cell(15, 2), "2");
}

TEST(RainYearAnalysis, TiesKeepTheEarliestWindow) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    // Two storms of the same shape: 3, 3 tenths at 10:00 on 5 January and at 09:00 on 6 January.
    rain(records, day(2004, 1, 5), 10, 0, 3);
    rain(records, day(2004, 1, 5), 10, 1, 3);
    rain(records, day(2004, 1, 6), 9, 0, 3);
    rain(records, day(2004, 1, 6), 9, 1, 3);
    const RainYearAnalysis analysis = analyseRainYear(records, 2004).analysis;
    for (const DurationMaximum& maximum : analysis.durations) {
        EXPECT_EQ(maximum.day, day(2004, 1, 5));
        EXPECT_EQ(maximum.startMinute, 600);
    }
    EXPECT_EQ(analysis.largestDay, day(2004, 1, 5));

    // Within one day, a 1-minute tie goes to the earlier minute and a longer window that only
    // equals the best so far does not replace it.
    std::vector<RainDayRecord> sameDay = newRainYearRecords(2004);
    rain(sameDay, day(2004, 3, 1), 8, 0, 5);
    rain(sameDay, day(2004, 3, 1), 8, 30, 5);
    const DurationMaxima maxima = analyseRainYear(sameDay, 2004).analysis.durations;
    EXPECT_EQ(maxima[0].startMinute, 480);
    EXPECT_EQ(maxima[1].startMinute, 480); // 5 minutes: 5 at 08:00 and 5 at 08:30
    EXPECT_EQ(maxima[5].tenths, 5);        // 30 minutes from 08:00 end at 08:29
    EXPECT_EQ(maxima[6].tenths, 10);       // 45 minutes take both
    EXPECT_EQ(maxima[6].startMinute, 480);
}

TEST(RainYearAnalysis, DaysThatDoNotExistStayEmptyAndUncounted) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    for (RainDayRecord& record : records)
        record.minuteRain[0] = 1;
    const Sheet sheet = analysedSheet(records, 2004);
    const Table& daily = *sheet.findTable("f1book1");
    EXPECT_EQ(daily.cell(31, 2), ""); // 31 November
    EXPECT_EQ(daily.cell(30, 2), "0,1");
    EXPECT_EQ(daily.cell(29, 5), "0,1"); // 29 February 2004
    expectCells(daily, {{30, 5, ""}, {31, 5, ""}});
    EXPECT_EQ(sheet.text("rainyDays"), "Yağışlı günler sayısı.. 366");
    EXPECT_EQ(sheet.text("annualTotal"), "Yıllık toplam yağış= 36,6");
    const Table& summary = *sheet.findTable("MSFlexGrid1");
    expectCells(summary, {{2, 2, "30"}, {0, 2, "3"}, {2, 5, "29"}, {0, 5, "2,9"}, {1, 5, "0,1"}});
    // The daily maximum ties on every day: the first of October keeps it.
    EXPECT_EQ(sheet.text("largestDay"), "Yıllık max. yağış= 0,1 Tarihi= 01.10.2003");
}

TEST(RainYearAnalysis, CommonYearStopsBeforeTheNextFirstOfOctober) {
    std::vector<RainDayRecord> records = newRainYearRecords(2003);
    ASSERT_EQ(records[365].dayDate, day(2003, 10, 1));
    records[0].minuteRain[600] = 4;    // 1 October 2002
    records[364].minuteRain[1439] = 2; // 30 September 2003, 23:59
    records[365].minuteRain[0] = 9;    // 1 October 2003, the next year's first day
    const RainYearAnalysis analysis = analyseRainYear(records, 2003).analysis;
    EXPECT_EQ(analysis.yearDays, 365u);
    EXPECT_EQ(analysis.rainyDays, 2);
    EXPECT_EQ(analysis.annualTenths, 6);
    EXPECT_EQ(analysis.dayTenths(10, 1), 4); // not overwritten by record 366
    // The duration windows still run on into the record after 30 September.
    EXPECT_EQ(analysis.durations[1].tenths, 11);
    EXPECT_EQ(analysis.durations[1].day, day(2003, 9, 30));
    EXPECT_EQ(analysis.durations[1].startMinute, 1439);
}

TEST(RainYearAnalysis, NothingFoundShowsAnEmptyDateAndZero) {
    const Sheet sheet = analysedSheet(newRainYearRecords(2004), 2004);
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(sheet.text("Text" + std::to_string(i)), "_00:00:00_0");
    EXPECT_EQ(sheet.text("largestDay"), "Yıllık max. yağış= 0 Tarihi= ");
    EXPECT_EQ(sheet.text("annualTotal"), "Yıllık toplam yağış= 0");
    EXPECT_EQ(sheet.caption, "01-001    nolu istasyonun Pluviograf yağış değerlerinin analizi");
}

TEST(RainYearSheet, GridLayoutAndClipboard) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    rain(records, day(2003, 11, 15), 14, 7, 125);
    const Sheet sheet = analysedSheet(records, 2004);
    EXPECT_EQ(sheet.text("Text2"), "15.11.2003_14:07:00_12,5");

    const Table& daily = *sheet.findTable("f1book1");
    ASSERT_EQ(daily.rows(), 32);
    ASSERT_EQ(daily.columns(), 13);
    expectCells(daily, {{0, 0, "Gün"}, {0, 1, "Ekim"}, {0, 8, "Mayıs"}, {0, 12, "Eylül"}, {31, 0, "31"}});
    EXPECT_EQ(daily.columnWidth(0), 400);
    EXPECT_EQ(daily.columnWidth(12), 750);

    const Table& summary = *sheet.findTable("MSFlexGrid1");
    ASSERT_EQ(summary.rows(), 3);
    EXPECT_EQ(summary.columnWidth(0), 900);
    EXPECT_EQ(summary.cell(1, 0), "Aylık max.");
    const std::string text = summary.clipboardText();
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "Aylık top.\t0\t12,5\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t");
    int lines = 0, tabs = 0;
    for (char c : text) {
        lines += c == '\n';
        tabs += c == '\t';
    }
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(tabs, 3 * 13);

    // The English locale writes its own date, time and decimal point.
    const Sheet english =
        rainYearAnalysisSheet(analyseRainYear(records, 2004).analysis, "01-001", Locale::american());
    EXPECT_EQ(english.text("Text2"), "11/15/2003_2:07:00 PM_12.5");
}

TEST(RainYearAnalysis, FastMaximaEqualThePlainAlgorithm) {
    std::mt19937 engine(20031115);
    for (int trial = 0; trial < 6; ++trial) {
        std::vector<RainDayRecord> records = newRainYearRecords(trial % 2 == 0 ? 2004 : 2003);
        // Sparse minutes of small amounts make many equal windows; a few long storms and
        // full bytes make the large ones.
        for (RainDayRecord& record : records)
            for (std::size_t m = 0; m < kMinutesPerDay; ++m)
                if (engine() % 40 == 0)
                    record.minuteRain[m] = static_cast<std::uint8_t>(1 + engine() % 3);
        for (int storm = 0; storm < 4; ++storm) {
            const std::size_t first = engine() % (366 * kMinutesPerDay);
            const std::size_t length = 1 + engine() % 700;
            for (std::size_t i = first; i < std::min(first + length, 366 * kMinutesPerDay); ++i)
                records[i / kMinutesPerDay].minuteRain[i % kMinutesPerDay] =
                    static_cast<std::uint8_t>(trial >= 4 ? 255 : 1 + engine() % 20);
        }
        expectSameMaxima(computeDurationMaxima(records), korvel::testing::plainDurationMaxima(records),
                         "trial " + std::to_string(trial));
    }
}

TEST(RainYearAnalysis, FastMaximaEqualThePlainAlgorithmOnPeriodicRain) {
    // Every day the same: each duration ties on every day and the first day must win.
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    for (RainDayRecord& record : records)
        for (std::size_t m = 0; m < kMinutesPerDay; m += 7)
            record.minuteRain[m] = static_cast<std::uint8_t>(1 + (m / 7) % 4);
    const DurationMaxima fast = computeDurationMaxima(records);
    expectSameMaxima(fast, korvel::testing::plainDurationMaxima(records), "periodic");
    EXPECT_EQ(fast[0].day, day(2003, 10, 1));
}

TEST(RainYearAnalysis, RecordPastTheEndCountsAsZero) {
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    records.resize(10);
    records[9].minuteRain[1439] = 7;
    const DurationMaxima maxima = computeDurationMaxima(records);
    EXPECT_EQ(maxima[11].tenths, 7);
    EXPECT_EQ(maxima[11].day, day(2003, 10, 10));
    EXPECT_EQ(maxima[11].startMinute, 1439);
}

TEST(RainYearAnalysis, ProgressCountsEachPassUpTo366) {
    std::vector<int> seen;
    analyseRainYear(newRainYearRecords(2003), 2003, [&](int record) { seen.push_back(record); });
    ASSERT_EQ(seen.size(), 365u + 366u);
    EXPECT_EQ(seen[364], 365);
    EXPECT_EQ(seen[365], 1);
    EXPECT_EQ(seen.back(), 366);
}

TEST(RainYearFileAnalysis, DateRepairIsWrittenBackAndUsed) {
    ScratchDirectory dir;
    const std::filesystem::path path = dir / rainYearFileName(2004, "01-001");
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    records[44].dayDate = day(1999, 1, 1); // 14 November 2003
    records[44].minuteRain[847] = 25;
    records[44].recordTag = "elle";
    korvel::testing::writeBytes(path, korvel::testing::rainYearBytes(records));
    const Bytes before = fileBytes(path);

    const std::optional<RainYearFileAnalysis> result = analyseRainYearFile(path);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->repairWritten);
    EXPECT_EQ(result->rewritten, (std::vector<std::size_t>{45}));
    EXPECT_EQ(result->analysis.dayTenths(11, 14), 25);
    EXPECT_EQ(result->analysis.dayTenths(1, 1), 0);
    EXPECT_EQ(result->analysis.durations[0].day, day(2003, 11, 14));

    const Bytes after = fileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    const std::vector<RainDayRecord> reread = parseRainYearFile(after);
    EXPECT_EQ(reread[44].dayDate, day(2003, 11, 14));
    EXPECT_EQ(reread[44].recordTag, "elle                ");
    EXPECT_EQ(reread[44].minuteRain[847], 25);
    // Only the date field of that record changed.
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < 44 * 1470 || i >= 44 * 1470 + 8) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
    }

    // A second analysis finds nothing to repair.
    EXPECT_TRUE(analyseRainYearFile(path)->rewritten.empty());
}

TEST(RainYearFileAnalysis, EndYearComesFromTheFilesOwnName) {
    ScratchDirectory dir;
    std::vector<RainDayRecord> records = newRainYearRecords(2003);
    records[365].minuteRain[0] = 50; // 1 October 2003
    // The same records under a 2004 name run to record 366, which then shows as 1 October.
    const std::filesystem::path own = dir / rainYearFileName(2003, "01-003");
    const std::filesystem::path other = dir / rainYearFileName(2004, "01-003");
    korvel::testing::writeBytes(own, korvel::testing::rainYearBytes(records));
    korvel::testing::writeBytes(other, korvel::testing::rainYearBytes(records));
    EXPECT_EQ(analyseRainYearFile(own)->analysis.yearDays, 365u);
    EXPECT_EQ(analyseRainYearFile(own)->analysis.rainyDays, 0);
    EXPECT_EQ(analyseRainYearFile(other)->analysis.yearDays, 366u);
    EXPECT_EQ(analyseRainYearFile(other)->analysis.rainyDays, 1);
    EXPECT_FALSE(analyseRainYearFile(dir / "missing.yrd"));
}

TEST(RainYearFileAnalysis, WrongDateOnTheNextYearsRecordStillEndsTheYear) {
    ScratchDirectory dir;
    const std::filesystem::path path = dir / rainYearFileName(2003, "01-003");
    std::vector<RainDayRecord> records = newRainYearRecords(2003);
    records[365].dayDate = OleDate();
    records[365].minuteRain[5] = 30;
    korvel::testing::writeBytes(path, korvel::testing::rainYearBytes(records));
    const std::optional<RainYearFileAnalysis> result = analyseRainYearFile(path);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->analysis.yearDays, 365u);
    EXPECT_EQ(result->analysis.rainyDays, 0);
    EXPECT_EQ(result->rewritten, (std::vector<std::size_t>{366}));
    EXPECT_EQ(parseRainYearFile(fileBytes(path))[365].dayDate, day(2003, 10, 1));
}

TEST(RainYearFileAnalysis, ShortFileIsCompletedWithDatedEmptyDays) {
    ScratchDirectory dir;
    const std::filesystem::path path = dir / rainYearFileName(2004, "01-003");
    std::vector<RainDayRecord> records = newRainYearRecords(2004);
    records[1].minuteRain[0] = 3;
    records.resize(2);
    Bytes bytes = korvel::testing::rainYearBytes(records);
    bytes.resize(bytes.size() + 500); // the start of a third record
    korvel::testing::writeBytes(path, bytes);
    const std::optional<RainYearFileAnalysis> result = analyseRainYearFile(path);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->analysis.yearDays, 366u);
    EXPECT_EQ(result->analysis.annualTenths, 3);
    const std::vector<RainDayRecord> reread = parseRainYearFile(fileBytes(path));
    ASSERT_EQ(reread.size(), 366u);
    EXPECT_EQ(reread[2].dayDate, day(2003, 10, 3));
    EXPECT_EQ(reread[365].dayDate, day(2004, 9, 30));
    EXPECT_EQ(reread[1].minuteRain[0], 3);
}

TEST(RainDayOfCell, OnlyExistingDaysAreFound) {
    ScratchDirectory dir;
    const std::filesystem::path path = dir / rainYearFileName(2004, "01-001");
    korvel::testing::writeBytes(path, korvel::testing::rainYearBytes(newRainYearRecords(2004)));
    EXPECT_FALSE(findRainDayOfCell(path, 0, 3));  // heading row
    EXPECT_FALSE(findRainDayOfCell(path, 31, 2)); // 31 November
    EXPECT_FALSE(findRainDayOfCell(path, 30, 5)); // 30 February
    EXPECT_FALSE(findRainDayOfCell(path, 32, 1));
    EXPECT_FALSE(findRainDayOfCell(path, 5, 13));
    EXPECT_FALSE(findRainDayOfCell(dir / "missing.yrd", 5, 1));
    EXPECT_EQ(findRainDayOfCell(path, 29, 5)->recordNumber, 152u);
    EXPECT_EQ(findRainDayOfCell(path, 1, 1)->recordNumber, 1u);
    EXPECT_EQ(findRainDayOfCell(path, 30, 12)->recordNumber, 366u);
    const std::optional<RainDayAt> september5 = findRainDayOfCell(path, 5, 0);
    ASSERT_TRUE(september5);
    EXPECT_EQ(september5->recordNumber, 341u);
    EXPECT_EQ(september5->record.dayDate, day(2004, 9, 5));
}
