#include "core/Locale.h"

#include "core/Numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvel {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Reads the digits at the front of text; false when there is none or more than maxDigits.
bool takeNumber(std::string_view& text, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (!text.empty() && isDigit(text.front())) {
        if (++digits > maxDigits)
            return false;
        value = value * 10 + (text.front() - '0');
        text.remove_prefix(1);
    }
    return digits > 0;
}

// "tr_tr.utf-8@euro" -> language "tr", country "tr".
struct LocaleName {
    std::string language;
    std::string country;
};

LocaleName splitName(std::string_view name) {
    name = trimSpaces(name);
    const std::size_t end = name.find_first_of(".@");
    if (end != std::string_view::npos)
        name = name.substr(0, end);
    LocaleName parts;
    const std::size_t sep = name.find_first_of("_-");
    for (char c : name.substr(0, sep))
        parts.language += lowerAscii(c);
    if (sep != std::string_view::npos)
        for (char c : name.substr(sep + 1))
            parts.country += lowerAscii(c);
    return parts;
}

} // namespace

Locale::Locale(std::string name, char decimal, char group, DateOrder order, char dateSeparator, bool padDate,
               bool twelveHour)
    : name_(std::move(name)), decimal_(decimal), group_(group), order_(order), dateSeparator_(dateSeparator),
      padDate_(padDate), twelveHour_(twelveHour) {}

const Locale& Locale::turkish() {
    static const Locale locale("tr_TR", ',', '.', DateOrder::DayMonthYear, '.', true, false);
    return locale;
}

const Locale& Locale::american() {
    static const Locale locale("en_US", '.', ',', DateOrder::MonthDayYear, '/', false, true);
    return locale;
}

std::optional<Locale> Locale::byName(std::string_view name) {
    static const Locale british("en_GB", '.', ',', DateOrder::DayMonthYear, '/', true, false);
    static const Locale german("de_DE", ',', '.', DateOrder::DayMonthYear, '.', true, false);
    struct Known {
        const char* language;
        const char* country;
        const Locale* locale;
    };
    const std::array<Known, 4> known = {
        {{"tr", "tr", &turkish()}, {"en", "us", &american()}, {"en", "gb", &british}, {"de", "de", &german}}};
    const LocaleName wanted = splitName(name);
    for (const Known& k : known) {
        // A bare language ("tr", "en") means its first country in the list.
        if (wanted.language == k.language && (wanted.country.empty() || wanted.country == k.country))
            return *k.locale;
    }
    return std::nullopt;
}

Locale Locale::select(std::string_view override, std::string_view lcAll, std::string_view lcNumeric,
                      std::string_view lang) {
    if (auto chosen = byName(override))
        return *chosen;
    for (std::string_view system : {lcAll, lcNumeric, lang}) {
        if (trimSpaces(system).empty())
            continue;
        if (auto chosen = byName(system))
            return *chosen;
        return turkish(); // C, POSIX or a locale the program does not know
    }
    return turkish();
}

Locale Locale::fromEnvironment() {
    const auto variable = [](const char* name) -> std::string_view {
        const char* value = std::getenv(name);
        return value ? std::string_view(value) : std::string_view();
    };
    return select(variable("KORVEL_LOCALE"), variable("LC_ALL"), variable("LC_NUMERIC"), variable("LANG"));
}

std::string Locale::shortDate(OleDate date) const {
    const CivilDate d = date.date();
    const int first = order_ == DateOrder::DayMonthYear ? d.day : d.month;
    const int second = order_ == DateOrder::DayMonthYear ? d.month : d.day;
    char buffer[48];
    if (padDate_)
        std::snprintf(buffer, sizeof buffer, "%02d%c%02d%c%04d", first, dateSeparator_, second,
                      dateSeparator_, d.year);
    else
        std::snprintf(buffer, sizeof buffer, "%d%c%d%c%04d", first, dateSeparator_, second, dateSeparator_,
                      d.year);
    return buffer;
}

std::string Locale::longTime(OleDate date) const {
    const TimeOfDay t = date.time();
    char buffer[32];
    if (twelveHour_) {
        const int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
        std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour, t.minute, t.second,
                      t.hour < 12 ? "AM" : "PM");
    } else {
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    }
    return buffer;
}

std::string Locale::generalDate(OleDate date) const {
    if (date.dayNumber() == 0)
        return longTime(date);
    if (date.time() == TimeOfDay{})
        return shortDate(date);
    return shortDate(date) + " " + longTime(date);
}

