// Operator levels and their passwords, the about text, and the IO window's
// rules, on files in a temporary application folder and on the simulated
// card.

#include "app/AboutText.h"
#include "app/IoBoard.h"
#include "app/UserLevels.h"
#include "common/Encoding.h"
#include "common/TextFile.h"
#include "machine/DefaultInstall.h"
#include "machine/ManualHoming.h"
#include "machine/RecordingDialog.h"
#include "machine/RunState.h"
#include "machine/SimulatedCard.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace korvel::test {
namespace {

using app::LevelFrame;

struct LevelsRig {
    TempDir tmp;
    common::AppDir dir{tmp.path()};
    std::int16_t level = 0;
    explicit LevelsRig(const common::Lines& sys1 = {"maker 1", "系统 密码"}) {
        dir.create();
        common::WriteLines(dir.file("sys1.ini"), sys1);
    }
    app::UserLevels open() { return app::UserLevels(dir, level); }
};

TEST(UserLevels, GoingDownIsFreeGoingUpAsksAndWrongPasswordsKeepTheLevel) {
    struct Row {
        std::int16_t from;
        int option;
        const char* typed; // nullptr: no password frame expected
        std::int16_t to;
        const char* error;
    };
    for (const Row& row : {
             Row{2, 1, nullptr, 1, nullptr}, // the maker level without a password
             Row{2, 0, nullptr, 0, nullptr},
             Row{1, 1, nullptr, 1, nullptr},
             Row{1, 2, "maker 1", 1, "密码错误！"}, // the other level's password
             Row{1, 2, "系统 密码", 2, nullptr},
             Row{0, 1, "maker 1", 1, nullptr},
             Row{0, 1, "Maker 1", 0, "密码错误！"},  // case counts
             Row{0, 1, "maker 1 ", 0, "密码错误！"}, // and so do blanks
             Row{0, 2, "", 0, "密码错误！"},
         }) {
        SCOPED_TRACE(std::to_string(row.from) + " -> option " + std::to_string(row.option));
        LevelsRig rig;
        rig.level = row.from;
        auto levels = rig.open();
        EXPECT_EQ(levels.selected(), row.from);
        levels.selectOption(row.option);
        if (row.typed == nullptr) {
            EXPECT_EQ(levels.frame(), LevelFrame::User);
        } else {
            ASSERT_EQ(levels.frame(), LevelFrame::Password);
            EXPECT_EQ(rig.level, row.from) << "nothing changes before the password";
            const auto message = levels.confirmPassword(row.typed);
            EXPECT_EQ(message ? message->zh : "", row.error ? row.error : "");
        }
        EXPECT_EQ(rig.level, row.to);
        EXPECT_EQ(levels.selected(), row.to);
        EXPECT_EQ(levels.frame(), LevelFrame::User);
        EXPECT_EQ(levels.changeEnabled(), row.to >= 1);
    }
}

TEST(UserLevels, CancelRestoresTheLevelsOption) {
    LevelsRig rig;
    rig.level = 1;
    auto levels = rig.open();
    levels.selectOption(2);
    levels.cancelPassword();
    EXPECT_EQ(levels.selected(), 1);
    EXPECT_EQ(levels.frame(), LevelFrame::User);
    EXPECT_EQ(levels.confirmPassword("系统 密码"), std::nullopt) << "no frame, no check";
    EXPECT_EQ(rig.level, 1);
}

// (That the new password is the one asked for after a restart is driven
// through the window's test.)
TEST(UserLevels, PasswordChangeChecksEverythingBeforeItWrites) {
    LevelsRig rig;
    rig.level = 1;
    auto levels = rig.open();
    ASSERT_TRUE(levels.openChange());
    EXPECT_EQ(levels.confirmChange("wrong", "新 pass", "新 pass")->zh,
              "原密码不正确，请重新输入！");
    EXPECT_EQ(levels.confirmChange("maker 1", "新 pass", "新 pas")->zh,
              "新密码确认错误，请重新输入！");
    EXPECT_TRUE(levels.confirmChange("maker 1", "a\nb", "a\nb"));
    EXPECT_EQ(common::ReadLines(rig.dir.file("sys1.ini")), (common::Lines{"maker 1", "系统 密码"}))
        << "refused changes write nothing";
    EXPECT_EQ(levels.confirmChange("maker 1", "新 pass", "新 pass"), std::nullopt);
    EXPECT_EQ(levels.frame(), LevelFrame::User);
    EXPECT_EQ(common::ReadLines(rig.dir.file("sys1.ini")), (common::Lines{"新 pass", "系统 密码"}));
    rig.level = 0;
    EXPECT_FALSE(rig.open().openChange()) << "level 0 has no password to change";
}

TEST(UserLevels, MissingShortOrOddPasswordFilesOpenWithEmptyPasswords) {
    const std::string longLine(100000, 'p');
    struct Row {
        common::Lines lines;
        bool noted;
        std::string machineMaker;
        std::string systemMaker;
    };
    for (const Row& row : {Row{{}, true, "", ""}, Row{{"only"}, true, "only", ""},
                           Row{{longLine, ""}, false, longLine, ""}}) {
        LevelsRig rig(row.lines);
        const auto file = app::ReadPasswords(rig.dir);
        EXPECT_EQ(file.note.has_value(), row.noted);
        EXPECT_EQ(file.passwords.machineMaker, row.machineMaker);
        EXPECT_EQ(file.passwords.systemMaker, row.systemMaker);
    }
    // No file at all: an empty password is the one that fits.
    LevelsRig rig;
    std::filesystem::remove(rig.dir.file("sys1.ini"));
    auto levels = rig.open();
    EXPECT_TRUE(levels.note());
    levels.selectOption(2);
    EXPECT_FALSE(levels.confirmPassword(""));
    EXPECT_EQ(rig.level, 2);
    // An old installation's file in GB18030.
    common::RewriteBytesAtomically(rig.dir.file("sys1.ini"),
                                   common::EncodeGb18030("旧密码\r\n系统\r\n"));
    EXPECT_EQ(app::ReadPasswords(rig.dir).passwords.machineMaker, "旧密码");
}

TEST(AboutText, FourLinesOfTheLanguageAndANoteWhenTheFileIsShort) {
    TempDir tmp;
    const common::AppDir dir(tmp.path());
    machine::InstallDefaults(dir, KORVEL_RESOURCES_DIR);
    const auto shipped = common::ReadLines(dir.file("cinf.ini"));
    ASSERT_EQ(shipped.size(), 8u);
    const auto zh = app::ReadAboutText(dir, 0);
    const auto en = app::ReadAboutText(dir, 1);
    EXPECT_EQ(zh.lines[0], shipped[0]);
    EXPECT_EQ(zh.lines[3], shipped[3]);
    EXPECT_EQ(en.lines[0], shipped[4]);
    EXPECT_EQ(en.lines[3], shipped[7]);
    EXPECT_EQ(zh.motto, "没有最好，只有更好！我们一直在努力！");
    EXPECT_EQ(en.title, "About Us");
    EXPECT_FALSE(zh.note || en.note);

    common::WriteLines(dir.file("cinf.ini"), {"甲", "乙", "丙", "丁", "A"});
    const auto shortEn = app::ReadAboutText(dir, 1);
    EXPECT_EQ(shortEn.lines, (std::array<std::string, 4>{"A", "", "", ""}));
    EXPECT_TRUE(shortEn.note);
    std::filesystem::remove(dir.file("cinf.ini"));
    EXPECT_TRUE(app::ReadAboutText(dir, 0).note);
}

TEST(IoBoard, ButtonsOfferedByConfiguration) {
    struct Row {
        std::int16_t cutterByMotor, benderType, feedType;
        const char* enabled; // 刀转 刀出 刀回 压紧 弯弧器I 弯弧器II 机械手I 机械手II
    };
    for (const Row row : {Row{0, 0, 0, "11110000"}, Row{1, 1, 0, "10011000"},
                          Row{0, 2, 1, "11111110"}, Row{0, 3, 2, "11111111"}}) {
        machine::ParameterSet p;
        p.CutterUpDownControl = row.cutterByMotor;
        p.BenderType = row.benderType;
        p.FeedType = row.feedType;
        std::string enabled;
        for (const bool on : app::OutputButtonsEnabled(p)) {
            enabled += on ? '1' : '0';
        }
        EXPECT_EQ(enabled, row.enabled);
    }
}

TEST(IoBoard, ButtonsSwitchTheOutputsTheLampsShow) {
    machine::ParameterSet p;
    machine::SimulatedCard card;
    machine::RunState run;
    machine::RecordingDialog dialog;
    machine::ManualHoming cutter(p, run, card, dialog, {});
    app::IoBoard board(card, cutter, p);

    board.pressButton(1); // 刀出
    EXPECT_FALSE(cutter.cutterHomed());
    board.pressButton(2); // 刀回
    EXPECT_TRUE(cutter.cutterHomed());
    board.pressButton(3); // 压紧
    board.pressButton(6); // 机械手I
    auto lamps = board.read();
    EXPECT_FALSE(lamps.outputs[1]);
    EXPECT_TRUE(lamps.outputs[2]);
    EXPECT_TRUE(lamps.outputs[3]);
    EXPECT_EQ(card.get_out(0, 11), 1) << "the second clamp output follows";
    EXPECT_TRUE(lamps.outputs[4]) << "gripper I shares bender I's output";
    EXPECT_FALSE(board.clickOutputLabel(7, 1)) << "the machine maker cannot";

    // Input lamps follow the inputs they name: IN12 is the pause button.
    card.setButton(12, true);
    lamps = board.read();
    EXPECT_FALSE(lamps.inputs[9]);
    card.setButton(12, false);
    EXPECT_TRUE(board.read().inputs[9]);
}

} // namespace
} // namespace korvel::test
