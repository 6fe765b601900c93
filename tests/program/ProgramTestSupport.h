#pragma once
// Shared fixtures of the program generator tests: a plain parameter set
// whose blocks are short enough to check by hand, a motion card whose
// inputs and positions a test sets, a one-call generator and small path
// builders.

#include "common/TextFile.h"
#include "geometry/PathFile.h"
#include "machine/ParameterSet.h"
#include "machine/SimulatedCard.h"
#include "program/ProgramGenerator.h"
#include "program/ProgramText.h"

#include <array>
#include <string>
#include <vector>

namespace korvel::program::test {

// IO cutter with in-position by delay, no infeed, roller feed, double
// bender; action order "DU" so that each slot block is a few lines.
inline machine::ParameterSet plainParams() {
    machine::ParameterSet p;
    p.CornerArcAngleThreshold = 10;
    p.SlotAngleThreshold = 30;
    p.TapBendRadiusThreshold = 50;
    p.BendToSlotRadiusThreshold = 5;
    p.TapForceFactorPos = 1;
    p.PressForceFactorPos = 1;
    p.TapForceFactorNeg = 1;
    p.PressForceFactorNeg = 1;
    p.CutterRadiusCompFactor = 1;
    p.PulseEquivX = 100;
    p.PulseEquivY = 100;
    p.PulseEquivZ = 100;
    p.PulseEquivA = 100;
    p.AutoSpeedX = 6000;
    p.AutoSpeedY = 3000;
    p.AutoSpeedZ = 2000;
    p.AutoSpeedA = 1000;
    p.HomeOffsetSpeedX = 500;
    p.BladeAngle = 40;
    p.InPositionCheck = 1;
    p.InPositionDelay = 100;
    p.FrontMaxSwing = 60;
    p.BackMaxSwing = 60;
    p.SlotActionOrder = "DU";
    p.CycleCount = 1;
    p.GripperStroke = 100;
    p.BenderType = 2;
    p.MaxBendAngle = 90;
    p.BendToSlotDistance = 50;
    p.BenderInOutDelay = 500;
    p.SlotDepthCorr = 100;
    p.EncoderTolerance = 2;
    return p;
}

// Curvature tables: radius 100 -> 10 deg, 50 -> 20, 20 -> 45, 10 -> 80 on
// both sides; tapping every 2 mm below radius 40, else 4 mm.
inline machine::ParameterTables plainTables() {
    machine::ParameterTables t;
    const std::array<machine::CurvatureRow, 4> rows{{{10, 100}, {20, 50}, {45, 20}, {80, 10}}};
    for (size_t i = 0; i < rows.size(); ++i) {
        t.ArcTablePos[i] = rows[i];
        t.ArcTableNeg[i] = rows[i];
    }
    t.ArcTablePosLast = 3;
    t.ArcTableNegLast = 3;
    t.TapSpacing[0] = {40, 2};
    t.TapSpacing[1] = {0, 4};
    t.TapSpacingCount = 2;
    return t;
}

// The simulated card, except that its inputs and command positions are
// whatever the test sets (all 0 unless set).
class FakeCard : public machine::SimulatedCard {
public:
    std::array<int, machine::kCardInputCount> inputs{};
    std::array<std::int32_t, 5> commandPos{};

    std::int32_t get_command_pos(int, int axis) override { return commandPos.at(axis); }
    int read_bit(int, int input) override { return inputs.at(input); }
};

// The job program for `path` on this machine, with a card at rest.
inline GeneratedProgram generateJob(const machine::ParameterSet& p,
                                    const machine::ParameterTables& tables,
                                    const geometry::PathRecords& path, const RunPanel& panel,
                                    const MainWindowFields& fields = {},
                                    const MarkedPoints& marked = MarkedPoints{}) {
    FakeCard card;
    return ProgramGenerator(p, tables, fields, panel, marked).generate(path, card);
}

// Path builders in the CtrP.dat record form.
inline geometry::PathRecord header(double turn, double mark = 3) {
    return geometry::PathRecord::blockLine(turn, mark);
}
inline geometry::PathRecord trailer(double turn) {
    return geometry::PathRecord::blockLine(turn, 0);
}
inline geometry::PathRecord plain(double x, double y) {
    return geometry::PathRecord::point(x, y, geometry::kPlainPoint);
}
inline geometry::PathRecord contour(double x, double y, double radius = 0, double b = 0) {
    return geometry::PathRecord::point(x, y, geometry::kContourPoint, radius, b);
}
inline geometry::PathRecord cornerAt(double x, double y, double turn) {
    return geometry::PathRecord::point(x, y, geometry::kCornerPoint, 0, turn);
}

// A corner as selection writes it: plain, corner, plain at one place.
inline void addCorner(geometry::PathRecords& path, double x, double y, double turn) {
    path.push_back(plain(x, y));
    path.push_back(cornerAt(x, y, turn));
    path.push_back(plain(x, y));
}

// Count of lines equal to `line`.
inline int countLines(const common::Lines& lines, const std::string& line) {
    int n = 0;
    for (const auto& l : lines) {
        n += l == line ? 1 : 0;
    }
    return n;
}

} // namespace korvel::program::test
