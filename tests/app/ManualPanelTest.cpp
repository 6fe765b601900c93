// The feed panel of the control tab on the simulated machine in virtual
// time: held feed and retract, single steps for the roller and the
// double-stroke gripper, feed homing without a switch, clamp and grippers,
// and the busy guard that keeps every one of them away from a running
// program.

#include "app/SimulatedSession.h"
#include "machine/RecordingDialog.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace korvel::test {
namespace {

struct PanelRig {
    TempDir tmp;
    machine::RecordingDialog dialog;
    app::SimulatedSession session{common::AppDir(tmp.path() / "app"), KORVEL_RESOURCES_DIR, dialog};
    machine::Machine& m = session.machine();
    machine::ManualOperations& panel = m.manual();
    machine::SimulatedCard& card = session.card();

    PanelRig() {
        m.params().FeedType = 0;
        m.params().FeedHomeSwitch = 0;
        m.setManualFeedSpeedText("1200");
    }
    double pulsesPerMm() { return m.params().PulseEquivX; }
    double x() { return card.get_command_pos(0, 1) / pulsesPerMm(); }
    void runFor(std::int64_t ms) { session.clock().runFor(ms); }
    bool settle() {
        return session.clock().runUntil([this] { return card.idle() && !m.run().anyRunActive(); },
                                        20000);
    }
};

TEST(FeedPanel, HeldFeedRunsUntilReleaseThenBrakesAndRetractMirrorsIt) {
    PanelRig rig;
    rig.card.write_bit(0, 3, 1);
    rig.card.write_bit(0, 11, 1);
    for (const bool retract : {false, true}) {
        SCOPED_TRACE(retract);
        const double from = rig.x();
        rig.panel.feedPressed(retract);
        EXPECT_EQ(rig.card.get_out(0, 3) + rig.card.get_out(0, 11), 0) << "clamp opened";
        rig.runFor(1500);
        const double atRelease = rig.x();
        // 1200 mm/min for 1.5 s, less the start ramp.
        EXPECT_NEAR(std::fabs(atRelease - from), 30.0, 1.0);
        rig.panel.feedReleased();
        ASSERT_TRUE(rig.card.get_status(0, 1) != 0) << "braking, not an instant stop";
        ASSERT_TRUE(rig.settle());
        const double braking = std::fabs(rig.x() - atRelease);
        EXPECT_GT(braking, 0.0);
        EXPECT_LT(braking, 1.0);
        EXPECT_EQ(rig.x() < from, retract);
    }
}

TEST(FeedPanel, SingleStepMovesExactlyItsLengthWhateverTheRelease) {
    struct Row {
        const char* step;
        const char* speed;
        bool retract;
        double moved; // mm
    };
    for (const Row row : {Row{"60", "1200", false, 60.0}, Row{"12.345", "3000", true, -12.345},
                          Row{"0", "1200", false, 0.0}, Row{"abc", "1200", false, 0.0},
                          Row{"60", "fast", false, 0.0}, Row{"60", "", true, 0.0}}) {
        SCOPED_TRACE(std::string(row.step) + " mm at " + row.speed);
        PanelRig rig;
        rig.panel.panel().singleStep = true;
        rig.panel.panel().stepText = row.step;
        rig.m.setManualFeedSpeedText(row.speed);
        rig.panel.feedPressed(row.retract);
        rig.runFor(60);
        rig.panel.feedReleased(); // let go long before the step ends
        ASSERT_TRUE(rig.settle());
        EXPECT_DOUBLE_EQ(rig.x(), std::round(row.moved * rig.pulsesPerMm()) / rig.pulsesPerMm());
    }
}

TEST(FeedPanel, PanelWaitsForProgramsAndHomingsAndTogglesOnceIdle) {
    PanelRig rig;
    rig.m.run().loadLines({"X200.0000 F3000", "M10"}, machine::RunKind::Job);
    rig.runFor(90);
    ASSERT_NE(rig.card.get_status(0, 1), 0);
    rig.card.write_bit(0, 3, 1);
    rig.panel.feedPressed(true);
    rig.panel.feedReleased();
    rig.panel.toggleClamp();
    rig.panel.toggleGripper(1);
    EXPECT_EQ(rig.card.get_out(0, 3), 1) << "clamp untouched";
    EXPECT_EQ(rig.card.get_out(0, 4), 0);
    ASSERT_TRUE(rig.settle());
    EXPECT_DOUBLE_EQ(rig.x(), 200.0) << "the program's move ran to its end";

    // A homing holds the panel the same way.
    rig.m.Command_Z1();
    ASSERT_GT(rig.m.run().HomingAxisCode, 0);
    rig.panel.feedPressed(false);
    EXPECT_EQ(rig.card.get_status(0, 1), 0);

    ASSERT_TRUE(rig.session.runToEnd(1000));
    rig.panel.toggleClamp();
    rig.panel.toggleGripper(2);
    EXPECT_EQ(rig.card.get_out(0, 3) + rig.card.get_out(0, 11), 0) << "idle again: both open";
    EXPECT_EQ(rig.card.get_out(0, 5), 1);
}

TEST(FeedPanel, FeedHomingWithoutSwitchOnlyRetractsAtThePanelSpeed) {
    PanelRig rig;
    rig.m.params().FeedHomeSwitch = 50;
    rig.m.setManualFeedSpeedText("abc");
    EXPECT_EQ(rig.panel.Command_XZ(), machine::FeedHomingResult::Retracting);
    EXPECT_TRUE(rig.card.idle()) << "a speed that is no number moves nothing";

    rig.m.setManualFeedSpeedText("3000");
    rig.panel.Command_XZ();
    rig.runFor(300);
    EXPECT_EQ(rig.card.get_speed(0, 1), machine::ManualSpeedPulses(3000, rig.pulsesPerMm()));
    ASSERT_TRUE(rig.settle());
    EXPECT_DOUBLE_EQ(rig.x(), -50.0);
    EXPECT_EQ(rig.m.run().HomingAxisCode, 0);
}

// The strip under the double-stroke grippers: with gripper I closed it
// follows the carriage, with gripper II closed it runs against it, with
// both open it stays. Both closed, or the clamp closed under a carrying
// gripper, while the carriage moves would tear the strip.
struct StripWatch {
    double strip = 0; // pulses
    int tears = 0;
    void step(PanelRig& rig) {
        const int gripperI = rig.card.get_out(0, 4);
        const int gripperII = rig.card.get_out(0, 5);
        const int clamp = rig.card.get_out(0, 3);
        const auto before = rig.card.machinePosition(1);
        rig.session.clock().step();
        const auto moved = static_cast<double>(rig.card.machinePosition(1) - before);
        if (moved != 0 && ((gripperI && gripperII) || (clamp && (gripperI || gripperII)))) {
            ++tears;
        }
        strip += gripperI && !gripperII ? moved : gripperII && !gripperI ? -moved : 0.0;
    }
};

TEST(FeedPanel, GripperStepFeedsTheStripExactlyTheStepLength) {
    struct Row {
        const char* step;
        bool retract;
    };
    // Stroke 100 mm: no whole stroke, odd and even stroke counts with a
    // rest, whole strokes only.
    for (const Row row : {Row{"60", false}, Row{"250", false}, Row{"330.5", true}, Row{"200", true},
                          Row{"0", false}}) {
        SCOPED_TRACE(std::string(row.step) + (row.retract ? " back" : " forward"));
        PanelRig rig;
        rig.m.params().FeedType = 2;
        rig.m.params().GripperStroke = 100;
        rig.panel.panel().singleStep = true;
        rig.panel.panel().stepText = row.step;
        rig.panel.feedPressed(row.retract);
        const double expected = (row.retract ? -1 : 1) * std::atof(row.step);
        EXPECT_EQ(rig.m.run().ActionRunActive != 0, expected != 0);
        rig.panel.feedReleased();
        StripWatch watch;
        for (int tick = 0; tick < 20000 && rig.m.run().anyRunActive(); ++tick) {
            watch.step(rig);
        }
        EXPECT_FALSE(rig.m.run().anyRunActive());
        EXPECT_EQ(watch.tears, 0);
        EXPECT_NEAR(watch.strip / rig.pulsesPerMm(), expected, 0.5 / rig.pulsesPerMm());
        EXPECT_EQ(rig.card.get_out(0, 4) + rig.card.get_out(0, 5), 0) << "grippers let go";
    }
}

} // namespace
} // namespace korvel::test
