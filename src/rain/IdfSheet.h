#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "rain/RainfallIdf.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// What the rainfall intensity-duration-frequency screen shows: the annual maxima "maxima" with
// the starts of the windows "maximumStarts" (years x durations), the depths "depth" and
// intensities "intensity" of the shown distribution (durations x return periods) with their
// 90 % intervals "depthInterval" and "intensityInterval", the fitted parameters "parameters",
// and the texts "distribution", "years", "leftOut" and "interval".
inline constexpr const char* kIdfCaptionTail = "  nolu istasyonun yağış şiddet-süre-tekerrür analizi";

std::string distributionName(ExtremeDistribution distribution);

Sheet idfSheet(const IdfAnalysis& idf, ExtremeDistribution shown, std::string_view stationNumber,
               const std::vector<LeftOutRainYear>& leftOut, const Locale& locale);

} // namespace korvel
