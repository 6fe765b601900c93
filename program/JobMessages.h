#pragma once
// The messages a job start can end with, in both languages.

#include "common/Message.h"

namespace korvel::program {

// Checks of the machine before generation.
common::Message CutDepthTooLargeMessage();
common::Message InfeedAtZeroMessage();
common::Message BendMotorNotAtZeroMessage();
common::Message DownCutterNotAtZeroMessage();
common::Message SwingMotorNotAtZeroMessage();
common::Message CutterNotBackMessage();
// The program does not fit the program store.
common::Message ProgramTooLongMessage();

// Jobs this system refuses rather than truncate or run badly.
common::Message BendQueueFullMessage();
common::Message JoiningTableFullMessage();
common::Message CorrectionLogFullMessage();
common::Message GripperStrokeMissingMessage();
common::Message GripperStrokeNotWholeMessage();
common::Message RepeatCountMessage();
common::Message RunPanelValueMessage();
common::Message PathValueMessage();
// A restart at a piece the path does not have.
common::Message NoSuchPieceMessage(int piece, int count);

} // namespace korvel::program
