#pragma once
// How the machine is built, as the equipment parameters code it: the feed
// (roller or grippers), the bender and how the cutter moves in. Every rule
// that depends on the build names these instead of bare numbers.

namespace korvel::machine {

// FeedType: a friction roller pulls the strip, or grippers on a carriage
// carry it, closing once per stroke or on both strokes.
inline constexpr int kFeedRoller = 0;
inline constexpr int kFeedGripperSingle = 1;
inline constexpr int kFeedGripperDouble = 2;

// BenderType 0: the machine has no bending arm.
inline constexpr int kNoBender = 0;

// InfeedControl 1: a motor on the A axis moves the cutter in (otherwise A
// swings the cutter).
inline constexpr int kMotorInfeed = 1;

} // namespace korvel::machine
