#pragma once

#include "core/KeyFilters.h"

#include <functional>
#include <string>

namespace korvel {

// The character codes of the keys the grids treat specially (kKeyBackspace, kKeyEnter) are
// those of the key filters.

// Where the cursor goes after a key.
enum class GridMove {
    None,
    NextRow,    // one row down, unless on the last row
    NextColumn, // one column right, unless on the last column
    RowStart,   // the first column of the same row that is not a fixed column
};

// A key typed into the current cell: its position, its text (UTF-8) and the character code
// (8 backspace, 13 Enter, otherwise the character's Unicode value).
struct GridKey {
    int row = 0;
    int column = 0;
    std::string text;
    int key = 0;
};

// What the key does: the cell's new text, whether to beep, and the cursor move.
struct GridKeyResult {
    std::string text;
    bool beep = false;
    GridMove move = GridMove::None;
};

// The cell-editing rules of one grid.
using GridKeyFilter = std::function<GridKeyResult(const GridKey&)>;

} // namespace korvel
