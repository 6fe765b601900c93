#include "common/Basic.h"

#include "common/Message.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace korvel::common {
namespace {

constexpr double kLargestFixed = 1e15;

// A finite non-zero double as 15 significant decimal digits and the decimal
// exponent of the first digit: value = 0.d1d2...d15 * 10^(exp10 + 1).
struct Decimal15 {
    bool negative = false;
    std::string digits; // exactly 15 digits, first non-zero
    int exp10 = 0;      // exponent of the first digit
};

Decimal15 toDecimal15(double value) {
    // to_chars gives the same correctly rounded digits as printf's "%.14e",
    // several times faster (the display point files format millions).
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 14);
    *res.ptr = '\0';
    Decimal15 d;
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits.push_back(*p);
        }
    }
    d.exp10 = std::atoi(p + 1);
    return d;
}

// Decimal digits of |value| rounded half away from zero at `decimals`
// places, as an integer-part string and a fraction string.
void roundDecimal(const Decimal15& d, int decimals, std::string& intPart, std::string& frac) {
    // Place the digits on a grid: position 0 = units. Keep digits down to
    // 10^-decimals, round on the next one.
    const int lowest = -decimals;
    std::string kept; // digits from max(exp10,0) down to lowest
    const int highest = std::max(d.exp10, 0);
    bool roundUp = false;
    for (int pos = highest; pos >= lowest; --pos) {
        const int idx = d.exp10 - pos;
        kept.push_back(idx >= 0 && idx < 15 ? d.digits[static_cast<size_t>(idx)] : '0');
    }
    {
        const int idx = d.exp10 - (lowest - 1);
        roundUp = idx >= 0 && idx < 15 && d.digits[static_cast<size_t>(idx)] >= '5';
    }
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0) {
            if (kept[static_cast<size_t>(i)] == '9') {
                kept[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++kept[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
        }
    }
    const size_t intLen = kept.size() - static_cast<size_t>(decimals);
    intPart = kept.substr(0, intLen);
    frac = kept.substr(intLen);
    const size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "" : intPart.substr(firstNonZero);
}

// The plain patterns "0", "0.000", "0000.00" ... (integer part all zeros,
// up to nine decimals) without building the 15-digit form: when |value|
// scaled to the last decimal lies clearly away from a half, rounding the
// value itself and rounding its 15-digit form give the same digits.
// Returns false when the full rounding must decide.
bool appendFast(double value, int minIntDigits, int decimals, std::string& out) {
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (decimals > 9 || minIntDigits < 1 || minIntDigits > 20) {
        return false;
    }
    const double scaled = std::fabs(value) * kPow10[decimals];
    if (!(scaled < 1e12)) {
        return false;
    }
    const double whole = std::floor(scaled);
    const double rest = scaled - whole; // exact below 2^52
    // The 15-digit form differs from the value by at most 5e-15 of it, the
    // scaling adds one rounding: stay 2e-14 clear of the half.
    if (std::fabs(rest - 0.5) <= scaled * 2e-14 + 1e-300) {
        return false;
    }
    auto n = static_cast<unsigned long long>(whole) + (rest > 0.5 ? 1 : 0);
    // A value that rounds to zero is written without a minus sign.
    const bool negative = value < 0 && n != 0;
    // The digits of n from the last decimal upwards, two at a time,
    // padded with zeros to the pattern's length.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930"
        "31323334353637383940414243444546474849505152535455565758596061"
        "6263646566676869707172737475767778798081828384858687888990919293"
        "949596979899";
    char digits[40];
    char* const digitsEnd = digits + sizeof digits;
    char* d = digitsEnd;
    while (n >= 100) {
        const auto pair = static_cast<size_t>(n % 100) * 2;
        n /= 100;
        d -= 2;
        d[0] = kPairs[pair];
        d[1] = kPairs[pair + 1];
    }
    if (n >= 10) {
        d -= 2;
        d[0] = kPairs[n * 2];
        d[1] = kPairs[n * 2 + 1];
    } else {
        *--d = static_cast<char>('0' + n);
    }
    while (digitsEnd - d < decimals + minIntDigits) {
        *--d = '0';
    }
    // Sign, integer digits, point, decimals.
    char text[48];
    char* t = text;
    if (negative) {
        *t++ = '-';
    }
    const auto intLen = static_cast<size_t>(digitsEnd - d - decimals);
    std::memcpy(t, d, intLen);
    t += intLen;
    if (decimals > 0) {
        *t++ = '.';
        std::memcpy(t, d + intLen, static_cast<size_t>(decimals));
        t += decimals;
    }
    out.append(text, t);
    return true;
}

// The full rounding on the 15-digit decimal form, for every pattern.
void appendRounded(double value, int minIntDigits, int decimals, std::string& out) {
    std::string intPart;
    std::string frac(static_cast<size_t>(decimals), '0');
    bool negative = false;
    if (value != 0.0) {
        const Decimal15 d = toDecimal15(value);
        negative = d.negative;
        roundDecimal(d, decimals, intPart, frac);
    }
    if (intPart.size() < static_cast<size_t>(minIntDigits)) {
        intPart.insert(0, static_cast<size_t>(minIntDigits) - intPart.size(), '0');
    }
    const bool allZero = intPart.find_first_not_of('0') == std::string::npos &&
                         frac.find_first_not_of('0') == std::string::npos;
    if (negative && !allZero) {
        out.push_back('-');
    }
    out += intPart;
    if (decimals > 0) {
        out.push_back('.');
        out += frac;
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The general reading: blanks anywhere are passed over, exponents and the
// "&H"/"&O" prefixes are understood.
double valGeneral(std::string_view text);

// A plain number ("-12.345", " 7", ".5") with nothing after it that the
// general reading would join to it, read in place. Returns false when the
// general reading must decide (inner blanks, exponents, prefixes, overflow).
bool valPlain(std::string_view text, double& result) {
    const size_t n = text.size();
    size_t i = 0;
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    size_t start = i;
    if (i < n && text[i] == '+') {
        start = ++i; // the number reader takes no plus sign
    } else if (i < n && text[i] == '-') {
        ++i;
    }
    size_t digits = 0;
    for (; i < n && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < n && text[i] == '.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    const size_t end = i;
    if (digits == 0) {
        return false;
    }
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    if (i < n) {
        const char c = text[i];
        if (isDigit(c) || c == '.' || c == 'e' || c == 'E' || c == 'd' || c == 'D') {
            return false;
        }
    }
    double v = 0.0;
    const auto res = std::from_chars(text.data() + start, text.data() + end, v);
    if (res.ec != std::errc{} || res.ptr != text.data() + end || !std::isfinite(v)) {
        return false;
    }
    result = v;
    return true;
}

// No file or program line may hold "NaN" or "Inf", and a fixed-decimal
// number of more than 15 integer digits has lost its decimals: both come
// only from a broken value upstream, and the job is refused before its
// file is written (every writer formats the whole text first).
void refuseUnwritable(double value, bool fixedDecimals) {
    const bool finite = std::isfinite(value);
    if (finite && !(fixedDecimals && std::fabs(value) >= kLargestFixed)) {
        return;
    }
    std::string shown = std::isnan(value) ? "NaN"
                        : !finite         ? (value > 0 ? "Inf" : "-Inf")
                                          : Str(value);
    if (shown.front() == ' ') {
        shown.erase(0, 1); // the leading blank of the file form
    }
    throw UserError(error("数值 " + shown + " 无效（须为有限数，绝对值小于1E+15），文件未写入！",
                          "The value " + shown +
                              " cannot be written (a finite number below 1E+15 is needed); "
                              "the file was not written!"));
}

} // namespace

void AppendNumber(std::string& out, double value, std::string_view pattern) {
    // "0.000": decimals after the point; the zeros before it are the least
    // integer digits ('#' and other marks there only show optional digits).
    int minIntDigits = 0;
    int decimals = 0;
    bool allZeros = true;
    bool afterPoint = false;
    for (char c : pattern) {
        if (afterPoint) {
            ++decimals;
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == '0') {
            ++minIntDigits;
        } else {
            allZeros = false;
        }
    }
    refuseUnwritable(value, true);
    if (allZeros && appendFast(value, minIntDigits, decimals, out)) {
        return;
    }
    appendRounded(value, minIntDigits, decimals, out);
}

std::string FormatNumber(double value, std::string_view pattern) {
    std::string out;
    AppendNumber(out, value, pattern);
    return out;
}

std::string Str(double value) {
    if (value == 0.0) {
        return " 0";
    }
    refuseUnwritable(value, false);
    const Decimal15 d = toDecimal15(value);
    std::string digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out = d.negative ? "-" : " ";
    if (d.exp10 >= 15 || d.exp10 < -4) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out += digits.substr(1);
        }
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", d.exp10 < 0 ? '-' : '+', std::abs(d.exp10));
        out += exp;
        return out;
    }
    if (d.exp10 < 0) {
        out.push_back('.');
        out.append(static_cast<size_t>(-d.exp10 - 1), '0');
        out += digits;
        return out;
    }
    const size_t intLen = static_cast<size_t>(d.exp10) + 1;
    if (digits.size() <= intLen) {
        out += digits;
        out.append(intLen - digits.size(), '0');
    } else {
        out += digits.substr(0, intLen);
        out.push_back('.');
        out += digits.substr(intLen);
    }
    return out;
}

std::string Str(long long value) {
    return (value >= 0 ? " " : "") + std::to_string(value);
}

double Val(std::string_view text) {
    double v = 0.0;
    return valPlain(text, v) ? v : valGeneral(text);
}

namespace {
double valGeneral(std::string_view text) {
    std::string clean; // the text without blanks, tabs and line feeds
    clean.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            clean.push_back(c);
        }
    }
    if (clean.size() >= 2 && clean[0] == '&') {
        const char kind = static_cast<char>(clean[1] | 0x20);
        const int base = kind == 'h' ? 16 : (kind == 'o' ? 8 : 0);
        if (base != 0) {
            // The digits are gathered unsigned and stop growing at the
            // largest 64-bit integer: "&HFFFFFFFFFFFFFFFF" or a long octal
            // run saturates instead of overflowing.
            constexpr unsigned long long kMax = std::numeric_limits<long long>::max();
            unsigned long long v = 0;
            for (size_t i = 2; i < clean.size(); ++i) {
                const char c = static_cast<char>(clean[i] | 0x20);
                int digit = -1;
                if (c >= '0' && c <= '9') {
                    digit = c - '0';
                } else if (base == 16 && c >= 'a' && c <= 'f') {
                    digit = c - 'a' + 10;
                }
                if (digit < 0 || digit >= base) {
                    break;
                }
                const auto d = static_cast<unsigned long long>(digit);
                v = v > (kMax - d) / static_cast<unsigned long long>(base) ? kMax : v * base + d;
            }
            return static_cast<double>(v);
        }
    }
    std::string number;
    size_t i = 0;
    if (i < clean.size() && (clean[i] == '+' || clean[i] == '-')) {
        number.push_back(clean[i++]);
    }
    bool anyDigit = false;
    while (i < clean.size() && clean[i] >= '0' && clean[i] <= '9') {
        number.push_back(clean[i++]);
        anyDigit = true;
    }
    if (i < clean.size() && clean[i] == '.') {
        number.push_back(clean[i++]);
        while (i < clean.size() && clean[i] >= '0' && clean[i] <= '9') {
            number.push_back(clean[i++]);
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (i < clean.size() &&
        (clean[i] == 'e' || clean[i] == 'E' || clean[i] == 'd' || clean[i] == 'D')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < clean.size() && (clean[j] == '+' || clean[j] == '-')) {
            exp.push_back(clean[j++]);
        }
        bool expDigit = false;
        while (j < clean.size() && clean[j] >= '0' && clean[j] <= '9' && exp.size() < 8) {
            exp.push_back(clean[j++]);
            expDigit = true;
        }
        if (expDigit) {
            number += exp;
        }
    }
    const double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

} // namespace

double RoundHalfEven(double value) {
    const double r = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return r;
}

double RoundHalfAway(double value) {
    return std::round(value);
}

double Fix(double value) {
    return std::trunc(value);
}

double Int(double value) {
    return std::floor(value);
}

namespace {
template <typename T> T checkedRound(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max())) {
        throw std::out_of_range("integer conversion overflow");
    }
    return static_cast<T>(r);
}
template <typename T> T saturatedRound(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = RoundHalfEven(value);
    if (r <= std::numeric_limits<T>::min()) {
        return std::numeric_limits<T>::min();
    }
    if (r >= std::numeric_limits<T>::max()) {
        return std::numeric_limits<T>::max();
    }
    return static_cast<T>(r);
}
} // namespace

std::int16_t CInt(double value) {
    return checkedRound<std::int16_t>(value);
}
std::int32_t CLng(double value) {
    return checkedRound<std::int32_t>(value);
}
std::int16_t CIntSaturated(double value) {
    return saturatedRound<std::int16_t>(value);
}
std::int32_t CLngSaturated(double value) {
    return saturatedRound<std::int32_t>(value);
}

} // namespace korvel::common
