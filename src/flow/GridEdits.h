#pragma once

#include "core/Table.h"

namespace korvel {

// A cell of a grid where the mouse went down or came up; -1 when outside every cell.
struct CellPoint {
    int row = -1;
    int column = -1;
};

// The monthly table's "Command1": the text of the cell where the mouse went down is written
// into every cell from there to the cell where it came up, rows and columns increasing. A
// press on a fixed cell, or a release above or left of the press, copies nothing. Returns
// whether anything was written.
bool copyCellToRange(Table& grid, CellPoint pressed, CellPoint released);

// The level sheet's "En Üstteki iledoldur": when both cells lie outside the fixed rows and
// columns, every cell of the rectangle between them takes the text of the pressed cell.
bool fillBlock(Table& grid, CellPoint pressed, CellPoint released);

} // namespace korvel
