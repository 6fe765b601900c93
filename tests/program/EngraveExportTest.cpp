// The engraving groove program: its text, where the grooves fall, and that
// they fall exactly where the bending program cuts its slots.

#include "program/EngraveExport.h"

#include "ProgramTestSupport.h"
#include "common/AppDir.h"
#include "common/Basic.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/OutlineFiles.h"
#include "program/GroovePositions.h"
#include "program/ProgramGenerator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <vector>

namespace korvel::program {
namespace {

using geometry::PathRecords;
using namespace program::test;

EngraveFields fields(std::string width = "40") {
    return {"grooves.nc", "0.5", std::move(width), "18000", "800"};
}

TEST(EngraveProgram, EveryGrooveCutsAcrossTheStripAndFiveMillimetresBeyond) {
    EXPECT_EQ(EngraveProgramLines({0.0, 12.3456}, fields("40")),
              (common::Lines{"G90 G17", "G00 Z5", "G00 X-5 Y0", "S18000 M03", "G00 Y0.000",
                             "G01 Z-0.5 F800", "X45.000", "G00 Z5", "G00 X-5", "G00 Y12.346",
                             "G01 Z-0.5 F800", "X45.000", "G00 Z5", "G00 X-5", "G00 X0 Y0", "M05",
                             "M30"}));
    EXPECT_EQ(EngraveProgramLines({}, fields("12.5")).size(), 7u);
}

// The X of every slot block in a bending program: the feed position the
// strip stands at when the block's "M16" (slot start) runs.
std::vector<double> slotPositions(const common::Lines& program) {
    std::vector<double> slots;
    double x = 0.0;
    for (const auto& line : program) {
        const std::string_view code = std::string_view(line).substr(0, line.find(';'));
        for (const auto word : common::SplitFields(code)) {
            if (!word.empty() && word[0] == 'X') {
                x = common::Val(word.substr(1));
            }
        }
        if (common::Trim(code) == "M16") {
            slots.push_back(x);
        }
    }
    return slots;
}

TEST(EngraveProgram, GroovePositionsAreTheBendingProgramsSlotPositions) {
    machine::ParameterSet p = plainParams();
    p.EngraveCutterRadius = 1.5;
    p.CutterRadiusCompFactor = 0.9;
    p.StartSegmentComp = 2.0;
    p.EndSegmentComp = 3.0;
    p.ArcCorrPos = 0.1;
    p.ArcCorrNeg = 0.05;
    // Two pieces: corners that are slotted, one that is only bent, arcs
    // that are bent (radius 30) and one that is slotted (radius 3), block
    // ends with and without cutter-radius corrections, and a corner just
    // below the slot angle.
    PathRecords path = {header(90), plain(0, 0), contour(20, 0)};
    addCorner(path, 40, 0, -90);
    path.push_back(contour(40, 20));
    addCorner(path, 40, 40, -25);
    path.push_back(contour(45, 48, 30, 0.3));
    path.push_back(contour(48, 57, 30, 0.3));
    path.push_back(contour(52, 60, 3, 0.8));
    path.push_back(contour(50, 70, 30, 0.3));
    path.push_back(contour(44, 78));
    path.push_back(plain(40, 80));
    path.push_back(trailer(60));
    path.push_back(header(-45, 2));
    path.push_back(plain(100, 0));
    path.push_back(contour(110, 0));
    addCorner(path, 120, 0, 29.9);
    addCorner(path, 120, 10, 30);
    path.push_back(plain(130, 10));
    path.push_back(trailer(0));

    RunPanel panel;
    panel.joinLength = 12.0;
    const GeneratedProgram program = generateJob(p, plainTables(), path, panel);
    ASSERT_FALSE(program.refusal.has_value());
    const std::vector<double> slots = slotPositions(program.lines);

    const auto grooves = GroovePositions(path, p, MarkedPoints{}, {panel.joinLength});
    ASSERT_EQ(grooves.size(), slots.size());
    // Header, corner (40, 0), the small arc, trailer, next header, the 30
    // degree corner, last trailer.
    EXPECT_EQ(grooves.size(), 7u);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        // The program writes positions with four decimals.
        EXPECT_NEAR(grooves[i], slots[i], 0.00005) << "slot " << i;
    }
}

TEST(EngraveExport, WritesTheFileAndRefusesWhatCannotBeMilled) {
    korvel::test::TempDir dir;
    const common::AppDir app(dir.path());
    const machine::ParameterSet p = plainParams();
    common::WriteLines(app.file(geometry::kPathFile), {});
    EXPECT_FALSE(PathSelected(app));
    EXPECT_EQ(NoPathMessage().en, "No Choise, Can't Output!");
    EXPECT_EQ(NoPathMessage().zh, "尚未选择加工路径，不能输出！");

    common::WriteLines(
        app.file(geometry::kPathFile),
        geometry::FormatPathLines({header(0), plain(0, 0), plain(30, 0), trailer(0)}));
    EXPECT_TRUE(PathSelected(app));
    EXPECT_EQ(ExportEngraveProgram(app, fields(), p, MarkedPoints{}, {}), 2u);
    const auto written = common::ReadLines(app.file("grooves.nc"));
    EXPECT_EQ(written.at(9), "G00 Y30.000");

    // Empty or escaping name, negative, non-numeric or half-numeric depth and
    // width, no spindle speed, zero or exponent feed, numbers no engraving
    // machine takes.
    for (const auto& bad :
         std::vector<EngraveFields>{{"", "0.5", "40", "18000", "800"},
                                    {"../x.nc", "0.5", "40", "18000", "800"},
                                    {"g.nc", "-1", "40", "18000", "800"},
                                    {"g.nc", "0.5", "abc", "18000", "800"},
                                    {"g.nc", "0.5", "40", "", "800"},
                                    {"g.nc", "0.5", "40", "18000", "0"},
                                    {"g.nc", "0.5abc", "40", "18000", "800"},
                                    {"g.nc", "0.5", "40", "18000", "1E3"},
                                    {"g.nc", "0.5", "99999999999999999999999", "18000", "800"},
                                    {"g.nc", "101", "40", "18000", "800"},
                                    {"CtrP.dat", "0.5", "40", "18000", "800"},
                                    {"g5.DAT", "0.5", "40", "18000", "800"},
                                    {"SimMachine.ini", "1", "40", "1", "8"},
                                    {"字形PLT.plt", "1", "40", "1", "8"},
                                    {"joblog.csv", "1", "40", "1", "8"}}) {
        EXPECT_THROW(ExportEngraveProgram(app, bad, p, MarkedPoints{}, {}), common::UserError)
            << bad.fileName << " " << bad.depth << " " << bad.width;
    }
    EXPECT_FALSE(std::filesystem::exists(app.file("g.nc")));
    // The folder's own files are never replaced by an export.
    EXPECT_EQ(common::ReadLines(app.file(geometry::kPathFile)).size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(app.file("g5.DAT")));
}

} // namespace
} // namespace korvel::program
