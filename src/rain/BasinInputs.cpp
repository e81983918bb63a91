#include "core/Cp1254.h"
#include "core/NumberFormat.h"
#include "rain/BasinCells.h"
#include "rain/BasinTables.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

namespace korvel {

const std::array<const char*, 12> kRomanMonths{"X",  "XI", "XII", "I",   "II",   "III",
                                               "IV", "V",  "VI",  "VII", "VIII", "IX"};

BasinInputs loadBasinInputs(const std::filesystem::path& flowFile,
                            const std::array<std::filesystem::path, kBasinGaugeCount>& rainFiles) {
    BasinInputs inputs;
    for (std::size_t s = 0; s < rainFiles.size(); ++s) {
        BasinGauge& gauge = inputs.gauges[s];
        const StationRecord station = loadStationRecord(rainFiles[s].parent_path(), "");
        gauge.stationNumber = station.stationNumber;
        gauge.thiessenArea = station.thiessenArea;
        if (auto analysed = analyseRainYearFile(rainFiles[s]))
            gauge.analysis = std::move(analysed->analysis);
    }
    const std::filesystem::path flowDir = flowFile.parent_path();
    const StationRecord flowStation = loadStationRecord(flowDir, "");
    inputs.flowGauge.drainageArea = flowStation.drainageArea;
    inputs.flowGauge.flow =
        computeAnnualFlow(readWaterYearFile(flowFile), loadHqTableSet(flowDir), flowStation.drainageArea);
    return inputs;
}

double shownNumber(double value, std::string_view pattern) {
    const Locale& locale = Locale::turkish();
    return locale.parseNumber(formatNumber(value, pattern, locale)).value_or(0.0);
}

double shownNumber32(float value) {
    const Locale& locale = Locale::turkish();
    return locale.parseNumber(locale.numberText32(value)).value_or(0.0);
}

double dailyRainMm(const RainYearAnalysis& analysis, int monthColumn, int day) {
    if (monthColumn < 1 || monthColumn > 12 || day < 1 || day > 31)
        return 0.0;
    return analysis.dailyTenths[static_cast<std::size_t>(monthColumn)][static_cast<std::size_t>(day)] / 10.0;
}

std::optional<double> dailyDischargeCell(const AnnualFlow& flow, int month, int day) {
    if (month < 1 || month > 12)
        return std::nullopt;
    std::optional<double> cell;
    // A later record of the same day overwrites the cell, as in the daily grid.
    for (const AnnualDay& entry : flow.months[static_cast<std::size_t>(month - 1)].days) {
        if (entry.dayOfMonth != day)
            continue;
        if (entry.discharge)
            cell = Locale::turkish().parseNumber(dischargeText(*entry.discharge, Locale::turkish()));
        else if (entry.levelOutOfRange)
            cell = std::nullopt;
    }
    return cell;
}

void setMonthHeadings(Table& table) {
    table.setCell(0, 0, "Aylar");
    for (int k = 1; k <= 12; ++k)
        table.setCell(0, k, kRomanMonths[static_cast<std::size_t>(k - 1)]);
    table.setCell(0, 13, "yıllık");
}

std::string gaugeNumberText(std::string_view stationNumber, std::size_t count) {
    return utf8Mid(fixedText(stationNumber, StationRecord::stationNumberWidth), 3, count);
}

} // namespace korvel
