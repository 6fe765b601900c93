#pragma once
// The BASIC-style conversions that the machine's files and programs were
// built around. Every number written to a file or a program line goes
// through FormatNumber or Str, every number read back goes through Val, so
// that a value survives a save/load cycle exactly the way the shop's old
// installations expect.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel::common {

// Fixed-decimal formatter. The pattern shows the decimals: "0" none, "0.0"
// one, "0.000" three, ... "0.00000000" eight; "0000" pads the integer part
// to four digits; "###0.0000" is four decimals (the '#' are optional
// digits). Halves are rounded away from zero on the value's 15-digit decimal
// form, so 0.125 gives "0.13" and 2.675 gives "2.68". A value that rounds to
// zero is written without a minus sign. A value that is not finite or has
// 16 or more integer digits throws UserError: it never reaches a file.
std::string FormatNumber(double value, std::string_view pattern);
// The same text appended to `out` (for files written line after line into
// one buffer).
void AppendNumber(std::string& out, double value, std::string_view pattern);

// Str: shortest general form with up to 15 significant digits, a leading
// blank for non-negative values, no zero before the point (" .5", "-.5"),
// no trailing zeros, exponent form outside 1e-4 <= |v| < 1e15 (" 1E-05").
// A value that is not finite throws UserError.
std::string Str(double value);
std::string Str(long long value);
inline std::string Str(int value) {
    return Str(static_cast<long long>(value));
}
inline std::string Str(short value) {
    return Str(static_cast<long long>(value));
}

// Lenient decimal parse: blanks and tabs are passed over, an optional sign,
// digits, one point and an exponent (E or D) are taken, the first character
// that cannot belong to a number ends it; an empty or non-numeric text gives
// 0. "&H" and "&O" prefixes read hexadecimal and octal integers, at most
// 2^63 - 1 (longer digit runs saturate there).
double Val(std::string_view text);

// Round to the nearest integer, halves to even (0.5 -> 0, 1.5 -> 2,
// 2.5 -> 2). Used for pulse counts, speeds, accelerations and dwell ticks.
double RoundHalfEven(double value);
// Round to the nearest integer, halves away from zero (as the formatter).
double RoundHalfAway(double value);

// Truncate towards zero (Fix) and towards minus infinity (Int).
double Fix(double value);
double Int(double value);

// Conversions to the 16- and 32-bit integers of the machine's tables, with
// halves to even. A value that does not fit (or is not a number) throws
// std::out_of_range: callers that read operator input must clamp first.
std::int16_t CInt(double value);
std::int32_t CLng(double value);

// Saturating variants for values read from files: NaN gives 0, values
// beyond the type's range give its limit.
std::int16_t CIntSaturated(double value);
std::int32_t CLngSaturated(double value);

// Flags shared between windows are 16-bit with true = -1 and false = 0.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

} // namespace korvel::common
