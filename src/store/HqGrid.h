#pragma once

#include "store/HqTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The rating table as the HQ screen edits it: 99 rows of 10 cells, cell index = 10 * row +
// column = level 0..989. An empty cell is nullopt; a cell holding "0" is the value 0.
inline constexpr std::size_t kHqGridRows = 99;
inline constexpr std::size_t kHqGridColumns = 10;
inline constexpr std::size_t kHqGridCells = kHqGridRows * kHqGridColumns;

using HqGridCells = std::vector<std::optional<double>>;

// One row of the validity-period grid; nullopt for an empty cell or text that is no date.
struct HqPeriodRow {
    std::optional<OleDate> start;
    std::optional<OleDate> end;
};

// Rows shown when the table is opened: up to and including the first row r whose next
// level 10 * (r + 1) carries no flag, i.e. the table was never saved beyond it.
std::size_t visibleRowCount(const HqTable& table);
// Periods listed on the screen: 1..15 up to the first with an empty start date.
std::size_t listedPeriodCount(const HqTable& table);
// The cells shown on opening: non-zero discharges of the visible rows, the rest empty.
HqGridCells gridCellsOfTable(const HqTable& table);

// Fills each gap (cells whose value is 0, empty ones included) between two values by
// linear interpolation, the filled cells holding what the grid shows (two decimals).
// A gap with no value before it stays empty; a gap with no value after it ends the fill.
// Filled levels whose flag is still NUL get flag "2". Returns the filled indices in order.
std::vector<std::size_t> fillGaps(HqGridCells& cells, std::string& keyFlags);

// Takes the screen's grids and boxes into the table as the save command stores them:
// enteredBy and remarks cut to 50 and 200 characters, createdOn unchanged when nullopt;
// levels 0..989 take their cell value (0 when empty) and NUL flags become "1" for a value,
// "8" for an empty cell (flags set before never change); periods 1..15 up to the first
// row without a start date, an end that is no date leaving the stored end as it was; the
// stored periods from that row on are cleared, so that a period taken off the grid is no
// longer in force.
void applyGridToTable(HqTable& table, const HqGridCells& cells, const std::vector<HqPeriodRow>& periods,
                      std::string_view enteredBy, std::optional<OleDate> createdOn, std::string_view remarks);

} // namespace korvel
