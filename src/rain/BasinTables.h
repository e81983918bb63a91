#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "flow/AnnualFlow.h"
#include "rain/RainYearAnalysis.h"

#include <array>
#include <filesystem>
#include <string>

namespace korvel {

// The basin tables combine three rain gauges with one flow gauge for one water year. Their
// figures come from the one-year rainfall analysis of each rainfall-year file and from the
// annual flow computation of the water-year file, taken as those screens show them (a cell
// written with a display pattern is read back rounded).

inline constexpr int kBasinGaugeCount = 3;

struct BasinGauge {
    std::string stationNumber; // the 8-character field of the gauge's station record
    float thiessenArea = 0.0F;
    RainYearAnalysis analysis;
};

struct BasinFlowGauge {
    AnnualFlow flow;
    float drainageArea = 0.0F;
};

struct BasinInputs {
    std::array<BasinGauge, kBasinGaugeCount> gauges;
    BasinFlowGauge flowGauge;
};

// Analyses the three rainfall-year files (the analysis writes repaired dates back, as it does
// when opened on the screen) and computes the annual flow of the water-year file; each file's
// station is the genel.tan of its folder. A file that cannot be read gives an empty gauge.
BasinInputs loadBasinInputs(const std::filesystem::path& flowFile,
                            const std::array<std::filesystem::path, kBasinGaugeCount>& rainFiles);

// The water-year month headings "X" ... "IX", October first.
extern const std::array<const char*, 12> kRomanMonths;

// "Tablolar (1)", screen kht1: monthly totals and maxima of each gauge and the basin means in
// "MSFlexGrid1"; the two chart series in "chart1" (basin mean and runoff depth of each month)
// and "chart2" (both summed over the months), rows 1..12 under the Roman month labels.
Sheet basinRainSheet(const BasinInputs& inputs, const Locale& locale);

// "Tablolar(2)", screen kht2: basin mean daily rainfall beside the daily discharge.
Sheet basinDailySheet(const BasinInputs& inputs, const Locale& locale);

// "Tablolar(3)", screen kht345: monthly rainfall and runoff with the entry rows (MSFlexGrid1),
// the seasons (MSFlexGrid2) and the heaviest rain of given durations (MSFlexGrid3).
Sheet basinRunoffSheet(const BasinInputs& inputs, const Locale& locale);

// "Tablolar(4)", screen kht6: rainy-day classes of the gauges (MSFlexGrid1) and the daily
// runoff-depth classes of the flow gauge (MSFlexGrid2).
Sheet rainyDaySheet(const BasinInputs& inputs, const Locale& locale);

// Screen kht10: the multi-year summary, an entry grid with its headings only.
Sheet multiYearSummarySheet();

// Class counting rules of kht6, exposed for the tests: the six cumulative rainy-day classes a
// daily total reaches, and the flow class (1..5, 0 for none) of a daily discharge in m3/s.
int rainyDayClassCount(double dailyMm);
int flowClassOf(double discharge, double drainageArea);

} // namespace korvel
