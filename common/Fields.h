#pragma once
// Records in the machine's files are split at every single blank, so field
// positions are exact: two adjacent blanks give an empty field between them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::common {

std::vector<std::string_view> SplitFields(std::string_view line);

// Field `index` (0-based) or an empty view when the line has fewer fields.
std::string_view FieldAt(const std::vector<std::string_view>& fields, size_t index);
// The same field taken straight from the line (for readers that need only
// the first few fields of many lines).
std::string_view FieldOf(std::string_view line, size_t index);

// Trim blanks and tabs at both ends (the DXF and parameter readers compare
// trimmed lines).
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string ToUpper(std::string_view text);

// Strict decimal number of a drawing file: the whole text is one finite
// number (an optional leading '+', digits, point, exponent); anything else,
// "inf", "nan" and an empty text give nothing.
std::optional<double> ParseDecimal(std::string_view text);

} // namespace korvel::common
