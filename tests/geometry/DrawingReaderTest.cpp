// The NC, PLT and AI readers: where outlines start, which points become
// nodes, how long moves are broken up, and what happens to the odd
// instructions real files carry.

#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/AiReader.h"
#include "geometry/NcReader.h"
#include "geometry/PltReader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::geometry {
namespace {

using common::Lines;

struct ParsedPoint {
    double x;
    double y;
    bool node;
};

// The points of outline `number` (1-based) of display lines.
std::vector<ParsedPoint> outlinePoints(const Lines& lines, int number) {
    std::vector<ParsedPoint> points;
    int current = 0;
    for (const auto& line : lines) {
        const auto fields = common::SplitFields(line);
        if (common::FieldAt(fields, 0) == "SPLINE") {
            ++current;
            continue;
        }
        if (current == number) {
            points.push_back({common::Val(fields[0]), common::Val(fields[1]),
                              common::FieldAt(fields, 2) == "Node"});
        }
    }
    return points;
}

NcReaderOptions planeAt(double z, double threshold = 30.0) {
    return {z, threshold};
}

// Whole display files worked out by hand. Lengths: a move of d mm gets
// Fix((d - 5) / 5) points between; the pending last point of an outline is
// written when the tool or pen lifts and at the end of the file.
struct ReaderCase {
    const char* what;
    bool plotter; // PLT text, else G-code lines
    std::string input;
    Lines expected;
    int dropped = 0;
};

TEST(Readers, DisplayLinesOfSmallDrawings) {
    const ReaderCase cases[] = {
        {"descent to the plane starts an outline with a node; 10 mm gets one point",
         false,
         "G00 Z5\nG01 X10 Y0 Z-1\nG01 X20 Y0\nG00 Z5",
         {"SPLINE 1", "10.000000 0.000000 Node", "15.000000 0.000000", "20.000000 0.000000",
          "SPLINE END"}},
        {"30 mm gets five points 5 mm apart, 9.9 mm none; the right angle is a node",
         false,
         "G00 Z5\nG01 X0 Y0 Z-1\nG01 X30\nG01 X30 Y9.9\nG00 Z5",
         {"SPLINE 1", "0.000000 0.000000 Node", "5.000000 0.000000", "10.000000 0.000000",
          "15.000000 0.000000", "20.000000 0.000000", "25.000000 0.000000",
          "30.000000 0.000000 Node", "30.000000 9.900000", "SPLINE END"}},
        {"X10F300 reads as 10, comments are passed over, a 0.05 mm move adds no point but "
         "moves the tool",
         false,
         "(Z SAFE HEIGHT X99)\nG00 Z5.000\nG01 Z-1 X10F300 Y0 ; X77\nG01 X10.05\nG01 Y8\ng00 z5",
         {"SPLINE 1", "10.000000 0.000000 Node", "10.050000 8.000000", "SPLINE END"}},
        {"moves in the plane before any descent belong to no outline",
         false,
         "G01 X0 Y0 Z-1\nG01 X50 Y0\nG01 X50 Y50",
         {"SPLINE END"}},
        {"each descent is a new outline; a program ending in the plane keeps its last point",
         false,
         "Z5\nX0 Y0 Z-1\nX8\nZ5\nX20\nZ-1\nX28",
         {"SPLINE 1", "0.000000 0.000000 Node", "8.000000 0.000000", "SPLINE 2",
          "20.000000 0.000000 Node", "28.000000 0.000000", "SPLINE END"}},
        {"a 10-degree bend, below the 30-degree threshold, is no node",
         false,
         "Z5\nG01 X10 Y0 Z-1\nX18 Y0\nX25.878462 Y1.389185\nZ5",
         {"SPLINE 1", "10.000000 0.000000 Node", "18.000000 0.000000", "25.878462 1.389185",
          "SPLINE END"}},
        {"PD400,800 is (10, 20); PU0,0 starts no outline",
         true,
         "IN;\nSP1;\nPU0,0;\nPU400,800;\nPD800,800;\nPU;\nSP0;\n",
         {"SPLINE 1", "10.000000 20.000000 Node", "15.000000 20.000000", "20.000000 20.000000",
          "SPLINE END"}},
        {"parking moves and bare pen-ups leave nothing at the origin",
         true,
         "IN;SP1;PU0,0;PU40,40;PD400,40;PU;PU;SP0;PU0,0;",
         {"SPLINE 1", "1.000000 1.000000 Node", "10.000000 1.000000", "SPLINE END"}},
        {"a pen-up with no stroke after it is an outline of one point, left out and counted",
         true,
         "PU40,40;PD400,40;PU800,800;PU;",
         {"SPLINE 1", "1.000000 1.000000 Node", "10.000000 1.000000", "SPLINE END"},
         1},
        {"a square corner 0.75 mm from the start node stays a plain point",
         true,
         "PU0,40;PD30,40;PD30,400;",
         {"SPLINE 1", "0.000000 1.000000 Node", "0.750000 1.000000", "0.750000 10.000000",
          "SPLINE END"}},
        {"a square corner 7.5 mm from the start node is a node",
         true,
         "PU0,40;PD300,40;PD300,300;",
         {"SPLINE 1", "0.000000 1.000000 Node", "7.500000 1.000000 Node", "7.500000 7.500000",
          "SPLINE END"}},
        {"blank-separated pairs, one instruction a line",
         true,
         "PU500 -120;\r\nPD900 -120;\r\n",
         {"SPLINE 1", "12.500000 -3.000000 Node", "17.500000 -3.000000", "22.500000 -3.000000",
          "SPLINE END"}},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        const DisplayDrawing d =
            c.plotter ? ReadPlt(c.input, {}) : ReadNc(common::SplitLines(c.input), planeAt(-1));
        EXPECT_EQ(d.lines, c.expected);
        EXPECT_EQ(d.droppedOutlines, c.dropped);
    }
}

// A 20 x 20 mm square from (10, 10) with its top right corner rounded by a
// Bezier curve, written in points (1 mm = 360/127 pt) as Illustrator 8 does,
// with the prolog procedures, set-up and paint attributes around it.
const Lines kAiSquare = {
    "%!PS-Adobe-3.0",
    "%%Creator: Adobe Illustrator(R) 8.0",
    "%%BoundingBox: 28 28 86 86",
    "%%EndComments",
    "%%BeginProlog",
    "/m {moveto} bind def",
    "/_x 1 2 3 4 5 6 c",
    "%%EndProlog",
    "%%BeginSetup",
    "%AI5_BeginPalette",
    "0 0 0 1 k",
    "%AI5_EndPalette",
    "%%EndSetup",
    "%AI5_BeginLayer",
    "1 1 1 1 0 0 0 79 128 255 0 50 Lb",
    "(Layer 1) Ln",
    "0 A",
    "*u",
    "0 O",
    "0 0 0 1 k",
    "0 i 0 J 0 j 1 w 4 M []0 d",
    "0 D",
    "28.3465 28.3465 m",
    "85.0394 28.3465 L",
    "85.0394 56.6929 85.0394 85.0394 56.6929 85.0394 c",
    "28.3465 85.0394 L",
    "28.3465 28.3465 L",
    "f",
    "*U",
    "LB",
    "%AI5_EndLayer--",
    "%%PageTrailer",
    "%%Trailer",
    "99 99 m",
    "%%EOF",
};

TEST(AiReader, CurvesAreSteppedAndCornersAreNodes) {
    const auto d = ReadAi(kAiSquare, {});
    ASSERT_EQ(d.outlineCount, 1);
    const auto points = outlinePoints(d.lines, 1);
    // Start, corner, 999 curve steps, curve end, two corners.
    ASSERT_EQ(points.size(), 1u + 1u + 999u + 1u + 2u);
    std::vector<std::pair<double, double>> nodes;
    for (const auto& p : points) {
        if (p.node) {
            nodes.emplace_back(p.x, p.y);
        }
    }
    // The curve ends tangent to the following line at (20, 30): no node.
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_NEAR(nodes[0].first, 10.0, 1e-3);
    EXPECT_NEAR(nodes[1].first, 30.0, 1e-3);
    EXPECT_NEAR(nodes[2].second, 30.0, 1e-3);
    // The curve's midpoint (t = 0.5) by hand: (30+90+90+20)/8, (10+60+90+30)/8.
    const auto& mid = points[2 + 499];
    EXPECT_NEAR(mid.x, 28.75, 2e-4);
    EXPECT_NEAR(mid.y, 23.75, 2e-4);
    EXPECT_EQ(d.lines[1], "10.0000 10.0000 Node");
}

TEST(AiReader, SmoothCornersAreNodesFillsCloseAndShortCurvesShareAControlPoint) {
    // Lower-case (smooth) line ends with a right angle; the fill closes the
    // path back to its start.
    const Lines ai = {"0 0 m", "100 0 l", "100 100 l", "f"};
    const auto points = outlinePoints(ReadAi(ai, {}).lines, 1);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_TRUE(points[1].node);
    EXPECT_TRUE(points[2].node);
    EXPECT_DOUBLE_EQ(points[3].x, 0.0);
    EXPECT_DOUBLE_EQ(points[3].y, 0.0);
    // A stroked open path stays open.
    const auto open = outlinePoints(ReadAi({"0 0 m", "100 0 l", "100 100 l", "S"}, {}).lines, 1);
    EXPECT_EQ(open.size(), 3u);
    // "v": first control point on the current point; "y": second on the end.
    // Midpoints by hand, in points: (0 + 0 + 30 + 20) / 8, (0 + 0 + 30 + 0) / 8
    // and (0 + 30 + 60 + 20) / 8, (0 + 30 + 0 + 0) / 8.
    const double mm = 127.0 / 360.0;
    const auto v = outlinePoints(ReadAi({"0 0 m", "10 10 20 0 v", "S"}, {}).lines, 1);
    const auto y = outlinePoints(ReadAi({"0 0 m", "10 10 20 0 y", "S"}, {}).lines, 1);
    ASSERT_EQ(v.size(), 1001u);
    ASSERT_EQ(y.size(), 1001u);
    EXPECT_NEAR(v[500].x, 6.25 * mm, 1e-4);
    EXPECT_NEAR(v[500].y, 3.75 * mm, 1e-4);
    EXPECT_NEAR(y[500].x, 13.75 * mm, 1e-4);
    EXPECT_NEAR(y[500].y, 3.75 * mm, 1e-4);
    EXPECT_NEAR(v.back().x, 20.0 * mm, 1e-4);
}

TEST(Readers, CoordinatesBeyondAnySignAndMovesTooLongToSubdivideAreRefused) {
    // The folder of bad drawings has the files; these are the limits.
    EXPECT_EQ(ReadNc({"Z5", "X1e6 Y0 Z-1", "X999999"}, planeAt(-1)).outlineCount, 1);
    EXPECT_THROW(ReadNc({"Z5", "X1.000001e6 Y0 Z-1"}, planeAt(-1)), common::UserError);
    // An exponent too large for a double is refused, a vanishing one is 0.
    EXPECT_THROW(ReadPlt("PU0,40;PD1E400,40;", {}), common::UserError);
    EXPECT_EQ(ReadPlt("PU40,40;PD1E-400,40;", {}).lines[2], "0.000000 1.000000");
    // A move too long to subdivide is refused before anything is allocated:
    // three moves of 2 km give 1.2 million points, beyond what the view and
    // the cleaning passes could ever take.
    EXPECT_THROW(ReadNc({"Z5", "X-999999 Y0 Z-1", "X999999", "X-999999", "X999999"}, planeAt(-1)),
                 common::UserError);
}

} // namespace
} // namespace korvel::geometry
