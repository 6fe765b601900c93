#include "app/IoBoard.h"

#include "machine/AxisUnits.h"
#include "machine/MachineOutputs.h"
#include "machine/ManualOperations.h"

namespace korvel::app {

namespace {

using machine::kCard;

enum Button { Spin, CutterOut, CutterBack, Clamp, BenderI, BenderII, GripperI, GripperII };

} // namespace

std::array<IoLamp, kIoInputLamps> InputLamps(const machine::ParameterSet& params) {
    const bool limits = params.InfeedLimitActive == 1;
    return {{
        {"Label1", 2, "IN2  送料X零位"},
        {"Label2", 8, "IN8  弯弧Y零位"},
        {"Label3", 14, "IN14  上下刀Z零位"},
        {"Label4", 20, "IN20  摆刀/进刀A零位"},
        {"Label5", 16, "IN16  刀出到位"},
        {"Label6", 17, "IN17  刀退到位"},
        {"Label7", 18, limits ? "IN18  进刀负限位" : "IN18  送料按键"},
        {"Label8", 19, limits ? "IN19  进刀正限位" : "IN19  退料按键"},
        {"Label9", 11, "IN11  弯弧回零按键"},
        {"Label10", 12, "IN12  暂停按键"},
        {"Label11", 13, "IN13  启动按键"},
        {"Label12", 15, "IN15  自动对刀按键"},
        {"Label13", 22, "IN22  送料按键"},
        {"Label14", 23, "IN23  退料按键"},
    }};
}

std::array<std::string, 2> ButtonInputCaptionsEnglish() {
    return {"IN18  Feed button", "IN19  Retract button"};
}

const std::array<IoLamp, kIoOutputLamps>& OutputLamps() {
    static const std::array<IoLamp, kIoOutputLamps> lamps{{
        {"Label21_0", 0, "OUT0  切刀转动"},
        {"Label21_1", 1, "OUT1  刀切出"},
        {"Label21_2", 2, "OUT2  刀退回"},
        {"Label21_3", 3, "OUT3  材料压紧"},
        {"Label21_4", 4, "OUT4  弯弧器I进出"},
        {"Label21_5", 5, "OUT5  弯弧器II进出"},
        {"Label21_6", 6, "OUT6  机械手I压紧"},
        {"Label21_7", 7, "OUT7  机械手II压紧"},
    }};
    return lamps;
}

CaptionTable IoFormCaptions(const machine::ParameterSet& params) {
    static const std::array<const char*, kIoOutputLamps> buttons{
        "刀转", "刀出", "刀回", "压紧", "弯弧器I", "弯弧器II", "机械手I", "机械手II"};
    CaptionTable table{{1, "title", "IO配置"}, {2, "Frame1", "输入口"}, {3, "Frame2", "输出口"}};
    int line = 4;
    for (const IoLamp& lamp : InputLamps(params)) {
        table.push_back({line++, lamp.key, lamp.zh});
    }
    line = 24;
    for (const IoLamp& lamp : OutputLamps()) {
        table.push_back({line++, lamp.key, lamp.zh});
    }
    line = 34;
    for (size_t i = 0; i < buttons.size(); ++i) {
        table.push_back({line++, "Command1_" + std::to_string(i), buttons[i]});
    }
    table.push_back({42, "Command2", "返回"});
    return table;
}

std::array<bool, kIoOutputLamps> OutputButtonsEnabled(const machine::ParameterSet& params) {
    std::array<bool, kIoOutputLamps> enabled{};
    enabled.fill(true);
    // A motor-driven cutter is moved by its axis, not by the valves.
    enabled[CutterOut] = enabled[CutterBack] = params.CutterUpDownControl != 1;
    enabled[BenderI] = params.BenderType >= 1;
    enabled[BenderII] = params.BenderType >= 2;
    enabled[GripperI] = params.FeedType == 1 || params.FeedType == 2;
    enabled[GripperII] = params.FeedType == 2;
    return enabled;
}

IoLampStates IoBoard::read() {
    IoLampStates states;
    for (size_t i = 0; i < m_inputs.size(); ++i) {
        states.inputs[i] = m_card.read_bit(kCard, m_inputs[i].bit) == 1;
    }
    for (size_t i = 0; i < states.outputs.size(); ++i) {
        states.outputs[i] = m_card.get_out(kCard, static_cast<int>(i)) == 1;
    }
    return states;
}

void IoBoard::pressButton(int button) {
    switch (button) {
    case Spin:
        machine::InvertOutput(m_card, machine::kOutSpindle);
        break;
    case CutterOut:
        m_card.write_bit(kCard, machine::kOutCutterBack, 0);
        m_card.write_bit(kCard, machine::kOutCutterOut, 1);
        m_cutter.setCutterHomed(false);
        break;
    case CutterBack:
        m_card.write_bit(kCard, machine::kOutCutterOut, 0);
        m_card.write_bit(kCard, machine::kOutCutterBack, 1);
        m_cutter.setCutterHomed(true);
        break;
    case Clamp:
        machine::InvertOutput(m_card, machine::kOutClamp, machine::kOutClampSecond);
        break;
    // The grippers share outputs 4 and 5 with the benders ("M22"/"M23"
    // and "M24"/"M25" drive the same outputs as "M18" and "M20").
    case BenderI:
    case GripperI:
        machine::InvertOutput(m_card, machine::kOutGripperI);
        break;
    case BenderII:
    case GripperII:
        machine::InvertOutput(m_card, machine::kOutGripperII);
        break;
    default:
        break;
    }
}

bool IoBoard::clickOutputLabel(int output, std::int16_t userLevel) {
    if (userLevel != 2 || output < 0 || output >= kIoOutputLamps) {
        return false;
    }
    machine::InvertOutput(m_card, output);
    return true;
}

} // namespace korvel::app
