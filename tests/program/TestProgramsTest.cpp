// The test, calibration and jog programs, run on the simulated machine to
// their end, and the feed calibration arithmetic.

#include "program/TestPrograms.h"

#include "common/Basic.h"
#include "common/TextFile.h"
#include "machine/MachineRig.h"
#include "machine/ParameterStore.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace korvel::test {
namespace {

struct ProgramRig : MachineRig {
    program::TestPrograms programs;
    int saves = 0;
    explicit ProgramRig(bool encoderOn = false)
        : programs(dir, machine->params(), machine->tables(), machine->run(), *card, encoderOn) {
        programs.setParameterSaver([this] {
            ++saves;
            machine->store().SaveSysPara(machine->tables().ParaGroupNo, true);
        });
    }
    common::Lines program() { return common::ReadLines(dir.file("G5.dat")); }
    long count(const std::string& line) {
        const auto lines = program();
        return std::count(lines.begin(), lines.end(), line);
    }
    bool finishedCleanly() {
        return runToEnd(20000) && dialog.saw("动作完成！") &&
               std::none_of(dialog.entries().begin(), dialog.entries().end(), [](const auto& e) {
                   return e.message.kind == common::MessageKind::Error;
               });
    }
};

// The strip came out 100.5 mm where 100 were asked: without the encoder the
// feed motor's pulse equivalent is scaled, with it the encoder's; the other
// stays and the group is saved at once.
TEST(FeedCalibration, MeasuredLengthScalesOneEquivalentAndSavesIt) {
    for (const bool encoderOn : {false, true}) {
        SCOPED_TRACE(encoderOn);
        ProgramRig rig(encoderOn);
        rig.params().EncoderPort = 1;
        auto& scaled = encoderOn ? rig.params().EncoderPulseEquiv : rig.params().PulseEquivX;
        auto& kept = encoderOn ? rig.params().PulseEquivX : rig.params().EncoderPulseEquiv;
        const double expected = scaled * 100.0 / 100.5;
        const double keptBefore = kept;
        const auto message = rig.programs.SLxzhCSh("100.5", 100.0);
        EXPECT_DOUBLE_EQ(scaled, expected);
        EXPECT_DOUBLE_EQ(kept, keptBefore);
        const std::string zh =
            encoderOn ? "调整完成，编码器新当量：" : "调整完成，送料轴电机新当量：";
        const std::string en =
            encoderOn ? "Adjust Finished, Encoder New value:" : "Adjust Finished, Axis New value:";
        EXPECT_EQ(message.zh, zh + common::Str(expected));
        EXPECT_EQ(message.en, en + common::Str(expected));
        EXPECT_EQ(rig.saves, 1);
        machine::ParameterSet reloaded;
        machine::ParameterTables tables;
        machine::ParameterStore(rig.dir, reloaded, tables).LoadAtStartup();
        EXPECT_NEAR(encoderOn ? reloaded.EncoderPulseEquiv : reloaded.PulseEquivX, expected, 1e-9);
    }
}

TEST(FeedCalibration, LengthsFarFromTheTestLengthAreRefused) {
    ProgramRig rig;
    const double before = rig.params().PulseEquivX;
    for (const char* measured : {"0.5", "130", "abc", "115.01"}) {
        const auto message = rig.programs.SLxzhCSh(measured, 100.0);
        EXPECT_EQ(message.zh, "长度错误，请重新测量并输入以mm为单位的数值！") << measured;
        EXPECT_EQ(message.en, "Length Error,Input Against!");
    }
    EXPECT_DOUBLE_EQ(rig.params().PulseEquivX, before);
    EXPECT_EQ(rig.saves, 0);
    EXPECT_EQ(rig.programs.SLxzhCSh("115", 100.0).zh.rfind("调整完成", 0), 0u);
}

TEST(TestPrograms, FeedTestCutsTwoSlotsAndFeedsPastTheBender) {
    ProgramRig rig;
    rig.programs.SLxzhJG(150.0);
    const auto lines = rig.program();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.back(), "M30");
    EXPECT_EQ(rig.count("G01 X150.0000 F" + common::FormatNumber(rig.params().AutoSpeedX, "0")), 1);
    ASSERT_TRUE(rig.finishedCleanly());
    EXPECT_NEAR(rig.x(), 150.0 + rig.params().BendToSlotDistance + 10.0, 1e-9);
    EXPECT_EQ(rig.card->get_command_pos(0, 2), 0) << "the arm was homed";
}

