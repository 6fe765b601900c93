#pragma once
// Area of the selected letter shape and the glue estimate built on it. The
// area is taken from the machining path CtrP.dat: each piece selected
// counter-clockwise (mark 3, the letter's outer contour) adds its enclosed
// area, each piece selected clockwise (mark 2, a hole such as the inside of
// an "O") subtracts it. Sign shops pour glue (or resin) over that face, so
// the weight follows from area x density x thickness.

#include "common/Message.h"
#include "common/TextFile.h"

#include <filesystem>
#include <string>

namespace korvel::geometry {

// Signed total area (mm^2) of the path lines. Robust handling:
// - points that are not finite are passed over, consecutive points within
//   0.01 mm are one point (the three lines of a corner);
// - an outline that is not closed is closed by the straight chord from its
//   last point back to its first (an end within 0.1 mm of the start counts
//   as closed already);
// - a self-intersecting outline gives its signed area: a loop travelled the
//   other way round counts negatively, as a planimeter run round the outline
//   would measure it; the result is taken without sign, so a piece never
//   changes from outer contour to hole by the way it was drawn;
// - an outline of fewer than three distinct points has no area.
double PathArea(const common::Lines& pathLines);

// GetArea: the area of CtrP.dat, formatted "0.000" (a missing file counts
// as an empty path: "0.000").
std::string GetArea(const std::filesystem::path& pathFile);

// "选择字形总面积约为 <area> 平方毫米", shown with an information icon and
// the title AreaMessageTitle.
common::Message AreaMessage(const std::string& areaText);
// "提示" / "Info".
std::string AreaMessageTitle(common::Language language);

// Glue weight in grams: area in cm^2 x density (g/cm^3) x thickness (cm),
// the three numbers multiplied as typed. A density or thickness that is
// negative or not a finite number (a slip in the panel's boxes) throws
// UserError instead of showing a negative or "NaN" weight.
double GlueWeight(double areaSquareCm, double density, double thickness);
// "选择字形总面积约为 <area/100> 平方厘米" shown when the glue panel opens.
common::Message GlueAreaMessage(double areaSquareMm);
// "胶水用量约为： <weight> 克（g）".
common::Message GlueWeightMessage(double weight);

} // namespace korvel::geometry
