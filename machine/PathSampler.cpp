#include "machine/PathSampler.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"

#include <algorithm>
#include <cmath>

namespace korvel::machine {

namespace {

// Writes the samples of one path, keeping the position the arm and the
// strip have reached and the path segment that position lies on.
class SampleWriter {
public:
    SampleWriter(std::span<const PathPoint> points, std::vector<PathSample>& out)
        : m_points(points), m_out(out), m_x(points.front().first), m_y(points.front().second),
          m_direction(points.back().first > points.front().first ? 1 : -1) {}

    int direction() const { return m_direction; }
    std::int64_t x() const { return m_x; }

    // Y of the path at X `tx`, linear on the segment that contains it.
    std::int64_t pathY(std::int64_t tx) {
        const size_t last = m_points.size() - 1;
        while (m_segment + 1 < last &&
               m_direction * (tx - static_cast<std::int64_t>(m_points[m_segment + 1].first)) > 0) {
            ++m_segment;
        }
        const PathPoint& a = m_points[m_segment];
        const PathPoint& b = m_points[m_segment + 1];
        if (b.first == a.first) {
            return b.second;
        }
        const double share =
            static_cast<double>(tx - a.first) / static_cast<double>(b.first - a.first);
        return static_cast<std::int64_t>(
            common::RoundHalfEven(a.second + (static_cast<double>(b.second) - a.second) * share));
    }

    // One sample to (tx, ty); the Y step is cut to 0.8 times the X step.
    void emit(std::int64_t tx, std::int64_t ty, double speed) {
        const std::int64_t dx = tx - m_x;
        std::int64_t dy = ty - m_y;
        const auto limit = static_cast<std::int64_t>(
            common::Fix(kMaxYStepRatio * static_cast<double>(std::llabs(dx))));
        if (std::llabs(dy) > limit) {
            dy = dy > 0 ? limit : -limit;
        }
        if (dx == 0 && dy == 0) {
            return;
        }
        m_x = tx;
        m_y += dy;
        m_out.push_back({SaturatePulses(dx), SaturatePulses(dy),
                         SaturatePulses(std::llround(speed)), SaturatePulses(m_x),
                         SaturatePulses(m_y)});
    }

private:
    std::span<const PathPoint> m_points;
    std::vector<PathSample>& m_out;
    std::int64_t m_x;
    std::int64_t m_y;
    int m_direction;
    size_t m_segment = 0;
};

} // namespace

SampleProfile sampleProfile(std::int64_t distance, std::int64_t speedPulses, double accel) {
    SampleProfile profile;
    const double d =
        common::RoundHalfEven(accel * 10000.0 * kCardAccelUnit * kSampleSeconds * kSampleSeconds);
    // A vanishing acceleration still ramps by one pulse per sample, so the
    // ramp always ends.
    profile.stepIncrease =
        std::isfinite(d) && d >= 1.0 ? static_cast<std::int64_t>(std::min(d, 1e12)) : 1;
    const double wanted = std::max(0.0, static_cast<double>(speedPulses)) * kSampleSeconds /
                          static_cast<double>(profile.stepIncrease);
    const auto n = static_cast<std::int64_t>(std::min(wanted, 1e12));
    std::int64_t sum = 0;
    std::int64_t i = 1;
    for (; i <= n; ++i) {
        if (static_cast<double>(sum + profile.stepIncrease * i) >
            static_cast<double>(distance) / 2.0) {
            break;
        }
        sum += profile.stepIncrease * i;
    }
    profile.rampSamples = i - 1;
    profile.rampLength = sum;
    profile.cruiseSpeed =
        profile.rampSamples > 0
            ? static_cast<double>(profile.stepIncrease * profile.rampSamples) / kSampleSeconds
            : static_cast<double>(profile.stepIncrease) / kSampleSeconds;
    return profile;
}

std::vector<PathSample> SamplePath(std::span<const PathPoint> points, std::int64_t speedPulses,
                                   double accel) {
    std::vector<PathSample> samples;
    if (points.size() < 2) {
        return samples;
    }
    const PathPoint& first = points.front();
    const PathPoint& last = points.back();
    const std::int64_t distance =
        std::llabs(static_cast<long long>(last.first) - static_cast<long long>(first.first));
    const SampleProfile p = sampleProfile(distance, speedPulses, accel);
    const double d = static_cast<double>(p.stepIncrease);
    const double cruiseQueueSpeed = 2.0 * p.cruiseSpeed;
    SampleWriter writer(points, samples);
    const int s = writer.direction();

    // Ramp-up: the X step grows by d each sample.
    std::int64_t covered = 0;
    for (std::int64_t i = 1; i <= p.rampSamples; ++i) {
        covered += p.stepIncrease * i;
        const std::int64_t tx = first.first + s * covered;
        writer.emit(tx, writer.pathY(tx), d * static_cast<double>(i) * 100.0);
    }
    // Cruise from path point to path point while the end is farther away
    // than one ramp.
    size_t j = 1;
    while (j < points.size() && s * (points[j].first - writer.x()) <= 0) {
        ++j;
    }
    for (; j < points.size() &&
           std::llabs(static_cast<long long>(last.first) - points[j].first) > p.rampLength;
         ++j) {
        writer.pathY(points[j].first);
        writer.emit(points[j].first, points[j].second, cruiseQueueSpeed);
    }
    // Transition to the start of the ramp-down.
    const std::int64_t rampStart = last.first - s * p.rampLength;
    if (s * (rampStart - writer.x()) > 0) {
        writer.emit(rampStart, writer.pathY(rampStart), cruiseQueueSpeed);
    }
    // Ramp-down: the mirror image of the ramp-up, ending on the last point.
    for (std::int64_t i = 0; i < p.rampSamples; ++i) {
        const std::int64_t step = p.stepIncrease * (p.rampSamples - i);
        std::int64_t tx = writer.x() + s * step;
        if (s * (tx - last.first) > 0) {
            tx = last.first;
        }
        writer.emit(tx, tx == last.first ? last.second : writer.pathY(tx),
                    static_cast<double>(step) * 100.0);
    }
    if (writer.x() != last.first) {
        writer.emit(last.first, last.second, d * 100.0);
    }
    return samples;
}

} // namespace korvel::machine
