#include "core/NumberFormat.h"

#include "core/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace korvel {
namespace {

struct Pattern {
    std::string prefix;
    std::string suffix;
    int integerPlaceholders = 0;
    int forcedIntegerDigits = 0; // placeholders from the leftmost integer "0" to the point
    bool grouping = false;
    int thousandScales = 0;
    bool hasPoint = false;
    std::string decimals; // the "0"/"#" placeholders after the point
    bool percent = false;
};

bool isPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Copies the literal at text[i] (a quoted run, an escaped character or a plain character)
// to out and moves i past it.
void takeLiteral(std::string_view text, std::size_t& i, std::string& out, bool& percent) {
    const char c = text[i];
    if (c == '"') {
        const std::size_t end = text.find('"', i + 1);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        out.append(text.substr(i + 1, stop - i - 1));
        i = stop == text.size() ? stop : stop + 1;
        return;
    }
    if (c == '\\' && i + 1 < text.size()) {
        out += text[i + 1];
        i += 2;
        return;
    }
    if (c == '%')
        percent = true;
    out += c;
    ++i;
}

Pattern parsePattern(std::string_view text) {
    Pattern p;
    std::size_t i = 0;
    while (i < text.size() && !isPlaceholder(text[i]) && text[i] != '.')
        takeLiteral(text, i, p.prefix, p.percent);

    // The placeholder run: integer placeholders and commas, then the point and decimals.
    std::string integerPart;
    for (; i < text.size() && (isPlaceholder(text[i]) || text[i] == ','); ++i)
        integerPart += text[i];
    if (i < text.size() && text[i] == '.') {
        p.hasPoint = true;
        for (++i; i < text.size() && (isPlaceholder(text[i]) || text[i] == ','); ++i)
            if (isPlaceholder(text[i]))
                p.decimals += text[i];
    }
    while (i < text.size())
        takeLiteral(text, i, p.suffix, p.percent);

    // Commas after the last integer placeholder scale; a comma with placeholders on both
    // sides groups.
    std::size_t lastPlaceholder = integerPart.find_last_of("0#");
    const std::size_t firstPlaceholder = integerPart.find_first_of("0#");
    if (lastPlaceholder != std::string::npos) {
        p.thousandScales = static_cast<int>(integerPart.size() - 1 - lastPlaceholder);
        for (std::size_t k = firstPlaceholder; k < lastPlaceholder; ++k)
            if (integerPart[k] == ',')
                p.grouping = true;
    }
    bool forced = false;
    for (char c : integerPart) {
        if (!isPlaceholder(c))
            continue;
        ++p.integerPlaceholders;
        forced = forced || c == '0';
        if (forced)
            ++p.forcedIntegerDigits;
    }
    return p;
}

// The digits of round(magnitude * 10^decimals), rounding the 15-significant-digit decimal
// text of the magnitude with halves away from zero.
std::string scaledDigits(double magnitude, int decimals) {
    if (magnitude == 0.0)
        return "0";
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string significant;
    for (char c : text.substr(0, e))
        if (c != '.')
            significant += c;
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    const long long keep = static_cast<long long>(exponent) + 1 + decimals;
    const auto length = static_cast<long long>(significant.size());
    if (keep < 0)
        return "0";
    if (keep >= length)
        return significant + std::string(static_cast<std::size_t>(keep - length), '0');
    std::string digits = significant.substr(0, static_cast<std::size_t>(keep));
    if (significant[static_cast<std::size_t>(keep)] >= '5') {
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k - 1];
    }
    return digits.empty() ? "0" : digits;
}

std::string grouped(const std::string& digits, char separator) {
    std::string out;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0)
            out += separator;
        out += digits[k];
    }
    return out;
}

} // namespace

std::string formatNumber(double value, std::string_view pattern, const Locale& locale) {
    if (pattern.empty() || pattern == "General Number" || !std::isfinite(value))
        return locale.numberText(value);
    const Pattern p = parsePattern(pattern);
    double scaled = value;
    if (p.percent)
        scaled *= 100.0;
    for (int k = 0; k < p.thousandScales; ++k)
        scaled /= 1000.0;
    if (!std::isfinite(scaled))
        return locale.numberText(value);

    const int decimals = static_cast<int>(p.decimals.size());
    std::string digits = scaledDigits(std::fabs(scaled), decimals);
    if (digits.size() < static_cast<std::size_t>(decimals) + 1)
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    std::string integer = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    const std::string fraction = digits.substr(integer.size());
    const bool zero = digits.find_first_not_of('0') == std::string::npos;

    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.size() < static_cast<std::size_t>(p.forcedIntegerDigits))
        integer.insert(0, static_cast<std::size_t>(p.forcedIntegerDigits) - integer.size(), '0');
    if (p.grouping)
        integer = grouped(integer, locale.groupSeparator());

    // Decimals up to the last forced "0" or the last significant digit, whichever is later.
    std::size_t shown = 0;
    for (std::size_t k = 0; k < fraction.size(); ++k)
        if (p.decimals[k] == '0' || fraction[k] != '0')
            shown = k + 1;

    std::string text;
    if (scaled < 0 && !zero)
        text += '-';
    text += p.prefix;
    text += integer;
    if (p.hasPoint)
        text += locale.decimalSeparator();
    text += fraction.substr(0, shown);
    text += p.suffix;
    return text;
}

} // namespace korvel
