#pragma once

#include "core/ByteIO.h"
#include "store/WaterYearFile.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A line of an imported CSV file that was not taken, with its number (from 1) and why.
struct CsvLineProblem {
    std::size_t line = 0;
    std::string reason;
};

// Day records read from a CSV file, and the lines passed over. For logger files the day-readings
// file that keeps the instantaneous readings comes with them (empty name when there is none).
struct ImportedSeries {
    std::vector<DayRecord> days;
    std::vector<CsvLineProblem> problems;
    std::string readingsFileName;
    Bytes readingsFile;
};

// The tool's own CSV export (dailySeriesCsv) read back: every day with data becomes the record
// it was exported from (tag, levels and times; on a "G"/"K" day the discharge as meanValue). Days
// without data are not written.
ImportedSeries parseSeriesCsv(std::string_view text);

// How to read a logger's CSV file. Columns count from 1. With a date column the date and time
// columns are joined by a space before `dateFormat` reads them.
struct LoggerCsvFormat {
    int timeColumn = 1;
    std::optional<int> dateColumn;
    int levelColumn = 2;
    // yyyy, yy, MM, dd, HH, mm, ss and literal characters; without HH the file holds daily levels.
    std::string dateFormat = "yyyy-MM-dd HH:mm:ss";
    char separator = ',';
    char decimalSeparator = '.';
    std::size_t headerLines = 0;
    double levelScale = 1.0; // multiplies a level into mm
};

// Reads a date and time in the given format; nothing when the text does not match it.
std::optional<OleDate> parseFormattedDateTime(std::string_view text, std::string_view format);

// A logger's CSV file turned into day records the way the logger download converts readings:
// the readings of each day are laid on the logger's reading interval into a day-readings file,
// whose day blocks the received-readings conversion turns into the daily mean, and the day's
// highest and lowest reading with their times become its extremes. The interval is the most
// frequent gap between readings of a day; a day that lacks readings at that interval is passed
// over (listed, nothing written), as is a line whose time is off the interval. A file of daily
// levels (a format without HH) gives one day per line, its level as mean, maximum and minimum.
ImportedSeries parseLoggerCsv(std::string_view text, const LoggerCsvFormat& format);

// How many of the days would replace a measured day of the station (neither blank nor "G"/"K")
// that holds something else.
std::size_t measuredDaysReplaced(const std::filesystem::path& stationDir, std::string_view stationNumber,
                                 const std::vector<DayRecord>& days);

struct SeriesImportResult {
    WrittenDays written;
    std::filesystem::path readingsCopy; // the day-readings file in the station directory
};

// Writes the days into the station's water-year files (first-write rule) and its day-readings
// file beside them. Throws FileError when a file cannot be written or the day-readings file
// would replace a different file of that name.
SeriesImportResult writeImportedSeries(const std::filesystem::path& stationDir,
                                       std::string_view stationNumber, const ImportedSeries& series);

} // namespace korvel
