#pragma once
// The machine program dialect of G5.dat: one block per line, words made of
// one of the eight letters X Y Z A G M F P (either case) and a value text.
//
// A word's value runs from its letter to the next of the eight letters, a
// blank, a ';' or the end of the line. A blank ends the word and whatever
// follows it up to the next letter belongs to no word. A ';' starts the
// comment ("G04 P3000 ;connect pause"). A letter seen twice appends to its
// first value, so "G90 G01" carries the G value "9001" and does nothing.
// G and M values are compared as text: "M10" matches, "M010" and "M10.0"
// do not; "G04" is the dwell, "G4" is not.

#include <array>
#include <string>
#include <string_view>

namespace korvel::machine {

enum class Word { X = 0, Y, Z, A, G, M, F, P };
inline constexpr int kWordCount = 8;

// The eight value texts of one line; an empty text means the word is absent.
class Words {
public:
    const std::string& operator[](Word word) const { return m_values[static_cast<size_t>(word)]; }
    std::string& operator[](Word word) { return m_values[static_cast<size_t>(word)]; }
    bool has(Word word) const { return !(*this)[word].empty(); }
    // Numeric value of a word (0 when absent or not a number).
    double value(Word word) const;

private:
    std::array<std::string, kWordCount> m_values;
};

// Splits a program line into its eight word values.
Words splitWords(std::string_view line);

// Leading-number reading of a word value: an optional sign, digits, an
// optional point and digits; whatever follows is ignored and text that does
// not start a number reads as 0. Unlike common::Val there is no exponent,
// no hexadecimal prefix and no skipping of blanks: "1E400" reads as 1, so a
// program line can never produce an infinite target.
double wordValue(std::string_view text);

// The codes the interpreter and the executor act on, as the value texts
// compared after the letter.
namespace code {
inline constexpr std::string_view kSetPosition = "92"; // G92
inline constexpr std::string_view kDwell = "04";       // G04
inline constexpr std::string_view kEncoderCheck = "34";
inline constexpr std::string_view kHomeX = "36";
inline constexpr std::string_view kHomeY = "38";
inline constexpr std::string_view kReturnZ = "40";
inline constexpr std::string_view kHomeA = "42";
inline constexpr std::string_view kToolSetA = "44";
} // namespace code

// Lines with a meaning of their own for the executor.
namespace line {
inline constexpr std::string_view kHeader = "G90 G01";
inline constexpr std::string_view kPassOver = "G01";
inline constexpr std::string_view kSegmentStart = "M16";
inline constexpr std::string_view kSegmentEnd = "M100";
// Written after every homing code: the interpreter skips that line.
inline constexpr std::string_view kProgramEnd = "M30";
inline constexpr std::string_view kPause = "M00";
} // namespace line

// An M code that switches outputs: `output` (and `secondOutput` when not -1)
// to `level`.
struct OutputCode {
    std::string_view value;
    int output;
    int level;
    int secondOutput;
};

// The output M codes "M10" to "M25"; nullptr for any other value.
const OutputCode* findOutputCode(std::string_view mValue);

// True for the homing codes after which the next line is skipped.
bool isHomingCode(std::string_view mValue);

// Builds one program line word by word; every number goes through
// common::FormatNumber with the pattern given.
//   LineBuilder().word('X', 12.5, "0.0000").word('F', 3000, "0").str()
//   gives "X12.5000 F3000".
class LineBuilder {
public:
    LineBuilder() = default;
    explicit LineBuilder(std::string_view start) : m_text(start) {}
    LineBuilder& word(char letter, double value, std::string_view pattern);
    // A word with a ready value text ("G90", "M16").
    LineBuilder& word(char letter, std::string_view valueText);
    // A comment after the code part: " ;connect pause".
    LineBuilder& comment(std::string_view text);
    const std::string& str() const { return m_text; }

private:
    void separate();
    std::string m_text;
};

// "G04 P<ms>" with the dwell in whole milliseconds.
std::string dwellLine(double milliseconds);
// "M<value>" for a code value such as "16".
std::string mLine(std::string_view value);

} // namespace korvel::machine
