#pragma once
// Export of the letter shape shown in the view as an HPGL plotter file, so
// that the same outline can be cut from foil or board on a cutting plotter
// (the face and back of the letter that the bent strip is glued to).

#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"

#include <filesystem>
#include <string>

namespace korvel::geometry {

// "字形PLT.plt" for Chinese captions, "ShapePLT.plt" for English ones.
std::string ShapePltFileName(common::Language language);

// The plotter text of display lines: "LT;" and "SP1;" at every "SPLINE"
// line, the first point of an outline as "PU x y;" then "PD x y;", every
// further point "PD x y;", coordinates in 1/40 mm without decimals, and
// "SP0;" at the end. Lines end in CR LF. A coordinate beyond
// kMaxDisplayCoordinate is refused (UserError): nothing is exported.
common::Lines ShapePltLines(const common::Lines& displayLines);

// Writes the shape file of PointForDisplay.dat into the application folder
// and returns the message naming it. Refuses with "尚未打开文件，不能输出！"
// when no drawing is open (`drawingOpen` false).
common::Message ExportShapePlt(const common::AppDir& app, bool drawingOpen,
                               common::Language language);

} // namespace korvel::geometry
