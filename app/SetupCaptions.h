#pragma once
// The captions of the equipment window and the two process windows, line
// by line of their caption files: the control each line is for and its
// built-in Chinese text. The titles end in "-": the window appends the
// current parameter group's name.

#include "app/Captions.h"

namespace korvel::app {

const CaptionTable& SB_FormCaptions();
const CaptionTable& GY_FormCaptions();
const CaptionTable& GY1_FormCaptions();

// SB_Form's fifth slotting button has two caption lines, one per use; they
// are loaded under these keys and the window applies the one that fits.
inline constexpr std::string_view kAutoToolSetCaption = "Command3_4.autoToolSet";
inline constexpr std::string_view kBackSlotCaption = "Command3_4.backSlot";

} // namespace korvel::app
