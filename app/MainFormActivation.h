#pragma once
// What the main window re-applies every time it becomes active (at start
// and after each setup window closes): the captions and controls that
// depend on how the machine is built. The window only copies the result
// into its widgets, so a changed parameter shows without a restart.

#include "machine/ParameterSet.h"

#include <string>

namespace korvel::app {

// A control the machine configuration may show, hide or leave alone.
enum class Shown { Hidden, Visible, Unchanged };

// How the A axis and the cutter work, as the captions of mainform1.txt see
// them.
struct CutterAxes {
    bool infeed = false;   // A is a motor infeed axis (mm), otherwise a swing axis (deg)
    bool zIsSwing = false; // the Z axis swings the cutter
};

struct MainFormActivation {
    CutterAxes axes;
    std::string aUnit;              // unit label of the A position: "mm" or "deg"
    bool swingHomingEnabled = true; // Command_Z2
    bool cutDepthRowVisible = false;
    std::string feedSpeed;             // Text2: the X axis manual speed
    bool curvatureTableEnabled = true; // Command10(5) "曲率表设置"
    // The feed-type table.
    Shown clamp = Shown::Unchanged;      // Command3(7) "压紧"
    Shown gripper1 = Shown::Unchanged;   // Command3(6) "机械手1"
    Shown gripper2 = Shown::Unchanged;   // Command3(5) "机械手2"
    Shown singleStep = Shown::Unchanged; // Check1, Text3 and its unit
    Shown encoder = Shown::Unchanged;    // Check3
    Shown feedHoming = Shown::Unchanged; // Check4
    // Text17(0), Text17(1): the front-cut and back-cut cutter strokes.
    std::string frontStroke;
    std::string backStroke;
};

// The activation handler's seven steps as data.
MainFormActivation ActivationFor(const machine::ParameterSet& params);

} // namespace korvel::app
