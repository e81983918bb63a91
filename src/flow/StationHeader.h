#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/StationRecord.h"

namespace korvel {

// The station labels above every flow table: the institute heading and the station's
// number, region, river, name, drainage area, elevation and coordinates. Fixed-width
// fields are shown at full width; numbers in the general number format.
void addStationHeader(Sheet& sheet, const StationRecord& station, const Locale& locale);

// The institute heading: trimmed region name + "  ARAŞTIRMA ENSTİTÜSÜ".
std::string instituteHeading(const StationRecord& station);

} // namespace korvel
