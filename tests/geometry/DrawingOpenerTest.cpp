// The open command and the passes over the display point file: what the
// operator gets after opening a drawing, and what stays when a drawing is
// refused.

#include "geometry/DrawingOpener.h"

#include "DxfTestText.h"
#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DisplayPasses.h"
#include "geometry/ImportDxf.h"
#include "geometry/OutlineFiles.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>

namespace korvel::geometry {
namespace {

using common::Lines;
namespace fs = std::filesystem;

const fs::path kExamples = KORVEL_EXAMPLES_DIR;
const fs::path kBad = fs::path(KORVEL_TEST_DATA_DIR) / "readers" / "bad";

TEST(ThinDisplayPoints, StraightRunsKeepAPointEveryFourMillimetresAndNodesStay) {
    Lines in = {"SPLINE 1"};
    for (int i = 0; i <= 20; ++i) {
        in.push_back(std::to_string(i) + ".000000 0.000000" + (i == 0 ? " Node" : ""));
    }
    in.emplace_back("SPLINE END");
    // From each written point the last one still less than 5 mm away is
    // kept: 0, 4, 8, 12, 16, and the outline's last point 20.
    EXPECT_EQ(
        ThinDisplayPoints(in),
        (Lines{"SPLINE 1", "0.000000 0.000000 Node", "4.000000 0.000000", "8.000000 0.000000",
               "12.000000 0.000000", "16.000000 0.000000", "20.000000 0.000000", "SPLINE END"}));
    // Nodes stay, and a curve point before a node is kept.
    const Lines curve = {"SPLINE 1", "0 0 Node", "1 0", "2 0", "3 1", "3 3 Node", "SPLINE END"};
    // (3, 1) does not lie on the line from the anchor (2, 0) to the node.
    EXPECT_EQ(ThinDisplayPoints(curve),
              (Lines{"SPLINE 1", "0 0 Node", "2 0", "3 1", "3 3 Node", "SPLINE END"}));
    // A point in line with the node is dropped: the node carries it.
    const Lines straight = {"SPLINE 1", "0 0 Node", "1 0", "2 0", "3 0 Node", "SPLINE END"};
    EXPECT_EQ(ThinDisplayPoints(straight),
              (Lines{"SPLINE 1", "0 0 Node", "3 0 Node", "SPLINE END"}));
}

TEST(DisplayPasses, DuplicatesGoOversizedFilesAreRefusedAndTheMirrorFlipsY) {
    EXPECT_EQ(RemoveDuplicateLines({"SPLINE 1", "1 2 Node", "3 4", "1 2 Node", "SPLINE END"}),
              (Lines{"SPLINE 1", "1 2 Node", "3 4", "SPLINE END"}));
    Lines many(kMaxDuplicatePassLines, "x");
    EXPECT_NO_THROW(RemoveDuplicateLines(many));
    many.emplace_back("y");
    EXPECT_THROW(RemoveDuplicateLines(many), common::UserError);
    // Kept lines fill many blocks of text: repeats far apart, lines at the
    // edges of blocks and one longer than a block are still found.
    Lines large;
    for (int i = 0; i < 30000; ++i) {
        large.push_back(std::to_string(i % 11000) + ".125 " + std::string(i % 11000 % 37, '7'));
    }
    large.insert(large.begin() + 5000, std::string(100000, 'L'));
    large.push_back(std::string(100000, 'L'));
    large.push_back(std::string(99999, 'L'));
    Lines firsts;
    std::set<std::string> seen;
    std::copy_if(large.begin(), large.end(), std::back_inserter(firsts),
                 [&seen](const std::string& line) { return seen.insert(line).second; });
    EXPECT_EQ(RemoveDuplicateLines(large), firsts);
    // The mirror changes the sign of y; nodes stay.
    const Lines in = {"SPLINE 1", "12.500 3.000 Node", "1.0000 -2.5000", "SPLINE END"};
    const Lines once = MirrorDisplayPoints(in);
    EXPECT_EQ(once,
              (Lines{"SPLINE 1", "12.500000 -3.000000 Node", "1.000000 2.500000", "SPLINE END"}));
    EXPECT_EQ(MirrorDisplayPoints(once)[1], "12.500000 3.000000 Node");
}

class OpenDrawingTest : public ::testing::Test {
protected:
    OpenDrawingTest() : m_app(m_dir.path() / "app") {
        m_app.create();
        m_core.TranParas(0.0, 0.0, 0.0, 10, 22.5, 105.0);
    }

