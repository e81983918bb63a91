#include "core/Locale.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using namespace korvel;

namespace {

const Locale& tr = Locale::turkish();
const Locale& en = Locale::american();

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

} // namespace

TEST(Locale, KnownNamesInTheirUsualSpellings) {
    for (const char* name : {"tr_TR", "tr_TR.UTF-8", "tr-tr", "TR_tr.utf8@euro", "tr", " tr_TR "})
        EXPECT_EQ(Locale::byName(name), tr) << name;
    for (const char* name : {"en_US", "en_US.UTF-8", "en", "EN-us"})
        EXPECT_EQ(Locale::byName(name), en) << name;
    EXPECT_EQ(Locale::byName("en_GB.UTF-8")->name(), "en_GB");
    EXPECT_EQ(Locale::byName("de_DE@euro")->name(), "de_DE");
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "fr_FR", "tr_CY", "english"})
        EXPECT_FALSE(Locale::byName(name)) << name;
}

TEST(Locale, SeparatorsAndForms) {
    EXPECT_EQ(tr.decimalSeparator(), ',');
    EXPECT_EQ(tr.groupSeparator(), '.');
    EXPECT_EQ(en.decimalSeparator(), '.');
    EXPECT_EQ(en.groupSeparator(), ',');
    EXPECT_EQ(tr.dateOrder(), Locale::DateOrder::DayMonthYear);
    EXPECT_EQ(Locale(), tr);
    EXPECT_EQ(en.dateOrder(), Locale::DateOrder::MonthDayYear);
}

TEST(Locale, SelectionFromVariables) {
    EXPECT_EQ(Locale::select("", "", "", ""), tr);
    EXPECT_EQ(Locale::select("", "", "", "en_US.UTF-8"), en);
    EXPECT_EQ(Locale::select("", "C", "", "en_US.UTF-8"), tr); // LC_ALL wins, and C means Turkish
    EXPECT_EQ(Locale::select("", "", "POSIX", "en_US"), tr);
    EXPECT_EQ(Locale::select("", "", "de_DE.UTF-8", "en_US"), *Locale::byName("de_DE"));
    EXPECT_EQ(Locale::select("", "", "", "fr_FR.UTF-8"), tr);
    EXPECT_EQ(Locale::select("en_US", "C", "tr_TR", "tr_TR"), en);
    EXPECT_EQ(Locale::select("tr_TR", "", "", "en_US"), tr);
    // An override naming no known locale is passed over.
    EXPECT_EQ(Locale::select("klingon", "", "", "en_US"), en);
}

TEST(Locale, FromTheEnvironment) {
    {
        ScopedVariable korvel("KORVEL_LOCALE", "en_US");
        ScopedVariable all("LC_ALL", "tr_TR.UTF-8");
        EXPECT_EQ(Locale::fromEnvironment(), en);
    }
    {
        ScopedVariable korvel("KORVEL_LOCALE", nullptr);
        ScopedVariable all("LC_ALL", nullptr);
        ScopedVariable numeric("LC_NUMERIC", nullptr);
        ScopedVariable lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(Locale::fromEnvironment(), en);
    }
    {
        ScopedVariable korvel("KORVEL_LOCALE", nullptr);
        ScopedVariable all("LC_ALL", "C");
        ScopedVariable lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(Locale::fromEnvironment(), tr);
    }
}

