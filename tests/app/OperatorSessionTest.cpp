// The session behind the window, driven as the window drives it: the open
// command over a shown drawing, the timer on the real clock, the contour
// offset typed by the operator.

#include "app/OperatorSession.h"

#include "common/TextFile.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

const std::filesystem::path kLetter = std::filesystem::path(KORVEL_EXAMPLES_DIR) / "letterD.dxf";

struct SessionRig {
    TempDir dir;
    machine::RecordingDialog dialog;
    app::OperatorSession session{common::AppDir(dir.path()), KORVEL_RESOURCES_DIR, dialog};
};

TEST(OperatorSession, ABrokenDrawingLeavesTheShownOneAsItWas) {
    SessionRig rig;
    rig.session.openDrawing(kLetter, 0.0);
    const auto nodes = rig.session.outlines().model().nodes().size();
    const auto display = common::ReadBytes(rig.dir / "PointForDisplay.dat");
    ASSERT_GT(nodes, 0u);

    common::WriteLines(rig.dir / "broken.dxf",
                       {"0", "SECTION", "2", "ENTITIES", "0", "SPLINE", "70", "x"});
    EXPECT_THROW(rig.session.openDrawing(rig.dir / "broken.dxf", 0.0), common::UserError);
    EXPECT_EQ(rig.session.outlines().model().nodes().size(), nodes);
    EXPECT_EQ(common::ReadBytes(rig.dir / "PointForDisplay.dat"), display);
    EXPECT_EQ(rig.session.drawing().drawing, kLetter);

    // Mirroring flips the nodes in Y; twice gives the drawing back.
    const auto before = rig.session.outlines().model().nodes();
    rig.session.mirror();
    EXPECT_TRUE(rig.session.drawing().mirrored);
    EXPECT_DOUBLE_EQ(rig.session.outlines().model().nodes()[5].y, -before[5].y);
    rig.session.mirror();
    const auto after = rig.session.outlines().model().nodes();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_NEAR(after[i].x, before[i].x, 1e-6);
        EXPECT_NEAR(after[i].y, before[i].y, 1e-6);
    }
}

TEST(OperatorSession, TheWindowTimerRunsAWholeLetterToTheEndOfJobQuestion) {
    SessionRig rig;
    int finished = 0;
    rig.session.setJobFinishedHandler([&finished] { ++finished; });
    rig.session.openDrawing(kLetter, 0.0);
    ASSERT_GT(rig.session.selectWholeLetter(), 0u);
    rig.session.simulated().fields().Text7 = "20";
    rig.session.simulated().startJob();
    ASSERT_TRUE(rig.session.simulated().lastJob()->started);

    auto& run = rig.session.machine().run();
    // Uneven timer periods, as a busy window delivers them.
    const std::int64_t periods[] = {30, 31, 45, 29, 120};
    long long ticks = 0;
    while ((run.anyRunActive() || run.HomingAxisCode != 0) && ticks < 400000) {
        rig.session.timerTick(periods[ticks % 5]);
        ++ticks;
    }
    EXPECT_FALSE(run.anyRunActive());
    EXPECT_TRUE(rig.dialog.saw("加工完成！送料是否回零？"));
    EXPECT_EQ(finished, 1);
    EXPECT_LT(rig.session.machine().executor().display().remainingFeed, 0.1);
    EXPECT_FALSE(common::ReadLines(rig.dir / "YJG.dat").empty());
}

TEST(OperatorSession, AContourOffsetThatIsNoNumberChangesNothing) {
    SessionRig rig;
    rig.session.openDrawing(kLetter, 0.0);
    rig.session.selectWholeLetter();
    const auto path = common::ReadBytes(rig.dir / "CtrP.dat");
    for (const std::string bad : {"abc", "1e9", "nan", ""}) {
        EXPECT_THROW(rig.session.applyContourOffset(bad, "10"), common::UserError) << bad;
        EXPECT_EQ(common::ReadBytes(rig.dir / "CtrP.dat"), path);
    }
    EXPECT_THROW(rig.session.applyContourOffset("1", "-2"), common::UserError);
    const auto grown = rig.session.applyContourOffset("2", "10");
    EXPECT_TRUE(grown.prepared);
    EXPECT_NE(common::ReadBytes(rig.dir / "CtrP.dat"), path);
}

} // namespace
} // namespace korvel::test
