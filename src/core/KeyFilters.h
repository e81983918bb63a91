#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The editing rules of the grids and boxes where the user types values. Each grid rule
// takes the current cell text (UTF-8), the key as a character code (Backspace 8, Enter 13,
// else the typed character) and the current cell, and tells what the cell becomes.
// The screens apply the outcome; nothing here touches a widget.

inline constexpr char32_t kKeyBackspace = 8;
inline constexpr char32_t kKeyEnter = 13;

struct KeyOutcome {
    enum class Move {
        None,
        NextRow,            // the cursor goes down one row
        NextColumn,         // the cursor goes right one column
        FirstColumnSameRow, // the cursor goes back to column 0 of its row
    };

    std::string text;       // the cell text after the key
    bool beep = false;      // the key was refused (the text is unchanged)
    Move move = Move::None; // where the cursor goes after the key
    bool handled = false;   // false: the key was ignored and nothing changes

    bool operator==(const KeyOutcome&) const = default;
};

struct CellPosition {
    int row = 0;
    int column = 0;
};

// Level observation sheet: only the reading columns 1 (08:00) and 2 (16:00) take keys.
// Digits and ":" are appended, a cell holding "0" is emptied first, a cell of 4 characters
// refuses with a beep; Enter moves down while the row is below 33.
KeyOutcome levelSheetKey(std::string_view cell, char32_t key, CellPosition at);

// HQ rating table grid: "." is entered as ","; "," digits and ":" are appended, a cell
// holding "0" is emptied first, a cell of 8 characters refuses with a beep; Enter moves
// down while the row is at most 98.
KeyOutcome hqTableKey(std::string_view cell, char32_t key, CellPosition at);
// HQ validity periods grid (rows 1..15): the table grid's rules, "/" accepted too, at most
// 10 characters; Enter moves down while the row is below 15, the last period row.
KeyOutcome hqPeriodKey(std::string_view cell, char32_t key, CellPosition at);

// Monthly flow table: only columns 1-5 take keys. Enter, digits and ":" first empty a cell
// holding exactly "0" or "00:00:00"; a digit or ":" is refused with a beep by a time cell
// (columns 2, 4) of 7 characters or a level cell (columns 1, 3, 5) of 3; Enter moves down
// while the row is below 31.
KeyOutcome monthlyFlowKey(std::string_view cell, char32_t key, CellPosition at);

// Yearbook page extremes block: only columns 1 and 2 take keys. Enter, ",", ".", digits
// and ":" first empty a cell holding exactly "0"; Enter moves down unless on row 4 (the last).
KeyOutcome yearbookExtremesKey(std::string_view cell, char32_t key, CellPosition at);

// Discharge measurement card: every column takes keys. "," is entered as "."; a cell
// holding exactly "0" or "00:00:00" is emptied first; Enter moves right, from column 11
// back to column 0; any other character the card can store is appended.
KeyOutcome measurementCardKey(std::string_view cell, char32_t key, CellPosition at);

// Water year from monthly totals: "." is entered as ","; Enter, ",", digits and ":" first
// empty a cell holding exactly "0"; a cell of 8 characters refuses with a beep; Enter moves
// right unless on column 11 (the last).
KeyOutcome monthlyTotalsKey(std::string_view cell, char32_t key, CellPosition at);

// Minute grid of the daily rainfall table: "," is entered as "."; ".", digits and ":" are
// appended; other keys (Enter included) are ignored.
KeyOutcome dailyRainKey(std::string_view cell, char32_t key);
// The basin rainfall, rainfall-runoff and rainy-day tables edit their cells the same way.
KeyOutcome basinTableKey(std::string_view cell, char32_t key);

// Box filters: the key the box receives, or nothing when the key is discarded.
// Station screen boxes (number, names, opening date, elevation, areas, coordinates, note):
// a comma is entered as a period.
std::optional<char32_t> stationBoxKey(char32_t key);
// Station screen phone number and dial prefix boxes: digits only, Backspace discarded too.
std::optional<char32_t> stationDialBoxKey(char32_t key);
// Fill value box of the daily rainfall table: "." is entered as ","; Backspace, ",", digits
// and ":" pass; any other key is entered as "0".
std::optional<char32_t> fillValueBoxKey(char32_t key);

} // namespace korvel
