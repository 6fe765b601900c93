#pragma once
// The supplier information of the about window: four lines from cinf.ini
// (lines 1 to 4 Chinese, 5 to 8 English) and the fixed motto, in the
// current language. A missing or short file leaves the lines it lacks empty
// and says so in a note.

#include "common/AppDir.h"
#include "common/Message.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::app {

inline constexpr std::string_view kAboutFileName = "cinf.ini";

struct AboutText {
    std::string title;
    std::array<std::string, 4> lines;
    std::string motto;
    std::optional<common::Message> note;
};

// languageFlag 0 Chinese, otherwise English.
AboutText ReadAboutText(const common::AppDir& dir, int languageFlag);

} // namespace korvel::app
