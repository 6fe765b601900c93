#include "app/UserLevels.h"

namespace korvel::app {

const CaptionTable& YhFormCaptions() {
    static const CaptionTable table{
        {1, "title", "用户密码设置"},
        {2, "Option1", "机床用户"},
        {3, "Option2", "机床制造商"},
        {4, "Option3", "系统制造商"},
        {5, "PassEdit", "密码修改（按Tab键切换输入内容）"},
        {6, "PassIn", "输入密码："},
        {7, "Command5", "修改密码"},
        {8, "Command6", "返回"},
        {9, "Label1", "请选择用户类型："},
        {10, "Label2", "输入新密码："},
        {11, "Label3", "确认新密码："},
        {12, "Label4", "输入原密码："},
    };
    return table;
}

UserLevels::UserLevels(common::AppDir dir, std::int16_t& level)
    : m_dir(std::move(dir)), m_level(level) {
    if (m_level < 0 || m_level > 2) {
        m_level = 0;
    }
    PasswordFile file = ReadPasswords(m_dir);
    m_passwords = std::move(file.passwords);
    m_note = std::move(file.note);
    m_selected = m_level;
}

std::string& UserLevels::passwordOf(int level) {
    return level == 2 ? m_passwords.systemMaker : m_passwords.machineMaker;
}

void UserLevels::backToOptions() {
    m_selected = m_level;
    m_pending = 0;
    m_frame = LevelFrame::User;
}

void UserLevels::selectOption(int option) {
    if (option < 0 || option > 2 || m_frame != LevelFrame::User) {
        return;
    }
    if (option <= m_level) {
        // Down, or the level already held: no password.
        m_level = static_cast<std::int16_t>(option);
        backToOptions();
        return;
    }
    m_selected = option;
    m_pending = option;
    m_frame = LevelFrame::Password;
}

std::optional<common::Message> UserLevels::confirmPassword(const std::string& text,
                                                           ConfirmedBy by) {
    if (m_frame != LevelFrame::Password || m_pending == 0) {
        return std::nullopt;
    }
    if (text == passwordOf(m_pending)) {
        m_level = static_cast<std::int16_t>(m_pending);
        backToOptions();
        return std::nullopt;
    }
    backToOptions();
    return common::error("密码错误！",
                         by == ConfirmedBy::EnterKey ? "PassWord wrong!" : "Password wrong!");
}

void UserLevels::cancelPassword() {
    backToOptions();
}

bool UserLevels::openChange() {
    if (!changeEnabled() || m_frame != LevelFrame::User) {
        return false;
    }
    m_frame = LevelFrame::Change;
    return true;
}

std::optional<common::Message> UserLevels::confirmChange(const std::string& oldPassword,
                                                         const std::string& newPassword,
                                                         const std::string& confirmation) {
    if (m_frame != LevelFrame::Change) {
        return std::nullopt;
    }
    if (oldPassword != passwordOf(m_level)) {
        return common::error("原密码不正确，请重新输入！",
                             "Old password wrong, Please input again!");
    }
    if (newPassword != confirmation) {
        return common::error("新密码确认错误，请重新输入！",
                             "New password wrong, Please input again!");
    }
    if (newPassword.find_first_of("\r\n") != std::string::npos) {
        // One password per line: a line end would split it in the file.
        return common::error("密码不能包含换行符，请重新输入！",
                             "A password cannot contain a line break, Please input again!");
    }
    Passwords changed = m_passwords;
    (m_level == 2 ? changed.systemMaker : changed.machineMaker) = newPassword;
    try {
        WritePasswords(m_dir, changed);
    } catch (const common::UserError& e) {
        return e.message();
    }
    m_passwords = std::move(changed);
    m_note.reset();
    backToOptions();
    return std::nullopt;
}

void UserLevels::cancelChange() {
    if (m_frame == LevelFrame::Change) {
        backToOptions();
    }
}

} // namespace korvel::app
