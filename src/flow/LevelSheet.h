#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvel {

// The level observation sheet ("Seviye gözlem cetveli (Eşel)"): staff-gauge readings of
// 08:00 and 16:00 and the daily mean, one month at a time. The grid "MSFlexGrid1" has a
// heading row and rows 1..33: row 1 the day before the month, rows 2.. the month's days, the
// row after the last day free for the next morning's reading. Readings and means of 0 show
// empty.
inline constexpr int kLevelGridRows = 34;
inline constexpr int kLevelGridColumns = 4;
inline constexpr int kLevelLastRow = 33;
inline constexpr const char* kLevelGridName = "MSFlexGrid1";

// The grid of the month (month list index, 0 = October): empty when the month has no record,
// or when the day before it (October: its first day) carries a discharge ("G"/"K").
Table levelSheetGrid(const std::vector<DayRecord>& records, int monthIndex, const Locale& locale);

// The header labels Label1..Label9 and the grid.
Sheet levelSheet(const std::vector<DayRecord>& records, const StationRecord& station,
                 const std::string& flowFileName, int monthIndex, const Locale& locale);

// The daily means (double click on row 1, column 3): for r = 1..31 with A, B the readings of
// row r, C, D those of row r + 1 and E the morning of row r + 2 ("missing" = empty or "0"):
// without A, C or E nothing; without D the mean of row r + 1 is (A + 13C + 4E) / 18 and its
// afternoon cell is emptied; without B nothing; else (B + 5C + 5D + E) / 12. Means are
// rounded half to even and written as whole numbers.
void computeDailyMeans(Table& grid);

// Fill-down of a reading column (double click on row 1, column 1 or 2): every empty cell of
// rows 2..33 takes the nearest value above it.
void fillDown(Table& grid, int column);

// The records the save writes for the month of row 2: for each day of the month (grid rows
// 2..) whose readings or mean differ from what the stored day shows, readings M (08:00) and
// N (16:00), the higher one as maximum with its hour, the mean from column 3 (an empty mean
// cell is set to "0"), tag "R 2 " with both readings else "R 1 ". A day shown as stored, or
// without a morning reading, is left as it is; only records whose bytes change are listed.
// `loggerDays` names those of them that now hold a measured day not read from the staff
// gauge (a logger day, an imported one), which the save replaces only with leave.
struct LevelSheetSave {
    std::map<std::size_t, DayRecord> records;
    std::vector<std::size_t> loggerDays;
};
LevelSheetSave planLevelSheetSave(Table& grid, const std::vector<DayRecord>& records);

// Asked with the number of logger days the typed readings would replace; false keeps them.
using ReplaceLoggerDays = std::function<bool(std::size_t loggerDays)>;

// planLevelSheetSave on the file, the records written in place; returns how many. Logger
// days are replaced only when `replaceLoggerDays` agrees, the other days are written anyway.
std::size_t saveLevelSheet(const std::filesystem::path& flowFile, Table& grid,
                           const ReplaceLoggerDays& replaceLoggerDays);

// A reading cell that holds no reading: empty or "0".
bool isMissingReading(const std::string& text);

} // namespace korvel
