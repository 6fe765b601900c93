#pragma once
// What the machine must satisfy before a job is generated: cut depths
// within the material, the infeed off its zero switch, and, when the job
// does not home first, every axis at zero and the cutter back.

#include "common/Message.h"
#include "machine/MotionCard.h"
#include "machine/ParameterSet.h"
#include "program/MainWindowFields.h"

#include <optional>

namespace korvel::program {

// The first check that fails, in the machine's order, or nothing.
std::optional<common::Message> CheckMachineBeforeRun(const machine::ParameterSet& params,
                                                     const MainWindowFields& fields,
                                                     machine::MotionCard& card);

} // namespace korvel::program
