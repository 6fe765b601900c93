#include "app/AboutText.h"

#include "common/TextFile.h"

namespace korvel::app {

AboutText ReadAboutText(const common::AppDir& dir, int languageFlag) {
    const bool english = languageFlag != 0;
    AboutText about;
    about.title = english ? "About Us" : "关于我们";
    about.motto = english ? "Try my best for you！" : "没有最好，只有更好！我们一直在努力！";
    const auto file = dir.file(kAboutFileName);
    common::Lines lines;
    try {
        lines = common::ReadLines(file);
    } catch (const common::UserError&) {
        // Shown as a note below; the window opens all the same.
    }
    const size_t first = english ? 4 : 0;
    for (size_t i = 0; i < about.lines.size() && first + i < lines.size(); ++i) {
        about.lines[i] = lines[first + i];
    }
    if (lines.size() < 8) {
        const std::string name = file.string();
        about.note = common::notice("信息文件缺失或不完整：" + name,
                                    "The information file is missing or incomplete: " + name);
    }
    return about;
}

} // namespace korvel::app
