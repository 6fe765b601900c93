#include "geometry/NcReader.h"

#include "geometry/OutlineTracer.h"

#include <cmath>
#include <string>

namespace korvel::geometry {

namespace {

// Z before the first Z word: no real plane lies there, so the first Z word
// always counts as a change of height.
constexpr double kNoZ = -9999.0;
// Two Z values closer than this are the same height (values are read from
// text with a few decimals).
constexpr double kSameHeight = 1e-6;

struct AxisWords {
    std::string x, y, z;
    bool hasX = false, hasY = false, hasZ = false;
};

// Collects the X, Y and Z words of one line. A letter X, Y or Z starts a
// word, a blank ends it, ';' ends the line and a parenthesised comment is
// passed over (CAM programs name their tools and operations there). Every
// other character belongs to the word being collected, so "X10F300" gives
// "10F300", which reads as 10.
AxisWords collectWords(std::string_view line) {
    AxisWords words;
    std::string* current = nullptr;
    bool inComment = false;
    const auto startWord = [&current](std::string& word, bool& present) {
        current = &word;
        current->clear();
        present = true;
    };
    for (char ch : line) {
        if (inComment) {
            inComment = ch != ')';
            continue;
        }
        switch (ch) {
        case ';':
            return words;
        case '(':
            inComment = true;
            current = nullptr;
            break;
        case ' ':
        case '\t':
            current = nullptr;
            break;
        case 'X':
        case 'x':
            startWord(words.x, words.hasX);
            break;
        case 'Y':
        case 'y':
            startWord(words.y, words.hasY);
            break;
        case 'Z':
        case 'z':
            startWord(words.z, words.hasZ);
            break;
        default:
            if (current != nullptr) {
                current->push_back(ch);
            }
            break;
        }
    }
    return words;
}

// A word that is missing, or a letter with nothing after it, keeps the
// previous value of its axis.
void takeWord(bool present, const std::string& text, double& value, std::string_view source,
              std::size_t lineNumber) {
    if (present && !text.empty()) {
        value = ReadDrawingCoordinate(text, source, lineNumber);
    }
}

} // namespace

DisplayDrawing ReadNc(const common::Lines& lines, const NcReaderOptions& options,
                      std::string_view source) {
    DrawingBuilder builder("0.000000", source);
    OutlineTracer tracer(builder, options.slotAngleThreshold, -1.0);
    double x = 0.0;
    double y = 0.0;
    double z = kNoZ;
    double previousZ = kNoZ;
    std::size_t lineNumber = 0;
    for (const auto& line : lines) {
        ++lineNumber;
        const AxisWords words = collectWords(line);
        takeWord(words.hasX, words.x, x, source, lineNumber);
        takeWord(words.hasY, words.y, y, source, lineNumber);
        takeWord(words.hasZ, words.z, z, source, lineNumber);

        const bool inPlane = std::fabs(z - options.planeZ) <= kSameHeight;
        if (inPlane) {
            const bool cameDown = previousZ != kNoZ && std::fabs(previousZ - z) > kSameHeight;
            if (cameDown) {
                tracer.start({x, y});
            } else {
                // A move in the plane before the tool was ever seen coming
                // down belongs to no outline and is passed over.
                tracer.lineTo({x, y});
            }
        } else {
            tracer.finish();
        }
        previousZ = z;
    }
    // A program that ends with the tool still in the plane keeps its last
    // point: it is written as the end of the outline.
    tracer.finish();
    return builder.finish();
}

} // namespace korvel::geometry
