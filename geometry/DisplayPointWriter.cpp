#include "geometry/DisplayPointWriter.h"

#include "common/Message.h"
#include "geometry/BSpline.h"
#include "geometry/DxfMessages.h"
#include "geometry/OutlineFiles.h"

#include <cmath>

namespace korvel::geometry {

namespace {

// Two refined parameters whose points are this close in x and in y make one
// node: the operator could not pick them apart.
constexpr double kNodeTolerance = 0.001;
constexpr std::string_view kDisplayPattern = "0.000";
constexpr std::string_view kLineEnd = "\r\n";

ArcPoint pointAt(const DxfSpline& spline, std::span<const double> knots, double u) {
    return EvaluateBSpline(spline.ctrlPts, knots, spline.degree, u, spline.flag);
}

} // namespace

std::vector<double> NodeParameters(const DxfSpline& spline, std::span<const double> knots) {
    const std::vector<double> unique = UniqueKnots(knots, spline.degree, spline.ctrlPts.size());
    const std::vector<double> refined = RefinedParameters(unique);
    std::vector<double> nodes;
    nodes.reserve(refined.size());
    ArcPoint previous = pointAt(spline, knots, refined.front());
    nodes.push_back(refined.front());
    for (size_t i = 1; i < refined.size(); ++i) {
        const ArcPoint p = pointAt(spline, knots, refined[i]);
        if (std::abs(p[0] - previous[0]) > kNodeTolerance ||
            std::abs(p[1] - previous[1]) > kNodeTolerance) {
            nodes.push_back(refined[i]);
        }
        previous = p;
    }
    return nodes;
}

SplineNodes PrepareSplineNodes(const DxfSpline& spline) {
    SplineNodes prepared;
    prepared.knots = NormalizedKnots(spline);
    prepared.nodes = NodeParameters(spline, prepared.knots);
    return prepared;
}

namespace {

void appendSplineLines(const DxfSpline& spline, const SplineNodes& prepared, int number,
                       std::int16_t densify, DisplayLineSink& sink, DisplaySummary& summary) {
    const std::vector<double>& knots = prepared.knots;
    const std::vector<double>& nodes = prepared.nodes;
    std::string line = OutlineHeader(number);
    sink.line(line);
    ++summary.outlines;
    // From the last node interval to the first; each interval gives
    // `densify` points starting at its upper node. Stopping after `densify`
    // points keeps the rounding of u from adding one more (or from running
    // on when the step is too small to change u).
    for (size_t j = nodes.size() - 1; j >= 1; --j) {
        const double lower = nodes[j - 1];
        const double step = (nodes[j] - lower) / densify;
        double u = nodes[j];
        for (int count = 1; u > lower && count <= densify; ++count) {
            const ArcPoint p = pointAt(spline, knots, u);
            line.clear();
            AppendDisplayPointLine(line, p[0], p[1], count == 1, kDisplayPattern);
            sink.line(line);
            ++summary.points;
            if (count == 1) {
                ++summary.nodes;
            }
            u -= step;
        }
    }
}

// Collects the lines as the text of the file.
class TextSink : public DisplayLineSink {
public:
    explicit TextSink(std::string& out) : m_out(out) {}
    void line(std::string_view text) override {
        m_out += text;
        m_out += kLineEnd;
    }

private:
    std::string& m_out;
};

} // namespace

DisplaySummary GenerateDisplayLines(const std::vector<DxfSpline>& splines, std::int16_t densify,
                                    DisplayLineSink& sink) {
    if (densify < 1) {
        throw common::UserError(dxfmsg::badDensify(densify));
    }
    // The nodes of all splines first: they tell how many points the file
    // will hold, before any of them is computed.
    std::vector<SplineNodes> prepared;
    prepared.reserve(splines.size());
    long long expected = 0;
    for (const auto& spline : splines) {
        prepared.push_back(PrepareSplineNodes(spline));
        expected += static_cast<long long>(prepared.back().nodes.size() - 1) * densify;
    }
    if (expected > kMaxDisplayPoints) {
        throw common::UserError(dxfmsg::tooManyDisplayPoints(expected, kMaxDisplayPoints));
    }
    DisplaySummary summary;
    for (size_t s = 0; s < splines.size(); ++s) {
        appendSplineLines(splines[s], prepared[s], static_cast<int>(s + 1), densify, sink, summary);
    }
    sink.line(kSplineEnd);
    return summary;
}

std::string DisplayPointText(const std::vector<DxfSpline>& splines, std::int16_t densify,
                             DisplaySummary& summary) {
    std::string out;
    TextSink sink(out);
    summary = GenerateDisplayLines(splines, densify, sink);
    return out;
}

} // namespace korvel::geometry
