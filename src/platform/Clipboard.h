#pragma once

#include "core/Table.h"

namespace korvel {

// The "kes" command of the table grids: empties the clipboard and puts the whole grid on it
// as text, every cell followed by a tab and every row ended by CR LF.
void copyGridToClipboard(const Table& table);

} // namespace korvel
