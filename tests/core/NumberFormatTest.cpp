#include "core/NumberFormat.h"

#include "core/Numbers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace korvel;

namespace {

const Locale& tr = Locale::turkish();
const Locale& en = Locale::american();

struct Case {
    double value;
    const char* pattern;
    const char* turkish;
    const char* american;
};

void expectCases(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.pattern, tr), c.turkish) << c.value << " " << c.pattern;
        EXPECT_EQ(formatNumber(c.value, c.pattern, en), c.american) << c.value << " " << c.pattern;
    }
}

} // namespace

TEST(NumberFormat, GroupedTwoDecimals) {
    expectCases({
        {1234567.891, "##,##0.00", "1.234.567,89", "1,234,567.89"},
        {12345.5, "##,##0.00", "12.345,50", "12,345.50"},
        {999.995, "##,##0.00", "1.000,00", "1,000.00"},
        {100, "##,##0.00", "100,00", "100.00"},
        {120, "##,##0.00", "120,00", "120.00"},
        {0.005, "##,##0.00", "0,01", "0.01"},
        {0, "##,##0.00", "0,00", "0.00"},
        {-1234.5, "##,##0.00", "-1.234,50", "-1,234.50"},
        {1e9, "##,##0.00", "1.000.000.000,00", "1,000,000,000.00"},
    });
}

TEST(NumberFormat, FixedDecimalsWithOneForcedIntegerDigit) {
    expectCases({
        {1.2345, "###0.00", "1,23", "1.23"},
        {10, "###0.00", "10,00", "10.00"},
        {12345.678, "###0.00", "12345,68", "12345.68"},
        {0.129, "###0.00", "0,13", "0.13"},
        {9.9996, "###0.000", "10,000", "10.000"},
        {0.5, "###0.000", "0,500", "0.500"},
        {100, "###0.0", "100,0", "100.0"},
        {67.5, "###0.0", "67,5", "67.5"},
        {0.04, "###0.0", "0,0", "0.0"},
        {0.05, "###0.0", "0,1", "0.1"},
        {0.129, "######0.00", "0,13", "0.13"},
        {1234567.5, "######0.00", "1234567,50", "1234567.50"},
        {1.5, "####0.0", "1,5", "1.5"},
        {12345.67, "####0.0", "12345,7", "12345.7"},
        {91.236, "#0.000", "91,236", "91.236"},
        {100 * 0.91236, "#0.000", "91,236", "91.236"},
        {0.5, "#0.000", "0,500", "0.500"},
        {7, "0.0", "7,0", "7.0"},
        {7.25, "0.00", "7,25", "7.25"},
        {7.0005, "0.000", "7,001", "7.001"},
        {7.4, "0", "7", "7"},
    });
}

TEST(NumberFormat, OptionalDigitsKeepTheSeparator) {
    expectCases({
        {0, "###.#", ",", "."},
        {0.04, "###.#", ",", "."},
        {0.06, "###.#", ",1", ".1"},
        {5, "###.#", "5,", "5."},
        {150, "###.#", "150,", "150."},
        {2, "###.#", "2,", "2."},
        {12.25, "###.#", "12,3", "12.3"},
        {25, "##.#", "25,", "25."},
        {25.04, "##.#", "25,", "25."},
        {33.333, "##.#", "33,3", "33.3"},
        {1234.5, "##.#", "1234,5", "1234.5"},
        {0.5, "#.##", ",5", ".5"},
        {1, "0.##", "1,", "1."},
        {1.5, "0.#0", "1,50", "1.50"},
        {0.5, ".00", ",50", ".50"},
        {0, "#", "", ""},
    });
}

TEST(NumberFormat, RoundsHalvesAwayFromZeroOnTheDecimalText) {
    expectCases({
        {2.5, "0", "3", "3"},
        {3.5, "0", "4", "4"},
        {-2.5, "0", "-3", "-3"},
        {0.4, "0", "0", "0"},
        // 2.345 and 1.005 lie just below the half in binary; the 15-digit text rounds up.
        {2.345, "0.00", "2,35", "2.35"},
        {1.005, "0.00", "1,01", "1.01"},
        {0.125, "0.00", "0,13", "0.13"},
        {99.95, "0.0", "100,0", "100.0"},
        // A negative value shown as zero has no sign.
        {-0.04, "0.0", "0,0", "0.0"},
        {-0.05, "0.0", "-0,1", "-0.1"},
        {-0.0, "0.00", "0,00", "0.00"},
    });
}

TEST(NumberFormat, LiteralsScalingAndPercent) {
    expectCases({
        {12.5, "0.00 mm", "12,50 mm", "12.50 mm"},
        {12.5, "\"Q=\"0.0", "Q=12,5", "Q=12.5"},
        {12.5, "\\#0", "#13", "#13"},
        {0.125, "0.0%", "12,5%", "12.5%"},
        {1234567, "#,##0,", "1.235", "1,235"},
        {1234567, "0,.00", "1234,57", "1234.57"},
        {-5, "$0", "-$5", "-$5"},
    });
}

TEST(NumberFormat, LargeSmallAndNonFiniteValues) {
    EXPECT_EQ(formatNumber(1e20, "0", tr), "100000000000000000000");
    EXPECT_EQ(formatNumber(123456789012345678.0, "0", tr), "123456789012346000");
    EXPECT_EQ(formatNumber(1e-20, "0.00", tr), "0,00");
    EXPECT_EQ(formatNumber(4.9e-3, "0.00", tr), "0,00");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::max(), "##,##0.00", en).size(), 414u);
    // A value that is not a number never reads as a figure.
    EXPECT_EQ(formatNumber(std::nan(""), "0.00", tr), "?");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), "#,##0", tr), "?");
    EXPECT_EQ(generalNumber32(std::numeric_limits<float>::infinity(), ','), "?");
}

TEST(NumberFormat, EmptyAndGeneralPatternsUseTheGeneralFormat) {
    EXPECT_EQ(formatNumber(12.5, "", tr), "12,5");
    EXPECT_EQ(formatNumber(1e15, "General Number", en), "1E+15");
}

TEST(NumberFormat, FloatValuesFormatThroughTheirDoubleValue) {
    // Stored 32-bit values widen to doubles whose 15-digit text is close to the float.
    EXPECT_EQ(formatNumber(static_cast<double>(0.99985f), "###0.000", tr), "1,000");
    EXPECT_EQ(formatNumber(static_cast<double>(1.2345f), "###0.00", tr), "1,23");
    EXPECT_EQ(formatNumber(static_cast<double>(0.1f), "0.000000000", en), "0.100000001");
}
