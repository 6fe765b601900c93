#pragma once
// The sampled interpolation of a merged feed-and-bend path. The strip feed
// X drives the motion: it ramps up with a per-sample step growing by d
// pulses each 20 ms sample, cruises from path point to path point, and ramps
// down symmetrically to land exactly on the last point. The bending arm Y
// follows the path linearly in X, but never steps more than 0.8 times the X
// step of a sample, so the arm cannot outrun the strip it is bending.
//
// Queue speeds are in the card's interpolation unit: twice the long axis's
// pulses per second (a 20 ms sample of s pulses is queued at s x 100).

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace korvel::machine {

using PathPoint = std::pair<std::int32_t, std::int32_t>; // X pulses, Y pulses

// Length of one interpolation sample in seconds.
inline constexpr double kSampleSeconds = 0.02;
// Largest Y step of a sample relative to its X step.
inline constexpr double kMaxYStepRatio = 0.8;

struct PathSample {
    std::int32_t dx;    // relative X pulses
    std::int32_t dy;    // relative Y pulses
    std::int32_t speed; // queue speed
    std::int32_t x;     // X target after the sample
    std::int32_t y;     // Y target after the sample
    bool operator==(const PathSample&) const = default;
};

struct SampleProfile {
    std::int64_t stepIncrease = 0; // d: growth of the per-sample X step
    std::int64_t rampSamples = 0;  // n
    std::int64_t rampLength = 0;   // pulses covered by one ramp
    double cruiseSpeed = 0.0;      // pulses per second
};

// The ramp of a path covering `distance` X pulses at `speedPulses` pulses
// per second with the card acceleration parameter `accel`.
SampleProfile sampleProfile(std::int64_t distance, std::int64_t speedPulses, double accel);

// Samples from points[0] to points.back(). Zero-length samples are left
// out: the path ends at the same place without them.
std::vector<PathSample> SamplePath(std::span<const PathPoint> points, std::int64_t speedPulses,
                                   double accel);

} // namespace korvel::machine
