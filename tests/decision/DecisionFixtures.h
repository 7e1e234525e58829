#pragma once
// Builders shared by the decision suites: a stand-in owner and small states.

#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "decision/UListOfFutures.h"
#include "decision/UState.h"

/// Stands in for the player: a refinement switch.
class TFakeOwner final : public TFuturesOwner {
 public:
  bool Refined = false;
  bool UsesRefined() const override { return Refined; }
};

inline void AddParam(TState& S, const std::string& Name, TParamKind Kind, double Value,
                     double MaxValue, double MinValue, double Precision) {
  S.AddParam(std::make_unique<TStateParam>(Name, Kind, Value, MaxValue, MinValue, Precision));
}

/// A kart's fourteen parameters in the kart's order, at rest.
inline std::unique_ptr<TState> MakeKartState(double GridStep = 15) {
  constexpr double QuarterPi = std::numbers::pi / 4;
  auto S = std::make_unique<TState>();
  AddParam(*S, "Size", pkPlain, 6, 3, 25, 0);
  AddParam(*S, "Dead", pkPlain, 0, 0, 1, 0);
  AddParam(*S, "PosX", pkMacro, 0, 0, 0, GridStep);
  AddParam(*S, "PosY", pkMacro, 0, 0, 0, GridStep);
  AddParam(*S, "Angle", pkMacro, 0, 0, 0, 0);
  AddParam(*S, "VelX", pkMacro, 0, 0, 0, 0);
  AddParam(*S, "VelY", pkMacro, 0, 0, 0, 0);
  AddParam(*S, "Turn", pkMacro, 0, QuarterPi, -QuarterPi, 0);
  AddParam(*S, "Power", pkMacro, 0, 10, -10, 0);
  AddParam(*S, "Battery", pkMacro, 100, 100, 0, 0);
  AddParam(*S, "UseBattery", pkPlain, 0, 0, 0, 0);
  AddParam(*S, "CanRunOut", pkPlain, 0, 0, 0, 0);
  AddParam(*S, "PushTurn", pkFree, 0, 5, -5, 5);
  AddParam(*S, "PushPower", pkFree, 0, 180, -180, 50);
  return S;
}

/// One simulated future reduced to what the decision reads.
struct TFutureDraft {
  double Turn = 0;   ///< initial "PushTurn"
  double Power = 0;  ///< initial "PushPower"
  double X = 0;      ///< end point, on a 10-pixel grid
  double Y = 0;
  double Score = 0;
  double Team = 0;
  double Factor = 1;
};

/// A future state: two end-point coordinates and the kart's two free parameters, whose
/// IntValue (set by the constructor) holds the initial decision.
inline std::unique_ptr<TState> MakeFuture(const TFutureDraft& F) {
  auto S = std::make_unique<TState>();
  AddParam(*S, "PosX", pkMacro, F.X, 0, 0, 10);
  AddParam(*S, "PosY", pkMacro, F.Y, 0, 0, 10);
  AddParam(*S, "PushTurn", pkFree, F.Turn, 5, -5, 5);
  AddParam(*S, "PushPower", pkFree, F.Power, 180, -180, 50);
  S->Score = F.Score;
  S->TeamAvgScore = F.Team;
  S->ScoreFactor = F.Factor;
  return S;
}

/// The real state that receives the decision: the same parameters as MakeFuture.
inline std::unique_ptr<TState> MakeDecider() { return MakeFuture({}); }

/// The message of the error that Call raises, or "" when it raises none.
template <typename F>
std::string ErrorOf(F&& Call) {
  try {
    Call();
  } catch (const EModelError& E) {
    return E.what();
  }
  return "";
}
