// Machining path: the CtrP.dat line form, corner shortening, close-corner
// suppression, contour offset and the lengths shown to the operator.

#include "geometry/PathPreparation.h"

#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/ContourOffset.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"
#include "geometry/PathLengths.h"
#include "geometry/PathOverlay.h"
#include "geometry/PlaneGeometry.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace korvel::geometry {
namespace {

PathRecord pt(double x, double y, std::int16_t type = kContourPoint, double b = 0.0) {
    return PathRecord::point(x, y, type, 0.0, b, 0.0);
}

// A corner as the classification writes it: plain, corner, plain.
void corner(PathRecords& r, double x, double y, double b) {
    r.push_back(pt(x, y, kPlainPoint));
    r.push_back(pt(x, y, kCornerPoint, b));
    r.push_back(pt(x, y, kPlainPoint));
}

std::vector<double> cornerXs(const PathRecords& r) {
    std::vector<double> xs;
    for (const auto& p : r) {
        if (p.type == kCornerPoint) {
            xs.push_back(p.x);
        }
    }
    return xs;
}

TEST(PathFile, LinesOfTheMachiningPathUpToThirtyThousandAndOneRecords) {
    const PathRecord h = ParsePathRecord("SPLINE -90.0000 3");
    EXPECT_EQ(h.type, kBlockLine);
    EXPECT_EQ(h.b, -90.0);
    EXPECT_EQ(h.a, 3.0);
    EXPECT_TRUE(h.isHeader());
    EXPECT_EQ(FormatPathRecord(h), "SPLINE -90.000000 3.0");
    EXPECT_EQ(FormatPathRecord(PathRecord::blockLine(12.5, 0)), "SPLINE 12.500000 0.0");
    const PathRecord p = ParsePathRecord("1.5 -2.25 2 0.00000000 90.12345678 0.00000000");
    EXPECT_EQ(p.type, kCornerPoint);
    EXPECT_EQ(p.y, -2.25);
    EXPECT_EQ(FormatPathRecord(p), "1.500000 -2.250000 2 0.000000 90.123457 0.000000");
    EXPECT_EQ(ParsePathRecord("3 4 5.9").type, 5);
    // More than 30,001 records are refused.
    common::Lines lines(30001, "1.000000 2.000000 0 0.000000 0.000000 0.000000");
    EXPECT_EQ(ParsePathLines(lines, "CtrP.dat").size(), 30001u);
    lines.push_back(lines.back());
    try {
        ParsePathLines(lines, "CtrP.dat");
        FAIL() << "no error";
    } catch (const common::UserError& e) {
        EXPECT_NE(e.message().en.find("30001"), std::string::npos);
        EXPECT_NE(e.message().zh.find("30001"), std::string::npos);
    }
}

TEST(CornerShortening, RightAngleWithAOneMillimetreCutter) {
    EXPECT_NEAR(CornerShortening(90.0, 1.0, 1.0), 1.0 - kPi / 4.0, 1e-12);
    EXPECT_NEAR(CornerShortening(90.0, 1.0, 1.0), 0.2146, 1e-4);
    EXPECT_NEAR(CornerShortening(90.0, 2.0, 0.5), 1.0 - kPi / 4.0, 1e-12);
    // Left turns, near-straight and U-turn corners are not shortened.
    EXPECT_EQ(CornerShortening(-90.0, 1.0, 1.0), 0.0);
    EXPECT_EQ(CornerShortening(0.1, 1.0, 1.0), 0.0);
    EXPECT_EQ(CornerShortening(179.9, 1.0, 1.0), 0.0);
    EXPECT_GT(CornerShortening(179.8, 1.0, 1.0), 0.0);
    // The contour offset adds T / tan(beta).
    EXPECT_NEAR(CornerValue(90.0, {1.0, 1.0, 0.5, 10.0}), 1.0 - kPi / 4.0 + 0.5, 1e-12);
    EXPECT_NEAR(CornerValue(90.0, {1.0, 1.0, -0.1, 10.0}), 1.0 - kPi / 4.0 - 0.1, 1e-12);
}

// Corner triples along the x axis (x, turn angle), split into two pieces
// before corner `split` when it is set, with `filler` plain points between
// the corners; only the first of two corners closer than their shortening
// stays (0.1 mm < 0.2146 goes, 0.4 mm stays), also when the second starts
// the next piece, and the scans reach 1,000 records each way. A shallow
// 10-degree corner is shortened by almost nothing, so its own scan stops at
// once and the right angle 0.1 mm later takes it out, backwards, from the
// next piece too. Left turns are not shortened and keep each other.
TEST(CloseCorners, OnlyTheFirstOfTwoCloseRightTurnsStays) {
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> corners;
        std::size_t split;
        std::vector<double> kept;
        std::size_t filler = 0;
    };
    const Case cases[] = {
        {"0.1 mm < 0.2146 goes", {{10, 90}, {10.1, 90}, {10.5, 90}}, 0, {10, 10.5}},
        {"shallow first corner", {{10, 10}, {10.1, 90}}, 0, {10.1}},
        {"next piece", {{10, 90}, {10.05, 90}}, 1, {10}},
        {"shallow corner, next piece", {{10, 10}, {10.1, 90}}, 1, {10.1}},
        {"1,000 records away", {{10, 90}, {10.05, 90}}, 1, {10}, 995},
        {"1,001 records away", {{10, 90}, {10.05, 90}}, 1, {10, 10.05}, 996},
        {"left turns", {{10, -90}, {10.1, -90}}, 0, {10, 10.1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PathRecords r = {PathRecord::blockLine(0, 3), pt(0, 0, kPlainPoint)};
        for (std::size_t i = 0; i < c.corners.size(); ++i) {
            if (i > 0) {
                r.insert(r.end(), c.filler, pt(c.corners[i].first, 0, kPlainPoint));
            }
            if (i == c.split && i > 0) {
                r.push_back(PathRecord::blockLine(0, 0));
                r.push_back(PathRecord::blockLine(0, 3));
            }
            corner(r, c.corners[i].first, 0, c.corners[i].second);
        }
        r.push_back(pt(20, 0, kPlainPoint));
        r.push_back(PathRecord::blockLine(0, 0));
        const PathRecords out = PreparePathRecords(r, {1.0, 1.0, 0.0, 10.0});
        EXPECT_EQ(cornerXs(out), c.kept);
        EXPECT_EQ(out.size(), r.size() - 3 * (c.corners.size() - c.kept.size()));
    }
}

TEST(ContourOffset, AStraightPointMovesByExactlyTheOffsetAndAClosedSquareGrows) {
    PathRecords r = {PathRecord::blockLine(0, 3), pt(0, 0, kPlainPoint),      pt(3, 0), pt(7, 0),
                     pt(10, 0, kPlainPoint),      PathRecord::blockLine(0, 0)};
    PathRecords right = r;
    ApplyContourOffset(right, 2.0);
    // Travelling east, a positive offset moves to the right (south).
    EXPECT_NEAR(right[2].x, 3.0, 1e-12);
    EXPECT_NEAR(right[2].y, -2.0, 1e-12);
    EXPECT_NEAR(right[1].y, -2.0, 1e-12); // open ends move square to their segment
    EXPECT_NEAR(right[4].x, 10.0, 1e-12);
    PathRecords left = r;
    ApplyContourOffset(left, -2.0);
    EXPECT_NEAR(left[3].y, 2.0, 1e-12);
    EXPECT_EQ(left[0].b, 0.0);
    // Counter-clockwise square with a corner triple at each corner except
    // the start, which is the first and the last point.
    PathRecords square = {PathRecord::blockLine(-90, 3), pt(0, 0, kPlainPoint), pt(10, 0)};
    corner(square, 20, 0, -90);
    corner(square, 20, 20, -90);
    corner(square, 0, 20, -90);
    square.push_back(pt(0, 10));
    square.push_back(pt(0, 0, kPlainPoint));
    square.push_back(PathRecord::blockLine(-90, 0));
    ApplyContourOffset(square, 1.0);
    EXPECT_NEAR(square[1].x, -1.0, 1e-9);
    EXPECT_NEAR(square[1].y, -1.0, 1e-9);
    EXPECT_NEAR(square[square.size() - 2].x, -1.0, 1e-9);
    EXPECT_NEAR(square[square.size() - 2].y, -1.0, 1e-9);
    for (std::size_t i = 3; i <= 5; ++i) { // the whole corner triple at (21, -1)
        EXPECT_NEAR(square[i].x, 21.0, 1e-9);
        EXPECT_NEAR(square[i].y, -1.0, 1e-9);
    }
    EXPECT_NEAR(TotalLength(square, 10.0), 88.0, 1e-9);
}

TEST(PathLengths, TotalLengthAndPieceList) {
    PathRecords r = {PathRecord::blockLine(90, 3),
                     pt(0, 0, kPlainPoint),
                     pt(30, 0),
                     PathRecord::point(30, 40, kPlainPoint, 0, 0, 0.5),
                     PathRecord::blockLine(0, 0),
                     PathRecord::blockLine(0, 2),
                     pt(0, 0, kPlainPoint),
                     pt(0, 10, kPlainPoint),
                     PathRecord::blockLine(0, 0)};
    // 30 + 40 + 0.5 (c) + 10 between the pieces + 10.
    EXPECT_NEAR(TotalLength(r, 10.0), 90.5, 1e-12);
    const PathParameters p{1.0, 1.0, 0.0, 10.0};
    const auto zh = PieceList(r, p, common::Language::Chinese);
    ASSERT_EQ(zh.size(), 2u);
    EXPECT_EQ(zh[0], "第 1段,70.000 ,加工长69.785 ,缩短0.215");
    EXPECT_EQ(zh[1], "第 2段,10.000 ,加工长10.000 ,缩短0.000");
    const auto en = PieceList(r, p, common::Language::English);
    EXPECT_EQ(en[0], "No. 1Seg,70.000 ,Length69.785 ,Shorten0.215");
    EXPECT_EQ(LengthLabel(90.5), "90.5000  mm");
}

TEST(PathOverlay, BlocksAreDrawnApartAndNothingFromTheOrigin) {
    const auto segments = PathSegments(
        {"SPLINE 0.000000 3.0", "0.000000 0.000000 1 0 0 0", "10.000000 0.000000 0 0 0 0",
         "10.000000 5.000000 1 0 0 0", "SPLINE 0.000000 0.0", "SPLINE 0.000000 2.0",
         "20.000000 0.000000 1 0 0 0", "25.000000 0.000000 1 0 0 0", "SPLINE 0.000000 0.0"});
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].a.x, 10.0);
    EXPECT_EQ(segments[0].b.y, 5.0);
    EXPECT_EQ(segments[1].a.x, 20.0);
    EXPECT_EQ(segments[1].b.x, 25.0);
    test::TempDir tmp;
    EXPECT_TRUE(ReadPathSegments(tmp / "YJG.dat").empty());
}

