#include "program/BendPreview.h"

#include "common/Basic.h"
#include "program/BentStrip.h"
#include "program/StripReplay.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel::program {

using geometry::Point2;

namespace {

// Path points closer than this are one point; a piece whose ends are this
// close is closed.
constexpr double kSamePoint = 0.01;

struct PathPiece {
    std::vector<Point2> points;
    double length = 0; // strip the piece needs: its segments and their extras
};

// The pieces of the machining path: the points of each block in order,
// and the strip each one takes as the generator feeds it.
std::vector<PathPiece> pathPieces(const geometry::PathRecords& path) {
    std::vector<PathPiece> pieces;
    PathPiece* piece = nullptr;
    for (const auto& rec : path) {
        if (rec.isHeader()) {
            pieces.emplace_back();
            piece = &pieces.back();
            continue;
        }
        if (rec.isBlockLine() || piece == nullptr || rec.type == geometry::kSuppressed) {
            continue;
        }
        const Point2 p{rec.x, rec.y};
        const bool feeds = rec.type == geometry::kContourPoint || rec.type == geometry::kPlainPoint;
        if (!piece->points.empty()) {
            const double d = geometry::Distance(piece->points.back(), p);
            piece->length += d + (feeds && d > 0 ? rec.c : 0.0);
            if (d < kSamePoint) {
                continue;
            }
        }
        piece->points.push_back(p);
    }
    std::erase_if(pieces, [](const PathPiece& p) { return p.points.size() < 2; });
    return pieces;
}

// Nearest distance from points to a polyline, through a grid of its
// segments, so that long letters stay fast.
class SegmentGrid {
public:
    explicit SegmentGrid(const std::vector<Point2>& line) : m_line(line) {
        double x1 = line[0].x, y1 = line[0].y, x2 = x1, y2 = y1;
        for (const auto& p : line) {
            x1 = std::min(x1, p.x);
            y1 = std::min(y1, p.y);
            x2 = std::max(x2, p.x);
            y2 = std::max(y2, p.y);
        }
        m_cell = std::max({2.0, (x2 - x1) / 128, (y2 - y1) / 128});
        m_x0 = x1;
        m_y0 = y1;
        m_nx = static_cast<int>((x2 - x1) / m_cell) + 1;
        m_ny = static_cast<int>((y2 - y1) / m_cell) + 1;
        m_cells.resize(static_cast<std::size_t>(m_nx) * static_cast<std::size_t>(m_ny));
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            const int cx1 = cellX(std::min(line[i].x, line[i + 1].x));
            const int cx2 = cellX(std::max(line[i].x, line[i + 1].x));
            const int cy1 = cellY(std::min(line[i].y, line[i + 1].y));
            const int cy2 = cellY(std::max(line[i].y, line[i + 1].y));
            for (int cx = cx1; cx <= cx2; ++cx) {
                for (int cy = cy1; cy <= cy2; ++cy) {
                    m_cells[index(cx, cy)].push_back(i);
                }
            }
        }
    }

    double distance(Point2 p) const {
        const int cx = cellX(p.x);
        const int cy = cellY(p.y);
        // Cells outside the grid hold nothing: start at the ring that
        // reaches the grid.
        const int outside = std::max({0, -cx, cx - (m_nx - 1), -cy, cy - (m_ny - 1)});
        double best = std::numeric_limits<double>::infinity();
        const int rings = std::max(m_nx, m_ny) + outside;
        for (int r = outside; r <= rings; ++r) {
            if ((r - 1) * m_cell > best) {
                break;
            }
            forRing(cx, cy, r, [&](int x, int y) {
                for (std::size_t s : m_cells[index(x, y)]) {
                    best = std::min(best, segmentDistance(p, m_line[s], m_line[s + 1]));
                }
            });
        }
        return best;
    }

private:
    // Calls f for every cell of the grid at Chebyshev distance r from
    // (cx, cy).
    template <typename F> void forRing(int cx, int cy, int r, F f) const {
        const auto visit = [&](int x, int y) {
            if (x >= 0 && y >= 0 && x < m_nx && y < m_ny) {
                f(x, y);
            }
        };
        if (r == 0) {
            visit(cx, cy);
            return;
        }
        for (int x = cx - r; x <= cx + r; ++x) {
            visit(x, cy - r);
            visit(x, cy + r);
        }
        for (int y = cy - r + 1; y <= cy + r - 1; ++y) {
            visit(cx - r, y);
            visit(cx + r, y);
        }
    }
    int cellX(double x) const { return static_cast<int>(std::floor((x - m_x0) / m_cell)); }
    int cellY(double y) const { return static_cast<int>(std::floor((y - m_y0) / m_cell)); }
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nx) +
               static_cast<std::size_t>(x);
    }
    static double segmentDistance(Point2 p, Point2 a, Point2 b) {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return geometry::Distance(p, {a.x + t * dx, a.y + t * dy});
    }

    const std::vector<Point2>& m_line;
    double m_cell = 1;
    double m_x0 = 0;
    double m_y0 = 0;
    int m_nx = 1;
    int m_ny = 1;
    std::vector<std::vector<std::size_t>> m_cells;
};

