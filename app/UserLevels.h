#pragma once
// The operator-level choice of the user window: the three levels as
// options, the password frame that a higher level asks for, and the change
// of the level's own password. The window only shows what this says; the
// level itself is the shared one that every setup window consults.
//
// Levels: 0 machine user ("机床用户"), 1 machine maker ("机床制造商"),
// 2 system maker ("系统制造商"). Going down never asks for a password,
// going up always does; a wrong password leaves the level as it was.

#include "app/Captions.h"
#include "app/Passwords.h"

#include <cstdint>
#include <optional>

namespace korvel::app {

// The user window's captions in the order of YH_Form.txt.
const CaptionTable& YhFormCaptions();

enum class LevelFrame {
    User,     // the level options
    Password, // "输入密码："
    Change,   // "密码修改（按Tab键切换输入内容）"
};

// How the password was confirmed: the button, or the Enter key (which has
// its own English text).
enum class ConfirmedBy { Button, EnterKey };

class UserLevels {
public:
    // `level` is the shared operator level; the passwords are read now.
    UserLevels(common::AppDir dir, std::int16_t& level);

    std::int16_t level() const { return m_level; }
    // The option shown as selected.
    int selected() const { return m_selected; }
    LevelFrame frame() const { return m_frame; }
    // "修改密码" is offered at levels 1 and 2.
    bool changeEnabled() const { return m_level >= 1; }
    // Why the passwords are empty, when the file is missing or short.
    const std::optional<common::Message>& note() const { return m_note; }

    // A click on option 0, 1 or 2.
    void selectOption(int option);
    // Checks `text` against the password of the option waiting for it.
    // Returns the error to show (and the level stays) or nothing.
    std::optional<common::Message> confirmPassword(const std::string& text,
                                                   ConfirmedBy by = ConfirmedBy::Button);
    void cancelPassword();

    // "修改密码": opens the change frame; false at level 0.
    bool openChange();
    // Old password, new password and its confirmation. Returns the error to
    // show (nothing changed) or nothing (saved, frame closed).
    std::optional<common::Message> confirmChange(const std::string& oldPassword,
                                                 const std::string& newPassword,
                                                 const std::string& confirmation);
    void cancelChange();

private:
    std::string& passwordOf(int level);
    void backToOptions();

    common::AppDir m_dir;
    std::int16_t& m_level;
    Passwords m_passwords;
    std::optional<common::Message> m_note;
    int m_selected = 0;
    int m_pending = 0;
    LevelFrame m_frame = LevelFrame::User;
};

} // namespace korvel::app
