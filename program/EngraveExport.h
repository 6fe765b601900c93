#pragma once
// The engraving slot program: instead of slotting on the bending machine,
// the strip is laid along the Y axis of an engraving (milling) machine and
// a straight V-groove is milled across its width (along X) at every place
// where the bending machine would slot. Standard milling G-code, not the
// machine's own dialect.

#include "common/AppDir.h"
#include "common/Message.h"
#include "common/TextFile.h"
#include "geometry/PathFile.h"
#include "machine/ParameterSet.h"
#include "program/GroovePositions.h"
#include "program/MarkedPoints.h"

#include <string>
#include <vector>

namespace korvel::program {

// The export frame's fields as the operator typed them.
struct EngraveFields {
    std::string fileName; // Text8: written into the application folder as typed
    std::string depth;    // Text9(0): groove depth in Z (mm)
    std::string width;    // Text9(1): material width in X (mm)
    std::string spindle;  // Text9(2): spindle speed
    std::string feed;     // Text9(3): feed speed while grooving
};

// "尚未选择加工路径，不能输出！" / "No Choise, Can't Output!"
common::Message NoPathMessage();

// True when CtrP.dat of the folder holds at least one line (the check before
// the export frame is shown).
bool PathSelected(const common::AppDir& app);

// The program for the grooves: header, five lines per groove (rapid to Y,
// plunge, cut across to the far edge + 5 mm, lift, back to X-5), end.
common::Lines EngraveProgramLines(const std::vector<double>& grooves, const EngraveFields& fields);

// ExportEngraveProgram: reads CtrP.dat, writes the program file (through a
// temporary file). Throws UserError for a file name that is empty or names
// a folder, and for depth, width, speed or feed values that are not
// positive plain decimals. Returns the number of grooves.
std::size_t ExportEngraveProgram(const common::AppDir& app, const EngraveFields& fields,
                                 const machine::ParameterSet& params, const MarkedPoints& marked,
                                 const GrooveOptions& options);

} // namespace korvel::program
