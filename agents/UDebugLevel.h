#pragma once
// How much of a player's thinking is drawn and listed; each level shows what the ones below do.

#include <cstdint>

enum class TDebugLevel : int32_t {
  Nothing = 0,     ///< only the karts
  Traces = 1,      ///< traces of the futures, and the player's Info in the debug text
  EndPoints = 2,   ///< also the end points of the futures and the listing of the options
  Collisions = 3,  ///< also the collision tests, mark by mark
};

/// From level Traces on, a future draws the piece of its trace of every this many sub-steps.
inline constexpr int32_t TraceEverySubSteps = 5;
