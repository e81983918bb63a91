#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"

#include <string>

namespace korvel {

// The rating table screen's contents for one table file: the 100 x 11 table grid ("table":
// base levels 0..980 in column 0, discharges of level 10r + c shown "##,##0.00", empty when
// 0, rows shown only up to the last row ever saved), the period grid ("periods", 16 x 2),
// the three boxes, the station header and "HQ tablo adi:   " + file name.
Sheet hqTableSheet(const HqTable& table, const std::string& fileName, const StationRecord& station,
                   const Locale& locale);

} // namespace korvel
