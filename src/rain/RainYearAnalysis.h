#pragma once

#include "core/OleDate.h"
#include "store/RainYearFile.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// The one-year rainfall analysis of a rainfall-year file: daily totals in a day-by-month grid,
// monthly totals, maxima and rainy days, the annual figures and the largest rainfall over
// twelve durations. Amounts are minute entries summed as integers (tenths of a millimetre).

inline constexpr int kRainDurationCount = 12;
// The durations in minutes of the boxes Text1 ... Text12.
inline constexpr std::array<int, kRainDurationCount> kRainDurations{1,  5,  10, 15,  20,  30,
                                                                    45, 60, 90, 120, 360, 1440};

// Month columns of the grids: October, November, December are columns 1..3, January to
// September columns 4..12. Column 0 reads as September, like any column the rule maps there.
int monthColumn(int month);
int columnMonth(int column);

// The largest window sum of one duration: the date of the record the window starts in and
// the minute of that day it starts at.
struct DurationMaximum {
    int tenths = 0;
    OleDate day;
    int startMinute = 0;

    // Windows start only at minutes with rain, so a duration that got a value has one above 0.
    bool found() const { return tenths > 0; }
    bool operator==(const DurationMaximum&) const = default;
};
using DurationMaxima = std::array<DurationMaximum, kRainDurationCount>;

struct RainMonthSummary {
    int totalTenths = 0;
    int largestTenths = 0;
    int rainyDays = 0;
    bool operator==(const RainMonthSummary&) const = default;
};

struct RainYearAnalysis {
    // dailyTenths[column][day]: the day of month (1..31) of the month column (1..12) as the
    // daily grid shows it; 0 is an empty cell (a dry day or a day that does not exist).
    std::array<std::array<int, 32>, 13> dailyTenths{};
    std::array<RainMonthSummary, 13> months{}; // columns 1..12
    std::size_t yearDays = 0;                  // records shown, from record 1
    int rainyDays = 0;
    int annualTenths = 0;
    int largestDayTenths = 0;
    OleDate largestDay; // empty when no day had rain
    DurationMaxima durations{};

    int dayTenths(int month, int day) const;
    bool operator==(const RainYearAnalysis&) const = default;
};

// Called with the record number (1..366) each pass is at, for a progress bar.
using RainProgress = std::function<void(int record)>;

// First pass, over records 1..yearDays (their dates already repaired): the daily totals into
// their cells, rainy days, the annual total and the largest day, the earliest among equals.
void fillDailyGrid(const std::vector<RainDayRecord>& records, std::size_t yearDays,
                   RainYearAnalysis& analysis, const RainProgress& progress = {});

// Second pass, over records 1..366 with no end-date stop: for every minute with rain, the sums
// of the twelve windows starting there, running on into the next record's minutes (a record
// past the end counts as zero). A window replaces a maximum only when strictly larger, so the
// earliest window (record order, then minute) keeps a tie. Runs on prefix sums.
DurationMaxima computeDurationMaxima(const std::vector<RainDayRecord>& records,
                                     const RainProgress& progress = {});

// Monthly total, largest day and rainy-day count of every month column from the daily cells.
void fillMonthlySummary(RainYearAnalysis& analysis);

// The whole analysis of a file's records: date repair with the end-date stop (endYear from the
// file name, none when it holds no year), then the three steps above.
struct RainYearRun {
    RainYearAnalysis analysis;
    RainYearDates dates; // the records with repaired dates and the numbers to write back
};
RainYearRun analyseRainYear(std::vector<RainDayRecord> fileRecords, std::optional<int> endYear,
                            const RainProgress& progress = {});

struct RainYearFileAnalysis {
    RainYearAnalysis analysis;
    std::vector<std::size_t> rewritten; // records whose repaired date was written back
    bool repairWritten = true;          // false when writing the repaired dates failed
    std::string repairRefused;          // why the dates were left as they are, when they were
};
// Reads the file once, writes the repaired dates back at once and analyses it; the end year is
// the first four characters of the file's own name. Nothing when the file cannot be read.
std::optional<RainYearFileAnalysis> analyseRainYearFile(const std::filesystem::path& path,
                                                        const RainProgress& progress = {});

// The day a double-click in the daily grid opens: the first record of 1..366 whose date has the
// month and day of the cell. Nothing for the heading row, a day the month does not have, or a
// file that cannot be read.
struct RainDayAt {
    std::size_t recordNumber = 0;
    RainDayRecord record;
};
std::optional<RainDayAt> findRainDayOfCell(const std::filesystem::path& path, int row, int column);

} // namespace korvel
