#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "core/Table.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One CSV field: quoted, its quotes doubled, when it holds the separator, a quote or a line
// break, and also when it starts or ends with a space if `keepEdgeSpaces` (readers that trim
// unquoted fields then keep them).
std::string csvField(const std::string& text, char separator, bool keepEdgeSpaces = false);

// A grid as a CSV file: UTF-8 with a byte-order mark, every row and column (the fixed ones
// included), rows ended by CR LF. A field holding the separator, a quote or a line break is
// quoted, its quotes doubled.
std::string csvText(const Table& table, char separator);

// The texts of a report as a CSV file of two columns, label and value: the caption first (label
// "Başlık"), then every non-empty text in the order of the sheet; a text that names itself has
// an empty label.
std::string csvTextsOf(const Sheet& sheet, char separator);
// The file name of that CSV beside the grids' files.
inline constexpr const char* kCsvTextsName = "texts";

// The separator for the user's locale: ";" where the decimal separator is a comma (so numbers
// stay in one field), else ",".
char csvSeparator(const Locale& locale);

// The fields of CSV text written by csvText (a leading byte-order mark is skipped).
std::vector<std::vector<std::string>> parseCsvText(std::string_view text, char separator);

} // namespace korvel
