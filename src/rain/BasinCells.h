#pragma once

#include "core/Locale.h"
#include "core/Table.h"
#include "flow/AnnualFlow.h"
#include "rain/RainYearAnalysis.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The number a cell shows when a value is written with a display pattern and read back.
double shownNumber(double value, std::string_view pattern);
// The number of a cell that holds a 32-bit value in the general format.
double shownNumber32(float value);

// A gauge's daily total as the daily grid shows it, in mm (0 for an empty cell).
double dailyRainMm(const RainYearAnalysis& analysis, int monthColumn, int day);

// The Q cell of a day of the annual table's daily grid read as a number: nothing for an
// empty cell or one that holds no number.
std::optional<double> dailyDischargeCell(const AnnualFlow& flow, int month, int day);

// Row 0 "Aylar", the Roman months in columns 1..12 and "yıllık" in column 13.
void setMonthHeadings(Table& table);

// The station number as the basin tables show it: from the fourth character of the
// 8-character field, `count` characters.
std::string gaugeNumberText(std::string_view stationNumber, std::size_t count);

} // namespace korvel
