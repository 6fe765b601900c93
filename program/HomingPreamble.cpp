#include "program/HomingPreamble.h"

#include "common/Basic.h"
#include "machine/AxisUnits.h"
#include "machine/MachineOutputs.h"
#include "machine/MotionCard.h"
#include "program/ProgramText.h"
#include "program/SlotBlock.h"

namespace korvel::program {
namespace {

constexpr int kInputBenderHome = 8;
constexpr int kSingleBender = 1;

} // namespace

void WriteHomingSteps(ProgramText& out, const machine::ParameterSet& p, machine::MotionCard& card,
                      bool homeBender) {
    const bool machining = p.RunMode == 0;
    // The cutter goes back first when it is not back, before anything moves
    // under it.
    if (card.read_bit(machine::kCard, machine::kInCutterBack) != 0 && p.CutterUpDownControl == 0 &&
        machining) {
        SlotBlock(out, p, false).writeCutterUp(); // M14, the in-position wait, M15
    }
    // Swing or infeed homing, unless the infeed homes before every slot or
    // nothing swings at all.
    const bool infeedHomesLater = p.InfeedControl == 1 && p.HomeInfeedFirst != 0;
    const bool nothingSwings = p.FrontSwingControl != 0 && p.BackSwingControl != 0 &&
                               p.SlotControl != 0 && p.InfeedControl != 1;
    if (!infeedHomesLater && !nothingSwings && machining) {
        out.add(p.ZAxisSwingCutter == 1 ? "M40" : "M42");
        out.add("M30");
    }
    if (homeBender && p.BenderType > 0) {
        // The single arm standing on its switch leaves it first, so that the
        // search meets the switch edge.
        if (p.BenderType == kSingleBender && card.read_bit(machine::kCard, kInputBenderHome) == 0) {
            out.add("G91 Y" + common::FormatNumber(p.MaxBendAngle / 2, "0.0000") + " F" +
                    common::FormatNumber(p.AutoSpeedY, "0"));
            out.add("G90");
        }
        if (machining) {
            out.add("M38");
            out.add("M30");
        }
    }
    if (p.CutterUpDownControl == 1 && machining) {
        out.add("M40");
        out.add("M30");
    }
}

} // namespace korvel::program
