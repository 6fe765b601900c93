// The slotting block, checked line by line against what the cutter must do.

#include "program/SlotBlock.h"

#include "ProgramTestSupport.h"

#include <gtest/gtest.h>

namespace korvel::program {
namespace {

using common::Lines;
using test::plainParams;

Lines block(const machine::ParameterSet& p, double angle, int kind, int face, std::int16_t flag,
            bool encoder = false) {
    ProgramText out;
    SlotBlock(out, p, encoder).Print_KCaction(angle, kind, face, flag);
    return out.lines();
}

// Lines whose text starts with `prefix`.
Lines linesStarting(const Lines& lines, const std::string& prefix) {
    Lines found;
    for (const auto& l : lines) {
        if (l.rfind(prefix, 0) == 0) {
            found.push_back(l);
        }
    }
    return found;
}

machine::ParameterSet infeedParams() {
    auto p = plainParams();
    p.InfeedControl = 1;
    p.SlotActionOrder = "FB";
    p.InfeedSafeDistance = 2;
    p.CutStroke = {0.5, 0.3, 0.2, 0, 0, 0};
    return p;
}

TEST(SlotBlock, IoCutterCornerSlotIsTheWholeFrame) {
    EXPECT_EQ(block(plainParams(), 25, kSlotCorner, kFaceFront, kSlotFlagNone),
              (Lines{"G04 P200", "M16", "M10", "G04 P800", "M12", "G04 P100", "M13", "M14",
                     "G04 P100", "M15", "M11", "A0 F1000", "M17", "G04 P500"}));
}

TEST(SlotBlock, InPositionByInputWaitsForOperatorOnlyWhenMachining) {
    auto p = plainParams();
    p.InPositionCheck = 0;
    auto lines = block(p, 0, kSlotStraight, kFaceFront, kSlotFlagNone);
    EXPECT_EQ(test::countLines(lines, "M00"), 2); // after cutter down and after cutter up
    p.RunMode = 1;
    lines = block(p, 0, kSlotStraight, kFaceFront, kSlotFlagNone);
    EXPECT_EQ(test::countLines(lines, "M00"), 0);
}

TEST(SlotBlock, EncoderStepUnlessFlagIsExactlyOne) {
    auto p = plainParams();
    p.EncoderPort = 1;
    EXPECT_EQ(block(p, 0, 1, 0, kSlotFlagNone, true).at(1), "M34");
    EXPECT_EQ(block(p, 0, 1, 0, kSlotFlagArc, true).at(1), "M34");
    EXPECT_EQ(block(p, 0, 1, 0, kSlotFlagNoEncoder, true).at(0), "G04 P200");
    EXPECT_EQ(block(p, 0, 1, 0, kSlotFlagNone, false).at(0), "G04 P200");
    p.EncoderPort = 0;
    EXPECT_EQ(block(p, 0, 1, 0, kSlotFlagNone, true).at(0), "G04 P200");
}

TEST(SlotBlock, MotorCutterStrokesByFace) {
    auto p = plainParams();
    p.CutterUpDownControl = 1;
    p.DownStrokeFront = 5;
    p.DownStrokeBack = 6.5;
    auto front = block(p, 0, 1, kFaceFront, 0);
    EXPECT_EQ(linesStarting(front, "G05"),
              (Lines{"G05 Z5.0000 F000000002000", "G05 Z0 F000000002000"}));
    auto back = block(p, 180, 1, kFaceBack, 0);
    EXPECT_EQ(linesStarting(back, "G05").at(0), "G05 Z6.5000 F000000002000");
    auto none = block(p, 0, 1, 7, 0);
    EXPECT_EQ(linesStarting(none, "G05"), (Lines{"G05 Z0 F000000002000"}));
    EXPECT_EQ(test::countLines(none, "G01"), 2);
}

TEST(SlotBlock, CutOffPassWithMotorInfeed) {
    auto p = infeedParams();
    p.CycleCount = 2;
    p.CutOffStroke = 1.5;
    const auto lines = block(p, 0, kSlotBlockEnd, kFaceFront, kSlotFlagNone);
    EXPECT_EQ(linesStarting(lines, "A"), (Lines{"A2.5000 F1000 ;第 1刀", "A2.3000 F1000 ;第 2刀",
                                                "A3.5000 F1000 ;切断", "A0 F1000"}));
    // A corner slot never cuts off.
    EXPECT_EQ(linesStarting(block(p, 0, kSlotCorner, 0, 0), "A").size(), 3u);
}

TEST(SlotBlock, ArcSlotIsOnePassShorterButNeverNone) {
    auto p = infeedParams();
    p.CycleCount = 2;
    p.CutOffStroke = 1.5;
    EXPECT_EQ(linesStarting(block(p, 0, kSlotBlockEnd, 0, kSlotFlagArc), "A"),
              (Lines{"A2.5000 F1000 ;第 1刀", "A2.3000 F1000 ;第 2刀", "A0 F1000"}));
    p.CycleCount = 1;
    p.CutOffStroke = 0;
    EXPECT_EQ(linesStarting(block(p, 0, kSlotCorner, 0, kSlotFlagArc), "A"),
              (Lines{"A2.5000 F1000 ;第 1刀", "A0 F1000"}));
}

TEST(SlotBlock, AccumulatedStrokesAndDepthCorrection) {
    auto p = infeedParams();
    p.CycleCount = 3;
    p.InfeedAccumulate = 1;
    EXPECT_EQ(linesStarting(block(p, 0, kSlotCorner, 0, 0), "A"),
              (Lines{"A2.5000 F1000 ;第 1刀", "A2.8000 F1000 ;第 2刀", "A3.0000 F1000 ;第 3刀",
                     "A0 F1000"}));
    p.InfeedAccumulate = 0;
    p.SlotDepthCorr = 50;
    EXPECT_EQ(linesStarting(block(p, 0, kSlotCorner, 0, 0), "A").at(1), "A2.1500 F1000 ;第 2刀");
}

TEST(SlotBlock, InfeedBacksOffEveryPassWithMotorCutter) {
    auto p = infeedParams();
    p.CycleCount = 3;
    EXPECT_EQ(test::countLines(block(p, 0, 2, 0, 0), "A0 F1000"), 1);
    p.CutterUpDownControl = 1;
    EXPECT_EQ(test::countLines(block(p, 0, 2, 0, 0), "A0 F1000"), 3);
}

TEST(SlotBlock, InfeedHomesBeforeTheSlotWhenSetUpSo) {
    auto p = infeedParams();
    p.HomeInfeedFirst = 1;
    auto lines = block(p, 0, 2, 0, 0);
    EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 5), (Lines{"M42", "M30", "G90 G01"}));
    p.RunMode = 1;
    lines = block(p, 0, 2, 0, 0);
    EXPECT_EQ(lines.at(2), "A2.5000 F1000 ;第 1刀");
}

