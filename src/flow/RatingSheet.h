#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "flow/RatingFit.h"
#include "store/StationRecord.h"

#include <string>

namespace korvel {

// A number with a few significant digits and the locale's decimal separator ("2,5e-04").
std::string significantNumber(double value, int digits, char decimalSeparator);

// The "Anahtar eğrisi" screen's contents for a fit: the grids "gaugings" (row, date, level,
// discharge, fitted discharge, deviation %, in the band, left out), "segments" (range, a, e,
// b of each) and "curve" (every 10 mm of the covered range with both bands), the texts
// "segmentChoice", "standardError", "gaugingCount", "range" and the station header.
Sheet ratingSheet(const RatingFit& fit, const StationRecord& station, const Locale& locale);

// The column of the gaugings grid that marks a gauging left out, and its mark.
inline constexpr int kLeftOutColumn = 7;
inline constexpr const char* kLeftOutMark = "X";

} // namespace korvel
