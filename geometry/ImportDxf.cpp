#include "geometry/ImportDxf.h"

#include "common/Encoding.h"
#include "common/Fields.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/DxfMessages.h"
#include "geometry/DxfReader.h"

namespace korvel::geometry {

namespace {

// A letter drawing is a few megabytes at most; far larger files are not
// drawings and are not read into memory.
constexpr long long kMaxDrawingMegabytes = 256;

} // namespace

bool IsDxfFileName(const std::filesystem::path& drawing) {
    const std::string name = common::ToUpper(drawing.filename().string());
    return name.size() >= 3 && name.compare(name.size() - 3, 3, "DXF") == 0;
}

std::string ReadDxfText(const std::filesystem::path& drawing) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(drawing, ec);
    if (!ec && size > static_cast<std::uintmax_t>(kMaxDrawingMegabytes) * 1024 * 1024) {
        throw common::UserError(dxfmsg::fileTooLarge(drawing.string(), kMaxDrawingMegabytes));
    }
    std::string text = common::ReadBytes(drawing);
    if (text.empty()) {
        throw common::UserError(dxfmsg::emptyFile(drawing.string()));
    }
    if (!common::IsValidUtf8(text)) {
        text = common::DecodeText(text);
    }
    return text;
}

ImportSummary ReadDxfDisplay(std::string_view text, std::int16_t densify, DisplayLineSink& sink) {
    const DxfDrawing drawing = ReadDxfSplines(text);
    return GenerateDisplayLines(drawing.splines, densify, sink);
}

ImportSummary ImportDxf(const common::AppDir& app, const std::filesystem::path& drawing,
                        CoreAlgorithm& core) {
    core.ReadDXF(app, drawing);
    return core.DisplayPointGen(app);
}

} // namespace korvel::geometry
