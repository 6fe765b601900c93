#include "program/BentStrip.h"

#include "program/CurvatureLookup.h"

#include <algorithm>
#include <cmath>

namespace korvel::program {

using geometry::Point2;

namespace {

constexpr double kDegree = geometry::kPi / 180.0;
// Neighbouring taps of one arc: at most this many spacings apart, radii
// within this factor of each other.
constexpr double kTapNeighbourSpacings = 1.5;
constexpr double kTapRadiusFactor = 1.5;
// Arc steps of the polyline.
constexpr double kMaxStepAngle = 1.0 * kDegree;
constexpr double kMaxStepLength = 5.0;
// A polyline never holds more steps than this, whatever strip a broken
// program claims to have fed.
constexpr double kMaxSteps = 200000.0;
// Positions closer than this are one position.
constexpr double kSamePosition = 1e-9;

double curvatureOf(const StripStrike& s, const machine::ParameterTables& tables) {
    return CurvatureForBend(tables, s.angle);
}

bool tapNeighbours(const StripStrike& a, double ka, const StripStrike& b, double kb,
                   double spacing) {
    if (ka * kb <= 0 || spacing <= 0) {
        return false;
    }
    const double ratio = ka / kb;
    return std::abs(b.at - a.at) <= kTapNeighbourSpacings * spacing + kSamePosition &&
           ratio <= kTapRadiusFactor && ratio >= 1.0 / kTapRadiusFactor;
}

} // namespace

std::vector<StripKink> KinksOfStrikes(const std::vector<StripStrike>& strikes,
                                      const machine::ParameterTables& tables) {
    std::vector<double> curvature(strikes.size());
    for (std::size_t i = 0; i < strikes.size(); ++i) {
        curvature[i] = curvatureOf(strikes[i], tables);
    }
    std::vector<StripKink> kinks;
    kinks.reserve(strikes.size());
    for (std::size_t i = 0; i < strikes.size(); ++i) {
        const double k = curvature[i];
        const double spacing = k != 0 ? TapSpacingFor(tables, 1.0 / std::abs(k)) : 0.0;
        const bool tap =
            (i > 0 && tapNeighbours(strikes[i], k, strikes[i - 1], curvature[i - 1], spacing)) ||
            (i + 1 < strikes.size() &&
             tapNeighbours(strikes[i], k, strikes[i + 1], curvature[i + 1], spacing));
        kinks.push_back({strikes[i].at, tap ? spacing * k : strikes[i].angle * kDegree});
    }
    return kinks;
}

BentStrip::BentStrip(const StripActions& actions, const machine::ParameterTables& tables) {
    std::vector<StripKink> kinks = KinksOfStrikes(actions.strikes, tables);
    for (const auto& slot : actions.slots) {
        kinks.push_back({slot.at, slot.fold * kDegree});
    }
    std::stable_sort(kinks.begin(), kinks.end(),
                     [](const StripKink& a, const StripKink& b) { return a.at < b.at; });
    // Every place where the strip changes: kinks, curvature changes, the
    // slots and both ends.
    std::vector<double> breaks{0.0, actions.fed};
    for (const auto& s : actions.spans) {
        breaks.push_back(s.at);
    }
    for (const auto& k : kinks) {
        breaks.push_back(k.at);
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end(),
                             [](double a, double b) { return b - a < kSamePosition; }),
                 breaks.end());

    std::size_t span = 0;
    std::size_t kink = 0;
    const auto& spans = actions.spans;
    Node node{breaks.front(), {0.0, 0.0}, 0.0, 0.0};
    for (std::size_t i = 0; i < breaks.size(); ++i) {
        const double u = breaks[i];
        if (i > 0) {
            const Node& prev = m_nodes.back();
            node.p = advance(prev, u - prev.at);
            node.heading = headingAfter(prev, u - prev.at);
            node.at = u;
        }
        while (kink < kinks.size() && kinks[kink].at < u + kSamePosition) {
            node.heading += kinks[kink].turn;
            ++kink;
        }
        while (span < spans.size() && spans[span].at < u + kSamePosition) {
            ++span;
        }
        node.curvature = span > 0 ? spans[span - 1].curvature : 0.0;
        m_nodes.push_back(node);
    }
}

Point2 BentStrip::advance(const Node& n, double distance) {
    const double k = n.curvature;
    if (std::abs(k * distance) < 1e-12) {
        return {n.p.x + distance * std::cos(n.heading), n.p.y + distance * std::sin(n.heading)};
    }
    const double h = n.heading + k * distance;
    return {n.p.x + (std::sin(h) - std::sin(n.heading)) / k,
            n.p.y - (std::cos(h) - std::cos(n.heading)) / k};
}

std::size_t BentStrip::nodeBefore(double u) const {
    const auto it = std::upper_bound(m_nodes.begin(), m_nodes.end(), u,
                                     [](double v, const Node& n) { return v < n.at; });
    return it == m_nodes.begin() ? 0 : static_cast<std::size_t>(it - m_nodes.begin()) - 1;
}

Point2 BentStrip::at(double u) const {
    u = std::clamp(u, begin(), end());
    const Node& n = m_nodes[nodeBefore(u)];
    return advance(n, u - n.at);
}

std::vector<Point2> BentStrip::polyline(double u0, double u1) const {
    u0 = std::clamp(u0, begin(), end());
    u1 = std::clamp(u1, begin(), end());
    std::vector<Point2> points{at(u0)};
    const double maxStep = std::max(kMaxStepLength, (u1 - u0) / kMaxSteps);
    for (std::size_t i = nodeBefore(u0); i < m_nodes.size() && m_nodes[i].at < u1; ++i) {
        const Node& n = m_nodes[i];
        const double from = std::max(n.at, u0);
        const double to = i + 1 < m_nodes.size() ? std::min(m_nodes[i + 1].at, u1) : u1;
        const double length = to - from;
        if (length <= 0) {
            continue;
        }
        int steps = 1;
        if (n.curvature != 0) {
            steps = static_cast<int>(std::ceil(
                std::max(std::abs(n.curvature) * length / kMaxStepAngle, length / maxStep)));
        }
        for (int s = 1; s <= steps; ++s) {
            points.push_back(advance(n, from - n.at + length * s / steps));
        }
    }
    return points;
}

} // namespace korvel::program
