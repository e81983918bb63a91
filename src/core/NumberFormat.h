#pragma once

#include "core/Locale.h"

#include <string>
#include <string_view>

namespace korvel {

// A number written with a display pattern such as "##,##0.00", "###0.0" or "###.#":
// - "0" is a digit that is always shown, "#" a digit shown only when significant; the
//   integer part keeps all its digits however few placeholders there are, and an integer
//   part of 0 is left out when the pattern has no "0" before the point (0.5 in "#.##" -> ",5").
// - "." is the place of the decimal separator, written even when no decimal digit follows
//   (25 in "##.#" -> "25,", 0 in "###.#" -> ","); the number of placeholders after it is
//   the number of decimals the value is rounded to.
// - "," between integer placeholders groups the thousands with the locale's group
//   separator; a "," right before the point or at the end of the integer placeholders
//   divides the value by 1000 instead.
// - Any other character (or "\x", or text in double quotes) before or after the
//   placeholders is written as it stands; "%" multiplies the value by 100.
// - A negative value gets a leading "-", unless it shows as zero.
// Rounding works on the decimal text of the value with 15 significant digits and takes
// halves away from zero, so 2.345 in "0.00" gives 2.35 although the nearest double lies
// just below 2.345. An empty pattern or "General Number" gives the general number format;
// a value that is not finite is also written in the general format.
std::string formatNumber(double value, std::string_view pattern, const Locale& locale);

} // namespace korvel
