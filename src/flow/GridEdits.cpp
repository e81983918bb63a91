#include "flow/GridEdits.h"

#include <algorithm>

namespace korvel {

namespace {

bool inDataArea(const Table& grid, CellPoint cell) {
    return cell.row >= grid.fixedRows() && cell.column >= grid.fixedColumns() && cell.row < grid.rows() &&
           cell.column < grid.columns();
}

bool fillRectangle(Table& grid, int top, int left, int bottom, int right, const std::string& text) {
    bottom = std::min(bottom, grid.rows() - 1);
    right = std::min(right, grid.columns() - 1);
    bool written = false;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column) {
            grid.setCell(row, column, text);
            written = true;
        }
    return written;
}

} // namespace

bool copyCellToRange(Table& grid, CellPoint pressed, CellPoint released) {
    if (!inDataArea(grid, pressed))
        return false;
    const std::string text = grid.cell(pressed.row, pressed.column);
    return fillRectangle(grid, pressed.row, pressed.column, released.row, released.column, text);
}

bool fillBlock(Table& grid, CellPoint pressed, CellPoint released) {
    if (!inDataArea(grid, pressed) || !inDataArea(grid, released))
        return false;
    const std::string text = grid.cell(pressed.row, pressed.column);
    return fillRectangle(grid, std::min(pressed.row, released.row), std::min(pressed.column, released.column),
                         std::max(pressed.row, released.row), std::max(pressed.column, released.column),
                         text);
}

} // namespace korvel
