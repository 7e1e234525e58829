#pragma once
// The kart's time step, once for every lane width: the road's rules, steering, drive and score
// (Advance), its pose, its random decision and the colour of its trace. TKart runs it at width 1
// for real moves and the plain passes; the lane kernels run it at widths 2, 4 and 8, many futures
// side by side (see decision/ULanes.h for what a template here may call).

#include <cstdint>

#include "agents/UCanvas.h"
#include "agents/UKartPhysics.h"
#include "agents/UOutline.h"
#include "agents/URoad.h"
#include "decision/URandomDecision.h"

namespace KartStep {

/// The kart's parameters that change during a future, in the order of the lanes' arrays.
enum TLaneSlot : int32_t {
  lsDead,
  lsPosX,
  lsPosY,
  lsAngle,
  lsVelX,
  lsVelY,
  lsTurn,
  lsPower,
  lsCanRunOut,
  lsPushTurn,
  lsPushPower,
  lsCount
};

/// The corners of the kart's outline.
inline constexpr int32_t Corners = 4;

/// What a kart's step reads besides its changing parameters: its size and the bounds of its
/// bounded parameters (applied only while Max > Min, as SetValue does), with the random ranges
/// of its two decisions.
struct TKartLimits {
  double Size;
  double TurnMin, TurnMax, PowerMin, PowerMax;
  double PushTurnMin, PushTurnMax, PushTurnRange;
  double PushPowerMin, PushPowerMax, PushPowerRange;
};

/// One kart in every lane: its changing parameters with their previous values (as SetValue keeps
/// them), its two decisions in thousandths, its scores, its random stream and its pose.
template <class L>
struct TKartLanes {
  using D = typename L::D;
  D Value[lsCount];
  D Prev[lsCount];
  D PushTurnInt, PushPowerInt;
  D Score, ScoreFactor;
  typename L::U Rng[4];
  /// The pose as it stands: cos and sin of the heading, and the outline's corners (pixels).
  D CosA, SinA;
  D ShapeX[Corners], ShapeY[Corners];
};

/// Which pixels (X, Y) (whole numbers) are off the road in each lane, and which lie inside the
/// picture. At widths above 1 the road's map must be readable 8 bytes past its last pixel.
template <class L>
typename L::M OffRoad(const TRoadView& Road, typename L::D X, typename L::D Y,
                      typename L::M& Inside) {
  using M = typename L::M;
  Inside = L::Lt(L::Dup(0.0), X) & L::Lt(X, L::Dup(Road.Width)) & L::Lt(L::Dup(0.0), Y) &
           L::Lt(Y, L::Dup(Road.Height));
  const M Idx = L::IndexOf(L::Sel(Inside, X * double(Road.Height) + Y, L::Dup(0.0)));
  return L::NonZero(L::Bytes(Road.OffMap, Idx) & 0xFF) & Inside;
}

/// How far round the road the pixel under (X, Y) lies in each lane, in pixels from the start
/// line's front; -1 off the road, outside the picture or unreached (the map's values below 0).
/// Road.Progress set.
template <class L>
typename L::D ProgressAt(const TRoadView& Road, typename L::D X, typename L::D Y) {
  using D = typename L::D;
  using M = typename L::M;
  const D RX = L::Rint(X), RY = L::Rint(Y);
  const M Inside = L::Lt(L::Abs(X), L::Dup(0x1p30)) & L::Lt(L::Abs(Y), L::Dup(0x1p30)) &
                   ~L::Lt(RX, L::Dup(0.0)) & L::Lt(RX, L::Dup(Road.Width)) &
                   ~L::Lt(RY, L::Dup(0.0)) & L::Lt(RY, L::Dup(Road.Height));
  const M Idx = L::IndexOf(L::Sel(Inside, RX * double(Road.Height) + RY, L::Dup(0.0)));
  const M Raw = L::Words(Road.Progress, Idx);
  const M Reached = Inside & ~L::Negative(Raw);
  return L::Sel(Reached, L::FromWhole(Raw & Reached), L::Dup(-1.0));
}

/// The kart's two decisions as the random decision writes them.
template <class L>
struct TPushes {
  const TKartLimits& C;
  TKartLanes<L>& K;
  static int32_t Count() { return 2; }
  double Min(int32_t I) const { return I == 0 ? C.PushTurnMin : C.PushPowerMin; }
  double Max(int32_t I) const { return I == 0 ? C.PushTurnMax : C.PushPowerMax; }
  double Range(int32_t I) const { return I == 0 ? C.PushTurnRange : C.PushPowerRange; }
  void Set(int32_t I, typename L::M Lanes, typename L::D X) {
    const int32_t S = I == 0 ? lsPushTurn : lsPushPower;
    K.Prev[S] = L::Sel(Lanes, K.Value[S], K.Prev[S]);
    K.Value[S] = L::Sel(Lanes, L::WithinBounds(X, Min(I), Max(I)), K.Value[S]);
  }
  void Quantize(int32_t I, typename L::M Lanes) {
    typename L::D& Int = I == 0 ? K.PushTurnInt : K.PushPowerInt;
    const typename L::D& V = K.Value[I == 0 ? lsPushTurn : lsPushPower];
    Int = L::Sel(Lanes, L::Rint(V * ThousandthsPerUnit), Int);
  }
};

/// The kart's simulated decision in every lane (a dead kart decides nothing). First marks the
/// lanes at the first step of their future.
template <class L>
void Decide(const TKartLimits& C, TKartLanes<L>& K, typename L::M First) {
  const typename L::M Alive = ~L::Lt(L::Dup(0.5), K.Value[lsDead]);
  TPushes<L> Free{C, K};
  LaneMath::RandomDecision<L>(Free, K.Rng, First, Alive);
}

/// The pose of every lane from its angle and position: the heading's cos and sin, and the
/// outline (Offsets: the kart's corners).
template <class L>
void Pose(const KartShape::TOutlineOffsets& Offsets, double Size, TKartLanes<L>& K) {
  const typename L::D A = K.Value[lsAngle];
  L::SinCos(A, K.CosA, K.SinA);
  KartShape::Outline<L>(Offsets, L::Dup(Size), K.Value[lsPosX], K.Value[lsPosY], A, K.CosA, K.SinA,
                        K.ShapeX, K.ShapeY);
}

/// What one step noted besides the state, for the real kart.
template <class L>
struct TStepNotes {
  typename L::M OffTrack{};  ///< lanes whose outline was not wholly on the road
  typename L::D Drag{};      ///< the friction's drag of the step (in lanes that moved)
};

/// One time step in every lane, from the pose as it stands (CosA, SinA and the outline): the
/// road's rules, steering, drive and the score of the step's distance. Simulating: imagined
/// futures, where a kart that leaves the road without leave stops for good (its future's weight
/// cut by its speed, the kart dead); else the real move, which never stops. Returns the lanes
/// where the kart stopped; the pose is left as it was (Pose works out the new one).
template <class L>
typename L::M Advance(const TRoadView& Road, const TKartLimits& C, TKartLanes<L>& K,
                      int32_t TimeStepMs, bool Simulating, TStepNotes<L>* Notes = nullptr) {
  using namespace KartPhysics;
  using D = typename L::D;
  using M = typename L::M;
  D* V = K.Value;
  D* P = K.Prev;
  const double Dt = TimeStepMs / MsPerSecond;
  const D Zero = L::Dup(0.0);

  // The outline as it stands, each corner looked up on the road.
  M InBounds = ~M{}, OnTrack = ~M{};
  for (int32_t I = 0; I < Corners; ++I) {
    M Inside;
    const M Off = OffRoad<L>(Road, K.ShapeX[I], K.ShapeY[I], Inside);
    InBounds &= Inside;
    OnTrack &= Inside & ~Off;
  }

  // The road's rules: outside the picture the score is lost. A real kart off the road may run
  // out in its next futures; an imagined one back on the road loses that leave, and off the
  // road without it the future ends, weighed by speed.
  const M OffTrack = ~OnTrack;
  if (Notes) Notes->OffTrack = OffTrack;
  P[lsCanRunOut] = Simulating ? L::Sel(OnTrack, V[lsCanRunOut], P[lsCanRunOut]) : V[lsCanRunOut];
  V[lsCanRunOut] =
      Simulating ? L::Sel(OnTrack, Zero, V[lsCanRunOut]) : L::Sel(OffTrack, L::Dup(1.0), Zero);
  K.Score = L::Sel(InBounds, K.Score, Zero);
  M Stop = M{};
  if (Simulating) {
    Stop = OffTrack & ~L::Lt(L::Dup(0.5), V[lsCanRunOut]);
    const M Crash = Stop & ~L::Lt(L::Dup(0.5), V[lsDead]);
    if (L::Any(Crash)) {
      const D Wv = V[lsVelX] * V[lsVelX] + V[lsVelY] * V[lsVelY];
      const D Kept =
          L::Min(L::Max(Wv * Wv / CrashDivisor, L::Dup(CrashKeptMin)), L::Dup(CrashKeptMax));
      K.ScoreFactor = L::Sel(Crash, K.ScoreFactor * Kept, K.ScoreFactor);
      P[lsDead] = L::Sel(Crash, V[lsDead], P[lsDead]);
      V[lsDead] = L::Sel(Crash, L::Dup(1.0), V[lsDead]);
    }
  }
  const M Go = ~Stop;
  if (!L::Any(Go)) return Stop;

  // Steering and power follow their rates of change.
  const D Turn = L::WithinBounds(V[lsTurn] + V[lsPushTurn] * Dt, C.TurnMin, C.TurnMax);
  const D Power1 = L::WithinBounds(V[lsPower] + V[lsPushPower] * Dt, C.PowerMin, C.PowerMax);

  // The velocity split into the part along the heading and the part sideways.
  const D A = V[lsAngle], X = V[lsPosX], Y = V[lsPosY];
  const D CosA = K.CosA, SinA = K.SinA;
  D VF = CosA * V[lsVelX] + SinA * V[lsVelY];
  D FX = CosA * VF, FY = SinA * VF;
  D SX = V[lsVelX] - FX, SY = V[lsVelY] - FY;
  const D Fr =
      L::Sel(OffTrack, L::Dup(Road.Friction * OffRoadFrictionFactor), L::Dup(Road.Friction));
  const D SFr = L::Sel(OffTrack, L::Dup(Road.SideFriction / OffRoadSideFrictionDivisor),
                       L::Dup(Road.SideFriction));
  // Off the road the power is set a second time, so its previous value is the steered one.
  const D Power2 = L::WithinBounds(L::Min(Power1, L::Dup(C.PowerMax / OffRoadPowerDivisor)),
                                   C.PowerMin, C.PowerMax);
  const D Power = L::Sel(OffTrack, Power2, Power1);
  const D PowerPrev = L::Sel(OffTrack, Power1, V[lsPower]);
  const D Drag = (DragPerSpeed * VF + 1.0) * Fr;
  if (Notes) Notes->Drag = Drag;
  const D KeptFwd = L::Max(1.0 - (TimeStepMs / DragStepMs) * Drag, Zero);

  // Braking slows the forward part but never reverses it.
  const M Brake = L::Lt(Power, Zero);
  if (L::Any(Brake)) {
    const D Braked =
        L::Max(VF - L::Abs(Power / C.PowerMin) * C.PowerMax * Dt * Fr * BrakeGain, Zero);
    VF = L::Sel(Brake, Braked, VF);
    FX = L::Sel(Brake, CosA * VF, FX);
    FY = L::Sel(Brake, SinA * VF, FY);
  }

  // The sideways part loses a fixed amount per second until it is gone.
  const D Side = L::Sqrt(SX * SX + SY * SY);
  const M Slides = L::Lt(L::Dup(MinSlide), Side);
  const D KeptSide = L::Max(Side - SlideLossPerSecond * Dt * SFr, Zero) / Side;
  SX = L::Sel(Slides, SX * KeptSide, SX);
  SY = L::Sel(Slides, SY * KeptSide, SY);

  // Slow karts turn proportionally slower; the engine pushes along the heading half a turn on.
  const D Angle = A + Turn * Dt * L::Min(VF / FullTurnSpeed, L::Dup(1.0));
  const D A2 = Angle + Turn / 2.0;
  const D Push = L::Max(Power, Zero);
  D CosA2, SinA2;
  L::SinCos(A2, CosA2, SinA2);
  const D AX = CosA2 * Push, AY = SinA2 * Push;
  const D VelX = FX * KeptFwd + SX + Dt * AX;
  const D VelY = FY * KeptFwd + SY + Dt * AY;
  const double H = Dt * Dt / 2;
  const D PosX = X + VelX * Dt + AX * H;
  const D PosY = Y + VelY * Dt + AY * H;

  // The score of the step's distance in fifths of the kart's size, almost nothing off the road.
  // Racing the lap direction, the distance is the progress round the road (backwards below 0,
  // nothing where the road is not known under both ends), across the start line included.
  D G;
  if (!Road.Progress) {
    const D DX = PosX - X, DY = PosY - Y;
    G = ScorePerSize * L::Sqrt(DX * DX + DY * DY) / C.Size;
  } else {
    const D P0 = ProgressAt<L>(Road, X, Y), P1 = ProgressAt<L>(Road, PosX, PosY);
    const double Half = Road.Loop / 2.0;
    D Ahead = P1 - P0;
    Ahead = L::Sel(L::Lt(L::Dup(Half), Ahead), Ahead - Road.Loop,
                   L::Sel(L::Lt(Ahead, L::Dup(-Half)), Ahead + Road.Loop, Ahead));
    const M Known = ~L::Lt(P0, Zero) & ~L::Lt(P1, Zero);
    G = L::Sel(Known, ScorePerSize * Ahead / C.Size, Zero);
  }
  if (L::Any(OffTrack)) G = L::Sel(OffTrack, G / OffRoadScoreDivisor, G);

  auto Keep = [&](int32_t Slot, D New, D Old) {
    P[Slot] = L::Sel(Go, Old, P[Slot]);
    V[Slot] = L::Sel(Go, New, V[Slot]);
  };
  Keep(lsTurn, Turn, V[lsTurn]);
  P[lsPower] = L::Sel(Go, PowerPrev, P[lsPower]);
  V[lsPower] = L::Sel(Go, Power, V[lsPower]);
  Keep(lsAngle, Angle, A);
  Keep(lsVelX, VelX, V[lsVelX]);
  Keep(lsVelY, VelY, V[lsVelY]);
  Keep(lsPosX, PosX, X);
  Keep(lsPosY, PosY, Y);
  K.Score = L::Sel(Go, K.Score + G, K.Score);
  return Stop;
}

/// The colour of a future's trace and end point from its first decision (thousandths): black
/// when it began braking harder than HardBrake, red when it began steering right, else blue.
template <class L>
TColor TraceColor(double PushPowerInt, double PushTurnInt) {
  if (PushPowerInt / ThousandthsPerUnit < KartPhysics::HardBrake) return clBlack;
  if (PushTurnInt / ThousandthsPerUnit > 0) return clRed;
  return clBlue;
}

}  // namespace KartStep
