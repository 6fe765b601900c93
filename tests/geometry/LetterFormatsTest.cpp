// One letter drawn in every format the machine opens must give the operator
// the same letter: after opening and selecting the whole letter, the same
// area and the same corners to slot.

#include "common/AppDir.h"
#include "common/Basic.h"
#include "common/Fields.h"
#include "common/TextFile.h"
#include "geometry/AreaCalculator.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DrawingOpener.h"
#include "geometry/OutlineFiles.h"
#include "geometry/OutlineSession.h"
#include "geometry/PathLengths.h"
#include "support/TempDir.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace korvel::geometry {
namespace {

namespace fs = std::filesystem;

constexpr double kSlotAngle = 30.0;

struct Corner {
    double x;
    double y;
};

struct SelectedLetter {
    double area = 0.0;
    double length = 0.0; // all outlines of the letter
    std::vector<Corner> corners;
};

// Corners that the machine would slot: corner records of at least the slot
// angle, and the start of a block whose header turns that much (the start
// node of a whole-outline piece carries its corner in the header).
std::vector<Corner> slottedCorners(const common::Lines& path) {
    std::vector<Corner> corners;
    bool blockStart = false;
    double headerAngle = 0.0;
    for (const auto& line : path) {
        const auto f = common::SplitFields(line);
        if (common::FieldAt(f, 0) == kSplineWord) {
            blockStart = common::Val(common::FieldAt(f, 2)) != 0.0;
            headerAngle = common::Val(common::FieldAt(f, 1));
            continue;
        }
        const Corner here{common::Val(f[0]), common::Val(f[1])};
        if (blockStart && std::fabs(headerAngle) >= kSlotAngle) {
            corners.push_back(here);
        }
        blockStart = false;
        if (common::Val(common::FieldAt(f, 2)) == 2.0 &&
            std::fabs(common::Val(common::FieldAt(f, 4))) >= kSlotAngle) {
            corners.push_back(here);
        }
    }
    return corners;
}

SelectedLetter openAndSelect(const fs::path& drawing, std::size_t outlines = 1) {
    test::TempDir dir;
    const common::AppDir app(dir.path());
    app.create();
    CoreAlgorithm core;
    core.TranParas(0.0, 0.0, 0.0, 10, 22.5, 105.0);
    DrawingState state;
    OpenOptions options;
    options.planeZ = -1.0;
    options.slotAngleThreshold = kSlotAngle;
    OpenDrawing(app, drawing, options, core, state);

    ControlPointParameters control;
    control.CornerArcAngleThreshold = kSlotAngle;
    OutlineSession session(app, control, PathParameters{});
    session.openDrawing();
    EXPECT_EQ(session.selectWholeLetter(), outlines);
    const common::Lines path = common::ReadLines(app.file(kPathFile));
    double length = 0.0;
    for (const auto& piece : PieceLengths(ReadPathFile(app.file(kPathFile)), PathParameters{})) {
        length += piece.length;
    }
    return {PathArea(path), length, slottedCorners(path)};
}

TEST(LetterFormats, TheLetterDGivesTheSameAreaAndCornersFromEveryFormat) {
    // The D by hand: a 30 x 90 rectangle and a half disc of radius 45.
    const double expected = 30.0 * 90.0 + std::numbers::pi * 45.0 * 45.0 / 2.0;
    const fs::path examples = KORVEL_EXAMPLES_DIR;
    for (const char* name :
         {"letterD.dxf", "letterD.nc", "letterD.plt", "letterD.ai", "letterD.svg"}) {
        SCOPED_TRACE(name);
        const SelectedLetter letter = openAndSelect(examples / name);
        EXPECT_NEAR(letter.area, expected, expected * 0.005);
        // The two ends of the back, and nothing on the bowl.
        ASSERT_EQ(letter.corners.size(), 2u);
        bool bottom = false;
        bool top = false;
        for (const auto& c : letter.corners) {
            bottom = bottom || (std::fabs(c.x) < 0.01 && std::fabs(c.y) < 0.01);
            top = top || (std::fabs(c.x) < 0.01 && std::fabs(c.y - 90.0) < 0.01);
        }
        EXPECT_TRUE(bottom);
        EXPECT_TRUE(top);
    }
}

// Length of the parabola drawn by a quadratic Bézier curve over a chord of
// `width` whose vertex lies `height` from the chord.
double parabolaLength(double width, double height) {
    const double u = 4.0 * height / width;
    return width * width / (8.0 * height) * (u * std::sqrt(1.0 + u * u) + std::asinh(u));
}

// Perimeter of an ellipse (Ramanujan's second formula, exact to 1e-9 here).
double ellipsePerimeter(double a, double b) {
    const double h = (a - b) * (a - b) / ((a + b) * (a + b));
    return std::numbers::pi * (a + b) * (1.0 + 3.0 * h / (10.0 + std::sqrt(4.0 - 3.0 * h)));
}

// Semi-axes of the circle of radius r under the linear map [[a c] [b d]].
std::pair<double, double> mappedCircleAxes(double r, double a, double b, double c, double d) {
    const double s = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    const double root = std::sqrt(s * s - 4.0 * det * det);
    return {r * std::sqrt((s + root) / 2.0), r * std::sqrt((s - root) / 2.0)};
}

// SVG shapes whose area and outline length are known exactly, drawn with
// arcs, quadratic and cubic curves under group transforms and page scaling:
// opened, selected whole, both within 0.2 %.
TEST(LetterFormats, SvgShapesKeepTheirExactAreaAndLength) {
    const double pi = std::numbers::pi;
    // A 90 x 100 block, its top a parabola 20 high (Q), its right side a
    // half circle of radius 50 (A), its bottom a parabola 30 deep written as
    // a cubic; a hole of radius 20 from four relative arcs. Page 0.5 mm per
    // unit, group scale 1.5: 0.75 mm per path unit.
    const std::string letter = R"x(<svg xmlns="http://www.w3.org/2000/svg" width="200mm"
      height="200mm" viewBox="0 0 400 400">
      <g transform="translate(20 30) rotate(15)"><g transform="scale(1.5)">
        <path d="M 0 0 Q 45 -40 90 0 A 50 50 0 0 1 90 100 C 60 140 30 140 0 100 Z
                 M 25 50 a 20 20 0 0 0 20 20 20 20 0 0 0 20 -20 a20,20 0 00-20,-20
                 a 20 20 0 0 0 -20 20 z"/></g></g></svg>)x";
    const double letterArea = (9000.0 + 2.0 / 3.0 * 90.0 * 20.0 + pi * 2500.0 / 2.0 +
                               2.0 / 3.0 * 90.0 * 30.0 - pi * 400.0) *
                              0.5625;
    const double letterLength =
        (parabolaLength(90.0, 20.0) + 50.0 * pi + parabolaLength(90.0, 30.0) + 100.0 + 40.0 * pi) *
        0.75;
    // A rounded rectangle 80 x 50 with corners of radius 10, turned.
    const std::string rounded = R"x(<svg width="100mm" height="100mm" viewBox="0 0 100 100">
      <rect x="10" y="20" width="80" height="50" rx="10" transform="rotate(30 50 50)"/></svg>)x";
    // A circle of radius 20 stretched twice as wide, then skewed: an ellipse.
    const std::string ellipse = R"x(<svg width="100mm" height="100mm" viewBox="0 0 100 100">
      <g transform="skewX(30)"><circle cx="20" cy="50" r="20" transform="scale(2 1)"/></g>
      </svg>)x";
    const double t = std::tan(pi / 6.0);
    const auto [ea, eb] = mappedCircleAxes(20.0, 2.0, 0.0, t, 1.0);
    struct Case {
        const std::string& svg;
        double area;
        double length;
        std::size_t outlines;
    };
    const Case cases[] = {
        {letter, letterArea, letterLength, 2},
        {rounded, 80.0 * 50.0 - (4.0 - pi) * 100.0, 2.0 * (80.0 + 50.0) - 80.0 + 20.0 * pi, 1},
        {ellipse, pi * ea * eb, ellipsePerimeter(ea, eb), 1},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.svg);
        const fs::path file = dir.path() / "shape.svg";
        std::ofstream(file, std::ios::binary) << c.svg;
        const SelectedLetter shape = openAndSelect(file, c.outlines);
        EXPECT_NEAR(shape.area, c.area, c.area * 0.002);
        EXPECT_NEAR(shape.length, c.length, c.length * 0.002);
    }
}

} // namespace
} // namespace korvel::geometry
