// The number formatter takes a short cut for the plain patterns ("0.000");
// it must write exactly what the full 15-digit rounding writes. A '#' in
// the pattern ("#0.000", same output) always takes the full path.

#include "common/Basic.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace korvel::test {
namespace {

using common::FormatNumber;

void expectSameAsFullPath(double v) {
    static const char* const plain[] = {"0", "0.0", "0.000", "0.0000", "0.000000", "0.00000000"};
    static const char* const full[] = {"#0",      "#0.0",      "#0.000",
                                       "#0.0000", "#0.000000", "#0.00000000"};
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(FormatNumber(v, plain[i]), FormatNumber(v, full[i]))
            << "value " << v << " pattern " << plain[i];
    }
}

TEST(FormatFastPath, HalvesAndTheirNeighboursMatchTheFullRounding) {
    // Decimal halves at every pattern's last place, and the doubles right
    // next to them: the 15-digit form of these lands on the half.
    for (double base : {0.5, 0.05, 0.005, 0.0005, 0.00005, 0.0000005, 0.000000005}) {
        for (int k = -200; k <= 200; ++k) {
            const double v = k * (base * 2) + base;
            expectSameAsFullPath(v);
            expectSameAsFullPath(std::nextafter(v, 1e300));
            expectSameAsFullPath(std::nextafter(v, -1e300));
        }
    }
    for (double v : {2.675, 1.0005, -1.0005, 0.125, -0.125, 1e11 + 0.5, -0.0004999, 0.0, -0.0}) {
        expectSameAsFullPath(v);
    }
}

TEST(FormatFastPath, RandomValuesOfEveryMagnitudeMatchTheFullRounding) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 14);
    for (int i = 0; i < 20000; ++i) {
        expectSameAsFullPath(mantissa(random) * std::pow(10.0, exponent(random)));
    }
}

} // namespace
} // namespace korvel::test
