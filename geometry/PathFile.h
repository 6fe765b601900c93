#pragma once
// The machining path: the control points of the selected pieces in machining
// order, as path preparation leaves them in CtrP.dat and as the program
// generator consumes them. The control point file PointForControl.dat is
// read into the same records (its numbers have more decimals, its header
// marks are bare integers, the record is the same).

#include "common/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::geometry {

// Point types of the control point and machining path files.
inline constexpr std::int16_t kContourPoint = 0; // straight or arc point inside a block
inline constexpr std::int16_t kPlainPoint = 1;   // block end, and beside a corner or joint
inline constexpr std::int16_t kCornerPoint = 2;  // corner: b is the turn angle in degrees
inline constexpr std::int16_t kBlockLine = 3;    // "SPLINE" header or trailer of a block
inline constexpr std::int16_t kSuppressed = 4;   // dropped by the close-corner suppression
inline constexpr std::int16_t kJointPoint = 5;   // node the operator added by hand

// Header marks: the piece mode of the selection (2 clockwise, 3
// counter-clockwise) on a header, 0 on a trailer.
inline constexpr double kTrailerMark = 0.0;

// The in-memory path holds at most this many records (headers, points and
// trailers together).
inline constexpr std::size_t kMaxPathRecords = 30001;

struct PathRecord {
    double x = 0.0;
    double y = 0.0;
    std::int16_t type = kContourPoint;
    // Arc point: a = radius (mm), b = bend angle (rad). Straight point: b =
    // turn angle (deg). Corner: b = turn angle (deg). Header or trailer:
    // b = turn angle at the block's end point, a = mark.
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;

    bool isBlockLine() const { return type == kBlockLine; }
    bool isHeader() const { return type == kBlockLine && a != kTrailerMark; }
    bool isTrailer() const { return type == kBlockLine && a == kTrailerMark; }
    bool isArcPoint() const { return type == kContourPoint && a > 0.0; }

    static PathRecord blockLine(double turnAngle, double mark) {
        PathRecord r;
        r.type = kBlockLine;
        r.a = mark;
        r.b = turnAngle;
        return r;
    }
    static PathRecord point(double x, double y, std::int16_t type, double a = 0.0, double b = 0.0,
                            double c = 0.0) {
        return PathRecord{x, y, type, a, b, c};
    }
};

using PathRecords = std::vector<PathRecord>;

// One line of the control point file or of CtrP.dat: a "SPLINE" line gives a
// block record (b = field 2, a = field 3); any other line gives x, y, the
// integer part of field 3 as type, a, b, c. Fields that are missing or not
// numbers read as 0.
PathRecord ParsePathRecord(std::string_view line);

// All records of the lines, blank lines skipped. More than kMaxPathRecords
// records throw a UserError naming `source`, before anything is built
// beyond the limit.
PathRecords ParsePathLines(const common::Lines& lines, std::string_view source);

// Reads PointForControl.dat or CtrP.dat (throws UserError when the file is
// missing, unreadable, too long or visibly cut short: not starting with a
// header, or not ending with a trailer and a line end).
PathRecords ReadPathFile(const std::filesystem::path& file);

// CtrP.dat form: "SPLINE -90.000000 3.0" for a block line, "x y T a b c"
// with six decimals and a bare integer type for a point.
std::string FormatPathRecord(const PathRecord& record);
common::Lines FormatPathLines(const PathRecords& records);

// Rewrites CtrP.dat (through a temporary file, so a failure keeps the old
// path). Throws UserError beyond kMaxPathRecords.
void WritePathFile(const std::filesystem::path& file, const PathRecords& records);

// The error raised when a path would exceed kMaxPathRecords.
[[noreturn]] void ThrowPathTooLong(std::string_view source);

} // namespace korvel::geometry
