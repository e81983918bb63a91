#pragma once

#include <gtest/gtest.h>
#include <initializer_list>

namespace korvel::testing {

// One cell of a grid and the text it should show.
struct CellText {
    int row;
    int column;
    const char* text;
};

// Each listed cell of `grid` (anything with cell(row, column)) holds its text; a failure names the cell.
template <typename Grid> void expectCells(const Grid& grid, std::initializer_list<CellText> cells) {
    for (const CellText& c : cells)
        EXPECT_EQ(grid.cell(c.row, c.column), c.text) << "cell (" << c.row << ", " << c.column << ")";
}

} // namespace korvel::testing
