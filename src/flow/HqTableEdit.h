#pragma once

#include "core/Locale.h"
#include "core/Table.h"
#include "store/HqGrid.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel {

// The rating screen's grids read back as the table functions take them. The table grid
// ("table", 100 x 11) holds level 10r + c in row r + 1, column c + 1; the period grid
// ("periods", 16 x 2) periods 1..15 in rows 1..15.
struct HqGridReading {
    HqGridCells cells;
    // Cells whose text is no number ("1:5"), as "row/column" positions of the grid.
    std::vector<std::pair<int, int>> unreadable;
};

// Numbers as shown ("1.234,56") or as typed ("12,5", the key filter entering "." as ","); an
// empty cell is nullopt.
HqGridReading hqCellsOfGrid(const Table& grid, const Locale& locale);
// Writes the given levels of the cells into the grid with "##,##0.00".
void showHqCells(Table& grid, const HqGridCells& cells, const std::vector<std::size_t>& levels,
                 const Locale& locale);
// The period rows; a cell that is no date reads as nullopt.
std::vector<HqPeriodRow> hqPeriodsOfGrid(const Table& grid, const Locale& locale);

// The message naming cells that are no number.
std::string unreadableCellsMessage(const std::vector<std::pair<int, int>>& cells, const Table& grid);

// The message naming period rows, above the first one without a start, whose start is no
// date; nullopt when there is none. Saving such a grid would end the periods at the mistyped
// row and drop those below it.
std::optional<std::string> unreadablePeriodsMessage(const Table& grid, const Locale& locale);

} // namespace korvel
