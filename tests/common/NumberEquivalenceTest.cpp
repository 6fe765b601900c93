// The formatter and Val take short cuts for the plain cases ("0.000"
// patterns, "-12.345" texts). Here both are compared with slow, obviously
// right readings of their rules on random input: the formatter with a
// decimal-string rounding of the printf 15-digit form, Val with the
// blank-stripping reading through strtod.

#include "common/Basic.h"
#include "common/Message.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace korvel::test {
namespace {

// Halves away from zero on the "%.14e" digits; `minInt` zeros before the
// point at least, no minus sign when the result is all zeros.
std::string referenceFormat(double v, int minInt, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    const bool negative = buf[0] == '-';
    const char* p = buf + (negative ? 1 : 0);
    std::string digits; // 15 digits, value = digits * 10^(exp - 14)
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    const int shift = std::atoi(p + 1) - 14 + decimals; // digits * 10^shift units
    std::string n;
    if (shift >= 0) {
        n = digits + std::string(static_cast<size_t>(shift), '0');
    } else {
        const int drop = -shift;
        n = drop < 15 ? digits.substr(0, static_cast<size_t>(15 - drop)) : "0";
        const char roundDigit = drop <= 15 ? digits[static_cast<size_t>(15 - drop)] : '0';
        if (roundDigit >= '5') {
            int i = static_cast<int>(n.size()) - 1;
            for (; i >= 0 && n[static_cast<size_t>(i)] == '9'; --i) {
                n[static_cast<size_t>(i)] = '0';
            }
            if (i < 0) {
                n.insert(0, "1");
            } else {
                ++n[static_cast<size_t>(i)];
            }
        }
    }
    n.erase(0, std::min(n.find_first_not_of('0'), n.size()));
    const bool zero = n.empty();
    if (n.size() < static_cast<size_t>(minInt + decimals)) {
        n.insert(0, static_cast<size_t>(minInt + decimals) - n.size(), '0');
    }
    if (decimals > 0) {
        n.insert(n.size() - static_cast<size_t>(decimals), ".");
    }
    return (negative && !zero ? "-" : "") + n;
}

double referenceVal(const std::string& text) {
    std::string clean;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            clean += c;
        }
    }
    if (clean.size() >= 2 && clean[0] == '&') {
        return common::Val(text); // the prefixes are read one way only
    }
    size_t i = 0;
    std::string number;
    if (i < clean.size() && (clean[i] == '+' || clean[i] == '-')) {
        number += clean[i++];
    }
    bool digit = false;
    for (; i < clean.size() && std::isdigit(static_cast<unsigned char>(clean[i])); ++i) {
        number += clean[i];
        digit = true;
    }
    if (i < clean.size() && clean[i] == '.') {
        number += clean[i++];
        for (; i < clean.size() && std::isdigit(static_cast<unsigned char>(clean[i])); ++i) {
            number += clean[i];
            digit = true;
        }
    }
    if (!digit) {
        return 0.0;
    }
    if (i < clean.size() && std::string_view("eEdD").find(clean[i]) != std::string::npos) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < clean.size() && (clean[j] == '+' || clean[j] == '-')) {
            exp += clean[j++];
        }
        const size_t expStart = exp.size();
        for (; j < clean.size() && std::isdigit(static_cast<unsigned char>(clean[j])) &&
               exp.size() < 8;
             ++j) {
            exp += clean[j];
        }
        if (exp.size() > expStart) {
            number += exp;
        }
    }
    const double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

void expectFormatsLikeReference(double v) {
    if (std::fabs(v) >= 1e15) {
        // Past 15 integer digits the decimals are lost: no file gets it.
        EXPECT_THROW(common::FormatNumber(v, "0"), common::UserError) << v;
        return;
    }
    for (const std::string pattern :
         {"0", "0.0", "0.000", "0.0000", "0.000000", "0.00000000", "0000", "00.00", "#0.000",
          "###0.0000", ".000", "0.0000000000", "0.000000000"}) {
        // Zeros before the point are the least count of integer digits, the
        // pattern's length after the point the count of decimals.
        const auto point = std::min(pattern.find('.'), pattern.size());
        const auto minInt = std::count(pattern.begin(), pattern.begin() + point, '0');
        const auto decimals = pattern.size() - std::min(point + 1, pattern.size());
        ASSERT_EQ(common::FormatNumber(v, pattern),
                  referenceFormat(v, static_cast<int>(minInt), static_cast<int>(decimals)))
            << "value " << v << " pattern " << pattern;
    }
}

TEST(NumberEquivalence, FormatterMatchesTheDecimalRounding) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    for (int i = 0; i < 20000; ++i) {
        expectFormatsLikeReference(mantissa(random) * std::pow(10.0, exponent(random)));
    }
    // Decimal halves at every last place and the doubles right beside them.
    std::uniform_int_distribution<int> whole(-2000000, 2000000);
    std::uniform_int_distribution<int> places(0, 9);
    for (int i = 0; i < 5000; ++i) {
        const double unit = std::pow(10.0, -places(random));
        const double half = (whole(random) + 0.5) * unit;
        for (double v : {half, std::nextafter(half, 1e300), std::nextafter(half, -1e300)}) {
            expectFormatsLikeReference(v);
        }
    }
    for (double v : {0.0, -0.0, 0.5, -0.5, 9.9995, 999999.9999995, 1e20, -1e-20, 2.675}) {
        expectFormatsLikeReference(v);
    }
}

void expectReadsLikeReference(const std::string& text) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(common::Val(text)),
              std::bit_cast<std::uint64_t>(referenceVal(text)))
        << "text \"" << text << "\"";
}

TEST(NumberEquivalence, ValMatchesTheBlankStrippingReading) {
    std::mt19937_64 random(5);
    // Texts made of everything a number may hold, and a few things that end it.
    const std::string alphabet = "0123456789000111..--++ \t\r\neEdDx,&H";
    std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[letter(random)];
        }
        expectReadsLikeReference(text);
    }
    // Everything the writers produce reads back exactly as before.
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        if (std::fabs(v) < 1e15) {
            expectReadsLikeReference(common::FormatNumber(v, "0.000000"));
        }
        expectReadsLikeReference(common::Str(v));
    }
    for (const char* text : {"1e400", "-1e400", "1e-400", "4e-320", "1e12345678", "-0", "+.5 ",
                             "00012.50000000000000000001", "9007199254740993", "-.", "+-1"}) {
        expectReadsLikeReference(text);
    }
}

} // namespace
} // namespace korvel::test