TEST(Locale, ShortDateLongTimeAndGeneralDate) {
    const OleDate date = OleDate::fromDate(2004, 3, 5);
    const OleDate moment = OleDate::fromDateTime(2004, 3, 5, 16, 5, 9);
    EXPECT_EQ(tr.shortDate(date), "05.03.2004");
    EXPECT_EQ(en.shortDate(date), "3/5/2004");
    EXPECT_EQ(tr.shortDate(moment), "05.03.2004");
    EXPECT_EQ(en.shortDate(OleDate::fromDate(2003, 11, 15)), "11/15/2003");
    EXPECT_EQ(tr.shortDate(OleDate()), "30.12.1899");

    EXPECT_EQ(tr.longTime(moment), "16:05:09");
    EXPECT_EQ(en.longTime(moment), "4:05:09 PM");
    EXPECT_EQ(tr.longTime(OleDate()), "00:00:00");
    EXPECT_EQ(en.longTime(OleDate()), "12:00:00 AM");
    EXPECT_EQ(en.longTime(OleDate::fromTime(12, 0, 0)), "12:00:00 PM");
    EXPECT_EQ(tr.longTime(OleDate::fromTime(8, 0, 0)), "08:00:00");

    EXPECT_EQ(tr.generalDate(OleDate()), "00:00:00");
    EXPECT_EQ(tr.generalDate(date), "05.03.2004");
    EXPECT_EQ(tr.generalDate(moment), "05.03.2004 16:05:09");
    EXPECT_EQ(tr.generalDate(OleDate::fromTime(16, 0, 0)), "16:00:00");
    EXPECT_EQ(en.generalDate(moment), "3/5/2004 4:05:09 PM");
}

TEST(Locale, NumberText) {
    EXPECT_EQ(tr.numberText(12.5), "12,5");
    EXPECT_EQ(en.numberText(12.5), "12.5");
    EXPECT_EQ(tr.numberText(-0.25), "-0,25");
    EXPECT_EQ(tr.numberText(1e15), "1E+15");
    EXPECT_EQ(tr.numberText(1.5e-5), "1,5E-05");
    EXPECT_EQ(tr.numberText32(0.1f), "0,1");
    EXPECT_EQ(en.numberText32(0.99985f), "0.99985");
}

TEST(Locale, ParseNumberInTheLocalesForm) {
    EXPECT_EQ(tr.parseNumber("12,5"), 12.5);
    EXPECT_EQ(tr.parseNumber("  -1.234,5 "), -1234.5);
    EXPECT_EQ(tr.parseNumber("1.234.567"), 1234567.0);
    EXPECT_EQ(tr.parseNumber("+3"), 3.0);
    EXPECT_EQ(tr.parseNumber(",5"), 0.5);
    EXPECT_EQ(tr.parseNumber("5,"), 5.0);
    EXPECT_EQ(tr.parseNumber("1,5E+15"), 1.5e15);
    EXPECT_EQ(tr.parseNumber("1E-05"), 1e-5);
    EXPECT_EQ(en.parseNumber("1,234.5"), 1234.5);
    EXPECT_EQ(en.parseNumber("0.3"), 0.3);
    // A period is a group separator in Turkish and must stand before three digits.
    for (const char* text : {"12.5", "1.23", "1.2345", ".123", "12,5,3", "1.234,5.6"})
        EXPECT_FALSE(tr.parseNumber(text)) << text;
    for (const char* text : {"12,5", "1,23", "", "  ", "-", "+", ",", "12a", "1 234", "1e", "1e999", "--3"})
        EXPECT_FALSE(en.parseNumber(text)) << text;
}

TEST(Locale, ParseNumberReadsWhatNumberTextWrites) {
    for (double v : {0.0, 12.5, -0.25, 1234567.891, 1e15, 1.5e-5, 0.1, 123456789012345.0, -9.87654321e-200}) {
        EXPECT_EQ(tr.parseNumber(tr.numberText(v)), v) << v;
        EXPECT_EQ(en.parseNumber(en.numberText(v)), v) << v;
    }
}

TEST(Locale, ParseEnteredNumberTakesEitherPoint) {
    EXPECT_EQ(tr.parseEnteredNumber("0.3"), 0.3);
    EXPECT_EQ(tr.parseEnteredNumber("0,3"), 0.3);
    EXPECT_EQ(en.parseEnteredNumber(" 12,5 "), 12.5);
    EXPECT_FALSE(tr.parseEnteredNumber("1.234,5"));
    EXPECT_FALSE(tr.parseEnteredNumber("12:30"));
    EXPECT_FALSE(tr.parseEnteredNumber(""));
}

