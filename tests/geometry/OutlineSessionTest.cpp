// Picking pieces, node edits, taking back the last piece and selecting a
// whole letter, working on the files of an application folder.

#include "geometry/OutlineSession.h"

#include "OutlineShapes.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/LetterSelection.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PathFile.h"
#include "geometry/PathLengths.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace korvel::geometry {
namespace {

using test::DisplayFileBuilder;

class SessionTest : public ::testing::Test {
protected:
    void open(const DisplayFileBuilder& b) {
        b.write(dir);
        common::TruncateFile(dir.file(kControlFile));
        session.openDrawing();
        session.view().setView({0, 0, 200});
    }
    void openSquare() {
        DisplayFileBuilder b;
        b.outline(test::Square20());
        open(b);
    }
    void pick(Point2 start, Point2 end, bool shift = false) {
        session.leftClick(start, shift);
        session.leftClick(end, shift);
    }
    common::Lines lines(std::string_view file) const { return common::ReadLines(dir.file(file)); }
    common::Lines controlLines() const { return lines(kControlFile); }
    PathRecords path() const { return ReadPathFile(dir.file(kPathFile)); }

    test::TempDir tmp;
    common::AppDir dir{tmp.path()};
    OutlineSession session{dir, {30.0, 0.2}, {1.0, 1.0, 0.0, 10.0}};
};

using test::PathBlocks;

TEST_F(SessionTest, ToleranceIsOneHundredthOfTheViewWidth) {
    openSquare();
    EXPECT_EQ(session.pickNode({1.5, 0}), 1);
    EXPECT_EQ(session.pickNode({1.5, -1.5}), 1);
    EXPECT_EQ(session.pickNode({2.5, 0}), 0);
    EXPECT_EQ(session.pickNode({0, 2.5}), 0);
    EXPECT_EQ(session.leftClick({2.5, 0}, false), ClickOutcome::Panning);
    EXPECT_EQ(session.pointer(), Pointer::Move);
    session.mouseUp();
    EXPECT_EQ(session.pointer(), Pointer::Normal);
}

TEST_F(SessionTest, DeletedNodesAreSkippedAndRestoredByARightClick) {
    DisplayFileBuilder b;
    b.outline(test::Polygon({{0, 0}, {1, 0}, {1, 20}, {0, 20}}, 1));
    open(b);
    EXPECT_EQ(session.pickNode({0.4, 0}), 1); // first node in index order
    ASSERT_TRUE(session.enterDeleteMode().empty());
    EXPECT_EQ(session.leftClick({0.4, 0}, false), ClickOutcome::NodeDeleted);
    EXPECT_EQ(session.pointer(), Pointer::Normal);
    EXPECT_EQ(session.pickNode({0.4, 0}), 2);
    // Restoring needs the click within w/200 = 1 mm of the deleted node.
    EXPECT_EQ(session.rightClick({1.2, 0}), ClickOutcome::ContextMenu);
    EXPECT_EQ(session.rightClick({0.9, 0.5}), ClickOutcome::NodeRestored);
    EXPECT_EQ(session.pickNode({0.4, 0}), 1);

    // The undo items: the last deletion first, then all of them.
    openSquare();
    const auto deleteAt = [&](Point2 p) {
        ASSERT_TRUE(session.enterDeleteMode().empty());
        ASSERT_EQ(session.leftClick(p, false), ClickOutcome::NodeDeleted);
    };
    deleteAt({0, 0});
    deleteAt({20, 0});
    deleteAt({20, 20});
    const auto pickable = [&] {
        std::string nodes;
        for (const Point2 p : {Point2{0, 0}, Point2{20, 0}, Point2{20, 20}}) {
            nodes += std::to_string(session.pickNode(p));
        }
        return nodes;
    };
    EXPECT_EQ(pickable(), "000");
    session.undoLastDelete();
    EXPECT_EQ(pickable(), "003");
    session.undoLastDelete();
    EXPECT_EQ(pickable(), "023");
    deleteAt({20, 20});
    session.undoAllDeletes();
    EXPECT_EQ(pickable(), "123");
    session.undoLastDelete(); // nothing left to take back
    EXPECT_EQ(pickable(), "123");
}

TEST_F(SessionTest, NodeEditsNeedAnOpenDrawingWithoutSelection) {
    EXPECT_FALSE(session.enterAddMode().empty());
    openSquare();
    EXPECT_EQ(session.leftClick({0, 0}, false), ClickOutcome::StartPicked);
    EXPECT_FALSE(session.enterDeleteMode().empty());
    EXPECT_EQ(session.pointer(), Pointer::Normal);
    EXPECT_EQ(session.leftClick({20, 0}, false, true), ClickOutcome::Ignored);
}

TEST_F(SessionTest, StartAndEndClicksAppendAPieceAndShiftPicksTheOtherWayRound) {
    open(test::RingO());
    EXPECT_EQ(session.leftClick({50.5, 0.3}, false), ClickOutcome::StartPicked);
    // A node of the inner circle cannot end a piece of the outer one.
    EXPECT_EQ(session.leftClick({30, 0}, false), ClickOutcome::EndOnOtherOutline);
    EXPECT_TRUE(session.selection().waitingForEnd());
    EXPECT_TRUE(controlLines().empty());
    EXPECT_EQ(session.leftClick({0, 50}, false), ClickOutcome::PieceAppended);
    EXPECT_EQ(session.selection().completedCount(), 1u);
    // Without Shift the quarter runs counter-clockwise: 90 points plus the
    // end, header and trailer.
    const auto control = controlLines();
    ASSERT_EQ(control.size(), 93u);
    EXPECT_EQ(control[0].substr(0, 7), "SPLINE ");
    EXPECT_EQ(control[0].back(), '3');
    EXPECT_EQ(control[91], "0.000000 50.000000 1 0.00000000 0.00000000 0.00000000");
    const auto& prep = session.lastPreparation();
    ASSERT_TRUE(prep.prepared);
    EXPECT_NEAR(prep.totalLength, 90 * 100 * std::sin(kPi / 360), 1e-4);
    ASSERT_EQ(prep.pieceList.size(), 1u);
    EXPECT_EQ(prep.pieceList[0].rfind("第 1段,", 0), 0u);
    // Shift picks the other way round.
    session.cancelSelection();
    pick({50, 0}, {0, 50}, true);
    // Clockwise from (50,0) to (0,50): three quarters of the circle.
    EXPECT_EQ(controlLines().size(), 273u);
    EXPECT_EQ(controlLines()[0].back(), '2');
    const auto pieces = session.selectedPieces();
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_EQ(pieces[0].size(), 271u);
    const auto& m = session.model();
    EXPECT_NEAR(m.point(pieces[0].front()).x, 50.0, 1e-9);
    EXPECT_NEAR(m.point(pieces[0][1]).y, -50.0 * std::sin(kPi / 180), 1e-6); // clockwise
    EXPECT_NEAR(m.point(pieces[0].back()).y, 50.0, 1e-9);
}

TEST_F(SessionTest, CancelLastPathDropsTheLastBlockOnlyAndCancelSelectionAll) {
    open(test::RingO());
    pick({50, 0}, {0, 50});
    const common::Lines first = controlLines();
    EXPECT_FALSE(session.cancelLastPath(true).empty()); // one block only
    EXPECT_EQ(controlLines(), first);
    pick({30, 0}, {-30, 0});
    EXPECT_FALSE(session.cancelLastPath(false).empty()); // machine running
    EXPECT_TRUE(session.cancelLastPath(true).empty());
    EXPECT_EQ(controlLines(), first);
    EXPECT_EQ(session.selection().completedCount(), 1u);
    EXPECT_EQ(lines(kTempFile).size(), first.size() + 183u);
    EXPECT_EQ(PathBlocks(path()).size(), 1u);
    // Cancelling the selection and closing empty the control files.
    session.leftClick({30, 0}, false);
    session.cancelSelection();
    EXPECT_TRUE(session.selection().empty());
    EXPECT_TRUE(controlLines().empty());
    EXPECT_TRUE(lines(kPathFile).empty());
    EXPECT_TRUE(session.enterAddMode().empty());
    session.close();
    EXPECT_FALSE(session.drawingOpen());
    EXPECT_EQ(session.leftClick({50, 0}, false), ClickOutcome::Ignored);
}

TEST_F(SessionTest, AddedNodeBecomesAJointAndCanBeTakenBack) {
    openSquare();
    const common::Lines original = lines(kDisplayFile);
    ASSERT_TRUE(session.enterAddMode().empty());
    // Half-way between two points and 0.1 mm off the edge: with a pick
    // tolerance of 0.3 mm no point is close enough, so a new point is
    // inserted on the edge.
    session.view().setView({10, 10, 30});
    EXPECT_EQ(session.leftClick({10.5, 0.1}, false), ClickOutcome::NodeAdded);
    EXPECT_EQ(session.model().points().size(), 81u);
    EXPECT_EQ(session.model().nodeCount(), 5);
    EXPECT_EQ(lines(kTempFile), original);
    const common::Lines edited = lines(kDisplayFile);
    EXPECT_EQ(edited[12], "10.500000 0.000000 Node");

    session.selectPiece(1, 1, false);
    const common::Lines control = controlLines();
    EXPECT_EQ(control[11], "10.000000 0.000000 0 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(control[12], "10.500000 0.000000 1 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(control[13], "10.500000 0.000000 5 0.00000000 0.00000000 0.00000000");
    EXPECT_EQ(control[14], "10.500000 0.000000 1 0.00000000 0.00000000 0.00000000");

    session.cancelSelection();
    ASSERT_TRUE(session.undoLastAdd().empty());
    EXPECT_EQ(lines(kDisplayFile), original);
    EXPECT_EQ(session.model().nodeCount(), 4);
}

TEST_F(SessionTest, AddNodeOnAnExistingPointMarksItAndUndoAllRestores) {
    openSquare();
    const common::Lines original = lines(kDisplayFile);
    session.enterAddMode();
    // Within 0.1 mm of the point (5, 0): the point itself is marked.
    EXPECT_EQ(session.leftClick({5.06, 0.07}, false), ClickOutcome::NodeAdded);
    EXPECT_EQ(lines(kDisplayFile)[6], "5.000000 0.000000 Node");
    // 0.3 mm from (20, 12), inside the 2 mm pick box: the joint goes on the
    // edge beside the click, not onto the point.
    session.enterAddMode();
    EXPECT_EQ(session.leftClick({20.2, 12.3}, false), ClickOutcome::NodeAdded);
    EXPECT_EQ(session.nodeEdits().added().back().p.y, 12.3);
    EXPECT_EQ(session.model().points().size(), 81u);
    EXPECT_EQ(session.nodeEdits().added().size(), 2u);
    // Far from any outline nothing is added: the click pans instead.
    session.enterAddMode();
    EXPECT_EQ(session.leftClick({10, 10}, false), ClickOutcome::Panning);
    EXPECT_TRUE(session.undoAllAdds().empty());
    EXPECT_EQ(lines(kDisplayFile), original);
    EXPECT_TRUE(session.nodeEdits().added().empty());
}

TEST_F(SessionTest, WholeLetterRunsOutsideCounterClockwiseHolesClockwiseAndGrowsByTheOffset) {
    open(test::RingO());
    const auto picks = WholeLetterPieces(session.model());
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_FALSE(picks[0].shift);
    EXPECT_TRUE(picks[1].shift);
    EXPECT_EQ(picks[1].startNode, picks[1].endNode);

    EXPECT_EQ(session.selectWholeLetter(), 2u);
    const auto b = PathBlocks(path());
    ASSERT_EQ(b.size(), 2u);
    double area = 0.0;
    for (const auto& block : b) {
        // Every piece closes on itself.
        EXPECT_NEAR(Distance({block.front().x, block.front().y}, {block.back().x, block.back().y}),
                    0.0, 1e-9);
        area += test::BlockArea(block);
    }
    EXPECT_GT(test::BlockArea(b[0]), 0.0);
    EXPECT_LT(test::BlockArea(b[1]), 0.0);
    EXPECT_NEAR(area, kPi * (50 * 50 - 30 * 30), 0.01 * kPi * (50 * 50 - 30 * 30));
    // Perimeters of both circles plus one join, to 0.1 %.
    const double expected = 2 * kPi * (50 + 30) + 10;
    EXPECT_NEAR(session.lastPreparation().totalLength, expected, 0.001 * expected);
    // A positive offset makes the whole letter larger.
    session.cancelSelection();
    session.setParameters({30.0, 0.2}, {0.0, 1.0, 2.0, 10.0});
    session.selectWholeLetter();
    const auto grown = PathBlocks(path());
    ASSERT_EQ(grown.size(), 2u);
    for (const auto& p : grown[0]) {
        EXPECT_NEAR(std::hypot(p.x, p.y), 52.0, 0.01);
    }
    for (const auto& p : grown[1]) {
        EXPECT_NEAR(std::hypot(p.x, p.y), 28.0, 0.01);
    }
}

TEST_F(SessionTest, ALetterWithMoreOutlinesThanTheListHoldsIsRefusedWhole) {
    DisplayFileBuilder b;
    for (int i = 0; i < 102; ++i) {
        b.outline(test::Polygon({{i * 30.0, 0}, {i * 30.0 + 20, 0}, {i * 30.0 + 20, 20}}, 5));
    }
    open(b);
    EXPECT_THROW(session.selectWholeLetter(), common::UserError);
    EXPECT_TRUE(controlLines().empty());
    EXPECT_TRUE(session.selection().empty());
}

// A choice with one bad piece is refused whole, whether it would replace
// the selection or extend it: the selection and both files stay as they were.
TEST_F(SessionTest, AChoiceWithABadPieceChangesNothing) {
    openSquare();
    session.selectPieces({{1, 1, false}}, false);
    session.prepare();
    const std::string control = common::ReadBytes(dir.file(kControlFile));
    const std::string path = common::ReadBytes(dir.file(kPathFile));
    const std::vector<std::vector<PiecePick>> refused = {
        {{1, 1, false}, {0, 1, false}}, {{2, 2, true}, {1, 99, false}}, {{-3, 1, false}}};
    for (const auto& picks : refused) {
        for (const bool keep : {false, true}) {
            EXPECT_THROW(session.selectPieces(picks, keep), common::UserError);
            EXPECT_EQ(common::ReadBytes(dir.file(kControlFile)), control);
            EXPECT_EQ(common::ReadBytes(dir.file(kPathFile)), path);
            EXPECT_EQ(session.selection().completedCount(), 1u);
        }
    }
}

// A control point or path file cut short (a copy that broke off) is refused
// by every reader, not taken as a shorter path.
TEST_F(SessionTest, AControlOrPathFileCutShortIsRefused) {
    openSquare();
    session.selectWholeLetter();
    for (const auto name : {kControlFile, kPathFile}) {
        SCOPED_TRACE(name);
        const std::string whole = common::ReadBytes(dir.file(name));
        const std::size_t trailer = whole.rfind('\n', whole.size() - 2) + 1;
        const std::size_t second = whole.find('\n') + 1;
        for (const std::size_t cut : {whole.size() - 1, whole.size() - 3, trailer, trailer - 2}) {
            common::RewriteBytesAtomically(dir.file(name), whole.substr(0, cut));
            EXPECT_THROW(ReadPathFile(dir.file(name)), common::UserError) << cut;
        }
        common::RewriteBytesAtomically(dir.file(name), whole.substr(second));
        EXPECT_THROW(ReadPathFile(dir.file(name)), common::UserError) << "no header";
        common::RewriteBytesAtomically(dir.file(name), whole);
        EXPECT_NO_THROW(ReadPathFile(dir.file(name)));
    }
    common::RewriteBytesAtomically(dir.file(kControlFile), "SPLINE 0.0000 3\r\n1 2 1 0 0 0\r\n");
    EXPECT_THROW(session.prepare(), common::UserError);
}

} // namespace
} // namespace korvel::geometry