TEST(TestPrograms, SlotTestsEndWithTheCutterAndSwingBack) {
    ProgramRig rig;
    rig.programs.KCPcshJG();
    ASSERT_TRUE(rig.finishedCleanly());
    rig.dialog.clear();
    rig.params().SlotControl = 0;
    rig.programs.KCNcshJG();
    EXPECT_EQ(rig.program().back(),
              "G01 A0 F" + common::FormatNumber(rig.params().AutoSpeedA, "0"));
    ASSERT_TRUE(rig.finishedCleanly());
    EXPECT_EQ(rig.card->get_command_pos(0, 4), 0);
}

TEST(TestPrograms, PressedTestArcBendsOverItsLengthAfterTheSecondSlot) {
    ProgramRig rig;
    rig.params().TapBendRadiusThreshold = 50;
    const program::TestArc arc{200.0, 45.0};
    rig.programs.WFPcshiJG(arc);
    const double length = std::numbers::pi * 200.0 * 45.0 / 180.0;
    const double end = 2 * length + rig.params().BendToSlotDistance;
    EXPECT_EQ(rig.count("G01 X" + common::FormatNumber(end, "0.0000") + " F" +
                        common::FormatNumber(rig.params().AutoSpeedX, "0")),
              1);
    ASSERT_TRUE(rig.finishedCleanly());
    EXPECT_NEAR(rig.x(), end, 0.01);
    EXPECT_NEAR(rig.y(), 0.0, 0.01) << "the arm returns after the arc";
}

TEST(TestPrograms, SmallNegativeTestArcIsTapped) {
    ProgramRig rig;
    rig.params().TapBendRadiusThreshold = 50;
    rig.programs.WFNcshiJG({20.0, 90.0});
    const auto lines = rig.program();
    const long taps = std::count_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.rfind("G05 Y", 0) == 0; });
    // 31.4 mm of arc at the spacing for radius 20 (1 mm below 40): 32 taps,
    // each a stroke and a back-off.
    EXPECT_EQ(taps, 2 * 32);
    ASSERT_TRUE(rig.finishedCleanly());
}

TEST(TestPrograms, AbsurdTestArcIsRefused) {
    ProgramRig rig;
    EXPECT_THROW(rig.programs.WFPcshiJG({0.0, 90.0}), common::UserError);
    EXPECT_THROW(rig.programs.WFPcshiJG({100.0, 1e9}), common::UserError);
    EXPECT_EQ(rig.run().ActionRunActive, 0);
}