// Rotation and shift that lay the strip on the path.
struct Placement {
    Point2 origin; // strip point that goes to `target`
    Point2 target;
    double cosA = 1;
    double sinA = 0;

    Point2 operator()(Point2 p) const {
        const double x = p.x - origin.x;
        const double y = p.y - origin.y;
        return {target.x + cosA * x - sinA * y, target.y + sinA * x + cosA * y};
    }
};

Placement place(const BentStrip& strip, double start, const PathPiece& piece) {
    const Point2 a = piece.points[0];
    const Point2 b = piece.points[1];
    const Point2 s0 = strip.at(start);
    const Point2 s1 = strip.at(start + geometry::Distance(a, b));
    const double angle = std::atan2(b.y - a.y, b.x - a.x) - std::atan2(s1.y - s0.y, s1.x - s0.x);
    return {s0, a, std::cos(angle), std::sin(angle)};
}

// Index of the slot after `from` nearest to `target`.
std::size_t nearestSlot(const std::vector<double>& slots, std::size_t from, double target) {
    std::size_t best = from + 1;
    for (std::size_t j = from + 1; j < slots.size(); ++j) {
        if (std::abs(slots[j] - target) < std::abs(slots[best] - target)) {
            best = j;
        }
        if (slots[j] > target) {
            break;
        }
    }
    return best;
}

PiecePreview previewPiece(const BentStrip& strip, const std::vector<double>& slots,
                          std::size_t first, std::size_t last, const PathPiece& piece) {
    PiecePreview out;
    const double start = slots[first];
    const double end = slots[last];
    const Placement placement = place(strip, start, piece);
    for (const Point2& p : strip.polyline(start, end)) {
        out.strip.push_back(placement(p));
    }
    for (std::size_t i = first; i <= last; ++i) {
        out.slotPoints.push_back(placement(strip.at(slots[i])));
    }
    const Point2 front = piece.points.front();
    const Point2 back = piece.points.back();
    out.closed = geometry::Distance(front, back) < kSamePoint;
    out.closure = geometry::Distance(out.strip.back(), out.closed ? front : back);
    out.lengthDifference = (end - start) - piece.length;
    const SegmentGrid grid(piece.points);
    for (const Point2& p : out.strip) {
        out.deviation = std::max(out.deviation, grid.distance(p));
    }
    return out;
}

} // namespace

BendPreview MakeBendPreview(const common::Lines& program, const geometry::PathRecords& path,
                            const machine::ParameterSet& params,
                            const machine::ParameterTables& tables) {
    BendPreview preview;
    const std::vector<PathPiece> pieces = pathPieces(path);
    for (const auto& p : pieces) {
        preview.path.push_back(p.points);
    }
    const StripActions actions = ReplayStrip(program, params, tables);
    std::vector<double> slots;
    for (const auto& slot : actions.slots) {
        slots.push_back(slot.at);
    }
    if (pieces.empty() || slots.size() < 2) {
        return preview;
    }
    const BentStrip strip(actions, tables);
    std::size_t first = 0;
    for (std::size_t n = 0; first + 1 < slots.size(); ++n) {
        const PathPiece& piece = pieces[n % pieces.size()];
        const std::size_t last = nearestSlot(slots, first, slots[first] + piece.length);
        PiecePreview result = previewPiece(strip, slots, first, last, piece);
        result.number = static_cast<int>(n) + 1;
        preview.pieces.push_back(std::move(result));
        first = last + 1;
    }
    return preview;
}

std::string FormatPiecePreview(const PiecePreview& piece) {
    return "piece " + std::to_string(piece.number) + " closure " +
           common::FormatNumber(piece.closure, "0.00") + " mm deviation " +
           common::FormatNumber(piece.deviation, "0.00") + " mm length " +
           common::FormatNumber(piece.lengthDifference, "0.00") + " mm";
}

} // namespace korvel::program
