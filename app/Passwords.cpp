#include "app/Passwords.h"

#include "common/TextFile.h"

#include <filesystem>

namespace korvel::app {

PasswordFile ReadPasswords(const common::AppDir& dir) {
    PasswordFile result;
    const auto file = dir.file(kPasswordFileName);
    common::Lines lines;
    try {
        lines = common::ReadLines(file);
    } catch (const common::UserError&) {
        // No file yet: both passwords are empty until the makers set them.
    }
    if (!lines.empty()) {
        result.passwords.machineMaker = lines[0];
    }
    if (lines.size() > 1) {
        result.passwords.systemMaker = lines[1];
    }
    if (lines.size() < 2) {
        const std::string name = file.string();
        result.note = common::notice(
            "密码文件缺失或不完整，缺少的密码为空：" + name,
            "The password file is missing or incomplete, the missing passwords are empty: " + name);
    }
    return result;
}

void WritePasswords(const common::AppDir& dir, const Passwords& passwords) {
    common::RewriteAtomically(dir.file(kPasswordFileName),
                              {passwords.machineMaker, passwords.systemMaker});
}

} // namespace korvel::app
