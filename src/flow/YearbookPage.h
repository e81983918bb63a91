#pragma once

#include "core/Locale.h"
#include "core/OleDate.h"
#include "core/Sheet.h"
#include "store/HqTable.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// One month of the yearbook page (m = 1 is October). Statistics without a value (no days
// for the mean, no drainage area for yield and depth) are nullopt.
struct YearbookMonth {
    int month = 0;
    // Daily discharges by day of month (index 1..31); nullopt without discharge.
    std::array<std::optional<double>, 32> discharge{};
    std::array<bool, 32> levelOutOfRange{};
    double sum = 0.0;
    int dayCount = 0;
    float monthMax = 0.0F;
    OleDate monthMaxDate;
    std::optional<float> monthMin; // none while no level day gave one
    OleDate monthMinDate;
    std::optional<double> mean;  // floor(S*1000/days)/1000
    std::optional<double> yield; // floor(mean*100000/A)/100
    std::optional<double> depth; // floor(volume*100000/A)/100
    double volume = 0.0;         // floor(S*86.4)/1000
};

struct YearbookFigures {
    std::array<YearbookMonth, 12> months;
    float yearMax = 0.0F;
    OleDate yearMaxDate;
    std::optional<float> yearMin;
    OleDate yearMinDate;
    double sumMean = 0.0;
    double sumYield = 0.0;
    double sumDepth = 0.0;
    double sumVolume = 0.0;
};

// The page's figures: the month walks with the daily discharges, the monthly maximum from
// the table at the day's maxLevel (maxLevel 0 never counts) and minimum from the table at
// minLevel, or at the rounded mean level on a day whose tag has "1" as third character
// ("R 1 ", one staff reading); then the year's extremes, the earlier month keeping a tie.
YearbookFigures computeYearbook(const std::vector<DayRecord>& records, const HqTableSet& tables,
                                double drainageArea);

// The screen "kitapfrm": extremes "MSFlexGrid1", monthly block "MSFlexGrid2", daily block
// "MSFlexGrid3", the boxes Text1-Text7 and the labels Label6, Label7. The water year Y is
// the number in the first four characters of the flow file name; flowFileCount is the
// number of the station's water-year files.
Sheet yearbookSheet(const YearbookFigures& figures, const StationRecord& station,
                    const std::string& flowFileName, int flowFileCount, const Locale& locale);

// fillYearbookPage: computeYearbook with the station's drainage area, then the sheet.
Sheet fillYearbookPage(const std::vector<DayRecord>& records, const HqTableSet& tables,
                       const StationRecord& station, const std::string& flowFileName, int flowFileCount,
                       const Locale& locale);

// The description boxes of the page that stand after a caption, with that caption.
struct CaptionedBox {
    const char* name;
    const char* caption;
};
inline constexpr std::array<CaptionedBox, 5> kYearbookCaptionedBoxes{{{"Text1", "Yeri.:"},
                                                                      {"Text2", "Yağış alanı:"},
                                                                      {"Text3", "Gözlem süresi:"},
                                                                      {"Text6", "Ortalama akımlar:"},
                                                                      {"Text7", "Yaklaşık kot:"}}};

} // namespace korvel
