#pragma once
// Building the simulated card for an application folder. The simulated
// machine is described in the folder's SimMachine.ini in millimetres and
// degrees; turning that into pulses needs the pulse equivalents, so the
// parameter group is read once (quietly) before the card is made and the
// machine starts up on it. The shipped files are installed first, so a
// fresh folder works at once.

#include "common/AppDir.h"
#include "machine/SimulatedCard.h"

#include <filesystem>
#include <memory>

namespace korvel::machine {

std::unique_ptr<SimulatedCard> MakeSimulatedCard(const common::AppDir& dir,
                                                 const std::filesystem::path& resourcesDir);

} // namespace korvel::machine
