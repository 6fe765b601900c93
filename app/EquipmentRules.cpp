#include "app/EquipmentRules.h"

#include "machine/MachineBuild.h"
#include "machine/ParameterTable.h"

#include <stdexcept>

namespace korvel::app {
namespace {

constexpr std::int16_t kMotor = 1;
using machine::kMotorInfeed;
constexpr std::int16_t kByDelay = 1;
using machine::kFeedGripperDouble;
using machine::kFeedGripperSingle;
using machine::kNoBender;
constexpr int kComboCount = 4;

} // namespace

const std::vector<std::string_view>& EquipmentFields() {
    static const std::vector<std::string_view> fields = {
        "BladeAngle",        "SpinControl",      "CutterUpDownControl", "InPositionCheck",
        "InPositionDelay",   "DownStrokeFront",  "DownStrokeBack",      "SlotControl",
        "FrontSwingControl", "FrontMaxSwing",    "BackSwingControl",    "BackMaxSwing",
        "InfeedControl",     "HomeInfeedFirst",  "SlotActionOrder",     "CycleCount",
        "CutStroke(0)",      "CutStroke(1)",     "CutStroke(2)",        "CutOffStroke",
        "GripperStroke",     "FeedType",         "BenderType",          "IdleAnglePos",
        "IdleAngleNeg",      "MaxBendAngle",     "BendToSlotDistance",  "BenderInOutDelay",
        "ZAxisSwingCutter",  "InfeedAccumulate", "InfeedLimitActive",
    };
    return fields;
}

EquipmentEnabling LogicLimit(const machine::ParameterSet& v) {
    EquipmentEnabling e;
    const bool motorUpDown = v.CutterUpDownControl == kMotor;
    const bool motorInfeed = v.InfeedControl == kMotorInfeed;
    const bool bender = v.BenderType != kNoBender;

    // A pneumatic cutter reports its position by input or by a delay; a Z
    // motor knows it and instead needs its down strokes.
    e.inPositionOptions = !motorUpDown;
    e.inPositionDelay = !motorUpDown && v.InPositionCheck == kByDelay;
    e.downStrokeRow = motorUpDown;

    // Without an infeed the cutter swings to the groove angle; with a motor
    // infeed it is pushed in pass after pass instead.
    e.swingControls = !motorInfeed;
    e.slotSideOptions = !motorInfeed;
    e.homeInfeedFirst = motorInfeed;
    e.passStrokes = motorInfeed;
    if (!motorInfeed) {
        e.slotButton5 = SlotButton5::BackSlot;
        e.slotButton5Enabled = true;
    } else {
        e.slotButton5 = SlotButton5::AutoToolSet;
        e.slotButton5Enabled = motorUpDown && v.AutoToolSetSpeed > 0;
    }

    e.gripperStroke = v.FeedType == kFeedGripperSingle || v.FeedType == kFeedGripperDouble;
    e.gripper1 = e.gripperStroke;
    e.gripper2 = v.FeedType == kFeedGripperDouble;

    e.benderGeometry = bender;
    e.bendTests = bender;
    // Out and back work in both modes (valves or the Z motor); the cutter
    // search needs the Z motor. Rod 1 belongs to every bender, rod 2 to the
    // double ones.
    e.cutterBackOut = true;
    e.cutterHome = motorUpDown;
    e.benderRod1 = bender;
    e.benderRod2 = v.BenderType >= 2;

    for (int i = 0; i < static_cast<int>(e.strokeRowShown.size()); ++i) {
        e.strokeRowShown[static_cast<size_t>(i)] = i + 1 <= v.CycleCount;
    }
    return e;
}

EquipmentAccess EquipmentAccessFor(std::int16_t userLevel) {
    const bool maker = userLevel >= 1;
    return {maker, maker, maker};
}

std::array<std::string, 6> SlotActionEntries(std::int16_t languageFlag) {
    if (languageFlag == 0) {
        return {"U-上刀", "D-下刀", "P-正摆", "N-负摆", "F-进刀", "B-退刀"};
    }
    return {"Up", "Down", "Positive", "Negative", "Forward", "Back"};
}

int SlotActionEntry(std::string_view order, int combo) {
    if (combo < 0 || combo >= static_cast<int>(order.size())) {
        return -1;
    }
    const size_t at = kSlotActionLetters.find(order[static_cast<size_t>(combo)]);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string ChooseSlotAction(std::string_view order, int combo, int entry) {
    if (combo < 0 || combo >= kComboCount || entry < 0 ||
        entry >= static_cast<int>(kSlotActionLetters.size())) {
        throw std::out_of_range("slot action combo " + std::to_string(combo) + " entry " +
                                std::to_string(entry));
    }
    std::string result(order);
    const std::string_view factory = machine::kFactorySlotActionOrder;
    while (result.size() <= static_cast<size_t>(combo)) {
        result += factory[result.size() % factory.size()];
    }
    result[static_cast<size_t>(combo)] = kSlotActionLetters[static_cast<size_t>(entry)];
    return result;
}

} // namespace korvel::app
