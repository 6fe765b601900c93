#include "geometry/ImportDxf.h"

#include "common/Fields.h"

namespace korvel::geometry {

bool IsDxfFileName(const std::filesystem::path& drawing) {
    const std::string name = common::ToUpper(drawing.filename().string());
    return name.size() >= 3 && name.compare(name.size() - 3, 3, "DXF") == 0;
}

ImportSummary ImportDxf(const common::AppDir& app, const std::filesystem::path& drawing,
                        CoreAlgorithm& core) {
    core.ReadDXF(app, drawing);
    return core.DisplayPointGen(app);
}

} // namespace korvel::geometry
