#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/MeasurementCard.h"

#include <vector>

namespace korvel {

// The card grid "MSFlexGrid1": 1000 rows x 12 columns, one fixed heading row, row r showing
// record r; numbers with "." as the decimal separator, dates in the locale's short form.
inline constexpr int kMeasurementCardRows = 1000;
Table measurementCardTable(const std::vector<MeasurementCard>& records, const Locale& locale);
Sheet measurementCardSheet(const std::vector<MeasurementCard>& records, const Locale& locale);

} // namespace korvel