std::string Locale::numberText(double value) const {
    return generalNumber(value, decimal_);
}

std::string Locale::numberText32(float value) const {
    return generalNumber32(value, decimal_);
}

namespace {

// Reads sign, integer digits (grouped when group is not 0), fraction after one of the
// decimal characters, and an exponent; gives the plain "-123.45e6" text for from_chars.
std::optional<double> parseNumberText(std::string_view text, char group, std::string_view decimals) {
    text = trimSpaces(text);
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    std::size_t groupDigits = 0; // digits since the last group separator
    bool grouped = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            plain += c;
            ++mantissaDigits;
            ++groupDigits;
        } else if (group != 0 && c == group) {
            // 1.234.567: the first group has one to three digits, every later group three.
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3))
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3)
        return std::nullopt;
    if (i < text.size() && decimals.find(text[i]) != std::string_view::npos) {
        plain += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            plain += text[i];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        const std::size_t start = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            plain += text[i];
        if (i == start)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> Locale::parseNumber(std::string_view text) const {
    const char decimals[] = {decimal_, '\0'};
    return parseNumberText(text, group_, std::string_view(decimals, 1));
}

std::optional<double> Locale::parseEnteredNumber(std::string_view text) const {
    return parseNumberText(text, 0, ".,");
}

std::optional<OleDate> Locale::parseDate(std::string_view text) const {
    text = trimSpaces(text);
    int value[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    char separator = 0;
    for (int k = 0; k < 3; ++k) {
        if (!takeNumber(text, 4, value[k], digits[k]))
            return std::nullopt;
        if (k == 2)
            break;
        if (text.empty() || std::string_view(".,/-").find(text.front()) == std::string_view::npos)
            return std::nullopt;
        if (k == 0)
            separator = text.front();
        text.remove_prefix(1);
    }
    if (!text.empty())
        return std::nullopt;
    if (value[0] == 0 && value[1] == 0 && value[2] == 0)
        return OleDate();
    int day = 0, month = 0, year = 0, yearDigits = 0;
    if (digits[0] == 4) {
        year = value[0];
        yearDigits = 4;
        month = value[1];
        day = value[2];
        if (digits[1] > 2 || digits[2] > 2)
            return std::nullopt;
    } else {
        if (digits[0] > 2 || digits[1] > 2 || digits[2] == 3)
            return std::nullopt;
        const bool dayFirst = separator == '.' || separator == ',' || order_ == DateOrder::DayMonthYear;
        day = dayFirst ? value[0] : value[1];
        month = dayFirst ? value[1] : value[0];
        year = value[2];
        yearDigits = digits[2];
    }
    if (yearDigits <= 2)
        year += year < 30 ? 2000 : 1900;
    if (!isValidDate(year, month, day))
        return std::nullopt;
    return OleDate::fromDate(year, month, day);
}

std::optional<OleDate> Locale::parseTime(std::string_view text) const {
    text = trimSpaces(text);
    int hourOffset = -1; // -1: no designator, 0: AM, 12: PM
    if (twelveHour_ && text.size() >= 2) {
        const char a = lowerAscii(text[text.size() - 2]);
        const char m = lowerAscii(text.back());
        if ((a == 'a' || a == 'p') && m == 'm') {
            hourOffset = a == 'a' ? 0 : 12;
            text = trimSpaces(text.substr(0, text.size() - 2));
        }
    }
    int field[3] = {0, 0, 0};
    int digits = 0;
    int count = 0;
    while (count < 3) {
        if (!takeNumber(text, 2, field[count], digits))
            return std::nullopt;
        ++count;
        if (text.empty() || text.front() != ':')
            break;
        text.remove_prefix(1);
    }
    if (!text.empty() || count < 2)
        return std::nullopt;
    int hour = field[0];
    if (hourOffset >= 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + hourOffset;
    }
    if (hour > 23 || field[1] > 59 || field[2] > 59)
        return std::nullopt;
    return OleDate::fromTime(hour, field[1], field[2]);
}

std::optional<OleDate> Locale::parseDateTime(std::string_view text) const {
    text = trimSpaces(text);
    if (auto date = parseDate(text))
        return date;
    if (auto time = parseTime(text))
        return time;
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    const auto date = parseDate(text.substr(0, space));
    const auto time = parseTime(text.substr(space + 1));
    if (!date || !time)
        return std::nullopt;
    const CivilDate d = date->date();
    const TimeOfDay t = time->time();
    return OleDate::fromDateTime(d.year, d.month, d.day, t.hour, t.minute, t.second);
}

} // namespace korvel
