#pragma once
// Every line of a parameter group file declared once, as data: its field,
// type, description, unit, the value a new installation ships with, the
// value an older file that lacks the line gets, and the range outside which
// a value is absurd. The group-file reader and writer, the factory
// parameter set and the command line all walk this table.

#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace korvel::machine {

enum class ParameterType { Double, Int16, Int32, String };

// Which member of ParameterSet a line fills. The cut strokes are one array,
// so their lines name an index into CutStroke.
struct CutStrokeSlot {
    int index;
};
using ParameterField =
    std::variant<double ParameterSet::*, std::int16_t ParameterSet::*, std::int32_t ParameterSet::*,
                 std::string ParameterSet::*, CutStrokeSlot>;

// Values outside [lo, hi] (or equal to lo when loOpen) are refused: they
// would divide by zero, hang a move or select an option the machine lacks.
struct ValueLimits {
    double lo;
    double hi;
    bool loOpen = false;
    // Zero is refused inside the range (a homing speed whose sign gives the
    // search direction: zero would give no direction and no motion).
    bool nonZero = false;
    bool contains(double v) const {
        return (loOpen ? v > lo : v >= lo) && v <= hi && !(nonZero && v == 0.0);
    }
};

struct ParameterInfo {
    int line;              // 1..110
    std::string_view name; // "PulseEquivX", "CutStroke[3]"
    ParameterType type;
    ParameterField field;
    std::string_view description;    // description written to a new file
    std::string_view unit;           // "mm", "deg", "mm/min", ... or empty
    double factory;                  // the value a new installation ships with
    std::optional<double> ifMissing; // value for an older file without the line
    ValueLimits limits;
};

// The 110 lines in file order (index = line - 1).
const std::array<ParameterInfo, kParameterLineCount>& ParameterTable();
const ParameterInfo& ParameterLine(int line);
// Look up a field by name; "CutStroke(2)" is accepted for "CutStroke[2]".
// nullptr when there is no such field.
const ParameterInfo* FindParameter(std::string_view name);

// The slot action order a new installation ships with.
inline constexpr std::string_view kFactorySlotActionOrder = "PDUNDU";

// The parameter set of a new installation: factory values and the default
// descriptions of every line.
ParameterSet FactoryParameterSet();

// Numeric value of a field (0 for the string line).
double NumericValue(const ParameterSet& set, const ParameterInfo& info);
// Store a numeric value into a field. The caller has checked it against
// CheckValue: integers are rounded halves to even.
void SetNumericValue(ParameterSet& set, const ParameterInfo& info, double value);
// The value as written in the group file: Str form for numbers (with its
// leading blank), the text for the string line.
std::string ValueText(const ParameterSet& set, const ParameterInfo& info);

// Why a value cannot be stored in a field (empty when it can): outside the
// integer type's range or outside the field's limits.
enum class ValueProblem { None, OutOfType, OutOfLimits };
ValueProblem CheckValue(const ParameterInfo& info, double value);
// Readable range of a field for messages ("> 0", "1 .. 6").
std::string LimitsText(const ParameterInfo& info);

// Strict number syntax of the group files: optional sign, digits with at
// most one point, an optional exponent (E or D), and nothing else. Returns
// nothing for text that is not a number.
std::optional<double> ParseNumber(std::string_view text);

// A slot action order is a string of the letters U, D, P, N, F and B.
bool IsValidSlotActionOrder(std::string_view text);

} // namespace korvel::machine
