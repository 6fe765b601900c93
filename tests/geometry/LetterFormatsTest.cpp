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
#include "support/TempDir.h"

#include <cmath>
#include <filesystem>
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

SelectedLetter openAndSelect(const fs::path& drawing) {
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
    EXPECT_EQ(session.selectWholeLetter(), 1u);
    const common::Lines path = common::ReadLines(app.file(kPathFile));
    return {PathArea(path), slottedCorners(path)};
}

TEST(LetterFormats, TheLetterDGivesTheSameAreaAndCornersFromEveryFormat) {
    // The D by hand: a 30 x 90 rectangle and a half disc of radius 45.
    const double expected = 30.0 * 90.0 + std::numbers::pi * 45.0 * 45.0 / 2.0;
    const fs::path examples = KORVEL_EXAMPLES_DIR;
    for (const char* name : {"letterD.dxf", "letterD.nc", "letterD.plt", "letterD.ai"}) {
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

} // namespace
} // namespace korvel::geometry
