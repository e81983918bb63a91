#include "core/OleDate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvel {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 30 December 1899 counted from 1970-01-01.
const long long kEpochOffset = daysFromCivil(1899, 12, 30);

// A stored value kept inside the dates the program can show (1.1.100 to 31.12.9999), so
// that garbage read from a damaged file converts without overflow; NaN reads as 0.
double boundedValue(double value) {
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -657434.0 - 86399.0 / 86400.0, 2958465.0 + 86399.0 / 86400.0);
}

// Rounded seconds of the time part; may be 86400 when the fraction rounds up to midnight.
long long roundedSeconds(double value) {
    value = boundedValue(value);
    const double fraction = std::fabs(value - std::trunc(value));
    return std::llround(fraction * 86400.0);
}

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool isValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

OleDate OleDate::fromDate(int year, int month, int day) {
    return OleDate(static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset));
}

OleDate OleDate::fromTime(int hour, int minute, int second) {
    return OleDate((hour * 3600.0 + minute * 60.0 + second) / 86400.0);
}

OleDate OleDate::fromDateTime(int year, int month, int day, int hour, int minute, int second) {
    const double days = fromDate(year, month, day).value();
    const double fraction = fromTime(hour, minute, second).value();
    // Before the epoch the time still counts forward from the day's start.
    return OleDate(days >= 0 ? days + fraction : days - fraction);
}

long long OleDate::dayNumber() const {
    const double value = boundedValue(value_);
    long long days = static_cast<long long>(std::trunc(value));
    if (roundedSeconds(value) >= 86400)
        days += value < 0 ? -1 : 1;
    return days;
}

CivilDate OleDate::date() const {
    return civilFromDays(dayNumber() + kEpochOffset);
}

TimeOfDay OleDate::time() const {
    long long s = roundedSeconds(value_) % 86400;
    return TimeOfDay{static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
}

OleDate OleDate::plusDays(long long days) const {
    return OleDate(value_ + static_cast<double>(days));
}

std::string OleDate::dateText() const {
    if (isEmpty())
        return "00.00.00";
    const CivilDate d = date();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", d.day, d.month, d.year);
    return buffer;
}

std::optional<OleDate> parseDateText(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int index = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (digits[index] >= 4)
                return std::nullopt;
            parts[index] = parts[index] * 10 + (c - '0');
            ++digits[index];
        } else if ((c == '.' || c == '/' || c == '-') && index < 2 && digits[index] > 0) {
            ++index;
        } else {
            return std::nullopt;
        }
    }
    if (index != 2 || digits[2] == 0)
        return std::nullopt;
    if (parts[0] == 0 && parts[1] == 0 && parts[2] == 0)
        return OleDate();
    int year = parts[2];
    if (digits[2] <= 2)
        year += year < 30 ? 2000 : 1900;
    if (!isValidDate(year, parts[1], parts[0]))
        return std::nullopt;
    return OleDate::fromDate(year, parts[1], parts[0]);
}

} // namespace korvel
