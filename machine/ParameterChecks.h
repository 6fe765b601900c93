#pragma once
// Checks a settings window runs before it saves: every value against the
// range of its line, and the values that are fine alone but cannot work
// together (a gripper feed with no stroke, an encoder with no pulse
// equivalent, a cut deeper than the strip is thick). A refusal names the
// field, so the operator knows which box to correct.

#include "common/Message.h"
#include "machine/ParameterSet.h"
#include "machine/ParameterTable.h"

#include <optional>

namespace korvel::machine {

// Why `value` cannot go into the field of `info`; empty when it can.
common::Message ValueRefusal(const ParameterInfo& info, double value);

// The first pass stroke (CutStroke[0 .. CycleCount-1]) or the cut-off
// stroke that goes deeper than the infeed may travel into the strip
// (InfeedDistanceLimit, the material thickness); nothing when every stroke
// fits or the machine has no motor infeed.
std::optional<int> StrokeBeyondMaterial(const ParameterSet& set);

// Why the values of `set` cannot work together; empty when they can.
common::Message CombinationRefusal(const ParameterSet& set);

} // namespace korvel::machine
