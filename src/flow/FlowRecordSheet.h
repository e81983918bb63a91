#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "flow/FlowDuration.h"
#include "flow/FlowRecord.h"

#include <string_view>

namespace korvel {

// The flow-duration screen: the grid "duration" (p = 1 ... 99 down; all years, then each year
// across), the grid "years" (counted and missing days, Q5, Q50 and Q95 of each year and of all
// years) and the texts "Q5", "Q50", "Q95", "days" and "units".
Sheet flowDurationSheet(const FlowDuration& duration, std::string_view stationNumber, const Locale& locale);

// The long-record screen: the grid "annual" (each year's mean as the annual table gives it, its
// largest and smallest day with their dates, counted and missing days) and the texts "period",
// "leftOut" and "units".
Sheet flowRecordSheet(const FlowRecord& record, std::string_view stationNumber, const Locale& locale);

} // namespace korvel
