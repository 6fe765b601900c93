#pragma once
// A new application folder gets the shipped parameter files: the group
// choice, ten parameter groups, ten curvature groups with their
// tapping-spacing tables. Files already in the folder are never replaced,
// so an operator's settings survive every start.

#include "common/AppDir.h"

#include <filesystem>
#include <vector>

namespace korvel::machine {

// Copies every file of `resourcesDir` (except its README.md) that the
// application folder lacks. A parameter file the machine needs that is
// missing from both gets the built-in factory content, so the folder is
// complete even without the resources. Returns the files written, relative
// to the application folder. Throws UserError when a file cannot be
// written.
std::vector<std::filesystem::path> InstallDefaults(const common::AppDir& appDir,
                                                   const std::filesystem::path& resourcesDir);

} // namespace korvel::machine
