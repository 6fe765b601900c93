#pragma once
// The passes that clean the display point file after every import, and the
// Y mirror. Each works on the lines in memory; the *File variants rewrite
// PointForDisplay.dat through PointForDisplay0.dat (write the new file,
// delete the old one, rename), so a failure leaves the old file as it was.

#include "common/AppDir.h"
#include "common/TextFile.h"
#include "geometry/DisplayLineSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace korvel::geometry {

// The duplicate pass compares every line with all earlier ones; it holds at
// most this many lines. Larger files are refused, never cut.
inline constexpr std::size_t kMaxDuplicatePassLines = 32001;

// The thinning pass below, one line at a time: the lines it keeps are
// handed on to `next` as soon as they are known to stay.
class DisplayThinner : public DisplayLineSink {
public:
    explicit DisplayThinner(DisplayLineSink& next) : m_next(next) {}
    void line(std::string_view text) override;
    // Hands on the point still held back; call after the last line.
    void finish();

    struct Point {
        double x = 0.0;
        double y = 0.0;
        bool node = false;
    };

private:
    void flushPending();

    DisplayLineSink& m_next;
    Point m_first, m_last, m_anchor;
    // L counts as set from the first point of an outline on; a separate flag
    // keeps a point lying exactly at the origin from restarting the outline.
    bool m_lastSet = false;
    // The pending line: held back until a later point shows whether the
    // straight run goes on past it.
    std::string m_pending;
    bool m_hasPending = false;
    Point m_pendingPoint;
};

// The cleaned display point file and what it holds.
struct CleanDisplay {
    std::string text;         // every line ended by CR LF, "SPLINE END" last
    int outlines = 0;         // outline headers
    long long pointLines = 0; // point lines, nodes included
    long long nodes = 0;
};

// The duplicate pass below, one line at a time: keeps the first of equal
// lines as the text of the display file. Beyond kMaxDuplicatePassLines
// lines it only counts them, and finish() refuses the drawing.
class DisplayDeduplicator : public DisplayLineSink {
public:
    DisplayDeduplicator();
    DisplayDeduplicator(const DisplayDeduplicator&) = delete;
    DisplayDeduplicator& operator=(const DisplayDeduplicator&) = delete;

    void line(std::string_view text) override;
    // Throws UserError for more than kMaxDuplicatePassLines lines.
    CleanDisplay finish();

private:
    std::string_view keptLine(std::uint32_t index) const;

    // The set holds indices of kept lines and compares their text.
    struct LineHash {
        const DisplayDeduplicator* owner;
        std::size_t operator()(std::uint32_t i) const {
            return std::hash<std::string_view>{}(owner->keptLine(i));
        }
    };
    struct LineEqual {
        const DisplayDeduplicator* owner;
        bool operator()(std::uint32_t a, std::uint32_t b) const {
            return owner->keptLine(a) == owner->keptLine(b);
        }
    };

    std::string m_text;
    std::vector<std::uint32_t> m_starts; // offset of each kept line in m_text
    std::unordered_set<std::uint32_t, LineHash, LineEqual> m_seen;
    std::size_t m_count = 0; // lines that came in
    CleanDisplay m_clean;
};

// Thinning, then the duplicate pass: the cleaning every import ends with,
// done while the reader hands over its lines, so the unthinned drawing is
// never held or written.
class DisplayCleaner : public DisplayLineSink {
public:
    DisplayCleaner() : m_thinner(m_unique) {}
    void line(std::string_view text) override { m_thinner.line(text); }
    // Throws UserError when the thinned drawing is too large for the file.
    CleanDisplay finish();

private:
    DisplayDeduplicator m_unique;
    DisplayThinner m_thinner;
};

// The same passes over lines already read.
CleanDisplay CleanDisplayLines(const common::Lines& lines);

// Drops every line that is exactly equal to an earlier one (the closing
// point of a contour, and textually equal lines of different outlines).
// Throws UserError for more than kMaxDuplicatePassLines lines.
common::Lines RemoveDuplicateLines(const common::Lines& lines);

// Thins straight runs: from each written point only the last point that is
// still on the straight line and less than 5 mm away is kept; nodes and
// outline headers are always kept. A point held back on a curve is written
// before a node it does not lie in line with, and the last point of an
// outline is always written, so an outline keeps its shape and its end.
common::Lines ThinDisplayPoints(const common::Lines& lines);

// Every point (x, y) becomes (x, -y) with six decimals; node marks,
// headers and the end line stay.
common::Lines MirrorDisplayPoints(const common::Lines& lines);

void RemoveDuplicateLinesFile(const common::AppDir& dir);
void ThinDisplayPointsFile(const common::AppDir& dir);
void MirrorDisplayPointsFile(const common::AppDir& dir);

// Writes lines as the new display point file through PointForDisplay0.dat.
void RewriteDisplayFile(const common::AppDir& dir, const common::Lines& lines);
// The same for the text of the file.
void RewriteDisplayText(const common::AppDir& dir, std::string_view text);

} // namespace korvel::geometry
