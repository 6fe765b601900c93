#include "geometry/OutlineChaining.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <optional>

namespace korvel::geometry {

namespace {

Point2 startOf(const Contour& c) {
    return c.pieces.front().start;
}
Point2 endOf(const Contour& c) {
    return c.pieces.back().end;
}

// The piece ends on a grid of cells one tolerance wide: all ends within the
// tolerance of a point lie in its cell or the eight around it. The ends are
// kept sorted by cell, so a cell's ends are found by a binary search.
class EndGrid {
public:
    explicit EndGrid(double cell) : m_cell(cell) {}

    // `id` is 2 * piece + 0 for its start, + 1 for its end.
    void add(Point2 p, std::uint32_t id) { m_ends.push_back({key(cellOf(p.x), cellOf(p.y)), id}); }
    void sort() { std::sort(m_ends.begin(), m_ends.end()); }

    // The end within `tolerance` of `p` of the earliest piece not yet used;
    // of one piece, its start before its end.
    template <class Used, class EndPoint>
    std::optional<std::uint32_t> nearest(Point2 p, double tolerance, const Used& used,
                                         const EndPoint& endPoint) const {
        std::optional<std::uint32_t> best;
        const std::int64_t cx = cellOf(p.x);
        const std::int64_t cy = cellOf(p.y);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const std::uint64_t k = key(cx + dx, cy + dy);
                auto it = std::lower_bound(m_ends.begin(), m_ends.end(), End{k, 0});
                for (; it != m_ends.end() && it->key == k; ++it) {
                    const std::uint32_t id = it->id;
                    if ((best && id >= *best) || used(id / 2) ||
                        Distance(endPoint(id), p) > tolerance) {
                        continue;
                    }
                    best = id;
                }
            }
        }
        return best;
    }

private:
    struct End {
        std::uint64_t key;
        std::uint32_t id;
        bool operator<(const End& other) const {
            return key != other.key ? key < other.key : id < other.id;
        }
    };

    std::int64_t cellOf(double v) const {
        return static_cast<std::int64_t>(std::floor(v / m_cell));
    }
    static std::uint64_t key(std::int64_t x, std::int64_t y) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) |
               static_cast<std::uint32_t>(y);
    }

    double m_cell;
    std::vector<End> m_ends;
};

constexpr double kMinCell = 1e-9;

class Chainer {
public:
    Chainer(std::vector<OrderedContour>& open, double tolerance)
        : m_open(open), m_tolerance(tolerance), m_grid(std::max(tolerance, kMinCell)),
          m_used(open.size(), false) {
        // A drawing file is at most a few ten megabytes: its pieces number
        // far fewer than 2^31, so 2 * piece + end fits the 32-bit ids.
        for (std::uint32_t i = 0; i < m_open.size(); ++i) {
            m_grid.add(startOf(m_open[i].contour), 2 * i);
            m_grid.add(endOf(m_open[i].contour), 2 * i + 1);
        }
        m_grid.sort();
    }

    // The chain that starts with piece `seed` (not yet used).
    OrderedContour chainFrom(std::uint32_t seed) {
        m_used[seed] = true;
        std::deque<ContourPiece> chain(m_open[seed].contour.pieces.begin(),
                                       m_open[seed].contour.pieces.end());
        bool closed = meets(chain);
        while (!closed) {
            const auto next = nextAt(chain.back().end);
            if (!next) {
                break;
            }
            const Contour& piece = take(*next);
            if (*next % 2 == 0) {
                chain.insert(chain.end(), piece.pieces.begin(), piece.pieces.end());
            } else {
                for (auto it = piece.pieces.rbegin(); it != piece.pieces.rend(); ++it) {
                    chain.push_back(it->reversed());
                }
            }
            closed = meets(chain);
        }
        while (!closed) {
            const auto next = nextAt(chain.front().start);
            if (!next) {
                break;
            }
            const Contour& piece = take(*next);
            if (*next % 2 == 1) {
                chain.insert(chain.begin(), piece.pieces.begin(), piece.pieces.end());
            } else {
                for (const auto& p : piece.pieces) {
                    chain.push_front(p.reversed());
                }
            }
            closed = meets(chain);
        }
        OrderedContour out;
        out.order = m_open[seed].order;
        out.contour.pieces.assign(chain.begin(), chain.end());
        out.contour.closed = closed;
        return out;
    }

    bool used(std::uint32_t i) const { return m_used[i]; }

private:
    bool meets(const std::deque<ContourPiece>& chain) const {
        return Distance(chain.front().start, chain.back().end) <= m_tolerance;
    }

    std::optional<std::uint32_t> nextAt(Point2 p) const {
        return m_grid.nearest(
            p, m_tolerance, [this](std::uint32_t piece) { return m_used[piece]; },
            [this](std::uint32_t id) {
                const Contour& c = m_open[id / 2].contour;
                return id % 2 == 0 ? startOf(c) : endOf(c);
            });
    }

    const Contour& take(std::uint32_t id) {
        m_used[id / 2] = true;
        return m_open[id / 2].contour;
    }

    std::vector<OrderedContour>& m_open;
    double m_tolerance;
    EndGrid m_grid;
    std::vector<bool> m_used;
};

} // namespace

std::vector<OrderedContour> ChainOutlines(std::vector<OrderedContour> pieces, double tolerance) {
    std::stable_sort(
        pieces.begin(), pieces.end(),
        [](const OrderedContour& a, const OrderedContour& b) { return a.order < b.order; });
    std::vector<OrderedContour> outlines;
    std::vector<OrderedContour> open;
    for (auto& piece : pieces) {
        if (piece.contour.pieces.empty()) {
            continue;
        }
        if (piece.contour.closed) {
            outlines.push_back(std::move(piece));
        } else {
            open.push_back(std::move(piece));
        }
    }
    Chainer chainer(open, tolerance);
    for (std::uint32_t i = 0; i < open.size(); ++i) {
        if (!chainer.used(i)) {
            outlines.push_back(chainer.chainFrom(i));
        }
    }
    std::stable_sort(
        outlines.begin(), outlines.end(),
        [](const OrderedContour& a, const OrderedContour& b) { return a.order < b.order; });
    return outlines;
}

} // namespace korvel::geometry
