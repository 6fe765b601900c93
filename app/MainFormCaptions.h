#pragma once
// The main window's captions: which line of mainform.txt fills which
// control, with the built-in Chinese text, and the configuration-dependent
// lines of mainform1.txt that the activation handler applies. Keys are the
// controls' object names ("Command10_3" for Command10(3), "TabStrip3#1" for
// the second tab of TabStrip3); the menu entries, which the machine names
// only by caption, are called "Menu_..." and those of the view's context
// menu "Popup_...".

#include "app/Captions.h"
#include "app/MainFormActivation.h"

#include <string>
#include <string_view>

namespace korvel::app {

inline constexpr std::string_view kMainFormCaptionFile = "mainform.txt";
inline constexpr std::string_view kMainFormModeCaptionFile = "mainform1.txt";

// "数控围字机控制系统Korvel-V"
inline constexpr std::string_view kMainFormTitle = "数控围字机控制系统Korvel-V";

// Every line of mainform.txt that names a control (the ignored lines are
// left out).
const CaptionTable& MainFormCaptions();

// The lines of mainform1.txt that apply to this configuration: the infeed
// or the swing rows, then the Z-swing rows when Z swings the cutter (they
// override the rows before them, so their order matters).
CaptionTable MainFormModeCaptions(const CutterAxes& axes);

// The window title's suffix: the program version, "major.minor.revision".
std::string VersionText();

// Text1, the active-tab marker: "控制"/"Control" for the control tab (0),
// "设置"/"Setup" for the setup tab (1).
std::string TabMarker(int tab, int languageFlag);

} // namespace korvel::app