TEST(PreparePath, ControlFileBecomesThePathFileAndAnEmptyOneLeavesItAlone) {
    test::TempDir tmp;
    const common::AppDir dir(tmp.path());
    common::TruncateFile(dir.file(kControlFile));
    common::WriteLines(dir.file(kPathFile), {"SPLINE 0.000000 3.0", "kept"});
    EXPECT_FALSE(PreparePath(dir, {}));
    EXPECT_EQ(common::ReadLines(dir.file(kPathFile)),
              (common::Lines{"SPLINE 0.000000 3.0", "kept"}));
    common::WriteLines(dir.file(kControlFile),
                       {"SPLINE 0.0000 3", "0.000000 0.000000 1 0.00000000 0.00000000 0.00000000",
                        "5.000000 0.000000 0 0.00000000 0.00000000 0.00000000",
                        "10.000000 0.000000 1 0.00000000 0.00000000 0.00000000",
                        "SPLINE 0.0000 0"});
    EXPECT_TRUE(PreparePath(dir, {0.0, 1.0, 0.5, 10.0}));
    EXPECT_EQ(
        common::ReadLines(dir.file(kPathFile)),
        (common::Lines{"SPLINE 0.000000 3.0", "0.000000 -0.500000 1 0.000000 0.000000 0.000000",
                       "5.000000 -0.500000 0 0.000000 0.000000 0.000000",
                       "10.000000 -0.500000 1 0.000000 0.000000 0.000000", "SPLINE 0.000000 0.0"}));
}

} // namespace
} // namespace korvel::geometry
