#include "core/KeyFilters.h"

#include "core/Cp1254.h"

namespace korvel {
namespace {

using Move = KeyOutcome::Move;

bool isDigitKey(char32_t key) {
    return key >= U'0' && key <= U'9';
}

std::string withoutLastCharacter(std::string_view text) {
    const std::size_t length = utf8Length(text);
    return length == 0 ? std::string() : utf8Left(text, length - 1);
}

KeyOutcome ignored(std::string_view cell) {
    return KeyOutcome{std::string(cell), false, Move::None, false};
}

KeyOutcome changed(std::string text, Move move = Move::None) {
    return KeyOutcome{std::move(text), false, move, true};
}

KeyOutcome refused(std::string_view cell) {
    return KeyOutcome{std::string(cell), true, Move::None, true};
}

// The character appended, or a beep when the cell already holds maxLength characters.
KeyOutcome appendLimited(std::string_view cell, char32_t key, std::size_t maxLength) {
    if (utf8Length(cell) >= maxLength)
        return refused(cell);
    return changed(std::string(cell) + codePointToUtf8(key));
}

// The rule shared by the HQ grids: "." becomes ","; "0" cells are emptied before a character.
KeyOutcome hqGridKey(std::string_view cell, char32_t key, bool moveDown, bool acceptSlash,
                     std::size_t maxLength) {
    if (key == U'.')
        key = U',';
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(cell));
    if (key == kKeyEnter)
        return changed(std::string(cell), moveDown ? Move::NextRow : Move::None);
    if (key == U',' || key == U':' || isDigitKey(key) || (acceptSlash && key == U'/'))
        return appendLimited(cell == "0" ? std::string_view() : cell, key, maxLength);
    return ignored(cell);
}

// The rule shared by the rainfall grids: "," becomes "."; no limits, no moves.
KeyOutcome rainGridKey(std::string_view cell, char32_t key) {
    if (key == U',')
        key = U'.';
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(cell));
    if (key == U'.' || key == U':' || isDigitKey(key))
        return changed(std::string(cell) + codePointToUtf8(key));
    return ignored(cell);
}

bool isStorableCharacter(char32_t key) {
    return key >= 0x20 && (key < 0x7F || key > 0x9F) && isCp1254Character(key);
}

} // namespace

KeyOutcome levelSheetKey(std::string_view cell, char32_t key, CellPosition at) {
    if (at.column != 1 && at.column != 2)
        return ignored(cell);
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(cell));
    if (key == kKeyEnter)
        return changed(std::string(cell), at.row < 33 ? Move::NextRow : Move::None);
    if (isDigitKey(key) || key == U':')
        return appendLimited(cell == "0" ? std::string_view() : cell, key, 4);
    return ignored(cell);
}

KeyOutcome hqTableKey(std::string_view cell, char32_t key, CellPosition at) {
    return hqGridKey(cell, key, at.row <= 98, false, 8);
}

KeyOutcome hqPeriodKey(std::string_view cell, char32_t key, CellPosition at) {
    return hqGridKey(cell, key, at.row < 15, true, 10);
}

KeyOutcome monthlyFlowKey(std::string_view cell, char32_t key, CellPosition at) {
    if (at.column < 1 || at.column > 5)
        return ignored(cell);
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(cell));
    if (key != kKeyEnter && key != U':' && !isDigitKey(key))
        return ignored(cell);
    const std::string_view text = cell == "0" || cell == "00:00:00" ? std::string_view() : cell;
    if (key == kKeyEnter)
        return changed(std::string(text), at.row < 31 ? Move::NextRow : Move::None);
    const bool timeColumn = at.column == 2 || at.column == 4;
    return appendLimited(text, key, timeColumn ? 7 : 3);
}

KeyOutcome yearbookExtremesKey(std::string_view cell, char32_t key, CellPosition at) {
    if (at.column != 1 && at.column != 2)
        return ignored(cell);
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(cell));
    if (key != kKeyEnter && key != U',' && key != U'.' && key != U':' && !isDigitKey(key))
        return ignored(cell);
    std::string text = cell == "0" ? std::string() : std::string(cell);
    if (key == kKeyEnter)
        return changed(std::move(text), at.row < 4 ? Move::NextRow : Move::None);
    return changed(text + codePointToUtf8(key));
}

KeyOutcome measurementCardKey(std::string_view cell, char32_t key, CellPosition at) {
    if (key == U',')
        key = U'.';
    const std::string_view text = cell == "0" || cell == "00:00:00" ? std::string_view() : cell;
    if (key == kKeyEnter)
        return changed(std::string(text), at.column >= 11 ? Move::FirstColumnSameRow : Move::NextColumn);
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(text));
    // Control characters and characters the card's code page cannot hold are not taken.
    if (!isStorableCharacter(key))
        return text == cell ? ignored(cell) : changed(std::string(text));
    return changed(std::string(text) + codePointToUtf8(key));
}

KeyOutcome monthlyTotalsKey(std::string_view cell, char32_t key, CellPosition at) {
    if (key == U'.')
        key = U',';
    if (key == kKeyBackspace)
        return changed(withoutLastCharacter(cell));
    if (key != kKeyEnter && key != U',' && key != U':' && !isDigitKey(key))
        return ignored(cell);
    const std::string_view text = cell == "0" ? std::string_view() : cell;
    if (key == kKeyEnter)
        return changed(std::string(text), at.column < 11 ? Move::NextColumn : Move::None);
    return appendLimited(text, key, 8);
}

KeyOutcome dailyRainKey(std::string_view cell, char32_t key) {
    return rainGridKey(cell, key);
}

KeyOutcome basinTableKey(std::string_view cell, char32_t key) {
    return rainGridKey(cell, key);
}

std::optional<char32_t> stationBoxKey(char32_t key) {
    return key == U',' ? U'.' : key;
}

std::optional<char32_t> stationDialBoxKey(char32_t key) {
    if (isDigitKey(key))
        return key;
    return std::nullopt;
}

std::optional<char32_t> fillValueBoxKey(char32_t key) {
    if (key == U'.')
        return U',';
    if (key == kKeyBackspace || key == U',' || key == U':' || isDigitKey(key))
        return key;
    return U'0';
}

} // namespace korvel
