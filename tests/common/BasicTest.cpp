#include "common/Basic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace korvel::common;

TEST(FormatNumber, DecimalsFollowThePattern) {
    EXPECT_EQ(FormatNumber(1.5, "0"), "2");
    EXPECT_EQ(FormatNumber(2.5, "0"), "3"); // halves away from zero, not to even
    EXPECT_EQ(FormatNumber(-2.5, "0"), "-3");
    EXPECT_EQ(FormatNumber(0.05, "0.0"), "0.1");
    EXPECT_EQ(FormatNumber(12.3456, "0.000"), "12.346");
    EXPECT_EQ(FormatNumber(-90, "0.0000"), "-90.0000");
    EXPECT_EQ(FormatNumber(1.0 / 3.0, "0.000000"), "0.333333");
    EXPECT_EQ(FormatNumber(0.1, "0.00000000"), "0.10000000");
    EXPECT_EQ(FormatNumber(0.25, "###0.0000"), "0.2500");
}

TEST(FormatNumber, RoundsOnTheFifteenDigitDecimalForm) {
    // 2.675 is stored as 2.67499999...; its 15-digit form is 2.675.
    EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");
    EXPECT_EQ(FormatNumber(0.125, "0.00"), "0.13");
    EXPECT_EQ(FormatNumber(9.9995, "0.000"), "10.000");
    EXPECT_EQ(FormatNumber(-0.0005, "0.000"), "-0.001");
}

TEST(FormatNumber, SmallNegativesAndZeroHaveNoMinusSign) {
    EXPECT_EQ(FormatNumber(-0.0001, "0.000"), "0.000");
    EXPECT_EQ(FormatNumber(-0.0, "0.0"), "0.0");
    EXPECT_EQ(FormatNumber(0, "0"), "0");
}

TEST(FormatNumber, FourDigitPadding) {
    EXPECT_EQ(FormatNumber(7, "0000"), "0007");
    EXPECT_EQ(FormatNumber(123.6, "0000"), "0124");
    EXPECT_EQ(FormatNumber(12345, "0000"), "12345");
    EXPECT_EQ(FormatNumber(-7, "0000"), "-0007");
}

TEST(FormatNumber, LargeValuesKeepEveryIntegerDigit) {
    EXPECT_EQ(FormatNumber(123456789.125, "0.000"), "123456789.125");
    EXPECT_EQ(FormatNumber(1e20, "0"), "100000000000000000000");
}

TEST(Str, LeadingBlankAndNoZeroBeforeThePoint) {
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(-2.0), "-2");
    EXPECT_EQ(Str(0.0), " 0");
    EXPECT_EQ(Str(12.25), " 12.25");
    EXPECT_EQ(Str(0.1 + 0.2), " .3"); // 15 significant digits
    EXPECT_EQ(Str(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(Str(3), " 3");
    EXPECT_EQ(Str(-3), "-3");
}

TEST(Str, ExponentFormOutsideTheFixedRange) {
    EXPECT_EQ(Str(0.0001), " .0001");
    EXPECT_EQ(Str(0.00001), " 1E-05");
    EXPECT_EQ(Str(-1.5e-7), "-1.5E-07");
    EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(2.5e20), " 2.5E+20");
}

TEST(Str, RoundTripsThroughVal) {
    for (double v : {0.5, -2.0, 1e-9, 123456.789, 3.14159265358979, -1e20, 0.1, 7e-5}) {
        EXPECT_DOUBLE_EQ(Val(Str(v)), v) << Str(v);
    }
}

TEST(Val, IsLenient) {
    EXPECT_EQ(Val(""), 0.0);
    EXPECT_EQ(Val("abc"), 0.0);
    EXPECT_EQ(Val("12.5mm"), 12.5);
    EXPECT_EQ(Val("  -3.25"), -3.25);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("1 2 3"), 123.0); // blanks inside a number are passed over
    EXPECT_EQ(Val("1.5E3"), 1500.0);
    EXPECT_EQ(Val("1.5D-1"), 0.15);
    EXPECT_EQ(Val("2E"), 2.0); // an exponent without digits is not part of it
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("&H1F"), 31.0);
    EXPECT_EQ(Val("&O17"), 15.0);
    EXPECT_EQ(Val("+7,5"), 7.0);
    EXPECT_EQ(Val("1E999"), 0.0); // no infinity gets into the machine's tables
}

TEST(Rounding, HalvesToEvenForPulsesAndTicks) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(100.0 / 30.0), 3.0); // "G04 P100" waits 3 ticks
    EXPECT_EQ(CInt(45.0 / 30.0), 2);
    EXPECT_EQ(CLng(-1234567.5), -1234568);
}

TEST(Rounding, FixAndInt) {
    EXPECT_EQ(Fix(-2.7), -2.0);
    EXPECT_EQ(Int(-2.7), -3.0);
    EXPECT_EQ(Fix(2.7), 2.0);
    EXPECT_EQ(Int(2.7), 2.0);
}

TEST(Rounding, OverflowIsRefusedOrSaturated) {
    EXPECT_THROW(CInt(40000.0), std::out_of_range);
    EXPECT_THROW(CLng(std::nan("")), std::out_of_range);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CIntSaturated(1e9), 32767);
    EXPECT_EQ(CIntSaturated(-1e9), -32768);
    EXPECT_EQ(CLngSaturated(std::nan("")), 0);
    EXPECT_EQ(CLngSaturated(std::numeric_limits<double>::infinity()), 2147483647);
}
