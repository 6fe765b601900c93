// Manual jogs on the simulated card: a step lands on its whole pulse count,
// and a speed the card cannot use leaves the card untouched. (Held jogs and
// their braking are driven through the feed panel's tests.)

#include "machine/ManualJog.h"

#include "machine/MachineTestSupport.h"

#include <gtest/gtest.h>
#include <limits>

namespace korvel::test {
namespace {

using machine::JogSpeed;

class ManualJogTest : public ::testing::Test {
protected:
    machine::ParameterSet params = handParameters();
    machine::SimulatedCard card{handMachine(params)};
    // 1200 mm/min at 100 pulses/mm = 2000 pulses/s.
    JogSpeed speed{1200, 100, 0.01};

    std::int32_t x() { return card.get_command_pos(0, 1); }
};

TEST_F(ManualJogTest, StepEndsOnItsWholePulseCountWithoutARelease) {
    struct Row {
        double units;
        std::int32_t pulses;
    };
    // Halves of a pulse go to the even count, like every position.
    for (const Row row : {Row{12.5, 1250}, Row{-0.125, -12}, Row{0.375, 38}, Row{60, 6000}}) {
        SCOPED_TRACE(row.units);
        card.set_command_pos(0, 1, 0);
        machine::StartStepJog(card, 1, row.units, speed);
        card.runUntilIdle(100000);
        EXPECT_EQ(x(), row.pulses);
    }
}

TEST_F(ManualJogTest, UnusableSpeedOrStepLeavesTheCardAlone) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // A running step must not be disturbed by a refused profile either.
    machine::StartStepJog(card, 1, 10, speed);
    card.setRecording(machine::RecordLevel::Commands);
    for (const JogSpeed bad :
         {JogSpeed{0, 100, 1}, JogSpeed{1200, 0, 1}, JogSpeed{1200, -100, 1}, JogSpeed{nan, 100, 1},
          JogSpeed{1200, inf, 1}, JogSpeed{1200, 100, nan}, JogSpeed{0.5, 100, 1}}) {
        machine::SetJogProfile(card, 1, bad);
        machine::StartHeldJog(card, 1, 1, bad);
        machine::StartStepJog(card, 1, 10, bad);
    }
    machine::StartHeldJog(card, 1, 0, speed);
    for (const double units : {0.0, 0.004, nan, inf}) {
        machine::StartStepJog(card, 1, units, speed);
    }
    EXPECT_TRUE(card.recording().empty()) << callText(card);
    card.runUntilIdle(100000);
    EXPECT_EQ(x(), 1000);
}

} // namespace
} // namespace korvel::test
