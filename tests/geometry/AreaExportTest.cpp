// Area of the selected shape, the glue estimate and the shape plotter file.

#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/AreaCalculator.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PltReader.h"
#include "geometry/ShapePltExport.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <utility>

namespace korvel::geometry {
namespace {

using common::Lines;

// A square block of CtrP.dat: side s from (x0, y0), counter-clockwise,
// closed, with the three lines of a corner at every vertex but the first.
Lines squareBlock(double x0, double y0, double s, int mark) {
    auto pt = [](double x, double y, int type) {
        return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(type) +
               " 0.000000 0.000000 0.000000";
    };
    Lines b = {"SPLINE -90.000000 " + std::to_string(mark) + ".0", pt(x0, y0, 1)};
    const double xs[] = {x0 + s, x0 + s, x0};
    const double ys[] = {y0, y0 + s, y0 + s};
    for (int i = 0; i < 3; ++i) {
        b.push_back(pt(xs[i], ys[i], 1));
        b.push_back(pt(xs[i], ys[i], 2));
        b.push_back(pt(xs[i], ys[i], 1));
    }
    b.push_back(pt(x0, y0, 1));
    b.emplace_back("SPLINE -90.000000 0.0");
    return b;
}

TEST(GetArea, OuterContoursAddHolesSubtract) {
    test::TempDir dir;
    const auto path = dir / "CtrP.dat";
    common::WriteLines(path, squareBlock(0, 0, 10, 3));
    EXPECT_EQ(GetArea(path), "100.000");
    common::WriteLines(path, squareBlock(0, 0, 10, 2));
    EXPECT_EQ(GetArea(path), "-100.000");
    Lines letter = squareBlock(0, 0, 20, 3);
    const Lines hole = squareBlock(5, 5, 10, 2);
    letter.insert(letter.end(), hole.begin(), hole.end());
    common::WriteLines(path, letter);
    EXPECT_EQ(GetArea(path), "300.000");
    common::WriteLines(path, {});
    EXPECT_EQ(GetArea(path), "0.000");
    EXPECT_EQ(GetArea(dir / "missing.dat"), "0.000");
}

TEST(GetArea, UnclosedAndSelfIntersectingOutlinesStayFinite) {
    // Without its closing point the square is closed by the chord back.
    Lines open = squareBlock(0, 0, 10, 3);
    open.erase(open.end() - 2);
    EXPECT_DOUBLE_EQ(PathArea(open), 100.0);
    // A figure eight of two 10 x 10 loops travelled in opposite senses: the
    // signed loops cancel, and nothing is NaN.
    const Lines eight = {"SPLINE 0 3.0", "0 0 1",   "10 10 0", "20 10 0",
                         "20 0 0",       "10 10 0", "0 10 0",  "SPLINE 0 0.0"};
    EXPECT_TRUE(std::isfinite(PathArea(eight)));
    EXPECT_NEAR(PathArea(eight), 0.0, 1e-9);
    // Two points, garbage and a lone header have no area.
    EXPECT_DOUBLE_EQ(PathArea({"SPLINE 0 3.0", "0 0 1", "10 0 1", "SPLINE 0 0.0"}), 0.0);
    EXPECT_DOUBLE_EQ(PathArea({"SPLINE 0 3.0", "abc def", "1e999 5", "nan nan"}), 0.0);
}

// The glue estimate: 3 cm^2 of density 1.2 at a tenth.
TEST(GetArea, AreaAndGlueMessagesInBothLanguages) {
    const auto m = AreaMessage("300.000");
    EXPECT_EQ(m.zh, "选择字形总面积约为 300.000 平方毫米");
    EXPECT_EQ(m.en, "Select Area is about 300.000 square millimeter");
    EXPECT_EQ(AreaMessageTitle(common::Language::Chinese), "提示");
    EXPECT_EQ(AreaMessageTitle(common::Language::English), "Info");
    // 300 mm^2 = 3 cm^2; 3 x 1.2 x 0.1 = 0.36 g.
    EXPECT_EQ(GlueAreaMessage(300.0).zh, "选择字形总面积约为 3.000 平方厘米");
    EXPECT_EQ(GlueAreaMessage(300.0).en, "Select Area is about 3.000 square centimeter");
    const double weight = GlueWeight(3.0, 1.2, 0.1);
    EXPECT_NEAR(weight, 0.36, 1e-12);
    EXPECT_EQ(GlueWeightMessage(weight).zh, "胶水用量约为： 0.360 克（g）");
    EXPECT_EQ(GlueWeightMessage(weight).en, "Glue dosage is about 0.360 grame");
    // Slips in the boxes get a message, not a negative or NaN weight.
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [density, thickness] :
         {std::pair{-1.2, 0.1}, std::pair{1.2, std::nan("")}, std::pair{inf, 0.1}}) {
        EXPECT_THROW(GlueWeight(3.0, density, thickness), common::UserError);
    }
}

TEST(ShapePlt, PointsArePlotterUnitsWithPenUpAtEachOutlineStart) {
    const Lines display = {"SPLINE 1",  "12.500000 -3.000000 Node", "20.000 -3.000",
                           "SPLINE 2",  "0.000 0.000 Node",         "1.000 0.000",
                           "SPLINE END"};
    EXPECT_EQ(ShapePltLines(display),
              (Lines{"LT;", "SP1;", "PU500 -120;", "PD500 -120;", "PD800 -120;", "LT;", "SP1;",
                     "PU0 0;", "PD0 0;", "PD40 0;", "LT;", "SP1;", "SP0;"}));
}

TEST(ShapePlt, TheFileReadsBackAsTheSameShape) {
    test::TempDir dir;
    const common::AppDir app(dir.path());
    const Lines display = {"SPLINE 1", "10.000000 20.000000 Node", "15.000000 20.000000",
                           "20.000000 20.000000", "SPLINE END"};
    common::WriteLines(app.file(kDisplayFile), display);
    EXPECT_THROW(ExportShapePlt(app, false, common::Language::Chinese), common::UserError);
    const auto message = ExportShapePlt(app, true, common::Language::English);
    EXPECT_EQ(message.en, "Have been saved as “ShapePLT.plt”");
    const auto plt = common::ReadBytes(app.file("ShapePLT.plt"));
    EXPECT_EQ(ReadPlt(plt, {}).lines, display);
    ExportShapePlt(app, true, common::Language::Chinese);
    EXPECT_TRUE(std::filesystem::exists(app.file("字形PLT.plt")));
}

} // namespace
} // namespace korvel::geometry
