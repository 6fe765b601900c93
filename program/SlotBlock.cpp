#include "program/SlotBlock.h"

#include "common/Basic.h"

#include <cmath>

namespace korvel::program {

using common::FormatNumber;
using common::Str;

namespace {

// The speed word of the motor-driven cutter stroke keeps its eight zeros
// before the speed, as the cutter controller has always been sent it.
constexpr const char* kMotorSpeedPrefix = " F00000000";

double signOf(double v) {
    return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

} // namespace

char SlotBlock::swingAxis() const {
    return m_p.ZAxisSwingCutter == 1 ? 'Z' : 'A';
}

std::string SlotBlock::swingSpeed() const {
    return FormatNumber(m_p.ZAxisSwingCutter == 1 ? m_p.AutoSpeedZ : m_p.AutoSpeedA, "0");
}

int SlotBlock::passCount(int kind, std::int16_t flag) const {
    int n = m_p.CycleCount;
    // With a motor infeed the joint between two letters is cut through in
    // one extra pass.
    if (std::abs(m_p.CutOffStroke) > 0 && m_p.InfeedControl == 1 && kind == kSlotBlockEnd) {
        ++n;
    }
    // A slot in place of a small arc is shallower: one pass fewer, never
    // fewer than one.
    if (flag != 0 && n > 1) {
        --n;
    }
    return n;
}

double SlotBlock::limitSwing(double angle) const {
    if (angle < 120.0) {
        if (std::abs(angle) >= m_p.FrontMaxSwing) {
            angle = signOf(angle) * m_p.FrontMaxSwing;
        }
        return angle;
    }
    double d = angle - 180.0;
    if (std::abs(d) >= m_p.BackMaxSwing) {
        d = signOf(d) * m_p.BackMaxSwing;
    }
    return d + 180.0;
}

// Start and end slots may have their swing mirrored on machines whose
// cutter swings the other way at a joint.
double SlotBlock::endSlotSwing(double angle, int kind) const {
    if (std::abs(angle) < 90.0 && kind == kSlotBlockEnd && m_p.InvertEndSlotSwing > 0.5) {
        return -angle;
    }
    return angle;
}

void SlotBlock::writeInPositionWait() {
    if (m_p.InPositionCheck != 0) {
        m_out.add("G04 P" + FormatNumber(m_p.InPositionDelay, "0"));
    } else if (m_p.RunMode == 0) {
        m_out.add("M00");
    }
}

void SlotBlock::writeCutterUp() {
    if (m_p.CutterUpDownControl == 1) {
        m_out.add(std::string("G05 Z0") + kMotorSpeedPrefix + FormatNumber(m_p.AutoSpeedZ, "0000"));
        m_out.add("G01");
        return;
    }
    m_out.add("M14");
    writeInPositionWait();
    m_out.add("M15");
}

void SlotBlock::writeCutterDown(int face) {
    if (m_p.CutterUpDownControl == 1) {
        if (face == kFaceFront || face == kFaceBack) {
            const double stroke = face == kFaceFront ? m_p.DownStrokeFront : m_p.DownStrokeBack;
            m_out.add("G05 Z" + FormatNumber(stroke, "0.0000") + kMotorSpeedPrefix +
                      FormatNumber(m_p.AutoSpeedZ, "0000"));
        }
        m_out.add("G01");
        return;
    }
    m_out.add("M12");
    writeInPositionWait();
    m_out.add("M13");
}

void SlotBlock::writeSwing(double value) {
    m_out.add(swingAxis() + FormatNumber(value, "0.0000") + " F" + swingSpeed());
}

void SlotBlock::writeInfeedForward(int pass) {
    const std::string speed = " F" + FormatNumber(m_p.AutoSpeedA, "0");
    if (pass > m_p.CycleCount) {
        m_out.add("A" + FormatNumber(m_p.InfeedSafeDistance + m_p.CutOffStroke, "0.0000") + speed +
                  " ;切断");
        return;
    }
    // Strokes beyond the six configured cuts add nothing.
    auto strokeOf = [&](int index) {
        return index < static_cast<int>(m_p.CutStroke.size()) ? m_p.CutStroke[index] : 0.0;
    };
    double stroke = 0;
    if (m_p.InfeedAccumulate > 0.5) {
        for (int i = 0; i < pass; ++i) {
            stroke += strokeOf(i);
        }
    } else {
        stroke = strokeOf(pass - 1);
    }
    const double depth = m_p.SlotDepthCorr / 100.0 * stroke + m_p.InfeedSafeDistance;
    m_out.add("A" + FormatNumber(depth, "0.0000") + speed + " ;第" + Str(pass) + "刀");
}

void SlotBlock::Print_KCaction(double angle, int kind, int face, std::int16_t flag) {
    const bool machining = m_p.RunMode == 0;
    // 1. The feed position is verified by the encoder before the cut.
    if (m_encoderOn && flag != 1 && m_p.EncoderPort >= 0.5) {
        m_out.add("G04 P400");
        m_out.add("M34");
    } else {
        m_out.add("G04 P200");
    }
    // 2. Clamp the strip.
    m_out.add("M16");
    // 3. Spin the cutter for this slot only.
    if (m_p.SpinControl == 0 && m_p.InfeedControl == 0) {
        m_out.add("M10");
    }
    // 4. Motor infeed: find its zero before cutting.
    if (m_p.InfeedControl == 1 && m_p.HomeInfeedFirst == 1) {
        if (machining) {
            m_out.add("M42");
            m_out.add("M30");
            m_out.add("G90 G01");
        }
    } else {
        m_out.add("G04 P800");
    }
    // 5. Pre-swing to the face when the action order starts with a swing.
    const std::string& order = m_p.SlotActionOrder;
    if (!order.empty() && (order[0] == 'N' || order[0] == 'P')) {
        if (m_p.ZAxisSwingCutter == 1) {
            m_out.add(std::string(angle < 120.0 ? "Z0" : "Z180") + " F" + swingSpeed());
        } else {
            m_out.add(std::string(angle >= 180.0 ? "A180" : "A0") + " F" + swingSpeed());
        }
    }
    // 6. and 7.
    const int passes = passCount(kind, flag);
    angle = limitSwing(angle);
    // 8. The operator's action letters, once per pass.
    for (int pass = 1; pass <= passes; ++pass) {
        for (char letter : order) {
            switch (letter) {
            case 'U':
                writeCutterUp();
                break;
            case 'D':
                writeCutterDown(face);
                break;
            case 'P':
                writeSwing(endSlotSwing(angle, kind));
                break;
            case 'N':
                if (kind == kSlotStraight) {
                    writeSwing(angle);
                } else if (kind == kSlotCorner) {
                    writeSwing(angle < 180.0 ? -angle : 360.0 - angle);
                } else {
                    writeSwing(endSlotSwing(angle, kind));
                }
                break;
            case 'F':
                writeInfeedForward(pass);
                break;
            case 'B':
                if (pass == passes || m_p.CutterUpDownControl == 1) {
                    m_out.add("A0 F" + FormatNumber(m_p.AutoSpeedA, "0"));
                }
                break;
            default:
                break; // other letters (lower case included) are not actions
            }
        }
    }
    // 9. Spin off.
    if (m_p.SpinControl == 0) {
        m_out.add("M11");
    }
    // 10. Swing back to the face the next slot most likely needs.
    if (m_p.InfeedControl == 0) {
        const std::string tail = " F" + swingSpeed();
        const std::string axis(1, swingAxis());
        // Front face only, or a slot that most likely leads to a front cut.
        if (m_p.SlotControl == 1 || angle < 90.0) {
            if (m_p.FrontSwingControl == 0) {
                m_out.add(axis + "0" + tail);
            }
        } else if (m_p.BackSwingControl == 0) {
            m_out.add(axis + "180" + tail);
        }
    }
    // 11. Release the clamp.
    m_out.add("M17");
    m_out.add("G04 P500");
}

} // namespace korvel::program
