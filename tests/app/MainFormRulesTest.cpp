// The main window's rules as data: what the activation handler shows for
// each machine build, the caption tables the English files must line up
// with, the status lamps' polarity and the cutter strokes of Command7.

#include "app/MainFormRules.h"

#include "app/MainFormActivation.h"
#include "app/MainFormCaptions.h"
#include "app/OperatorSession.h"
#include "app/TextLetterRules.h"
#include "common/TextFile.h"
#include "machine/ParameterTable.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace korvel::test {
namespace {

using app::Shown;

struct FeedRow {
    std::int16_t feedType;
    Shown clamp, gripper1, gripper2, singleStep, encoder, feedHoming;
};

TEST(MainFormActivation, FeedTypeDecidesTheFeedPanel) {
    const Shown H = Shown::Hidden;
    const Shown V = Shown::Visible;
    const Shown U = Shown::Unchanged;
    const FeedRow rows[] = {
        {0, H, H, H, V, V, V},
        {1, V, V, H, H, H, H},
        {2, V, V, V, U, V, H},
    };
    for (const auto& row : rows) {
        machine::ParameterSet p = machine::FactoryParameterSet();
        p.FeedType = row.feedType;
        const auto a = app::ActivationFor(p);
        SCOPED_TRACE(row.feedType);
        EXPECT_EQ(a.clamp, row.clamp);
        EXPECT_EQ(a.gripper1, row.gripper1);
        EXPECT_EQ(a.gripper2, row.gripper2);
        EXPECT_EQ(a.singleStep, row.singleStep);
        EXPECT_EQ(a.encoder, row.encoder);
        EXPECT_EQ(a.feedHoming, row.feedHoming);
    }
}

// The text each control ends with when the rows are applied in order.
std::string FinalCaption(const app::CaptionTable& table, const std::string& key) {
    std::string text;
    for (const auto& row : table) {
        if (row.key == key) {
            text = row.zh;
        }
    }
    return text;
}

TEST(MainFormActivation, CutterAxesChooseUnitsCaptionsAndHoming) {
    machine::ParameterSet p = machine::FactoryParameterSet();
    p.InfeedControl = 1;
    p.FrontSwingControl = 1;
    p.SlotControl = 1;
    p.CutterUpDownControl = 0;
    auto a = app::ActivationFor(p);
    EXPECT_EQ(a.aUnit, "mm");
    // An infeed axis is homed even when nothing swings.
    EXPECT_TRUE(a.swingHomingEnabled);
    EXPECT_FALSE(a.cutDepthRowVisible);
    auto captions = app::MainFormModeCaptions(a.axes);
    EXPECT_EQ(FinalCaption(captions, "Command_Z2"), "进 刀 回 零");
    EXPECT_EQ(captions.front().line, 1);

    // The same front-only, no-swing machine with a swing axis: nothing to home.
    p.InfeedControl = 0;
    a = app::ActivationFor(p);
    EXPECT_EQ(a.aUnit, "deg");
    EXPECT_FALSE(a.swingHomingEnabled);
    captions = app::MainFormModeCaptions(a.axes);
    EXPECT_EQ(FinalCaption(captions, "Command_Z2"), "摆 刀 回 零");
    EXPECT_EQ(captions.front().line, 4);

    // Z swings the cutter: its rows come last and win, and the cut-depth
    // row shows the swing angle even with an IO-driven cutter.
    p.ZAxisSwingCutter = 1;
    a = app::ActivationFor(p);
    EXPECT_TRUE(a.cutDepthRowVisible);
    captions = app::MainFormModeCaptions(a.axes);
    EXPECT_EQ(FinalCaption(captions, "Label3_3"), "进刀零位开关");
    EXPECT_EQ(FinalCaption(captions, "Label1_6"), "进刀位置：");
    EXPECT_EQ(captions.back().line, 10);
}

TEST(MainFormActivation, NoBenderDisablesTheCurvatureTableAndStrokesAreShownAsTyped) {
    machine::ParameterSet p = machine::FactoryParameterSet();
    p.BenderType = 0;
    p.DownStrokeFront = 0.8;
    p.DownStrokeBack = 12;
    p.ManualSpeedX = 6000;
    const auto a = app::ActivationFor(p);
    EXPECT_FALSE(a.curvatureTableEnabled);
    EXPECT_EQ(a.frontStroke, "0.8");
    EXPECT_EQ(a.backStroke, "12");
    EXPECT_EQ(a.feedSpeed, "6000");
}

TEST(MainFormCaptions, EnglishFileLinesLineUpWithTheControls) {
    const std::set<int> ignored{6,  12, 18, 24, 30, 36, 42, 48,  54,  60,  66,  72,  78, 83,
                                84, 85, 86, 87, 88, 90, 96, 102, 108, 114, 120, 126, 132};
    // The window's own lines, then those of its text dialog (each with its
    // own controls).
    std::set<int> lines;
    for (const auto* table : {&app::MainFormCaptions(), &app::TextDialogCaptions()}) {
        std::set<std::string> keys;
        for (const auto& row : *table) {
            EXPECT_FALSE(ignored.count(row.line)) << row.key << " on ignored line " << row.line;
            EXPECT_TRUE(lines.insert(row.line).second) << "line " << row.line << " used twice";
            EXPECT_TRUE(keys.insert(row.key).second) << row.key << " captioned twice";
            EXPECT_FALSE(row.zh.empty()) << row.key;
        }
    }
    // Every line of the file up to 149 is either a control or ignored.
    EXPECT_EQ(lines.size() + ignored.size(), 149u);
    // The shipped English file has a line for each of them.
    const auto english = common::ReadLines(std::filesystem::path(KORVEL_RESOURCES_DIR) /
                                           "Language" / std::string(app::kMainFormCaptionFile));
    EXPECT_GE(english.size(), 149u);
    EXPECT_EQ(app::TabMarker(1, 1), "Setup");
    EXPECT_EQ(app::TabMarker(0, 0), "控制");
}

TEST(MainFormStatus, LampsFollowEachSwitchsClosedLevel) {
    machine::ExecutorDisplay display;
    display.inputs.fill(1);
    display.outputs[0] = 1;
    display.outputs[3] = 1;
    auto lamps = app::LampsOf(display);
    // The feed stands on its home switch (IN2 reads 1); every other switch
    // is open (1).
    EXPECT_EQ(lamps.inputs, (std::array<bool, 6>{true, false, false, false, false, false}));
    EXPECT_EQ(lamps.outputs, (std::array<bool, 6>{true, false, false, true, false, false}));
    display.inputs[2] = 0;
    display.inputs[16] = 0;
    lamps = app::LampsOf(display);
    EXPECT_EQ(lamps.inputs, (std::array<bool, 6>{false, false, false, false, false, true}));
}

TEST(MainFormStrokes, SavedOnlyWhenBothAreUsableNumbers) {
    TempDir dir;
    machine::RecordingDialog dialog;
    app::OperatorSession session(common::AppDir(dir.path()), KORVEL_RESOURCES_DIR, dialog);
    auto& machine = session.machine();
    const int group = machine.tables().ParaGroupNo;
    const auto groupFile = machine.appDir().sysPara("SYS_" + std::to_string(group) + ".ini");
    const auto before = common::ReadBytes(groupFile);
    const double front = machine.params().DownStrokeFront;

    for (const auto& [f, b] : {std::pair{"abc", "1"}, std::pair{"1", "nan"},
                               std::pair{"1e400", "1"}, std::pair{"", "1"}}) {
        SCOPED_TRACE(std::string(f) + " / " + b);
        const auto message = app::SaveCutterStrokes(machine.params(), machine.store(), group, f, b);
        EXPECT_EQ(message.kind, common::MessageKind::Error);
        EXPECT_EQ(machine.params().DownStrokeFront, front);
        EXPECT_EQ(common::ReadBytes(groupFile), before);
    }

    const auto saved =
        app::SaveCutterStrokes(machine.params(), machine.store(), group, " 2.5", "3");
    EXPECT_NE(saved.kind, common::MessageKind::Error);
    machine::ParameterSet reread = machine::FactoryParameterSet();
    machine::ParameterTables tables = machine.tables();
    machine::ParameterStore store(machine.appDir(), reread, tables);
    store.LoadSysPara();
    EXPECT_EQ(reread.DownStrokeFront, 2.5);
    EXPECT_EQ(reread.DownStrokeBack, 3.0);
}

} // namespace
} // namespace korvel::test
