#pragma once

#include "core/Locale.h"
#include "core/OleDate.h"
#include "core/Sheet.h"
#include "flow/DayRating.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// One day of the annual table.
struct AnnualDay {
    int dayOfMonth = 0; // 0: the record carries no date
    float meanValue = 0.0F;
    std::optional<double> discharge;
    bool givenDischarge = false;  // a "G"/"K" day
    bool levelOutOfRange = false; // a level the rating tables cannot take
};

// One month walk of the water year (m = 1 is October) with its figures. Statistics without
// a value (no days for the mean, no drainage area for yield and depth) are nullopt.
struct AnnualMonth {
    int month = 0; // month number of the walk's records, 0 for records without a date
    std::vector<AnnualDay> days;
    double sum = 0.0; // S[m]
    int dayCount = 0; // days[m]
    float instMax = 0.0F;
    int instMaxDay = 0;
    std::optional<float> instMin; // none while no level day gave one
    int instMinDay = 0;
    double total = 0.0;          // floor(S*1000)/1000
    std::optional<double> mean;  // floor(S*1000/days)/1000
    std::optional<double> yield; // floor(mean*100000/A)/100
    std::optional<double> depth; // floor(volume*100000/A)/100
    double volume = 0.0;         // floor(S*86.4)/1000
};

// A rating table period used during the year.
struct UsedKeyPeriod {
    std::string hqKey;
    OleDate start;
    OleDate end;
};

// The annual flow table's figures: the twelve months, the table periods used (in the order
// first used), and the four annual figures: the plain averages of the monthly means and
// yields (floor to hundredths) and the sums of the monthly depths and volumes.
struct AnnualFlow {
    std::array<AnnualMonth, 12> months;
    std::vector<UsedKeyPeriod> keyPeriods;
    double annualMean = 0.0;
    double annualYield = 0.0;
    double annualDepth = 0.0;
    double annualVolume = 0.0;
};

// The annual computation over one water-year file: the twelve month walks, every day rated
// through the station's tables, the instantaneous extremes of the level days (ties keep the
// earlier day, a minimum level of 0 is no candidate, levels outside the tables are skipped)
// and the monthly and annual figures. Also used by the basin tables for their flow figures.
AnnualFlow computeAnnualFlow(const std::vector<DayRecord>& records, const HqTableSet& tables,
                             double drainageArea);

// A daily discharge as the annual table writes it: "###0.000" below 10, "###0.00" below 100,
// else "###0.0"; the format is chosen on the value before rounding.
std::string dischargeText(double discharge, const Locale& locale);

// The screen "Yıllıkfrm": month strip "MSFlexGrid1", daily grid "MSFlexGrid2", month summary
// "MSFlexGrid3", instantaneous extremes "MSFlexGrid4", key list "List1" (one column), the
// station header, "waterYear" and the annual figures.
Sheet annualFlowSheet(const AnnualFlow& flow, const StationRecord& station, const std::string& flowFileName,
                      const Locale& locale);

// fillAnnualTable: computeAnnualFlow with the station's drainage area, then the sheet.
Sheet fillAnnualTable(const std::vector<DayRecord>& records, const HqTableSet& tables,
                      const StationRecord& station, const std::string& flowFileName, const Locale& locale);

} // namespace korvel
