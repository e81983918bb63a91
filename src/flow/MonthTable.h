#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "flow/GridEdits.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// The monthly flow table ("aylıkgridfrm"): its grid "MSFlexGrid2" of 32 rows x 10 columns,
// row r the r-th day of the month walk, and the labels under it.
inline constexpr int kMonthGridRows = 32;
inline constexpr int kMonthGridColumns = 10;
inline constexpr const char* kMonthGridName = "MSFlexGrid2";
inline constexpr std::array<const char*, kMonthGridColumns> kMonthGridHeadings = {
    " Tarih",   "Max.sev(mm)", "Max.saat",      "Min.sev(mm)", "Min.saat",
    "Ort.(mm)", "HQ (m3/s)",   "Akım(1000 m3)", "Anahtar no",  "Olç.şekli"};

// One day of the month as the table shows it.
struct MonthDay {
    std::size_t record = 0; // record number in the file, from 1
    DayRecord day;
    std::optional<double> discharge;
    std::optional<std::string> hqKey;
    bool givenDischarge = false;  // a "G"/"K" day
    bool levelOutOfRange = false; // a level the rating tables cannot take
};

// The month's days and its five statistics. A statistic without a value (no day in the
// month for the mean, no drainage area for yield and depth) is nullopt.
struct MonthFlow {
    int month = 0; // month number 1..12
    std::vector<MonthDay> days;
    double sum = 0.0; // S: the sum of the daily discharges
    double total = 0.0;
    std::optional<double> mean;
    std::optional<double> yield;
    std::optional<double> depth;
    double volume = 0.0;
};

// The five statistics of a month from the sum S of its daily discharges, its number of
// days n and the drainage area A.
void setMonthStatistics(MonthFlow& flow, double drainageArea);

// The month walk of the water-year file that carries the month, every day rated through the
// station's tables, and the statistics with their floor rules (A = drainage area):
// total = floor(S*100)/100, mean = floor(S/n*100)/100, yield = floor(mean*100000/A)/100,
// depth = floor(S*8640/A)/100, volume = floor(S*86.4)/1000.
MonthFlow computeMonthFlow(const std::vector<DayRecord>& records, const HqTableSet& tables, int month,
                           double drainageArea);

// The texts of columns 0-5 and 9 for a day, as the grid shows them (the rest empty).
std::array<std::string, kMonthGridColumns> monthRowTexts(const DayRecord& day, const Locale& locale);

// The whole table: grid, month label, station header and statistics labels. monthIndex is
// the month drop-down's index (0 = "10.ay  Ekim").
Sheet monthTableSheet(const MonthFlow& flow, const StationRecord& station, const std::string& flowFileName,
                      int monthIndex, const Locale& locale);

// fillMonthTable: computeMonthFlow for the month of the drop-down item, then the sheet.
Sheet fillMonthTable(const std::vector<DayRecord>& records, const HqTableSet& tables,
                     const StationRecord& station, const std::string& flowFileName, int monthIndex,
                     const Locale& locale);

// A grid cell whose text did not convert when the table was saved; the record keeps its
// stored value for it.
struct KeptCell {
    int row = 0;
    int column = 0;
    std::string dateText; // the date cell of its row
    std::string heading;  // the column heading
    std::string text;     // what the cell held
};

struct MonthTableSave {
    std::optional<std::size_t> firstRecord; // nothing found: nothing is saved
    std::map<std::size_t, DayRecord> changed;
    std::vector<KeptCell> kept;
};

// The records the save writes: rows 1.. while their date cell is filled, row r going into
// record first + r - 1, where first is the record (1..367) dated as row 1. Levels, times and
// the mean level are read from the cells with the locale's rules; a cell that still shows
// the stored value keeps it exactly, a cell that does not convert keeps it too and is
// reported. A NUL tag becomes spaces; a day whose values changed gets "E" as the second
// character of its tag. Only records whose bytes change are listed.
MonthTableSave planMonthTableSave(const Table& grid, const std::vector<DayRecord>& records,
                                  const Locale& locale);
// planMonthTableSave on the file, then the changed records written in place.
MonthTableSave saveMonthTable(const std::filesystem::path& flowFile, const Table& grid, const Locale& locale);

// The message naming the kept cells: one line per cell, its day and its column.
std::string keptCellsMessage(const std::vector<KeptCell>& kept);

} // namespace korvel
