#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "rain/RainYearAnalysis.h"

#include <array>
#include <string>
#include <string_view>

namespace korvel {

// What the one-year analysis screen shows: the daily grid "f1book1" (32 x 13), the summary grid
// "MSFlexGrid1" (3 x 13), the four labels and the twelve duration boxes "Text1" ... "Text12".
inline constexpr const char* kRainAnalysisCaption = "Bir yıllık yağış analizi";
inline constexpr const char* kDailyGridName = "f1book1";
inline constexpr const char* kSummaryGridName = "MSFlexGrid1";
inline constexpr const char* kRainyDaysLabel = "rainyDays";
inline constexpr const char* kAnnualTotalLabel = "annualTotal";
inline constexpr const char* kLargestDayLabel = "largestDay";
inline constexpr const char* kUnitsLabel = "units";
inline constexpr const char* kUnitsText = "   Değerler (mm) dir";

// The captions of the labels beside Text1 ... Text12.
extern const std::array<const char*, kRainDurationCount> kDurationCaptions;

// "Text1" ... "Text12", the box of duration i (0..11).
std::string durationBoxName(int index);

// "15.11.2003_14:07:00_12,5": date, start time and depth in mm; a duration that got no value
// shows an empty date, 00:00:00 and 0.
std::string durationBoxText(const DurationMaximum& maximum, const Locale& locale);

// The daily grid and the summary grid, headings and widths included.
Table dailyGridTable(const RainYearAnalysis& analysis, const Locale& locale);
Table summaryGridTable(const RainYearAnalysis& analysis, const Locale& locale);

// The window caption: the station number in its 8-character field, then
// "  nolu istasyonun Pluviograf yağış değerlerinin analizi".
std::string rainAnalysisCaption(std::string_view stationNumber);

// The whole screen.
Sheet rainYearAnalysisSheet(const RainYearAnalysis& analysis, std::string_view stationNumber,
                            const Locale& locale);

} // namespace korvel
