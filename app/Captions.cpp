#include "app/Captions.h"

#include "common/Message.h"
#include "common/TextFile.h"

namespace korvel::app {

std::vector<CaptionText> LoadCaptions(const common::AppDir& app, std::string_view fileName,
                                      const CaptionTable& table, int languageFlag) {
    std::vector<CaptionText> out;
    out.reserve(table.size());
    if (languageFlag == 0) {
        for (const auto& entry : table) {
            out.push_back({entry.key, entry.zh});
        }
        return out;
    }
    common::Lines lines;
    try {
        lines = common::SplitLines(common::ReadText(app.language(fileName)));
    } catch (const common::UserError&) {
        // No caption file: the window keeps the captions it shows.
        return out;
    }
    for (const auto& entry : table) {
        const auto index = static_cast<std::size_t>(entry.line - 1);
        if (entry.line >= 1 && index < lines.size()) {
            out.push_back({entry.key, lines[index]});
        }
    }
    return out;
}

} // namespace korvel::app
