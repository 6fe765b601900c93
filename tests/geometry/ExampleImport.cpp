#include "ExampleImport.h"

#include "geometry/CoreAlgorithm.h"
#include "geometry/ImportDxf.h"

namespace korvel::test {

void ImportExample(const common::AppDir& app, const std::string& name) {
    app.create();
    geometry::CoreAlgorithm core;
    geometry::ImportDxf(app, std::string(KORVEL_EXAMPLES_DIR) + "/" + name, core);
}

} // namespace korvel::test
