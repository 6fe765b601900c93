// Every expected text below is worked out by hand from the formatter's rules
// (15 significant digits, halves away from zero) and from how the old BASIC
// runtime printed and read numbers.

#include "common/Basic.h"

#include "common/Message.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>

using namespace korvel::common;

TEST(FormatNumber, PatternsRoundTheFifteenDigitForm) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {{1.5, "0", "2"},
                          {2.5, "0", "3"},
                          {-2.5, "0", "-3"}, // halves away from zero, not to even
                          {0.05, "0.0", "0.1"},
                          {12.3456, "0.000", "12.346"},
                          {-90, "0.0000", "-90.0000"},
                          {1.0 / 3.0, "0.000000", "0.333333"},
                          {0.1, "0.00000000", "0.10000000"},
                          {0.25, "###0.0000", "0.2500"},
                          // 2.675 is stored as 2.67499999...; its 15-digit form is 2.675.
                          {2.675, "0.00", "2.68"},
                          {0.125, "0.00", "0.13"},
                          {9.9995, "0.000", "10.000"},
                          {-0.0005, "0.000", "-0.001"},
                          // Small negatives and zero have no minus sign.
                          {-0.0001, "0.000", "0.000"},
                          {-0.0, "0.0", "0.0"},
                          {0, "0", "0"},
                          // Padding to four digits; large values keep every integer digit.
                          {7, "0000", "0007"},
                          {123.6, "0000", "0124"},
                          {12345, "0000", "12345"},
                          {-7, "0000", "-0007"},
                          {123456789.125, "0.000", "123456789.125"},
                          {999999999999999.0, "0", "999999999999999"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
    }
}

TEST(Str, LeadingBlankNoZeroBeforeThePointAndExponentOutsideTheFixedRange) {
    const std::pair<double, const char*> cases[] = {{0.5, " .5"},
                                                    {-0.5, "-.5"},
                                                    {-2.0, "-2"},
                                                    {0.0, " 0"},
                                                    {12.25, " 12.25"},
                                                    {0.1 + 0.2, " .3"}, // 15 significant digits
                                                    {1.0 / 3.0, " .333333333333333"},
                                                    {3, " 3"},
                                                    {-3, "-3"},
                                                    {0.0001, " .0001"},
                                                    {0.00001, " 1E-05"},
                                                    {-1.5e-7, "-1.5E-07"},
                                                    {123456789012345.0, " 123456789012345"},
                                                    {1e15, " 1E+15"},
                                                    {2.5e20, " 2.5E+20"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(Str(value), text);
    }
    for (double v : {0.5, -2.0, 1e-9, 123456.789, 3.14159265358979, -1e20, 0.1, 7e-5}) {
        EXPECT_DOUBLE_EQ(Val(Str(v)), v) << Str(v);
    }
}

// A NaN, an infinity or a fixed-decimal number past 15 integer digits never
// reaches a file: every writer formats through these and is refused whole.
TEST(FormatNumber, RefusesValuesNoFileMayHold) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, const char*> refused[] = {
        {std::nan(""), "NaN"}, {inf, "Inf"}, {-inf, "Inf"}, {1e15, "1E+15"}, {-1e308, "-1E+308"}};
    for (const auto& [value, shown] : refused) {
        try {
            (void)FormatNumber(value, "0.000");
            ADD_FAILURE() << shown << " formatted";
        } catch (const UserError& e) {
            EXPECT_NE(e.message().en.find(shown), std::string::npos) << e.message().en;
            EXPECT_FALSE(e.message().zh.empty());
        }
        std::string out = "kept";
        EXPECT_THROW(AppendNumber(out, value, "0"), UserError) << shown;
        EXPECT_EQ(out, "kept");
    }
    EXPECT_THROW(Str(std::nan("")), UserError);
    EXPECT_THROW(Str(-inf), UserError);
    EXPECT_EQ(Str(1e300), " 1E+300"); // the general form writes it exactly
}

TEST(Val, IsLenient) {
    const std::pair<const char*, double> cases[] = {
        {"", 0.0},
        {"abc", 0.0},
        {"12.5mm", 12.5},
        {"  -3.25", -3.25},
        {".5", 0.5},
        {"-.5", -0.5},
        {"1 2 3", 123.0}, // blanks inside a number are passed
                          // over
        {"1.5E3", 1500.0},
        {"1.5D-1", 0.15},
        {"2E", 2.0}, // an exponent without digits is not part
                     // of it
        {"1.2.3", 1.2},
        {"&H1F", 31.0},
        {"&O17", 15.0},
        {"+7,5", 7.0},
        {"1E999", 0.0}, // no infinity gets into the machine's tables
        // Long hexadecimal and octal runs saturate at the largest 64-bit
        // integer instead of overflowing it.
        {"&H7FFFFFFFFFFFFFFF", 9223372036854775807.0},
        {"&HFFFFFFFFFFFFFFFF", 9223372036854775807.0},
        {"&H123456789ABCDEF0123", 9223372036854775807.0},
        {"&O7777777777777777777777777", 9223372036854775807.0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(Val(text), value) << text;
    }
}

TEST(Rounding, HalvesToEvenForPulsesAndTicksAndOverflowIsRefusedOrSaturated) {
    const std::pair<double, double> halves[] = {{0.5, 0.0},         {1.5, 2.0},   {2.5, 2.0},
                                                {-2.5, -2.0},       {-3.5, -4.0}, {2.4999, 2.0},
                                                {100.0 / 30.0, 3.0}}; // "G04 P100" waits 3 ticks
    for (const auto& [value, rounded] : halves) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }
    EXPECT_EQ(CInt(45.0 / 30.0), 2);
    EXPECT_EQ(CLng(-1234567.5), -1234568);
    EXPECT_EQ(Fix(-2.7), -2.0);
    EXPECT_EQ(Int(-2.7), -3.0);
    EXPECT_EQ(Fix(2.7), 2.0);
    EXPECT_EQ(Int(2.7), 2.0);
    EXPECT_THROW(CInt(40000.0), std::out_of_range);
    EXPECT_THROW(CLng(std::nan("")), std::out_of_range);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CIntSaturated(1e9), 32767);
    EXPECT_EQ(CIntSaturated(-1e9), -32768);
    EXPECT_EQ(CLngSaturated(std::nan("")), 0);
    EXPECT_EQ(CLngSaturated(std::numeric_limits<double>::infinity()), 2147483647);
}
