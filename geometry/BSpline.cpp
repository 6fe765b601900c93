#include "geometry/BSpline.h"

#include <algorithm>
#include <cmath>

namespace korvel::geometry {

namespace {

constexpr double kAlphaTolerance = 1e-10;

// 0-based index k of the knot span [t(k), t(k+1)) that holds u, kept within
// the spans of the curve's stretch, degree .. points-1.
size_t findSpan(std::span<const double> knots, int degree, size_t pointCount, double u) {
    const auto p = static_cast<size_t>(degree);
    const auto above = std::upper_bound(knots.begin(), knots.end(), u);
    size_t k = above == knots.begin() ? 0 : static_cast<size_t>(above - knots.begin()) - 1;
    if (k >= pointCount) {
        // At or beyond the end: the last span that is not empty.
        k = pointCount - 1;
        while (k > p && knots[k] == knots[k + 1]) {
            --k;
        }
    }
    return std::max(k, p);
}

} // namespace

ArcPoint EvaluateBSpline(std::span<const Point2> ctrlPts, std::span<const double> knots, int degree,
                         double u, int splineFlag) {
    if (u == 1.0 && splineFlag == 1) {
        return {ctrlPts.back().x, ctrlPts.back().y, 0.0, 0.0};
    }
    const size_t k = findSpan(knots, degree, ctrlPts.size(), u);
    const auto p = static_cast<size_t>(degree);
    // Only the degree+1 control points k-degree .. k take part.
    std::array<Point2, 16> work{};
    for (size_t i = 0; i <= p; ++i) {
        work[i] = ctrlPts[k - p + i];
    }
    for (size_t r = 1; r <= p; ++r) {
        for (size_t i = p; i >= r; --i) {
            const size_t j = k - p + i; // control point index of work[i]
            const double num = u - knots[j];
            const double den = knots[j + p + 1 - r] - knots[j];
            double alpha = 0.0;
            if (std::abs(den) >= kAlphaTolerance ||
                (std::abs(num) >= kAlphaTolerance && den != 0.0)) {
                alpha = num / den;
            }
            work[i].x = (1.0 - alpha) * work[i - 1].x + alpha * work[i].x;
            work[i].y = (1.0 - alpha) * work[i - 1].y + alpha * work[i].y;
        }
    }
    return {work[p].x, work[p].y, 0.0, 0.0};
}

std::vector<double> NormalizedKnots(const DxfSpline& spline) {
    std::vector<double> knots(spline.knots.begin(), spline.knots.end());
    const double a = knots[static_cast<size_t>(spline.degree)];
    const double b = knots[spline.ctrlPts.size()];
    if (a != 0.0 || b != 1.0) {
        for (double& t : knots) {
            t = (t - a) / (b - a);
        }
    }
    return knots;
}

std::vector<double> UniqueKnots(std::span<const double> knots, int degree, size_t pointCount) {
    const double first = knots[static_cast<size_t>(degree)];
    const double last = knots[pointCount];
    std::vector<double> unique;
    for (const double t : knots) {
        if (t < first || t > last) {
            continue;
        }
        if (unique.empty() || t != unique.back()) {
            unique.push_back(t);
        }
    }
    return unique;
}

std::vector<double> RefinedParameters(std::span<const double> unique) {
    std::vector<double> refined;
    refined.reserve(2 * unique.size());
    for (size_t j = 0; j + 1 < unique.size(); ++j) {
        refined.push_back(unique[j]);
        refined.push_back((unique[j] + unique[j + 1]) / 2.0);
    }
    refined.push_back(1.0);
    return refined;
}

} // namespace korvel::geometry
