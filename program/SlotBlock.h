#pragma once
// The block for one V-slot at the slotting line: encoder step, clamp, spin,
// infeed preparation, pre-swing, the operator's action letters repeated once
// per pass, spin off, swing back and release.

#include "machine/ParameterSet.h"
#include "program/ProgramText.h"

#include <cstdint>
#include <string>

namespace korvel::program {

// Kinds of slot.
inline constexpr int kSlotStraight = 1; // no shape swing (0 or 180)
inline constexpr int kSlotCorner = 2;   // swing computed from the corner
inline constexpr int kSlotBlockEnd = 3; // joint between pieces, may end with a cut-off

// Faces for the motor-driven cutter stroke.
inline constexpr int kFaceFront = 0; // DownStrokeFront
inline constexpr int kFaceBack = 1;  // DownStrokeBack

// Flag values: a slot that replaces a small-radius arc carries True (-1) and
// is cut with one pass fewer; callers that need the encoder step left out
// pass exactly 1 (which also counts as True).
inline constexpr std::int16_t kSlotFlagNone = 0;
inline constexpr std::int16_t kSlotFlagArc = -1;
inline constexpr std::int16_t kSlotFlagNoEncoder = 1;

class SlotBlock {
public:
    // encoderOn: the main window's encoder tick box.
    SlotBlock(ProgramText& out, const machine::ParameterSet& params, bool encoderOn)
        : m_out(out), m_p(params), m_encoderOn(encoderOn) {}

    // Appends the whole block. angle in degrees: below 120 the front face,
    // from 120 up the back face (180 = straight back).
    void Print_KCaction(double angle, int kind, int face, std::int16_t flag);

    // Number of cutting passes the block makes (including the cut-off pass).
    int passCount(int kind, std::int16_t flag) const;
    // The swing angle after the front and back swing limits.
    double limitSwing(double angle) const;
    // Cutter up (back) by motor or by IO with its in-position wait; also the
    // job's first move when the cutter is found out.
    void writeCutterUp();

private:
    void writeCutterDown(int face);
    void writeInPositionWait();
    void writeSwing(double value);
    void writeInfeedForward(int pass);
    double endSlotSwing(double angle, int kind) const;
    char swingAxis() const;
    std::string swingSpeed() const;

    ProgramText& m_out;
    const machine::ParameterSet& m_p;
    bool m_encoderOn;
};

} // namespace korvel::program