    OpenSummary open(const fs::path& drawing, double planeZ = -1.0) {
        OpenOptions options;
        options.planeZ = planeZ;
        options.drawingReplaced = [this] { ++m_replaced; };
        return OpenDrawing(m_app, drawing, options, m_core, m_state);
    }
    std::string file(std::string_view name) const { return common::ReadBytes(m_app.file(name)); }

    test::TempDir m_dir;
    common::AppDir m_app;
    CoreAlgorithm m_core;
    DrawingState m_state;
    int m_replaced = 0;
};

TEST_F(OpenDrawingTest, EveryFormatOpensAndOpeningTwiceGivesTheSameFile) {
    for (const char* name :
         {"letterD.dxf", "letterD.nc", "letterD.plt", "letterD.ai", "letterD.svg"}) {
        SCOPED_TRACE(name);
        const auto first = open(kExamples / name);
        const std::string once = file(kDisplayFile);
        open(kExamples / name);
        EXPECT_EQ(file(kDisplayFile), once);
        EXPECT_EQ(first.outlines, 1);
        EXPECT_GT(first.pointLines, 20);
        EXPECT_FALSE(fs::exists(m_app.file(kDisplayRewriteFile)));
    }
    EXPECT_EQ(m_replaced, 10);
}

TEST_F(OpenDrawingTest, OpeningEmptiesTheMachinedRecordAndTheSelectionFiles) {
    common::WriteLines(m_app.file(kMachinedFile), {"SPLINE 0.000000 3.0", "1 2 1 0 0 0"});
    common::WriteLines(m_app.file(kControlFile), {"SPLINE 0.0000 3"});
    common::WriteLines(m_app.file(kPathFile), {"SPLINE 0.000000 3.0"});
    m_state.mirrored = true;
    open(kExamples / "letterD.nc");
    EXPECT_EQ(file(kMachinedFile), "");
    EXPECT_EQ(file(kControlFile), "");
    EXPECT_EQ(file(kPathFile), "");
    EXPECT_FALSE(m_state.mirrored);
    EXPECT_EQ(m_state.format, DrawingFormat::Nc);
    EXPECT_DOUBLE_EQ(m_state.planeZ, -1.0);
}

// A disk that fills up while the new drawing is written keeps the old
// drawing with its selection and machined record, and leaves no temporary
// file behind.
TEST_F(OpenDrawingTest, AFullDiskKeepsTheOldDrawingAndItsSelection) {
    open(kExamples / "letterD.plt");
    common::WriteLines(m_app.file(kMachinedFile), {"SPLINE 0.000000 3.0"});
    common::WriteLines(m_app.file(kControlFile), {"SPLINE 0.0000 3", "SPLINE 0.0000 0"});
    common::WriteLines(m_app.file(kPathFile), {"SPLINE 0.000000 3.0", "SPLINE 0.000000 0.0"});
    const auto folder = [this] {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_app.root())) {
            if (entry.is_regular_file()) {
                files[entry.path().filename().string()] = common::ReadBytes(entry.path());
            }
        }
        return files;
    };
    const auto before = folder();
    for (const std::string& fullAt :
         {std::string(kDisplayRewriteFile), std::string("YJG.dat.tmp")}) {
        SCOPED_TRACE(fullAt);
        const common::SimulatedFullDisk disk(
            [&](const fs::path& f) { return f.filename().string() == fullAt; });
        EXPECT_THROW(open(kExamples / "letterD.nc"), common::UserError);
        EXPECT_EQ(folder(), before);
        EXPECT_EQ(m_state.format, DrawingFormat::Plt);
    }
    EXPECT_EQ(m_replaced, 1);
}