TEST(Locale, ParseDate) {
    const OleDate fifthOfMarch = OleDate::fromDate(2004, 3, 5);
    for (const char* text : {"05.03.2004", "5.3.2004", " 05.03.2004 ", "05/03/2004", "5-3-04", "2004-03-05"})
        EXPECT_EQ(tr.parseDate(text), fifthOfMarch) << text;
    EXPECT_EQ(tr.parseDate("5,3,2004"), fifthOfMarch);
    for (const char* text : {"3/5/2004", "03/05/2004", "3-5-04", "05.03.2004", "05,03,2004", "2004-03-05"})
        EXPECT_EQ(en.parseDate(text), fifthOfMarch) << text;
    EXPECT_EQ(tr.parseDate("5.3.30"), OleDate::fromDate(1930, 3, 5));
    EXPECT_EQ(tr.parseDate("5.3.29"), OleDate::fromDate(2029, 3, 5));
    EXPECT_EQ(tr.parseDate("00.00.00"), OleDate());
    EXPECT_EQ(tr.parseDate("29.02.2004"), OleDate::fromDate(2004, 2, 29));
    for (const char* text : {"31.02.2004", "29.02.2003", "05.03", "05.03.2004x", "13/5/2004x", "", "a.b.c",
                             "5..2004", "5.3.204", "123.3.2004", "05.13.2004", "0.3.2004"})
        EXPECT_FALSE(tr.parseDate(text)) << text;
    EXPECT_FALSE(en.parseDate("13/5/2004"));
}

TEST(Locale, ParseTime) {
    EXPECT_EQ(tr.parseTime("16:05:09"), OleDate::fromTime(16, 5, 9));
    EXPECT_EQ(tr.parseTime("8:00"), OleDate::fromTime(8, 0, 0));
    EXPECT_EQ(tr.parseTime("8:00:0"), OleDate::fromTime(8, 0, 0));
    EXPECT_EQ(tr.parseTime("00:00:00"), OleDate());
    for (const char* text :
         {"24:00", "12:60", "12:00:60", "12", "", "4:05:09 PM", "1:2:3:4", "123:00", "12:"})
        EXPECT_FALSE(tr.parseTime(text)) << text;
    EXPECT_EQ(en.parseTime("4:05:09 PM"), OleDate::fromTime(16, 5, 9));
    EXPECT_EQ(en.parseTime("4:05:09pm"), OleDate::fromTime(16, 5, 9));
    EXPECT_EQ(en.parseTime("12:00 AM"), OleDate());
    EXPECT_EQ(en.parseTime("12:30:00 pm"), OleDate::fromTime(12, 30, 0));
    EXPECT_EQ(en.parseTime("16:05"), OleDate::fromTime(16, 5, 0));
    EXPECT_FALSE(en.parseTime("13:00 PM"));
    EXPECT_FALSE(en.parseTime("0:30 AM"));
}

TEST(Locale, ParseDateTime) {
    const OleDate moment = OleDate::fromDateTime(2004, 3, 5, 16, 5, 9);
    EXPECT_EQ(tr.parseDateTime("05.03.2004 16:05:09"), moment);
    EXPECT_EQ(en.parseDateTime("3/5/2004 4:05:09 PM"), moment);
    EXPECT_EQ(tr.parseDateTime("05.03.2004"), OleDate::fromDate(2004, 3, 5));
    EXPECT_EQ(tr.parseDateTime("16:05:09"), OleDate::fromTime(16, 5, 9));
    EXPECT_FALSE(tr.parseDateTime("05.03.2004 25:00"));
    EXPECT_FALSE(tr.parseDateTime("yarın 16:00"));
}

TEST(Locale, DatesAndTimesReadBackWhatTheyWrite) {
    for (const Locale* locale : {&tr, &en}) {
        int step = 0;
        for (OleDate d = OleDate::fromDate(1999, 10, 1); d < OleDate::fromDate(2001, 10, 1);
             d = d.plusDays(7)) {
            EXPECT_EQ(locale->parseDate(locale->shortDate(d)), d) << locale->shortDate(d);
            const int seconds = ++step * 3607 % 86400;
            const OleDate time = OleDate::fromTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
            const OleDate moment(d.value() + time.value());
            EXPECT_EQ(locale->parseTime(locale->longTime(moment)), time) << locale->longTime(moment);
            EXPECT_EQ(locale->parseDateTime(locale->generalDate(moment)), moment)
                << locale->generalDate(moment);
        }
    }
}
