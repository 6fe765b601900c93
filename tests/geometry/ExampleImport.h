#pragma once
// Imports a bundled example drawing into an application folder (kept in a
// file of its own: the importer's headers and the plane geometry are not
// included together).

#include "common/AppDir.h"

#include <string>

namespace korvel::test {

// Imports examples/<name> with the factory densify count.
void ImportExample(const common::AppDir& app, const std::string& name);

} // namespace korvel::test
