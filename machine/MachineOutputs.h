#pragma once
// The machine's outputs by number on the motion card, and the cutter's
// "back" switch that several interlocks read. Every part of the program
// switches a valve or a motor through these names.

namespace korvel::machine {

inline constexpr int kOutSpindle = 0;    // engraving cutter spindle
inline constexpr int kOutCutterOut = 1;  // cutter valve: out (down)
inline constexpr int kOutCutterBack = 2; // cutter valve: back (up)
inline constexpr int kOutClamp = 3;      // strip clamp
// Output 4 and 5 drive the bender rods; on a gripper feed the same two
// valves are the grippers.
inline constexpr int kOutRodI = 4;
inline constexpr int kOutRodII = 5;
inline constexpr int kOutGripperI = kOutRodI;
inline constexpr int kOutGripperII = kOutRodII;
// The clamp's second valve, always switched together with the clamp.
inline constexpr int kOutClampSecond = 11;

// Inputs several parts read: the home switches of the feed, cutter and
// swing/infeed axes, the cutter back at its top, the tool-setting switch.
inline constexpr int kInFeedHome = 2;
inline constexpr int kInZHome = 14;
inline constexpr int kInCutterBack = 17;
inline constexpr int kInAHome = 20;
inline constexpr int kInToolSet = 21;

} // namespace korvel::machine
