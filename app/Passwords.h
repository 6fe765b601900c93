#pragma once
// The two level passwords in sys1.ini: line 1 the machine maker's, line 2
// the system maker's, each the whole line as typed (blanks and Chinese
// characters included). A missing or short file gives empty passwords and
// a note for the window instead of stopping anything.

#include "common/AppDir.h"
#include "common/Message.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvel::app {

inline constexpr std::string_view kPasswordFileName = "sys1.ini";

struct Passwords {
    std::string machineMaker;
    std::string systemMaker;
};

struct PasswordFile {
    Passwords passwords;
    // Set when the file is missing, unreadable or has fewer than two lines.
    std::optional<common::Message> note;
};

PasswordFile ReadPasswords(const common::AppDir& dir);
// Both passwords, machine maker first, through a temporary file. Throws
// common::UserError when the file cannot be written.
void WritePasswords(const common::AppDir& dir, const Passwords& passwords);

} // namespace korvel::app
