#include "core/Numbers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace korvel;

TEST(Numbers, RoundHalfEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(-3.5), -4.0);
    EXPECT_EQ(roundHalfEven(12.5), 12.0);
    EXPECT_EQ(roundHalfEven(13.5), 14.0);
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(45.5), 46.0);
    EXPECT_EQ(roundHalfEven(46.5), 46.0);
    EXPECT_EQ(roundHalfEven(2.4999999), 2.0);
    EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
    EXPECT_EQ(roundHalfEven(-0.4), -0.0);
    EXPECT_EQ(roundHalfEven(1e300), 1e300);
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

TEST(Numbers, RoundedIntegersRefuseWhatDoesNotFit) {
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_FALSE(roundToInt16(32767.5)); // rounds to 32768
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
    EXPECT_FALSE(roundToInt16(-32769.0));
    EXPECT_EQ(roundToByte(254.5), 254);
    EXPECT_EQ(roundToByte(255.4), 255);
    EXPECT_FALSE(roundToByte(255.5));
    EXPECT_FALSE(roundToByte(-0.6));
    EXPECT_EQ(roundToByte(-0.5), 0);
    EXPECT_FALSE(roundToByte(std::nan("")));
    EXPECT_FALSE(roundToInt16(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(roundToInt64(2.5), 2);
    EXPECT_FALSE(roundToInt64(1e19));
}

TEST(Numbers, NumericValueTakesTheLongestNumberPrefix) {
    EXPECT_EQ(numericValue("  12.5abc"), 12.5);
    EXPECT_EQ(numericValue("abc"), 0.0);
    EXPECT_EQ(numericValue("-3"), -3.0);
    EXPECT_EQ(numericValue("1.25"), 1.25);
    EXPECT_EQ(numericValue("  12"), 12.0);
    EXPECT_EQ(numericValue(""), 0.0);
    EXPECT_EQ(numericValue("+5"), 5.0);
    EXPECT_EQ(numericValue(".5"), 0.5);
    EXPECT_EQ(numericValue("5."), 5.0);
    EXPECT_EQ(numericValue("1e3x"), 1000.0);
    EXPECT_EQ(numericValue("1e"), 1.0);
    EXPECT_EQ(numericValue("1E-2"), 0.01);
    EXPECT_EQ(numericValue("--3"), 0.0);
    EXPECT_EQ(numericValue("12,5"), 12.0);
    EXPECT_EQ(numericValue("  12 345"), 12.0);
    EXPECT_EQ(numericValue("1e999"), std::numeric_limits<double>::max());
    EXPECT_TRUE(isNumericText(" 12.5 "));
    EXPECT_TRUE(isNumericText("-1e3"));
    EXPECT_FALSE(isNumericText("12.5abc"));
    EXPECT_FALSE(isNumericText("  "));
    EXPECT_FALSE(isNumericText("12,5"));
}

TEST(Numbers, GeneralNumber64) {
    EXPECT_EQ(generalNumber(0.0), "0");
    EXPECT_EQ(generalNumber(12.5), "12.5");
    EXPECT_EQ(generalNumber(12.5, ','), "12,5");
    EXPECT_EQ(generalNumber(-2.5, ','), "-2,5");
    EXPECT_EQ(generalNumber(100.0), "100");
    EXPECT_EQ(generalNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalNumber(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(generalNumber(123456789012345.0), "123456789012345");
    EXPECT_EQ(generalNumber(1e15), "1E+15");
    EXPECT_EQ(generalNumber(1234567890123456.0), "1.23456789012346E+15");
    EXPECT_EQ(generalNumber(0.0001), "0.0001");
    EXPECT_EQ(generalNumber(1e-5), "1E-05");
    EXPECT_EQ(generalNumber(1.5e-7, ','), "1,5E-07");
    EXPECT_EQ(generalNumber(-1e100), "-1E+100");
    EXPECT_EQ(generalNumber(259.239), "259.239");
}

TEST(Numbers, GeneralNumber32) {
    EXPECT_EQ(generalNumber32(0.1f), "0.1");
    EXPECT_EQ(generalNumber32(0.3f, ','), "0,3");
    EXPECT_EQ(generalNumber32(1234567.0f), "1234567");
    EXPECT_EQ(generalNumber32(12345678.0f), "1.234568E+07");
    EXPECT_EQ(generalNumber32(1e7f), "1E+07");
    EXPECT_EQ(generalNumber32(16777216.0f), "1.677722E+07");
    EXPECT_EQ(generalNumber32(0.99985f), "0.99985");
    EXPECT_EQ(generalNumber32(1.5e-5f), "1.5E-05");
    EXPECT_EQ(generalNumber32(-45.5f, ','), "-45,5");
}

TEST(Numbers, FloorTo) {
    EXPECT_EQ(floorTo(2.349, 2), 2.34);
    EXPECT_EQ(floorTo(-1.5, 0), -2.0);
    EXPECT_EQ(floorTo(3000.456, 2), 3000.45);
    EXPECT_EQ(floorTo(129.6, 0), 129.0);
}
