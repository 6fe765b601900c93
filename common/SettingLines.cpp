#include "common/SettingLines.h"

#include "common/Fields.h"

namespace korvel::common {

std::vector<SettingLine> SettingLines(const Lines& lines) {
    std::vector<SettingLine> settings;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i]);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            settings.push_back({i + 1, line, false, {}, {}});
        } else {
            settings.push_back(
                {i + 1, line, true, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
        }
    }
    return settings;
}

} // namespace korvel::common
