#include "core/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace korvel {
namespace {

template <typename T> std::optional<T> roundedInRange(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}

// Length of the number at the start of text, 0 when there is none.
std::size_t numberPrefixLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        std::size_t fraction = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t expStart = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

std::string generalText(double value, int significant, char decimalSeparator) {
    if (value == 0.0)
        return "0";
    if (!std::isfinite(value))
        return kNotAFigure;
    // to_chars ignores the C locale, which a GUI program may have set to a decimal comma.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant);
    const std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    for (char& c : mantissa)
        if (c == '.')
            c = decimalSeparator;
    if (e == std::string::npos)
        return mantissa;
    int exponent = 0;
    const char* expText = text.c_str() + e + 1;
    if (*expText == '+')
        ++expText;
    std::from_chars(expText, text.c_str() + text.size(), exponent);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + exp;
}

} // namespace

double roundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<std::int64_t> roundToInt64(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18)
        return std::nullopt;
    return static_cast<std::int64_t>(roundHalfEven(value));
}

std::optional<std::int16_t> roundToInt16(double value) {
    return roundedInRange<std::int16_t>(value);
}
std::optional<std::uint8_t> roundToByte(double value) {
    return roundedInRange<std::uint8_t>(value);
}

double numericValue(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    std::size_t length = numberPrefixLength(text);
    if (length == 0)
        return 0.0;
    if (text.front() == '+') {
        text.remove_prefix(1);
        --length;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + length, value);
    if (result.ec == std::errc::result_out_of_range)
        return text.front() == '-' ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    return value;
}

bool isNumericText(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return !text.empty() && numberPrefixLength(text) == text.size();
}

std::string generalNumber(double value, char decimalSeparator) {
    return generalText(value, 15, decimalSeparator);
}

std::string generalNumber32(float value, char decimalSeparator) {
    return generalText(static_cast<double>(value), 7, decimalSeparator);
}

double floorTo(double value, int digits) {
    const double scale = std::pow(10.0, digits);
    return std::floor(value * scale) / scale;
}

} // namespace korvel
