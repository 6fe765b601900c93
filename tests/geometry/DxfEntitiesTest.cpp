// The DXF entity reader and the chaining of loose pieces, checked against
// points worked out by hand: where an arc, ellipse or bulge starts, passes
// its middle and ends, in drawing coordinates (extrusion -Z mirrored).

#include "geometry/DxfEntities.h"

#include "DxfEntityText.h"
#include "geometry/DxfOutlines.h"
#include "geometry/OutlineChaining.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvel::geometry {
namespace {

namespace dxf = test::dxf;

const double kR45 = std::sqrt(0.5);

struct Expected {
    bool closed;
    std::size_t pieces;
    Point2 start; // of the first piece
    Point2 mid;   // of the first piece, at t = 0.5
    Point2 end;   // of the last piece
};

struct EntityCase {
    const char* name;
    std::string entities;
    std::vector<Expected> contours;
    std::string blocks = {};
    std::string skipped = {}; // "1 INSERT, 2 TEXT"
};

void expectNear(Point2 got, Point2 want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-9) << what;
    EXPECT_NEAR(got.y, want.y, 1e-9) << what;
}

std::string skippedText(const std::vector<SkippedKind>& skipped) {
    std::string out;
    for (const auto& s : skipped) {
        out += (out.empty() ? "" : ", ") + std::to_string(s.count) + " " + s.kind;
    }
    return out;
}

TEST(DxfEntities, EntitiesBecomePiecesInDrawingCoordinates) {
    const std::vector<EntityCase> cases = {
        {"arc seen from -Z",
         dxf::arc(10, 0, 5, 0, 90, true),
         {{false, 1, {-15, 0}, {-10 - 5 * kR45, 5 * kR45}, {-10, 5}}}},
        {"arc across 0 degrees",
         dxf::arc(0, 0, 5, 350, 10),
         {{false,
           1,
           {5 * std::cos(-kPi / 18), 5 * std::sin(-kPi / 18)},
           {5, 0},
           {5 * std::cos(kPi / 18), 5 * std::sin(kPi / 18)}}}},
        {"circle seen from -Z", dxf::circle(1, 0, 2, true), {{true, 1, {-3, 0}, {1, 0}, {-3, 0}}}},
        {"partial ellipse seen from -Z",
         dxf::ellipse(1, 1, 4, 0, 0.5, 0, kPi / 2, true),
         {{false, 1, {5, 1}, {1 + 4 * kR45, 1 - 2 * kR45}, {1, -1}}}},
        {"turned full ellipse",
         dxf::ellipse(0, 0, 0, 3, 0.5),
         {{true, 1, {0, 3}, {0, -3}, {0, 3}}}},
        {"open polyline seen from -Z",
         dxf::lwpolyline({{0, 0, 1}, {10, 0}}, false, true),
         {{false, 1, {0, 0}, {-5, -5}, {-10, 0}}}},
        {"POLYLINE with a frame vertex",
         dxf::polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, true, {{99, 99}}),
         {{true, 3, {0, 0}, {5, 0}, {0, 0}}}},
        {"blocks are not drawn, text and inserts counted",
         dxf::group(0, "INSERT") + dxf::group(2, "B") + dxf::group(0, "ATTRIB") +
             dxf::group(0, "SEQEND") + dxf::group(0, "TEXT") + dxf::line(0, 0, 4, 0) +
             dxf::group(0, "TEXT"),
         {{false, 1, {0, 0}, {2, 0}, {4, 0}}},
         dxf::group(0, "BLOCK") + dxf::line(50, 50, 60, 60) + dxf::group(0, "ENDBLK"),
         "1 INSERT, 2 TEXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DxfEntities read = ReadDxfEntities(dxf::drawing(c.entities, c.blocks), "t.dxf");
        ASSERT_EQ(read.pieces.size(), c.contours.size());
        for (std::size_t i = 0; i < c.contours.size(); ++i) {
            const Contour& got = read.pieces[i].contour;
            const Expected& want = c.contours[i];
            EXPECT_EQ(got.closed, want.closed);
            ASSERT_EQ(got.pieces.size(), want.pieces);
            expectNear(got.pieces.front().start, want.start, "start");
            expectNear(got.pieces.front().at(0.5), want.mid, "middle");
            expectNear(got.pieces.back().end, want.end, "end");
        }
        EXPECT_EQ(skippedText(read.skipped), c.skipped);
    }
}