// Every file of the folder of bad drawings is refused for its own reason,
// in both languages, and leaves the display file, the machined record and
// the drawing state as they were.
TEST_F(OpenDrawingTest, RefusedDrawingsLeaveEverythingAsItWas) {
    const std::map<std::string, std::string> reasons = {
        {"garbage.ai", "No outline found"},
        {"garbage.nc", "No outline found"},
        {"garbage.plt", "No outline found"},
        {"flat-transform.svg", "The transform of <rect> on line 3 squeezes the drawing"},
        {"huge-coordinate.ai", "Coordinate out of range (line 5)"},
        {"huge-coordinate.nc", "Coordinate out of range (line 3)"},
        {"huge-coordinate.plt", "Coordinate out of range (line 1)"},
        {"missing-coordinates.plt", "No outline found"},
        {"missing-operands.ai", "Malformed path data in line 4"},
        {"never-in-plane.nc", "No outline found"},
        {"not-xml.svg", "not valid SVG/XML (line 4, byte 92: Start-end tags mismatch)"},
        {"not-a-number.ai", "Malformed path data in line 4"},
        {"overflowing-number.nc", "Coordinate out of range (line 3)"},
        {"overflowing-number.plt", "Coordinate out of range (line 1)"},
        {"pdf-body.ai", "save it as Illustrator 8"},
        {"text-only.svg", "only 1 text; convert text and clones to paths"},
        {"unknown-ending.txt", "Unsupported file type"},
    };
    open(kExamples / "letterD.plt");
    common::WriteLines(m_app.file(kMachinedFile), {"SPLINE 0.000000 3.0"});
    const std::string display = file(kDisplayFile);
    const DrawingState before = m_state;
    std::size_t refused = 0;
    for (const auto& entry : fs::directory_iterator(kBad)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ASSERT_EQ(reasons.count(name), 1u) << "a bad drawing without its reason";
        try {
            open(entry.path());
            ADD_FAILURE() << "opened";
        } catch (const common::UserError& e) {
            ++refused;
            EXPECT_NE(e.message().en.find(reasons.at(name)), std::string::npos) << e.message().en;
            EXPECT_NE(e.message().zh.find(name), std::string::npos) << e.message().zh;
        }
        EXPECT_EQ(file(kDisplayFile), display);
        EXPECT_EQ(file(kMachinedFile), "SPLINE 0.000000 3.0\r\n");
        EXPECT_EQ(m_state.drawing, before.drawing);
    }
    EXPECT_EQ(refused, reasons.size());
    EXPECT_EQ(m_replaced, 1);
}

TEST_F(OpenDrawingTest, DrawingFormatsGoByTheEndingInAnyCase) {
    EXPECT_EQ(DrawingFormatOf("A.DXF"), DrawingFormat::Dxf);
    EXPECT_EQ(DrawingFormatOf("letter.Nc"), DrawingFormat::Nc);
    EXPECT_EQ(DrawingFormatOf("字形.PLT"), DrawingFormat::Plt);
    EXPECT_EQ(DrawingFormatOf("x.ai"), DrawingFormat::Ai);
    EXPECT_EQ(DrawingFormatOf("x.Svg"), DrawingFormat::Svg);
    EXPECT_EQ(DrawingFormatOf("x.svgz"), DrawingFormat::Unknown);
}

