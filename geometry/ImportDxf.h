#pragma once
// Importing a DXF drawing into the application folder: its splines are read
// and PointForDisplay.dat is rewritten with their display points. The open
// command and korvel-cli call this; a drawing that cannot be read ends with
// a UserError and leaves the previous display point file as it was.

#include "common/AppDir.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DisplayPointWriter.h"

#include <filesystem>

namespace korvel::geometry {

using ImportSummary = DisplaySummary;

// True for a file name that ends in "dxf", in any case.
bool IsDxfFileName(const std::filesystem::path& drawing);

// ReadDXF followed by DisplayPointGen, with the densify count that `core`
// was handed by TranParas.
ImportSummary ImportDxf(const common::AppDir& app, const std::filesystem::path& drawing,
                        CoreAlgorithm& core);

} // namespace korvel::geometry
