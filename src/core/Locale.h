#pragma once

#include "core/OleDate.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// How numbers, dates and times are shown to the user and read back: the decimal and group
// separators, the short date and the long time form. The program knows a few locales; any
// other system locale, and C/POSIX, falls back to Turkish, the language of the program.
// Parsing and formatting are done by hand, so the C library locale never plays a part.
class Locale {
public:
    enum class DateOrder { DayMonthYear, MonthDayYear };

    // Turkish, the program's own locale.
    Locale() : Locale(turkish()) {}

    static const Locale& turkish();  // tr_TR: 1.234,5  dd.MM.yyyy  HH:mm:ss
    static const Locale& american(); // en_US: 1,234.5  M/d/yyyy    h:mm:ss AM/PM

    // "tr_TR", "tr_TR.UTF-8", "tr-TR", "en_US.utf8", "de_DE@euro", "tr", "EN_us": the known locale
    // of that name, compared without case and ignoring the encoding and modifier; nothing else.
    static std::optional<Locale> byName(std::string_view name);

    // The locale of the program from these variables: the override (KORVEL_LOCALE) when it
    // names a known locale, else the first non-empty one of LC_ALL, LC_NUMERIC and LANG.
    // C, POSIX, an empty or an unknown name give Turkish.
    static Locale select(std::string_view override, std::string_view lcAll, std::string_view lcNumeric,
                         std::string_view lang);
    // select() with the process environment.
    static Locale fromEnvironment();

    const std::string& name() const { return name_; }
    char decimalSeparator() const { return decimal_; }
    char groupSeparator() const { return group_; }
    DateOrder dateOrder() const { return order_; }

    // The date part in the short date form ("05.03.2004", "3/5/2004").
    std::string shortDate(OleDate date) const;
    // The time of day of the value, rounded to the second, in the long time form
    // ("16:05:09", "4:05:09 PM").
    std::string longTime(OleDate date) const;
    // A date value as the program shows a date without a format: the time alone when the
    // date part is 0 ("00:00:00" for the empty date), the date alone when there is no time,
    // else date and time separated by a space.
    std::string generalDate(OleDate date) const;

    // The general number format with this locale's decimal separator.
    std::string numberText(double value) const;
    std::string numberText32(float value) const;

    // The whole text (surrounding spaces aside) as a number: optional sign, digits with
    // group separators between groups of three, the decimal separator and digits, an
    // optional exponent ("1,5E+15"). Anything else gives nothing, as do values too large
    // for a double.
    std::optional<double> parseNumber(std::string_view text) const;
    // A number typed into a cell whose key filter enters "." while this locale writes ","
    // (or the reverse): either character is taken as the decimal point, and group separators
    // are not accepted.
    std::optional<double> parseEnteredNumber(std::string_view text) const;

    // A date in the short date form or close to it: day, month and year separated by
    // ".", "/", "-" or ","; one- or two-digit day and month; a four-digit year, or two digits
    // (00-29 -> 2000-2029, 30-99 -> 1930-1999). Text with "." separators is always read
    // day first, as the program writes dates, and so is "15,10,2003", which the HQ period
    // grid makes of a typed "15.10.2003"; "2004-03-05" is read year first. "00.00.00" gives
    // the empty date. A date that does not exist (31.02.2004) gives nothing.
    std::optional<OleDate> parseDate(std::string_view text) const;
    // "H:mm" or "H:mm:ss" (one or two digits each), with the AM/PM designators in a locale
    // that uses them, as a pure time value (date part 0).
    std::optional<OleDate> parseTime(std::string_view text) const;
    // A date, a time, or a date and a time separated by spaces.
    std::optional<OleDate> parseDateTime(std::string_view text) const;

    bool operator==(const Locale& other) const { return name_ == other.name_; }

private:
    Locale(std::string name, char decimal, char group, DateOrder order, char dateSeparator, bool padDate,
           bool twelveHour);

    std::string name_;
    char decimal_;
    char group_;
    DateOrder order_;
    char dateSeparator_;
    bool padDate_;    // two-digit day and month
    bool twelveHour_; // h:mm:ss AM/PM instead of HH:mm:ss
};

} // namespace korvel