TEST(SlotBlock, SwingLimits) {
    auto p = plainParams();
    p.SlotActionOrder = "P";
    p.BackMaxSwing = 20;
    p.FrontMaxSwing = 45;
    EXPECT_EQ(linesStarting(block(p, 150, kSlotCorner, 1, 0), "A1").at(0), "A160.0000 F1000");
    EXPECT_EQ(linesStarting(block(p, -50, kSlotCorner, 0, 0), "A-").at(0), "A-45.0000 F1000");
    // Exactly at the limit is the limit; below it stays.
    EXPECT_EQ(linesStarting(block(p, 44.5, kSlotCorner, 0, 0), "A4").at(0), "A44.5000 F1000");
    EXPECT_EQ(linesStarting(block(p, 200, kSlotCorner, 1, 0), "A2").at(0), "A200.0000 F1000");
}

TEST(SlotBlock, NegativeSwingByKind) {
    auto p = plainParams();
    p.SlotActionOrder = "N";
    auto swing = [&](double angle, int kind) {
        auto lines = block(p, angle, kind, 0, 0);
        return lines.at(5); // after G04, M16, M10, G04 P800 and the pre-swing
    };
    EXPECT_EQ(swing(25, kSlotStraight), "A25.0000 F1000");
    EXPECT_EQ(swing(25, kSlotCorner), "A-25.0000 F1000");
    EXPECT_EQ(swing(160, kSlotCorner), "A-160.0000 F1000");
    EXPECT_EQ(swing(200, kSlotCorner), "A160.0000 F1000");
    EXPECT_EQ(swing(25, kSlotBlockEnd), "A25.0000 F1000");
    p.InvertEndSlotSwing = 1;
    EXPECT_EQ(swing(25, kSlotBlockEnd), "A-25.0000 F1000");
    EXPECT_EQ(swing(160, kSlotBlockEnd), "A160.0000 F1000");
}

TEST(SlotBlock, PreSwingAndSwingBackOnZ) {
    auto p = plainParams();
    p.SlotActionOrder = "PDU";
    p.ZAxisSwingCutter = 1;
    auto lines = block(p, 25, kSlotCorner, 0, 0);
    EXPECT_EQ(lines.at(4), "Z0 F2000");
    EXPECT_EQ(lines.at(5), "Z25.0000 F2000");
    EXPECT_EQ(lines.at(lines.size() - 3), "Z0 F2000");
    lines = block(p, 160, kSlotCorner, 1, 0);
    EXPECT_EQ(lines.at(4), "Z180 F2000");
    EXPECT_EQ(lines.at(lines.size() - 3), "Z180 F2000");
    // On A the pre-swing goes to the back only from 180 on.
    p.ZAxisSwingCutter = 0;
    EXPECT_EQ(block(p, 160, kSlotCorner, 1, 0).at(4), "A0 F1000");
    EXPECT_EQ(block(p, 180, kSlotStraight, 1, 0).at(4), "A180 F1000");
}

TEST(SlotBlock, SwingBackByFaceControl) {
    auto p = plainParams();
    auto tail = [&](double angle) {
        auto lines = block(p, angle, kSlotCorner, 0, 0);
        return lines.at(lines.size() - 3);
    };
    // Swing back to A0 or A180 by face: GoldenLetters.RingOTwoPieces.
    p.BackSwingControl = 1;
    EXPECT_EQ(tail(160), "M11"); // no swing back
    p.SlotControl = 1;
    EXPECT_EQ(tail(160), "A0 F1000");
    p.FrontSwingControl = 1;
    EXPECT_EQ(tail(25), "M11");
    p.InfeedControl = 1; // the infeed axis does not swing
    p.FrontSwingControl = 0;
    EXPECT_EQ(test::countLines(block(p, 25, kSlotCorner, 0, 0), "A0 F1000"), 0);
}

TEST(SlotBlock, EmptyOrLowerCaseOrderWritesOnlyTheFrame) {
    auto p = plainParams();
    p.SlotActionOrder = "";
    const Lines frame{"G04 P200", "M16", "M10", "G04 P800", "M11", "A0 F1000", "M17", "G04 P500"};
    EXPECT_EQ(block(p, 25, kSlotCorner, 0, 0), frame);
    p.SlotActionOrder = "du";
    EXPECT_EQ(block(p, 25, kSlotCorner, 0, 0), frame);
}

} // namespace
} // namespace korvel::program
