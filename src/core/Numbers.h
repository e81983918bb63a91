#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace korvel {

// Real to integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);
// Rounded and range-checked: nothing when the value is not finite or does not fit.
std::optional<std::int64_t> roundToInt64(double value);
std::optional<std::int16_t> roundToInt16(double value);
std::optional<std::uint8_t> roundToByte(double value);

// Leading spaces skipped, then the longest prefix that forms a number with "." as the
// decimal separator (sign, digits, fraction, exponent); no number gives 0.
double numericValue(std::string_view text);
// True when the whole text (spaces aside) is such a number.
bool isNumericText(std::string_view text);

// The whole text as a number of type T the way from_chars reads it: "." as decimal mark, no
// spaces, no "+". Nothing for any other text, a value out of T's range, or a floating value that
// is not finite.
template <typename T> std::optional<T> wholeTextNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value))
            return std::nullopt;
    }
    return value;
}

// What a value that is not a finite number (a damaged file's NaN or Inf) shows instead of a figure.
inline constexpr const char* kNotAFigure = "?";

// The general number format: the shortest text of the value with up to 15 significant
// digits (7 for a 32-bit value), no trailing zeros, exponent form "1E+15" for large and
// "1E-05" for small values, and the given decimal separator.
std::string generalNumber(double value, char decimalSeparator = '.');
std::string generalNumber32(float value, char decimalSeparator = '.');

// floor(value * 10^digits) / 10^digits with the product taken as the files' programs do.
double floorTo(double value, int digits);

} // namespace korvel
