#include "geometry/ContourOffset.h"

#include "geometry/PlaneGeometry.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

namespace korvel::geometry {

namespace {

// Closer than this the points of a block count as one position.
constexpr double kSamePosition = 1e-6;
// A closed contour's last point repeats its first within this.
constexpr double kClosedTolerance = 0.001;

Point2 at(const PathRecords& r, std::size_t i) {
    return {r[i].x, r[i].y};
}

// The nearest point of the block, stepping by `step` from position q of
// `block`, that lies elsewhere than `p`; wraps round a closed block.
std::optional<Point2> distinctNeighbour(const PathRecords& r, const std::vector<std::size_t>& block,
                                        std::size_t q, int step, bool closed) {
    const Point2 p = at(r, block[q]);
    const auto n = static_cast<long>(block.size());
    long j = static_cast<long>(q);
    for (long walked = 1; walked < n; ++walked) {
        j += step;
        if (j < 0 || j >= n) {
            if (!closed) {
                return std::nullopt;
            }
            j = j < 0 ? n - 1 : 0;
        }
        const Point2 o = at(r, block[static_cast<std::size_t>(j)]);
        if (Distance(p, o) > kSamePosition) {
            return o;
        }
    }
    return std::nullopt;
}

Point2 mitredPoint(Point2 p, Point2 prev, Point2 next, double offset) {
    double a1 = SegmentAngle(p, prev);
    double a2 = SegmentAngle(p, next);
    if (a1 > 180.0) {
        a1 -= 360.0;
    }
    if (a2 < a1) {
        a2 += 360.0;
    }
    double phi = (a1 + a2) / 2.0;
    if (offset < 0.0) {
        phi += 180.0;
    }
    while (phi > 180.0) {
        phi -= 360.0;
    }
    const double s = std::fabs(std::sin(std::fabs(a2 - phi) * kPi / 180.0));
    // A path that doubles back on itself has no mitre; move by |T|.
    const double d = s < 1e-12 ? std::fabs(offset) : std::fabs(offset / s);
    const double rad = phi * kPi / 180.0;
    return {p.x + d * std::cos(rad), p.y + d * std::sin(rad)};
}

void offsetBlock(PathRecords& r, const std::vector<std::size_t>& block, double offset) {
    if (block.size() < 2) {
        return;
    }
    const bool closed = Distance(at(r, block.front()), at(r, block.back())) <= kClosedTolerance;
    std::vector<Point2> moved(block.size());
    for (std::size_t q = 0; q < block.size(); ++q) {
        const Point2 p = at(r, block[q]);
        auto prev = distinctNeighbour(r, block, q, -1, closed);
        auto next = distinctNeighbour(r, block, q, +1, closed);
        if (!prev && !next) {
            moved[q] = p;
            continue;
        }
        // An open end continues its single segment straight on.
        if (!prev) {
            prev = Point2{2.0 * p.x - next->x, 2.0 * p.y - next->y};
        }
        if (!next) {
            next = Point2{2.0 * p.x - prev->x, 2.0 * p.y - prev->y};
        }
        moved[q] = mitredPoint(p, *prev, *next, offset);
    }
    for (std::size_t q = 0; q < block.size(); ++q) {
        r[block[q]].x = moved[q].x;
        r[block[q]].y = moved[q].y;
    }
}

} // namespace

void ApplyContourOffset(PathRecords& records, double offset) {
    if (offset == 0.0) {
        return;
    }
    std::vector<std::size_t> block;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].isBlockLine()) {
            offsetBlock(records, block, offset);
            block.clear();
        } else {
            block.push_back(i);
        }
    }
    offsetBlock(records, block, offset);
}

} // namespace korvel::geometry
