#pragma once
// Collects the outlines that a drawing reader (NC, PLT, AI) finds and turns
// them into the lines of the display point file. The builder guards the
// operator against what a drawing program may leave behind: coordinates far
// outside any sign letter, outlines of a single point (a pen lifted without
// drawing), and files so large that the view could not hold them.

#include "common/TextFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::geometry {

// Largest coordinate a reader accepts (mm): a sign letter is at most a few
// metres wide, so a kilometre only appears in broken or hostile files.
inline constexpr double kMaxDrawingCoordinate = 1.0e6;
// Point lines a reader may produce before cleaning. The outline view holds
// 100,001 points; the readers allow a margin for the thinning pass, which
// removes most of the points of straight runs and densely stepped curves.
inline constexpr std::size_t kMaxReaderPoints = 1'000'000;

// Parts of a drawing a reader does not turn into outlines (text, hatches,
// blocks, dimensions, ...), counted by kind so that the operator is told
// what was left out, never silently.
struct SkippedKind {
    std::string kind; // as the drawing names it: "TEXT", "INSERT", "text", "use"
    int count = 0;
};

struct DisplayDrawing {
    common::Lines lines;     // headers, point lines and the closing "SPLINE END"
    int outlineCount = 0;    // outlines kept
    int droppedOutlines = 0; // outlines of fewer than two points, left out
    int openOutlines = 0;    // outlines whose ends do not meet
    std::vector<SkippedKind> skipped;
};

// Counts one more skipped part of the given kind (kinds keep the order in
// which they were first met).
void CountSkipped(std::vector<SkippedKind>& skipped, std::string_view kind);

class DrawingBuilder {
public:
    // `pattern` is the number pattern of the point lines ("0.000000" for
    // NC and PLT, "###0.0000" for AI); `source` names the drawing in messages.
    DrawingBuilder(std::string_view pattern, std::string_view source);

    // Starts a new outline; an outline still open is closed first.
    void beginOutline();
    bool outlineOpen() const { return m_open; }
    // Appends a point to the open outline. Throws UserError for a
    // coordinate that is not finite or beyond kMaxDrawingCoordinate and
    // when the drawing grows beyond kMaxReaderPoints.
    void addPoint(double x, double y, bool node);
    // Room for `count` more points? Checked before a reader subdivides a
    // long segment, so that no absurd count is ever allocated.
    void reserveCheck(double count) const;
    // Marks the point added last as a node (a corner found only once the
    // next piece of the outline is known). No effect before the first point.
    void markLastNode();
    void endOutline();

    // The display lines: outlines renumbered from 1 in the order found,
    // outlines of fewer than two points dropped (and counted).
    DisplayDrawing finish();

private:
    [[noreturn]] void throwTooLarge() const;

    struct Point {
        double x;
        double y;
        bool node;
    };

    std::string m_pattern;
    std::string m_source;
    // Points are kept as numbers and formatted once, in finish(), straight
    // into the display lines: a curve-heavy drawing has a million of them.
    std::vector<Point> m_points;
    std::vector<std::size_t> m_outlineStarts; // index of each outline's first point
    bool m_open = false;
};

// Checks a coordinate read from a drawing (throws UserError naming the
// drawing and the line).
void CheckDrawingCoordinate(double value, std::string_view source, std::size_t lineNumber);

// Reads a coordinate word of a G-code or plotter file the way the machine
// reads numbers (Val: "10F300" is 10), converts it to mm and checks it. A
// number too large for any machine ("1E400") is refused as out of range
// rather than read as 0, which would put a point at the origin.
double ReadDrawingCoordinate(std::string_view text, std::string_view source, std::size_t lineNumber,
                             double unitsPerMm = 1.0);

} // namespace korvel::geometry
