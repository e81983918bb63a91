#pragma once

#include "core/Locale.h"
#include "core/OleDate.h"
#include "core/Table.h"
#include "flow/DayRating.h"
#include "flow/MeasuredDays.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvel {

inline constexpr std::string_view kTotalsMissingMessage = "Lütfen eksik deger birakmayınız..";
inline constexpr std::string_view kYearMalformedMessage = "Lütfen su yılını doğru giriniz";
inline constexpr std::string_view kYearNotNumericMessage = "Lütfen su yılını giriniz";
inline constexpr std::string_view kYearBuiltMessage = "su yılı oluşturuldu ve katıt edildi";

// The totals grid "MSFlexGrid1": 2 rows x 12 columns, the month names in the fixed row 0 and
// row 1 empty for the twelve monthly volumes.
Table monthlyTotalsTable();

// The day discharge of a month spread evenly from its total volume T (million m3) over its
// d days: T x 1000 / 86.4 / d, held as a 32-bit float.
float dischargeOfMonthlyTotal(double total, int days);

struct MonthlyTotalsOutcome {
    bool written = false;
    std::string message; // the refusal, or the message of a written year
    std::filesystem::path file;
    std::size_t records = 0;
    // Refused: the measured days of the existing file the year would replace.
    std::size_t measuredDays = 0;
};

// "N ölçülmüş gün ..." : the question put before measured days are replaced.
std::string measuredDaysQuestion(std::size_t measuredDays);

// Builds the water year `yearText` (the four-digit year it ends in) of the station from the
// twelve monthly totals (texts of the grid, "," or "." as the decimal separator). The checks
// run in order and the first that fails refuses with its message, writing nothing: a total
// left empty, a year box that is not four characters long, a year that is not a number, then
// a year no file can carry (before 0101) and a total that is not a number of zero or more.
// With `MeasuredDays::Keep`, an existing file whose days to be written hold measured days
// (neither blank nor "G"/"K") is refused too, naming how many (`measuredDays`).
// Otherwise one record per day from 1 October of the year before, tagged "G", carries the
// day discharge of its month; records past the last day keep their content. Throws FileError
// when the file cannot be written.
MonthlyTotalsOutcome buildYearFromMonthlyTotals(const std::filesystem::path& stationDir,
                                                std::string_view stationNumber, std::string_view yearText,
                                                const std::array<std::string, 12>& totals,
                                                const Locale& locale, MeasuredDays measuredDays);

// "Yeni su yılı": an empty box (after trimming) takes the year of today, any other box its
// numeric value plus one.
std::string nextWaterYearText(std::string_view yearBox, OleDate today);

} // namespace korvel
