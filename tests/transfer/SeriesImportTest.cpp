#include "transfer/SeriesImport.h"

#include "flow/DayReadings.h"
#include "transfer/DailySeries.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace korvel {
namespace {

TEST(DayQualityTest, TheOriginTagNamesTheSourceOfTheDay) {
    EXPECT_EQ(dayQualityOfSource("L  korvelmaş"), DayQuality::Logger);
    EXPECT_EQ(dayQualityOfSource("R 1 "), DayQuality::StaffGauge);
    EXPECT_EQ(dayQualityOfSource("R 2 SUVAK"), DayQuality::Imported);
    EXPECT_EQ(dayQualityOfSource("L  CSV"), DayQuality::Imported);
    EXPECT_EQ(dayQualityOfSource("RE2 "), DayQuality::Edited);
    EXPECT_EQ(dayQualityOfSource("GE "), DayQuality::Edited);
    EXPECT_EQ(dayQualityOfSource("G  "), DayQuality::MonthlyTotals);
    EXPECT_EQ(dayQualityOfSource("K 01-_2004"), DayQuality::Correlation);
    EXPECT_EQ(dayQualityOfSource(std::string(12, '\0')), DayQuality::NoData);
    EXPECT_EQ(dayQualityOfSource("            "), DayQuality::NoData);
    for (auto quality : {DayQuality::Logger, DayQuality::StaffGauge, DayQuality::Imported, DayQuality::Edited,
                         DayQuality::MonthlyTotals, DayQuality::Correlation, DayQuality::NoData})
        EXPECT_EQ(dayQualityOfCode(dayQualityCode(quality)), quality);
}

TEST(FormattedDateTest, ReadsTheTokensAndRefusesWhatDoesNotMatch) {
    EXPECT_EQ(parseFormattedDateTime("15.01.2024 08:30", "dd.MM.yyyy HH:mm"),
              OleDate::fromDateTime(2024, 1, 15, 8, 30, 0));
    EXPECT_EQ(parseFormattedDateTime("2024-01-15T08:30:15", "yyyy-MM-ddTHH:mm:ss"),
              OleDate::fromDateTime(2024, 1, 15, 8, 30, 15));
    EXPECT_EQ(parseFormattedDateTime("15/1/24", "dd/MM/yy"), OleDate::fromDate(2024, 1, 15));
    EXPECT_FALSE(parseFormattedDateTime("31.02.2024 08:30", "dd.MM.yyyy HH:mm"));
    EXPECT_FALSE(parseFormattedDateTime("15.01.2024 8h30", "dd.MM.yyyy HH:mm"));
    EXPECT_FALSE(parseFormattedDateTime("15.01.2024 08:30 x", "dd.MM.yyyy HH:mm"));
    EXPECT_FALSE(parseFormattedDateTime("", "dd.MM.yyyy"));
}

// A day of 15-minute readings of 100 mm with one high and one low reading.
std::string loggerDay(const std::string& date, int highSlot, int lowSlot) {
    std::string text;
    for (int slot = 0; slot < 96; ++slot) {
        const int level = slot == highSlot ? 250 : slot == lowSlot ? 40 : 100;
        char line[64];
        std::snprintf(line, sizeof line, "%s %02d:%02d;%d,0\n", date.c_str(), slot * 15 / 60, slot * 15 % 60,
                      level);
        text += line;
    }
    return text;
}

LoggerCsvFormat semicolonFormat() {
    LoggerCsvFormat format;
    format.dateFormat = "dd.MM.yyyy HH:mm";
    format.separator = ';';
    format.decimalSeparator = ',';
    format.headerLines = 1;
    return format;
}

TEST(LoggerCsvTest, ReadingsBecomeTheDayAsTheLoggerConversionMakesIt) {
    const std::string text = "Zaman;Seviye\n" + loggerDay("14.01.2024", 54, 9) + "15.01.2024 00:00;100,0\n";
    const ImportedSeries series = parseLoggerCsv(text, semicolonFormat());
    ASSERT_EQ(series.days.size(), 1U);
    const DayRecord& day = series.days.front();
    EXPECT_EQ(day.date, OleDate::fromDate(2024, 1, 14));
    // (94 x 100 + 250 + 40) / 96 = 100.94 -> 101
    EXPECT_EQ(day.meanValue, 101.0F);
    EXPECT_EQ(day.maxLevel, 250);
    EXPECT_EQ(day.maxTime, OleDate::fromTime(13, 30, 0));
    EXPECT_EQ(day.minLevel, 40);
    EXPECT_EQ(day.minTime, OleDate::fromTime(2, 15, 0));
    EXPECT_EQ(dayQualityOfSource(day.source), DayQuality::Imported);
    EXPECT_EQ(series.readingsFileName, "CSV14-1 .-24");
    EXPECT_EQ(day.rawDataFile.substr(0, series.readingsFileName.size()), series.readingsFileName);
    // The one reading of the 15th is no whole day: listed, not written.
    ASSERT_EQ(series.problems.size(), 1U);
    EXPECT_EQ(series.problems[0].line, 98U);
    EXPECT_NE(series.problems[0].reason.find("1/96"), std::string::npos);

    // The monthly table lists the day's readings from the file the import keeps.
    const auto readings = showDayReadings(series.readingsFile, day.date, Locale::turkish());
    ASSERT_TRUE(readings);
    ASSERT_EQ(readings->readings.size(), 96U);
    EXPECT_EQ(readings->readings[54].value, 250.0);
}

TEST(LoggerCsvTest, LinesThatDoNotParseAreListedAndLeftOut) {
    std::string text = "Zaman;Seviye\n" + loggerDay("14.01.2024", 0, 1);
    text.insert(text.find("14.01.2024 05:00"), "14.01.2024 04:60;100,0\nbozuk satır\n14.01.2024 04:70;abc\n");
    const ImportedSeries series = parseLoggerCsv(text, semicolonFormat());
    ASSERT_EQ(series.problems.size(), 3U);
    EXPECT_EQ(series.problems[0].line, 22U);
    EXPECT_NE(series.problems[0].reason.find("tarih"), std::string::npos);
    EXPECT_EQ(series.problems[1].line, 23U);
    EXPECT_NE(series.problems[1].reason.find("sütun"), std::string::npos);
    EXPECT_EQ(series.problems[2].line, 24U);
    ASSERT_EQ(series.days.size(), 1U);
}

TEST(LoggerCsvTest, DailyLevelsGiveOneDayPerLine) {
    LoggerCsvFormat format;
    format.dateFormat = "yyyy-MM-dd";
    const ImportedSeries series =
        parseLoggerCsv("2024-01-14,120\n2024-01-15,130.4\n2024-01-15,131\n", format);
    ASSERT_EQ(series.days.size(), 2U);
    EXPECT_EQ(series.days[1].meanValue, 130.0F);
    EXPECT_EQ(series.days[1].maxLevel, 130);
    ASSERT_EQ(series.problems.size(), 1U);
    EXPECT_EQ(series.problems[0].line, 3U);
    EXPECT_TRUE(series.readingsFileName.empty());
}

TEST(LoggerCsvTest, AScaleOrColumnThatCannotBeUsedGivesNoDay) {
    LoggerCsvFormat format;
    format.dateFormat = "yyyy-MM-dd";
    format.levelScale = std::numeric_limits<double>::quiet_NaN();
    const ImportedSeries notANumber = parseLoggerCsv("2024-01-14,120\n", format);
    EXPECT_TRUE(notANumber.days.empty());
    ASSERT_EQ(notANumber.problems.size(), 1U);
    EXPECT_NE(notANumber.problems[0].reason.find("aralık dışında"), std::string::npos);

    // A day whose only reading has seconds gives a problem, not a day without readings.
    LoggerCsvFormat hourly;
    const ImportedSeries seconds =
        parseLoggerCsv("2024-01-14 00:00:00,120\n2024-01-14 01:00:00,121\n2024-01-15 00:00:30,122\n", hourly);
    EXPECT_FALSE(seconds.problems.empty());
    EXPECT_TRUE(seconds.days.empty());

    format.levelScale = 1.0;
    format.levelColumn = 0;
    const ImportedSeries noColumn = parseLoggerCsv("2024-01-14,120\n", format);
    EXPECT_TRUE(noColumn.days.empty());
    ASSERT_EQ(noColumn.problems.size(), 1U);
}

TEST(SeriesCsvTest, OwnRowsReadBackAsTheirRecords) {
    const std::string text = std::string("# yorum\n") + std::string(kSeriesCsvHeader) +
                             "\n2004-01-15,123.5,130,14:15:00,110,03:00:00,1.25,logger,,01,L  korvelmaş\n"
                             "2004-01-16,,,,,,2.5,monthly_totals,,,G\n"
                             "2004-01-17,,,,,,,no_data,,,\n"
                             "2004-01-18,12x,130,14:15:00,110,03:00:00,,logger,,01,L  korvelmaş\n";
    const ImportedSeries series = parseSeriesCsv(text);
    ASSERT_EQ(series.days.size(), 2U);
    EXPECT_EQ(series.days[0].meanValue, 123.5F);
    EXPECT_EQ(series.days[0].maxTime, OleDate::fromTime(14, 15, 0));
    EXPECT_EQ(series.days[0].source, "L  korvelmaş");
    EXPECT_EQ(series.days[1].meanValue, 2.5F);
    EXPECT_EQ(series.days[1].source, "G           ");
    ASSERT_EQ(series.problems.size(), 1U);
    EXPECT_EQ(series.problems[0].line, 6U);
}

} // namespace
} // namespace korvel
