#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The key rules of the rainfall screens in plain types, for screens that include the grid's own
// key codes beside them. Keys are character codes (8 Backspace, 13 Enter, else the character).

// A cell of the daily table's minute grid (and of the basin tables) after the key; nothing
// when the key is ignored.
std::optional<std::string> rainCellAfterKey(std::string_view cell, int key);
std::optional<std::string> basinCellAfterKey(std::string_view cell, int key);
// The key the daily table's fill box receives instead of the typed one; nothing when dropped.
std::optional<char32_t> fillValueBoxReceives(char32_t key);

} // namespace korvel
