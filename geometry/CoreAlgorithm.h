#pragma once
// The geometry object of the outline pipeline: it reads the splines of a
// DXF drawing (ReadDXF), turns them into the display point file
// (DisplayPointGen), evaluates points of them (Cal_arcdir), keeps the
// process values handed over by the parameter set (TranParas) and empties
// the control point and machining path files (ControlPointCls).
//
// Spline, coordinate and point indices of the accessors are 1-based, as the
// machine's documentation counts them.

#include "common/AppDir.h"
#include "geometry/BSpline.h"
#include "geometry/DisplayPointWriter.h"
#include "geometry/DxfSpline.h"
#include "geometry/GeometryParameters.h"

#include <cstdint>
#include <filesystem>

namespace korvel::geometry {

class CoreAlgorithm {
public:
    // Reads the drawing: writes it split at every LF to Temp.dat, then reads
    // its splines from Temp.dat. On any error (UserError) the splines read
    // before stay as they were.
    void ReadDXF(const common::AppDir& app, const std::filesystem::path& fileName);

    // Rewrites PointForDisplay.dat from the splines read last, through a
    // temporary file, so the old file stays when anything fails.
    DisplaySummary DisplayPointGen(const common::AppDir& app) const;

    // The point of a B-spline at parameter u; see EvaluateBSpline.
    static ArcPoint Cal_arcdir(std::span<const Point2> ctrlPts, std::span<const double> knots,
                               int degree, double u, int splineFlag) {
        return EvaluateBSpline(ctrlPts, knots, degree, u, splineFlag);
    }

    void TranParas(double chordErrorTol, double lineStepLength, double joinAngleThreshold,
                   std::int16_t densifyPointCount, double halfBladeAngle, double fixedValue);
    void TranParas(const GeometryParameters& parameters) { m_parameters = parameters; }
    const GeometryParameters& parameters() const { return m_parameters; }

    // Empties PointForControl.dat and CtrP.dat (creating them when missing).
    static void ControlPointCls(const common::AppDir& app);

    // The splines as read.
    std::int16_t SplineCount() const { return static_cast<std::int16_t>(m_drawing.splines.size()); }
    // Coordinate c (1 = x, 2 = y) of control point k of spline s; 0 for a
    // point beyond the spline's own count but within the table.
    double CtrlPts(int s, int c, int k) const;
    double Knots(int s, int k) const;
    std::int16_t SplineFlag(int s) const { return spline(s).flag; }
    // which = 1: number of knots, 2: number of control points.
    std::int16_t SplineCounts(int s, int which) const;
    // The sizes the tables grew to: the largest declared counts met.
    int maxCtrlPts() const { return m_drawing.maxCtrlPts; }
    int maxKnots() const { return m_drawing.maxKnots; }
    const std::vector<DxfSpline>& splines() const { return m_drawing.splines; }

private:
    const DxfSpline& spline(int s) const;

    GeometryParameters m_parameters;
    DxfDrawing m_drawing;
};

} // namespace korvel::geometry
