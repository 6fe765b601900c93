#pragma once
// The rules of the equipment window (SB_Form) without the window: which
// parameters it edits, which of its controls are enabled or shown for the
// values being edited (LogicLimit), what the operator level allows, and how
// the four action-order combo boxes edit the slot action order.

#include "machine/ParameterSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::app {

// The parameters SB_Form edits and saves, in the order of its table.
const std::vector<std::string_view>& EquipmentFields();

// What the fifth slotting button does: the back-face slotting test, or the
// automatic tool setting when the machine can set its tool.
enum class SlotButton5 { BackSlot, AutoToolSet };

// The enabled (and shown) state of SB_Form's dependent controls.
struct EquipmentEnabling {
    bool inPositionOptions = false; // Option3(0..1)
    bool inPositionDelay = false;   // Text1(1) and its unit
    bool downStrokeRow = false;     // Label1(8), Text1(2), Text1(6) and unit
    bool swingControls = false;     // Option4(0..3), Text1(3), Text1(5) and their labels
    bool slotSideOptions = false;   // Option5(0..1)
    bool homeInfeedFirst = false;   // Check1
    bool passStrokes = false;       // Text5(0..3) and Label1(10..13)
    SlotButton5 slotButton5 = SlotButton5::BackSlot;
    bool slotButton5Enabled = false; // Command3(4)
    bool gripperStroke = false;      // Text2(0), Label2(0)
    bool gripper1 = false;           // Command5(3)
    bool gripper2 = false;           // Command5(4)
    bool benderGeometry = false;     // Text3(0..4), Label3(0..4)
    bool bendTests = false;          // Command4(0..2)
    bool cutterBackOut = false;      // Command6(0), (1)
    bool cutterHome = false;         // Command6(2)
    bool benderRod1 = false;         // Command6(3)
    bool benderRod2 = false;         // Command6(4)
    // Stroke rows 1..3 (Text5(0..2), Label1(10..12)) shown for the passes.
    std::array<bool, 3> strokeRowShown{};

    bool operator==(const EquipmentEnabling&) const = default;
};

// Runs after loading and after every option change of the window.
EquipmentEnabling LogicLimit(const machine::ParameterSet& values);

// What the operator level leaves open in SB_Form: level 0 (machine user)
// sees the values but changes nothing and moves nothing.
struct EquipmentAccess {
    bool settingsFrames = false; // "送料设置", "开槽设置", "弯弧设置"
    bool testFrame = false;
    bool save = false;
    bool operator==(const EquipmentAccess&) const = default;
};
EquipmentAccess EquipmentAccessFor(std::int16_t userLevel);

// The six actions of a slotting step, in the order of the combo boxes.
inline constexpr std::string_view kSlotActionLetters = "UDPNFB";
// The combo entries in the operator's language (0 Chinese, else English).
std::array<std::string, 6> SlotActionEntries(std::int16_t languageFlag);
// The entry combo box `combo` (0..3) shows for `order`: the index of its
// letter in kSlotActionLetters, -1 when the order is too short or the letter
// is not an action.
int SlotActionEntry(std::string_view order, int combo);
// Choosing entry `entry` in combo box `combo` replaces letter combo + 1 of
// the order and keeps every other letter, including the letters beyond the
// fourth of a longer order. An order too short for the combo is first
// completed from the factory order.
std::string ChooseSlotAction(std::string_view order, int combo, int entry);

} // namespace korvel::app
