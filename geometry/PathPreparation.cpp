#include "geometry/PathPreparation.h"

#include "geometry/ContourOffset.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PlaneGeometry.h"

#include <cmath>

namespace korvel::geometry {

namespace {

double distance(const PathRecord& a, const PathRecord& b) {
    return Distance({a.x, a.y}, {b.x, b.y});
}

void markSuppressed(PathRecords& r, std::size_t corner) {
    r[corner].type = kSuppressed;
    if (corner > 0 && !r[corner - 1].isBlockLine()) {
        r[corner - 1].type = kSuppressed;
    }
    if (corner + 1 < r.size() && !r[corner + 1].isBlockLine()) {
        r[corner + 1].type = kSuppressed;
    }
}

// Walks from corner c in direction `step` until a corner at least `value`
// away, the scan limit or either end of the path. Block lines are passed
// over like any other record that is not a corner.
void scanFrom(PathRecords& r, std::size_t c, int step, double value) {
    for (std::size_t walked = 1; walked <= kCloseCornerScan; ++walked) {
        const long j = static_cast<long>(c) + step * static_cast<long>(walked);
        if (j < 0 || j >= static_cast<long>(r.size())) {
            return;
        }
        const auto idx = static_cast<std::size_t>(j);
        if (r[idx].type != kCornerPoint) {
            continue;
        }
        if (distance(r[c], r[idx]) >= value) {
            return;
        }
        markSuppressed(r, idx);
    }
}

} // namespace

bool CornerIsShortened(double turnAngle) {
    return turnAngle > 0.1 && turnAngle < 179.9;
}

double CornerHalfAngle(double turnAngle) {
    return (180.0 - std::fabs(turnAngle)) / 2.0;
}

double CornerShortening(double turnAngle, double cutterRadius, double compFactor) {
    if (!CornerIsShortened(turnAngle)) {
        return 0.0;
    }
    const double beta = CornerHalfAngle(turnAngle);
    const double r = cutterRadius;
    return compFactor * (r / std::tan(beta * kPi / 180.0) - (90.0 - beta) * r * kPi / 180.0);
}

double CornerValue(double turnAngle, const PathParameters& params) {
    double value =
        CornerShortening(turnAngle, params.EngraveCutterRadius, params.CutterRadiusCompFactor);
    if (params.ContourOffset != 0.0 && CornerIsShortened(turnAngle)) {
        value += params.ContourOffset / std::tan(CornerHalfAngle(turnAngle) * kPi / 180.0);
    }
    return value;
}

void SuppressCloseCorners(PathRecords& records, const PathParameters& params) {
    for (std::size_t c = 0; c < records.size(); ++c) {
        if (records[c].type != kCornerPoint || !CornerIsShortened(records[c].b)) {
            continue;
        }
        const double value = CornerValue(records[c].b, params);
        scanFrom(records, c, +1, value);
        scanFrom(records, c, -1, value);
    }
}

PathRecords CompactPath(const PathRecords& records) {
    PathRecords kept;
    kept.reserve(records.size());
    for (const auto& r : records) {
        if (r.type != kSuppressed) {
            kept.push_back(r);
        }
    }
    return kept;
}

PathRecords PreparePathRecords(PathRecords records, const PathParameters& params) {
    SuppressCloseCorners(records, params);
    PathRecords path = CompactPath(records);
    ApplyContourOffset(path, params.ContourOffset);
    return path;
}

bool PreparePath(const common::AppDir& dir, const PathParameters& params) {
    PathRecords control = ReadPathFile(dir.file(kControlFile));
    if (control.empty()) {
        return false;
    }
    WritePathFile(dir.file(kPathFile), PreparePathRecords(std::move(control), params));
    return true;
}

} // namespace korvel::geometry