ContourPiece seg(double x1, double y1, double x2, double y2) {
    return ContourPiece::line({x1, y1}, {x2, y2});
}

struct ChainCase {
    const char* name;
    std::vector<ContourPiece> pieces; // one open contour each, in drawing order
    std::vector<bool> closed;         // per outline, in drawing order
    std::vector<Point2> starts;       // per outline
};

TEST(OutlineChaining, LoosePiecesJoinEndToEndWithinTheTolerance) {
    const std::vector<ChainCase> cases = {
        {"ends missing by 0.04 mm close",
         {seg(0, 0, 10, 0), seg(10, 0.04, 10, 10), seg(10, 10, 0, 10), seg(0, 10, 0, 0.04)},
         {true},
         {{0, 0}}},
        {"two squares drawn interleaved",
         {seg(0, 0, 1, 0), seg(5, 5, 6, 5), seg(1, 0, 1, 1), seg(6, 5, 6, 6), seg(1, 1, 0, 1),
          seg(6, 6, 5, 6), seg(0, 1, 0, 0), seg(5, 6, 5, 5)},
         {true, true},
         {{0, 0}, {5, 5}}},
        {"a chain grows at its start too",
         {seg(10, 0, 10, 10), seg(0, 0, 10, 0), seg(20, 20, 30, 20)},
         {false, false},
         {{0, 0}, {20, 20}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<OrderedContour> input;
        for (std::size_t i = 0; i < c.pieces.size(); ++i) {
            input.push_back({{{c.pieces[i]}, false}, i});
        }
        const auto outlines = ChainOutlines(input);
        ASSERT_EQ(outlines.size(), c.closed.size());
        std::size_t pieces = 0;
        for (std::size_t k = 0; k < outlines.size(); ++k) {
            const auto& p = outlines[k].contour.pieces;
            EXPECT_EQ(outlines[k].contour.closed, c.closed[k]);
            expectNear(p.front().start, c.starts[k], "outline start");
            for (std::size_t i = 1; i < p.size(); ++i) {
                EXPECT_LE(Distance(p[i - 1].end, p[i].start), kChainTolerance) << i;
            }
            pieces += p.size();
        }
        EXPECT_EQ(pieces, c.pieces.size());
    }
}

TEST(DxfOutlines, SplinesKeepTheirPointsAndTheirPlaceInTheDrawing) {
    const std::string text =
        dxf::drawing(dxf::line(0, 0, 4, 0) + dxf::group(0, "SPLINE") + dxf::circle(50, 0, 5));
    const common::Lines splineDisplay = {"SPLINE 1", "7.125 -3.500 Node", "8.000 1.000",
                                         "SPLINE END"};
    const DisplayDrawing d =
        DxfDisplayDrawing(ReadDxfEntities(text, "t.dxf"), splineDisplay, {}, "t.dxf");
    EXPECT_EQ(d.outlineCount, 3);
    EXPECT_EQ(d.openOutlines, 1); // the line
    const auto second = std::find(d.lines.begin(), d.lines.end(), "SPLINE 2");
    ASSERT_NE(second, d.lines.end());
    EXPECT_EQ(*(second + 1), "7.125 -3.500 Node");
    EXPECT_EQ(*(second + 2), "8.000 1.000");
    EXPECT_EQ(*(second + 3), "SPLINE 3");
}

} // namespace
} // namespace korvel::geometry