TEST_F(OpenDrawingTest, ReloadMirrorsAgainWhenTheDrawingWasShownMirrored) {
    open(kExamples / "letterD.nc");
    const Lines plain = common::ReadLines(m_app.file(kDisplayFile));
    MirrorDrawing(m_app, m_state);
    EXPECT_TRUE(m_state.mirrored);
    const Lines mirrored = common::ReadLines(m_app.file(kDisplayFile));
    EXPECT_EQ(mirrored, MirrorDisplayPoints(plain));
    // An edit of the display file is undone by the reload; the mirror stays.
    common::WriteLines(m_app.file(kDisplayFile), {"SPLINE END"});
    ReloadDrawing(m_app, {}, m_core, m_state);
    EXPECT_EQ(common::ReadLines(m_app.file(kDisplayFile)), mirrored);
}

TEST_F(OpenDrawingTest, ChineseFileNamesAndGb18030CommentsOpen) {
    const auto summary =
        open(fs::path(KORVEL_TEST_DATA_DIR) / "readers" / "good" / fs::u8path("方块.nc"));
    EXPECT_EQ(summary.outlines, 1);
    const Lines display = common::ReadLines(m_app.file(kDisplayFile));
    for (const char* corner : {"10.000000 10.000000 Node", "30.000000 10.000000 Node",
                               "30.000000 30.000000 Node", "10.000000 30.000000 Node"}) {
        EXPECT_NE(std::find(display.begin(), display.end(), corner), display.end()) << corner;
    }
}

TEST_F(OpenDrawingTest, SummaryCountsLeftOutOutlines) {
    const fs::path drawing = m_dir.path() / "pen-lifts.plt";
    common::WriteLines(drawing, {"IN;SP1;PU40,40;PD400,40;PD400,400;PU800,800;PU;SP0;"});
    const auto summary = open(drawing);
    EXPECT_EQ(summary.outlines, 1);
    EXPECT_EQ(summary.droppedOutlines, 1);
    EXPECT_NE(summary.message(drawing).en.find("1 outlines of fewer than two points"),
              std::string::npos);
}

// Drawings whose splines exercise the reader and the cleaning passes: line
// ends, name case, blanks, a straight run, a closed ring, a spline on one
// point, outlines that repeat each other.
std::vector<std::pair<std::string, std::string>> generatedDrawings() {
    using test::SplineSpec;
    const auto spline = [](std::vector<std::pair<double, double>> points) {
        SplineSpec s;
        s.knots = test::clampedKnots(static_cast<int>(points.size()));
        s.points = std::move(points);
        return s;
    };
    const SplineSpec ring = spline({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {-20, 10}, {0, 0}});
    const SplineSpec straight = spline({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0.001}});
    SplineSpec point = spline({{5, 5}, {5, 5}, {5, 5}, {5, 5}});
    point.withFlag = false;
    SplineSpec wave = spline({{0, 0}, {3, 7}, {6, -7}, {9, 7}, {12, -7}, {15, 0}, {18, 3}});
    wave.degree = 0; // group 71 left out: read as cubic
    const auto text = [](const std::vector<SplineSpec>& splines, const char* lineEnd) {
        return test::joinDxf(test::drawingLines(splines), lineEnd);
    };
    std::string shouting = text({ring, wave}, "\r\n");
    for (const char* name : {"SPLINE", "ENDSEC"}) {
        for (auto at = shouting.find(name); at != std::string::npos; at = shouting.find(name, at)) {
            shouting.replace(at, 6, name[0] == 'S' ? "spline" : "endsec");
        }
    }
    std::string blanks = text({straight, ring}, "\n");
    for (auto at = blanks.find("\n10\n"); at != std::string::npos;
         at = blanks.find("\n10\n", at + 5)) {
        blanks.replace(at, 4, "\n 10 \n");
    }
    return {{"crlf", text({ring, straight, wave}, "\r\n")},
            {"lf", text({ring, straight, wave}, "\n")},
            {"lone-cr", text({wave, ring}, "\r")},
            {"lower-case-names", shouting},
            {"blanks-around-codes", blanks},
            {"one-point-and-repeats", text({point, ring, ring, straight, straight}, "\r\n")}};
}