// The tapping test taps as the bending program taps a corner of the linked
// angle: tapping factor and idle angle of the side, limited to the largest
// arm angle, back-off to the idle angle less the extra back-off angle.
TEST(TestPrograms, TappingTestTapsWithTheBendingProgramsAngles) {
    struct Case {
        int bender;
        int feedType;
        double angle;
        int count;
        double spacing;
        double tap;  // worked out by hand from the factors set below
        double back; // idle angle of the side less TapBackExtraAngle 0.5
    };
    // Tapping factors 1.5 / 1.2, idle angles 2 / 3, largest angle 60.
    const Case cases[] = {
        {2, 0, 10.0, 5, 1.5, 17.0, 1.5},    // 1.5 * 10 + 2
        {2, 0, -10.0, 3, 2.0, -15.0, -2.5}, // 1.2 * -10 - 3; back -(3 - 0.5)
        {1, 0, -10.0, 3, 2.0, -9.0, 3.5},   // single arm: 1.2 * -10 + 3; back 3 + 0.5
        {3, 0, 50.0, 2, 1.0, 60.0, 1.5},    // 77 limited to 60
        {2, 1, 10.0, 4, 3.0, 17.0, 1.5},    // gripper feed takes the strip over first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "bender " << c.bender << " feed " << c.feedType << " angle " << c.angle);
        ProgramRig rig;
        auto& p = rig.params();
        p.BenderType = static_cast<std::int16_t>(c.bender);
        p.FeedType = static_cast<std::int16_t>(c.feedType);
        p.GripperStroke = 100;
        p.TapForceFactorPos = 1.5;
        p.TapForceFactorNeg = 1.2;
        p.IdleAnglePos = 2;
        p.IdleAngleNeg = 3;
        p.MaxBendAngle = 60;
        p.TapBackExtraAngle = 0.5;
        p.LiftBenderAngle = 5;
        p.BenderInOutDelay = 200;
        rig.programs.TapTestProgram({c.count, c.angle, c.spacing});
        const std::string speed = " F0000" + common::FormatNumber(p.AutoSpeedY, "0000");
        EXPECT_EQ(rig.count("G05 Y" + common::FormatNumber(c.tap, "0.0000") + speed), c.count);
        EXPECT_EQ(rig.count("G05 Y" + common::FormatNumber(c.back, "0.0000") + speed), c.count);
        EXPECT_EQ(rig.count("M36"), c.feedType == 0 ? 0 : 1);
        EXPECT_EQ(rig.program().back(), "M30");
        ASSERT_TRUE(rig.finishedCleanly()) << rig.shown();
        EXPECT_NEAR(rig.y(), c.back, 0.01) << "the arm ends backed off";
        if (c.feedType == 0) {
            EXPECT_NEAR(rig.x(), (c.count - 1) * c.spacing, 1e-6);
        }
    }
}

TEST(TestPrograms, AbsurdTappingTestsAndMovesAreRefusedWithoutAProgram) {
    ProgramRig rig;
    rig.params().BenderType = 2;
    common::WriteLines(rig.dir.file("G5.dat"), {"M10"});
    const auto refused = [&](auto&& start) {
        EXPECT_THROW(start(), common::UserError);
        EXPECT_EQ(rig.program(), common::Lines{"M10"});
        EXPECT_EQ(rig.run().ActionRunActive, 0);
    };
    refused([&] { rig.programs.TapTestProgram({0, 10, 1}); });
    refused([&] { rig.programs.TapTestProgram({5, 0, 1}); });
    refused([&] { rig.programs.TapTestProgram({5, 10, -1}); });
    refused([&] { rig.programs.CalibrationMove(0.0); });
    refused([&] { rig.programs.SLxzhJG(1e9); });
    rig.params().BenderType = 0;
    refused([&] { rig.programs.TapTestProgram({5, 10, 1}); });
}

// The calibration move feeds the commanded distance from where the strip
// stands; grippers take it over, feed it in strokes and come back to their
// start from behind.
TEST(TestPrograms, CalibrationMoveFeedsTheCommandedDistance) {
    ProgramRig roller;
    roller.load({"X40.0000 F6000"});
    ASSERT_TRUE(roller.runToEnd());
    roller.programs.CalibrationMove(250.0);
    EXPECT_EQ(roller.count("G92 X0 Y0"), 1);
    ASSERT_TRUE(roller.finishedCleanly());
    EXPECT_NEAR(roller.x(), 250.0, 1e-6) << "measured from where the strip stood";

    ProgramRig gripper;
    gripper.params().FeedType = 1;
    gripper.params().GripperStroke = 100;
    gripper.programs.CalibrationMove(250.0);
    const std::string full = "X100.0000 F" + common::FormatNumber(gripper.params().AutoSpeedX, "0");
    EXPECT_EQ(gripper.count(full), 2);
    const auto lines = gripper.program();
    const common::Lines tail{"X-2 F" + common::FormatNumber(gripper.params().HomeOffsetSpeedX, "0"),
                             "G04 P100",
                             "X0 F" + common::FormatNumber(gripper.params().AutoSpeedX, "0"),
                             "M22",
                             "G04 P300",
                             "M17",
                             "M30"};
    ASSERT_GE(lines.size(), tail.size());
    EXPECT_EQ(common::Lines(lines.end() - static_cast<long>(tail.size()), lines.end()), tail);
    ASSERT_TRUE(gripper.finishedCleanly());
    EXPECT_NEAR(gripper.x(), 0.0, 1e-6) << "the carriage is back at its start";
}

