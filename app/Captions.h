#pragma once
// The captions of a window in the operator's language. Each window declares
// its captions once as a table: the line of its caption file, the control
// the line is for and the built-in Chinese text. In Chinese the built-in
// texts are used and no file is read; in English the window's file in the
// Language folder is read line by line (line 1 is the window title), each
// line taken whole, blanks included. Lines the table does not name are read
// and skipped, so a translator may leave them blank or put notes there. A
// file that ends early leaves the remaining controls as they are, and a
// missing or unreadable file leaves every caption as it is: captions never
// stop the program.

#include "common/AppDir.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel::app {

// The key of a window's title line (line 1).
inline constexpr std::string_view kTitleKey = "title";

struct CaptionLine {
    int line = 0;
    // The control's name ("Command_Run", "Command10_3"), "title" for the
    // window title, "Name#i" for tab i of a tab strip.
    std::string key;
    std::string zh;
};

using CaptionTable = std::vector<CaptionLine>;

struct CaptionText {
    std::string key;
    std::string text;
};

// The captions to apply, in table order: every entry of the table in
// Chinese (languageFlag 0), otherwise the entries whose line the file
// reaches.
std::vector<CaptionText> LoadCaptions(const common::AppDir& app, std::string_view fileName,
                                      const CaptionTable& table, int languageFlag);

} // namespace korvel::app