// The one-pass open gives, byte for byte, the display file of the two-step
// import (ReadDXF and DisplayPointGen writing the unthinned file, then the
// thinning and duplicate passes over that file), and refuses the same
// drawings with the same message.
TEST_F(OpenDrawingTest, DxfOpensInOnePassToTheFileOfTheTwoStepImport) {
    std::vector<fs::path> drawings = {kExamples / "letterD.dxf", kExamples / "ringO.dxf"};
    for (const auto& entry :
         fs::directory_iterator(fs::path(KORVEL_TEST_DATA_DIR) / "dxf" / "bad")) {
        if (entry.path().extension() == ".dxf") {
            drawings.push_back(entry.path());
        }
    }
    for (const auto& [name, bytes] : generatedDrawings()) {
        drawings.push_back(m_dir.path() / (name + ".dxf"));
        common::RewriteBytesAtomically(drawings.back(), bytes);
    }
    const common::AppDir twoStep(m_dir.path() / "two-step");
    twoStep.create();
    for (const int densify : {1, 3, 10}) {
        m_core.TranParas(0.0, 0.0, 0.0, static_cast<std::int16_t>(densify), 22.5, 105.0);
        for (const auto& drawing : drawings) {
            SCOPED_TRACE(drawing.filename().string() + " densify " + std::to_string(densify));
            std::string expected;
            try {
                ImportDxf(twoStep, drawing, m_core);
                ThinDisplayPointsFile(twoStep);
                RemoveDuplicateLinesFile(twoStep);
                expected = common::ReadBytes(twoStep.file(kDisplayFile));
            } catch (const common::UserError& e) {
                expected = e.message().en;
            }
            try {
                const OpenSummary summary = open(drawing);
                EXPECT_EQ(file(kDisplayFile), expected);
                const Lines lines = common::ReadLines(m_app.file(kDisplayFile));
                const auto nodes = std::count_if(
                    lines.begin(), lines.end(), [](const auto& l) { return l.ends_with(" Node"); });
                EXPECT_EQ(summary.pointLines + summary.outlines + 1,
                          static_cast<long long>(lines.size()));
                EXPECT_EQ(summary.nodes, nodes);
            } catch (const common::UserError& e) {
                EXPECT_EQ(e.message().en, expected);
            }
        }
    }
}

// The unthinned points never reach the disk: a drawing too large for the
// display file leaves the very file that was there (not a copy put back),
// and no intermediate file appears.
TEST_F(OpenDrawingTest, RefusedDxfNeverTouchesTheDisplayFile) {
    open(kExamples / "letterD.dxf");
    struct stat before {};
    ASSERT_EQ(stat(m_app.file(kDisplayFile).c_str(), &before), 0);
    // Wavy rings: about 77 lines each once thinned, 450 of them too many.
    std::vector<test::SplineSpec> rings(450);
    for (auto& ring : rings) {
        for (int i = 0; i < 40; ++i) {
            const double a = 2.0 * M_PI * i / 39;
            const double r = 15.0 + 3.0 * std::sin(5.0 * a);
            ring.points.emplace_back(r * std::cos(a), 1.5 * r * std::sin(a));
        }
        ring.knots = test::clampedKnots(40);
    }
    const fs::path drawing = m_dir.path() / "too-many-points.dxf";
    common::RewriteBytesAtomically(drawing, test::joinDxf(test::drawingLines(rings), "\r\n"));
    try {
        open(drawing);
        ADD_FAILURE() << "opened";
    } catch (const common::UserError& e) {
        EXPECT_NE(e.message().en.find("too complex to open"), std::string::npos);
    }
    struct stat after {};
    ASSERT_EQ(stat(m_app.file(kDisplayFile).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_FALSE(fs::exists(m_app.file(kTempFile)));
    EXPECT_FALSE(fs::exists(m_app.file(kDisplayRewriteFile)));
    for (const auto& entry : fs::directory_iterator(m_app.root())) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

} // namespace
} // namespace korvel::geometry
