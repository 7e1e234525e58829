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

/// A kart's fourteen parameters in the kart's order, at rest (a test holds them to TKart's).
inline std::vector<TParamDecl> KartParamDecls(double GridStep = 15) {
  constexpr double QuarterPi = std::numbers::pi / 4;
  return {
      {.Name = "Size", .Value = 6},
      {.Name = "Dead"},
      {.Name = "PosX", .Kind = pkMacro, .Precision = GridStep},
      {.Name = "PosY", .Kind = pkMacro, .Precision = GridStep},
      {.Name = "Angle", .Kind = pkMacro},
      {.Name = "VelX", .Kind = pkMacro},
      {.Name = "VelY", .Kind = pkMacro},
      {.Name = "Turn", .Kind = pkMacro, .Bounded = true, .Min = -QuarterPi, .Max = QuarterPi},
      {.Name = "Power", .Kind = pkMacro, .Bounded = true, .Min = -10, .Max = 10},
      {.Name = "Battery", .Kind = pkMacro, .Value = 100, .Bounded = true, .Min = 0, .Max = 100},
      {.Name = "UseBattery"},
      {.Name = "CanRunOut"},
      {.Name = "PushTurn", .Kind = pkFree, .Bounded = true, .Min = -5, .Max = 5, .Precision = 5},
      {.Name = "PushPower",
       .Kind = pkFree,
       .Bounded = true,
       .Min = -180,
       .Max = 180,
       .Precision = 50}};
}

inline std::unique_ptr<TState> MakeKartState(double GridStep = 15) {
  auto S = std::make_unique<TState>();
  for (const TParamDecl& D : KartParamDecls(GridStep)) S->AddParam(D);
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
