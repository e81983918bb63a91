#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/MeasurementCard.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The card grid "MSFlexGrid1": 1000 rows x 12 columns, one fixed heading row, row r showing
// record r; numbers with "." as the decimal separator, dates in the locale's short form.
inline constexpr int kMeasurementCardRows = 1000;
// The heading of a card column 0..11 as the grid shows it; empty for any other column.
std::string measurementCardHeading(int column);
// A text field of the card as the grid shows it and the save takes it: zero bytes (records
// between saved rows, a field never written) read as spaces.
std::string cardFieldText(std::string_view field);
Table measurementCardTable(const std::vector<MeasurementCard>& records, const Locale& locale);
Sheet measurementCardSheet(const std::vector<MeasurementCard>& records, const Locale& locale);

} // namespace korvel
