#pragma once
// Importing a DXF drawing. The open command reads the drawing's text, reads
// its outlines and hands their display lines straight to the cleaning
// passes (ReadDxfDisplay), so nothing in between is written or held whole.
// ImportDxf is the older two-step form, ReadDXF then DisplayPointGen, which
// writes Temp.dat and the unthinned display point file. A drawing that
// cannot be read ends with a UserError and leaves every file as it was.

#include "common/AppDir.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DisplayLineSink.h"
#include "geometry/DisplayPointWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvel::geometry {

using ImportSummary = DisplaySummary;

// True for a file name that ends in "dxf", in any case.
bool IsDxfFileName(const std::filesystem::path& drawing);

// The text of a DXF drawing file, decoded (UTF-8, or GB18030 from older
// drawing programs). Throws UserError for a missing, empty or far too large
// file.
std::string ReadDxfText(const std::filesystem::path& drawing);

// Reads the outlines of the DXF drawing `text` and hands them to `sink` as
// display lines before thinning: per outline "SPLINE <n>" and its points
// ("0.000", nodes marked), then "SPLINE END". The whole drawing is read and
// checked before the first line goes out, so a drawing refused with a
// UserError gives `sink` nothing.
ImportSummary ReadDxfDisplay(std::string_view text, std::int16_t densify, DisplayLineSink& sink);

// ReadDXF followed by DisplayPointGen, with the densify count that `core`
// was handed by TranParas.
ImportSummary ImportDxf(const common::AppDir& app, const std::filesystem::path& drawing,
                        CoreAlgorithm& core);

} // namespace korvel::geometry
