// The slotting and tool-setting tests of the settings windows: the parts
// of TestPrograms that cut or set the tool.

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/MachineOutputs.h"
#include "machine/MotionCard.h"
#include "machine/ParameterChecks.h"
#include "program/ProgramText.h"
#include "program/SlotBlock.h"
#include "program/TestPrograms.h"

namespace korvel::program {
namespace {

using common::FormatNumber;

// The joint a start slot stands for: two pieces meeting at a right angle.
constexpr double kStartJointAngle = 90.0;

} // namespace

ProgramText TestPrograms::singleSlot(SlotTest which) const {
    ProgramText t = preamble(false);
    SlotBlock slot(t, m_p, m_encoderOn);
    switch (which) {
    case SlotTest::Front:
        slot.Print_KCaction(0, kSlotStraight, kFaceFront, kSlotFlagNone);
        break;
    case SlotTest::End:
        // The end of a letter: a joint slot that a motor infeed cuts
        // through with its cut-off pass.
        slot.Print_KCaction(0, kSlotBlockEnd, kFaceFront, kSlotFlagNone);
        break;
    case SlotTest::Start: {
        // The start of a letter: a joint slot swung as for a right-angle
        // joint, mirrored where the machine inverts its start and end
        // slots. Only the end of a letter is cut off.
        machine::ParameterSet noCutOff = m_p;
        noCutOff.CutOffStroke = 0;
        const double swing =
            m_p.FrontSwingControl == 0 ? (kStartJointAngle - m_p.BladeAngle) / 2 : 0.0;
        SlotBlock(t, noCutOff, m_encoderOn)
            .Print_KCaction(swing, kSlotBlockEnd, kFaceFront, kSlotFlagNone);
        break;
    }
    case SlotTest::Back:
        // The back face without encoder step, then the swing back to zero.
        slot.Print_KCaction(m_p.SlotControl == 0 ? 180.0 : 0.0, kSlotStraight, kFaceBack,
                            kSlotFlagNoEncoder);
        t.add("G01 A0" + speed(m_p.AutoSpeedA));
        break;
    }
    return t;
}

common::Message TestPrograms::SlotTestProgram(SlotTest which) {
    if (machine::StrokeBeyondMaterial(m_p)) {
        return common::notice("切深设置大于材料厚度，请重新设置后加工！",
                              "Cut deapth is over meterial thickness, Please Reset！");
    }
    if (m_p.CutterUpDownControl == 0 &&
        m_card.read_bit(machine::kCard, machine::kInCutterBack) != 0) {
        return common::notice("切刀未在原位，请先回切刀！", "Cutter is not at zero position!");
    }
    ProgramText t = singleSlot(which);
    t.add("M30");
    load(t, machine::RunKind::Slot);
    return {};
}

common::Message TestPrograms::ToolSettingProgram() {
    if (m_p.AutoToolSetSpeed <= 0) {
        return common::notice("自动对刀进给速度为0，不支持自动对刀！",
                              "The tool-setting speed is 0: automatic tool setting is not "
                              "supported!");
    }
    if (m_card.read_bit(machine::kCard, machine::kInToolSet) == 0) {
        return common::notice("自动对刀开关有信号，请检后再对刀！",
                              "Set Tool Signal On, Please Check!");
    }
    ProgramText t;
    t.add("G90 G01");
    t.add("M42"); // the infeed finds its zero first
    t.add("M30");
    t.add("G01 Z" + FormatNumber(m_p.ZToolSetPosition, "0.0000") + speed(m_p.AutoSpeedZ));
    t.add("M44"); // the search the tool-setting switch stops
    t.add("M30");
    t.add("G01 A0" + speed(m_p.AutoSpeedA));
    t.add("G01 Z0" + speed(m_p.AutoSpeedZ));
    t.add("M30");
    load(t);
    return {};
}

} // namespace korvel::program
