#include "geometry/CoreAlgorithm.h"

#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/DxfMessages.h"
#include "geometry/DxfReader.h"
#include "geometry/ImportDxf.h"
#include "geometry/OutlineFiles.h"

#include <stdexcept>
#include <string>

namespace korvel::geometry {

namespace fs = std::filesystem;

namespace {

// Temp.dat holds the drawing split at every LF: each piece, with the CR
// that preceded its LF and including the text after the last LF, becomes
// one line of its own. A CR LF drawing therefore reads back with an empty
// line after each of its lines.
std::string tempFileBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4 + 2);
    size_t start = 0;
    for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
        out.append(text.substr(start, lf - start));
        out += "\r\n";
        start = lf + 1;
    }
    out.append(text.substr(start));
    out += "\r\n";
    return out;
}

} // namespace

void CoreAlgorithm::ReadDXF(const common::AppDir& app, const fs::path& fileName) {
    const std::string text = ReadDxfText(fileName);
    common::RewriteBytesAtomically(app.file(kTempFile), tempFileBytes(text));
    // The reader sees the drawing's lines as Temp.dat holds them.
    m_drawing = ReadDxfSplines(text);
}

DisplaySummary CoreAlgorithm::DisplayPointGen(const common::AppDir& app) const {
    DisplaySummary summary;
    const std::string text =
        DisplayPointText(m_drawing.splines, m_parameters.DensifyPointCount, summary);
    common::RewriteBytesAtomically(app.file(kDisplayFile), text);
    return summary;
}

void CoreAlgorithm::TranParas(double chordErrorTol, double lineStepLength,
                              double joinAngleThreshold, std::int16_t densifyPointCount,
                              double halfBladeAngle, double fixedValue) {
    m_parameters.ChordErrorTol = chordErrorTol;
    m_parameters.LineStepLength = lineStepLength;
    m_parameters.JoinAngleThreshold = joinAngleThreshold;
    m_parameters.DensifyPointCount = densifyPointCount;
    m_parameters.HalfBladeAngle = halfBladeAngle;
    m_parameters.FixedValue = fixedValue;
}

void CoreAlgorithm::ControlPointCls(const common::AppDir& app) {
    common::TruncateFile(app.file(kControlFile));
    common::TruncateFile(app.file(kPathFile));
}

const DxfSpline& CoreAlgorithm::spline(int s) const {
    if (s < 1 || s > SplineCount()) {
        throw std::out_of_range("spline index " + std::to_string(s));
    }
    return m_drawing.splines[static_cast<size_t>(s - 1)];
}

double CoreAlgorithm::CtrlPts(int s, int c, int k) const {
    const DxfSpline& sp = spline(s);
    if (c < 1 || c > 2 || k < 1 || k > m_drawing.maxCtrlPts) {
        throw std::out_of_range("control point index");
    }
    if (static_cast<size_t>(k) > sp.ctrlPts.size()) {
        return 0.0;
    }
    const Point2& p = sp.ctrlPts[static_cast<size_t>(k - 1)];
    return c == 1 ? p.x : p.y;
}

double CoreAlgorithm::Knots(int s, int k) const {
    const DxfSpline& sp = spline(s);
    if (k < 1 || k > m_drawing.maxKnots) {
        throw std::out_of_range("knot index");
    }
    return static_cast<size_t>(k) > sp.knots.size() ? 0.0 : sp.knots[static_cast<size_t>(k - 1)];
}

std::int16_t CoreAlgorithm::SplineCounts(int s, int which) const {
    const DxfSpline& sp = spline(s);
    if (which == 1) {
        return sp.knotCount;
    }
    if (which == 2) {
        return sp.pointCount;
    }
    throw std::out_of_range("spline count index");
}

} // namespace korvel::geometry
