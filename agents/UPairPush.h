#pragma once
// How two planar bodies that collide bounce and are pushed apart: the collision pass's work on
// one pair, once for the plain pass over the players (where the window may watch each test) and
// for the lane kernels (one lane at a time).

#include <cstdint>

namespace KartCollision {

// How colliding planar players bounce (pixels, px/s).
inline constexpr double BounceShare =
    0.45;  ///< of the closing speed taken from each, along the normal
inline constexpr double HitScoreKept =
    0.8;  ///< most of a simulated future's weight kept after a hit
inline constexpr double HitSpeedFatal = 30;  ///< closing speed from which a hit keeps no weight
inline constexpr double PushPx = 2;          ///< each push apart, per player
inline constexpr int32_t MaxPushes = 4;      ///< pushes at most per collision

/// Whether the bounding boxes of bodies A and B (centre and half size) touch; boxes that only
/// touch still go on to the outline test. The pairwise loop's test, the pair in its order.
template <class TTag>
bool BoxesTouch(double AX, double AY, double ASize, double BX, double BY, double BSize) {
  return !(BX + BSize < AX - ASize || BX - BSize > AX + ASize || BY + BSize < AY - ASize ||
           BY - BSize > AY + ASize);
}

/// Bounces and pushes apart bodies 0 (A) and 1 (B) of Pair when an outline's corner lies in the
/// other's. Pair is the caller's view of them:
///   bool Hits(int32_t Which)      a corner of body Which lies inside the other's outline;
///   bool Listed()                 both are still there (false ends the pass: the window, let in
///                                 by a watched test, may take a player away);
///   double X(W), Y(W), VX(W), VY(W); void SetVel(W, VX, VY) (the previous values kept);
///   void Heading(double& Cos, double& Sin)   of A, for coinciding centres;
///   void Weigh(double F)          scales both imagined futures' weights (nothing for real ones);
///   void MoveBy(W, DX, DY)        shifts body W, its trace's previous point left alone.
/// Returns false when the pair left the list during the work.
template <class TPair>
bool PushApart(TPair& Pair) {
  const bool HitA = Pair.Hits(0);
  if (!Pair.Listed()) return false;
  const bool HitB = !HitA && Pair.Hits(1);
  if (!Pair.Listed()) return false;
  if (!HitA && !HitB) return true;

  // The normal points from A to B. Coinciding centres have none: push along A's heading, so
  // that the pair still comes apart and no speed or position becomes NaN.
  const double Dx = Pair.X(1) - Pair.X(0);
  const double Dy = Pair.Y(1) - Pair.Y(0);
  const double D = __builtin_sqrt(Dx * Dx + Dy * Dy);
  double Nx, Ny;
  if (D > 0) {
    Nx = Dx / D;
    Ny = Dy / D;
  } else {
    Pair.Heading(Nx, Ny);
  }

  // Only an approach along the normal is exchanged.
  const double Approach = (Pair.VX(0) - Pair.VX(1)) * Nx + (Pair.VY(0) - Pair.VY(1)) * Ny;
  const double K = 0.0 < Approach ? Approach : 0.0;
  Pair.SetVel(0, Pair.VX(0) - BounceShare * Nx * K, Pair.VY(0) - BounceShare * Ny * K);
  Pair.SetVel(1, Pair.VX(1) + BounceShare * Nx * K, Pair.VY(1) + BounceShare * Ny * K);

  // A simulated hit keeps at most HitScoreKept of the future's weight, none from a closing
  // speed of HitSpeedFatal on.
  const double Left = 1 - K / HitSpeedFatal;
  const double Kept = 0.0 < Left ? Left : 0.0;
  Pair.Weigh(Kept < HitScoreKept ? Kept : HitScoreKept);

  // A few small pushes each, leaving the trace points alone.
  for (int32_t Push = 0; Push < MaxPushes; ++Push) {
    Pair.MoveBy(0, -PushPx * Nx, -PushPx * Ny);
    Pair.MoveBy(1, PushPx * Nx, PushPx * Ny);
    if (HitA && !Pair.Hits(0)) break;
    if (!Pair.Listed()) return false;
    if (HitB && !Pair.Hits(1)) break;
    if (!Pair.Listed()) return false;
  }
  return true;
}

}  // namespace KartCollision