TEST(JogPrograms, GripperFeedJogSetsUpTheGrippersAndFeedsInStrokes) {
    ProgramRig rig;
    rig.params().FeedType = 2;
    rig.params().GripperStroke = 250;
    ASSERT_TRUE(rig.programs.FeedJogProgram(false));
    const std::string speed = " F" + common::FormatNumber(rig.params().ManualSpeedX, "0");
    EXPECT_EQ(rig.count("X250.0000" + speed), 12);
    EXPECT_EQ(rig.count("X0" + speed), 12);
    EXPECT_EQ(rig.count("M36"), 1);
    const auto lines = rig.program();
    EXPECT_EQ(common::Lines(lines.end() - 3, lines.end()), (common::Lines{"M23", "M25", "M30"}));
    ASSERT_TRUE(rig.finishedCleanly());
    EXPECT_NEAR(rig.x(), 0.0, 1e-9) << "the carriage ends back at its start";
}

// The jog takes over where the carriage stands ("G92X", after the set-up's
// own "G92 X0"); ready grippers away from zero write nothing at all.
TEST(JogPrograms, JogTakesOverTheFeedPositionOrWritesNothing) {
    struct Case {
        const char* name;
        bool ready;
        bool retract;
        std::int32_t pulses;  // at 1000 pulses/mm
        const char* takeOver; // nullptr: nothing is written
    };
    const Case cases[] = {
        {"ready, 9 um out", true, false, 9, "G92X0.009"},
        {"ready, 9 um back", true, true, -9, "G92X-0.009"},
        {"ready, 10 um out", true, false, 10, nullptr},
        {"ready, 20 mm back", true, true, -20000, nullptr},
        {"set up first", false, false, 20000, "G92X20.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRig rig;
        rig.params().FeedType = 2;
        rig.params().PulseEquivX = 1000;
        rig.card->set_command_pos(0, 1, c.pulses);
        common::WriteLines(rig.dir.file("G5.dat"), {"M10"});
        const bool written = c.retract ? rig.programs.RetractJogProgram(c.ready)
                                       : rig.programs.FeedJogProgram(c.ready);
        const common::Lines lines = rig.program();
        if (c.takeOver == nullptr) {
            EXPECT_FALSE(written);
            EXPECT_EQ(lines, common::Lines{"M10"});
            EXPECT_EQ(rig.run().ActionRunActive, 0);
            continue;
        }
        EXPECT_TRUE(written);
        const auto takeOver = std::find(lines.begin(), lines.end(), c.takeOver);
        ASSERT_NE(takeOver, lines.end());
        const auto setUp = std::find(lines.begin(), lines.end(), "G92 X0");
        EXPECT_EQ(setUp != lines.end(), !c.ready);
        EXPECT_TRUE(setUp == lines.end() || setUp < takeOver);
        EXPECT_EQ(rig.count(c.takeOver), 1);
    }
}

TEST(JogPrograms, FeedReturnBringsTheRollerFeedBackToZero) {
    ProgramRig rig;
    rig.load({"X123.4000 F12000"});
    ASSERT_TRUE(rig.runToEnd());
    rig.programs.FeedReturnProgram(rig.x());
    ASSERT_TRUE(rig.finishedCleanly());
    EXPECT_EQ(rig.card->get_command_pos(0, 1), 0);
}

} // namespace
} // namespace korvel::test
