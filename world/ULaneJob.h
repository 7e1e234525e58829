#pragma once
// What the kart's lane kernels need to imagine futures, and what they give back: plain data,
// and the kart's step whose templates each kernel instantiates with its own types. The kernels
// are built once per instruction set, and nothing they compile may be shared with the rest of
// the program (the linker would keep any one of the copies).

#include <cstdint>

#include "agents/UDebugLevel.h"
#include "agents/UKartStep.h"
#include "agents/UOutline.h"
#include "agents/URoad.h"

using KartStep::TLaneSlot;
using enum KartStep::TLaneSlot;

/// One kart as every future of a move starts it, with the limits its time step reads.
struct TLaneKart {
  double Value[lsCount];
  double Prev[lsCount];
  double PushTurnInt, PushPowerInt;  ///< IntValue of the two decisions
  KartStep::TKartLimits Limits;
  bool Trace;  ///< draws a piece of trace every TraceEverySubSteps sub-steps
};

/// Where a kart's future ended: its changed parameters and its scores.
struct TLaneEnd {
  double Value[lsCount];
  double Prev[lsCount];
  double PushTurnInt, PushPowerInt;
  double Score, ScoreFactor;
};

/// A piece of trace: a line from the kart's previous position to its position, in the colour
/// of the future's first decision.
struct TLaneTrace {
  uint32_t Color;
  int32_t X1, Y1, X2, Y2;
};

/// One worker's share of a move's passes: every pass simulates all karts side by side.
struct TLaneJob {
  int32_t KartCount;
  const TLaneKart* Karts;
  /// The road, its map padded by 8 readable bytes at the end.
  TRoadView Road;
  bool Collisions;
  int32_t SubSteps, TimeStepMs;
  /// The kart's outline: its corners' angle offsets.
  KartShape::TOutlineOffsets Outline;
  /// Room for the kernel's lanes: LaneBytesPerKart + LaneXYBytes bytes per kart, 64-byte
  /// aligned.
  void* Scratch;
  /// The next pass for this worker: its number and, per kart, its random stream's four words.
  /// False when there is none.
  bool (*Claim)(void* Context, int32_t* Pass, uint64_t* Streams);
  /// Pass Pass has ended; Ends holds one record per kart, Traces the pieces it drew in order.
  void (*Finish)(void* Context, int32_t Pass, const TLaneEnd* Ends, const TLaneTrace* Traces,
                 int32_t TraceCount);
  /// Whether any kart draws traces.
  bool AnyTrace;
  /// Room for pieces of trace per lane: LaneTraceCount(KartCount, SubSteps).
  int32_t TraceRoom;
  void* Context;
  /// Counted by the kernel: sub-steps simulated, one per kart and lane that held a pass.
  int64_t SubStepsRun;
};

/// Scratch bytes a kernel of any width needs per kart: its lanes, and its body in the
/// collision pass.
inline constexpr int32_t LaneBytesPerKart = 48 * 64;
inline constexpr int32_t LaneBodyBytes = 192;
inline constexpr int32_t LaneXYBytes = 2 * 64;
/// Pieces of trace one pass draws at most.
inline constexpr int32_t LaneTraceCount(int32_t KartCount, int32_t SubSteps) {
  return KartCount * (SubSteps / TraceEverySubSteps);
}
/// Bytes for the pairs of KartCount karts: a byte per pair, 8 more, then a bit per pair.
inline constexpr int64_t LanePairBytes(int64_t KartCount) {
  const int64_t Pairs = KartCount * (KartCount - 1) / 2;
  return ((Pairs + 15) & ~int64_t{7}) + (Pairs + 63) / 64 * 8;
}
