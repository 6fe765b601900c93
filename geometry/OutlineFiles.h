#pragma once
// The outline point files through which every stage of the outline pipeline
// hands its result to the next one (import -> display points -> selection ->
// control points -> machining path -> machine program).

#include <cstddef>
#include <string>
#include <string_view>

namespace korvel::geometry {

inline constexpr std::string_view kTempFile = "Temp.dat";
inline constexpr std::string_view kDisplayFile = "PointForDisplay.dat";
inline constexpr std::string_view kDisplayRewriteFile = "PointForDisplay0.dat";
inline constexpr std::string_view kControlFile = "PointForControl.dat";
inline constexpr std::string_view kPathFile = "CtrP.dat";
inline constexpr std::string_view kMachinedFile = "YJG.dat";

inline constexpr std::string_view kSplineWord = "SPLINE";
inline constexpr std::string_view kSplineEnd = "SPLINE END";
inline constexpr std::string_view kNodeWord = "Node";

// "SPLINE 1", "SPLINE -3": the word, a blank, the number with a leading
// blank for non-negative values (so the header has exactly one blank).
std::string OutlineHeader(int number);

// A display point line "x y" or "x y Node" with the given pattern.
std::string DisplayPointLine(double x, double y, bool node, std::string_view pattern);
// The same line appended to `out`, without its line end.
void AppendDisplayPointLine(std::string& out, double x, double y, bool node,
                            std::string_view pattern);

// The largest coordinate any drawing reader lets into the display file
// (mm). A file edited by hand or broken on disk may hold more; its points
// would reach the view and the plotter export as infinities.
inline constexpr double kMaxDisplayCoordinate = 1.0e7;

// Throws UserError naming the file, the line (counted from 1) and its text
// when x or y is not finite or lies beyond kMaxDisplayCoordinate.
void CheckDisplayPoint(double x, double y, std::string_view line, std::size_t lineNumber,
                       std::string_view source);

// True for a line whose first field is "SPLINE" (header, trailer or end).
bool IsSplineLine(std::string_view line);

} // namespace korvel::geometry
