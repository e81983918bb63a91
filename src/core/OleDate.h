#pragma once

// Qt's moc (6.4) fails on <compare> when it is the first standard header it reads, as it is for
// a screen header whose includes start with this one; another standard header goes first.
#include <cstddef>
// For the defaulted comparisons.
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    auto operator<=>(const CivilDate&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    auto operator<=>(const TimeOfDay&) const = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidDate(int year, int month, int day);

// A date as stored in the files: days since 30 December 1899, the fraction
// giving the time of day. Value 0 is the empty date.
class OleDate {
public:
    constexpr OleDate() = default;
    constexpr explicit OleDate(double value) : value_(value) {}

    static OleDate fromDate(int year, int month, int day);
    static OleDate fromDate(const CivilDate& d) { return fromDate(d.year, d.month, d.day); }
    static OleDate fromDateTime(int year, int month, int day, int hour, int minute, int second);
    // A pure time of day (the date part is 0), as the time fields of the records hold it.
    static OleDate fromTime(int hour, int minute, int second);

    constexpr double value() const { return value_; }
    constexpr bool isEmpty() const { return value_ == 0.0; }

    // Whole days, truncated towards zero as the stored value is read. Values beyond the
    // years 100..9999 (damaged files) convert as the nearest end of that range, NaN as 0.
    long long dayNumber() const;
    CivilDate date() const;
    // The time of day rounded to the nearest second.
    TimeOfDay time() const;
    OleDate datePart() const { return OleDate(static_cast<double>(dayNumber())); }
    OleDate plusDays(long long days) const;

    int year() const { return date().year; }
    int month() const { return date().month; }
    int day() const { return date().day; }

    // "dd.mm.yyyy" with two-digit day and month; the empty date gives "00.00.00".
    std::string dateText() const;

    constexpr auto operator<=>(const OleDate&) const = default;

private:
    double value_ = 0.0;
};

// Reads "d.m.yyyy", "dd.mm.yyyy" (also with "/" or "-") as a calendar date. "00.00.00" gives
// the empty date. Text that is not a real date (31.02.2004) gives nothing.
std::optional<OleDate> parseDateText(std::string_view text);

} // namespace korvel
