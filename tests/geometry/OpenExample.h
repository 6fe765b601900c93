#pragma once
// Opens a drawing into an application folder with the machine's default
// densify count, as the open command does. Kept in its own file so that
// tests of the outline view need not see the DXF reader's types.

#include "common/AppDir.h"

#include <filesystem>

namespace korvel::test {

void OpenExampleDrawing(const common::AppDir& app, const std::filesystem::path& drawing,
                        double planeZ, double slotAngleThreshold);

} // namespace korvel::test
