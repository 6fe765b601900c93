#pragma once
// A large job for the benchmarks: a long wavy outline with pressed arcs,
// tapped arcs and slotted corners whose program comes near the 29,999-line
// limit, and the plain machine it is generated for.

#include "geometry/PathFile.h"
#include "geometry/PlaneGeometry.h"
#include "machine/ParameterSet.h"

#include <cmath>

namespace korvel::bench {

inline machine::ParameterSet benchParams() {
    machine::ParameterSet p;
    p.CornerArcAngleThreshold = 10;
    p.SlotAngleThreshold = 30;
    p.TapBendRadiusThreshold = 50;
    p.BendToSlotRadiusThreshold = 5;
    p.TapForceFactorPos = p.PressForceFactorPos = p.TapForceFactorNeg = 1;
    p.PressForceFactorNeg = 1;
    p.CutterRadiusCompFactor = 1;
    p.EngraveCutterRadius = 1;
    p.AutoSpeedX = 6000;
    p.AutoSpeedY = 3000;
    p.AutoSpeedZ = 2000;
    p.AutoSpeedA = 1000;
    p.BladeAngle = 40;
    p.InPositionCheck = 1;
    p.InPositionDelay = 100;
    p.FrontMaxSwing = p.BackMaxSwing = 60;
    p.SlotActionOrder = "PDU";
    p.CycleCount = 1;
    p.BenderType = 1;
    p.MaxBendAngle = 90;
    p.BendToSlotDistance = 50;
    p.BenderInOutDelay = 300;
    return p;
}

inline machine::ParameterTables benchTables() {
    machine::ParameterTables t;
    const machine::CurvatureRow rows[] = {{10, 200}, {20, 100}, {45, 40}, {80, 10}};
    for (int i = 0; i < 4; ++i) {
        t.ArcTablePos[i] = t.ArcTableNeg[i] = rows[i];
    }
    t.ArcTablePosLast = t.ArcTableNegLast = 3;
    t.TapSpacing[0] = {40, 2};
    t.TapSpacing[1] = {0, 4};
    t.TapSpacingCount = 2;
    return t;
}

// Blocks of alternating left and right arcs between slotted corners.
inline geometry::PathRecords largePath() {
    using geometry::PathRecord;
    geometry::PathRecords path;
    double x = 0;
    double y = 0;
    for (int block = 0; block < 10; ++block) {
        path.push_back(PathRecord::blockLine(block % 2 == 0 ? -90 : 10, 3));
        path.push_back(PathRecord::point(x, y, geometry::kPlainPoint));
        for (int wave = 0; wave < 29; ++wave) {
            const double radius = wave % 3 == 0 ? 30 : 120;
            const int side = wave % 2 == 0 ? 1 : -1;
            for (int k = 1; k <= 12; ++k) {
                const double a = geometry::kPi * k / 12;
                const double px = x + radius * (1 - std::cos(a));
                const double py = y + side * radius * std::sin(a);
                path.push_back(
                    PathRecord::point(px, py, geometry::kContourPoint, radius, geometry::kPi / 12));
            }
            x += 2 * radius;
            path.push_back(PathRecord::point(x, y, geometry::kPlainPoint));
            path.push_back(PathRecord::point(x, y, geometry::kCornerPoint, 0, side * 60.0));
            path.push_back(PathRecord::point(x, y, geometry::kPlainPoint));
        }
        x += 5;
        path.push_back(PathRecord::point(x, y, geometry::kPlainPoint));
        path.push_back(PathRecord::blockLine(-90, 0));
    }
    return path;
}

} // namespace korvel::bench
