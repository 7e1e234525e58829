#pragma once
// The kart: steering and engine power driven by two decisions, its physics, score and drawing.

#include <cstdint>
#include <memory>

#include "agents/UKartStep.h"
#include "agents/UPlayer2D.h"

/// The only concrete player. Its free parameters are "PushTurn" and "PushPower", the rates at
/// which steering ("Turn", radians) and engine power ("Power", px/s^2) change.
class TKart : public TPlayer2D {
 public:
  int32_t TurnIndex = 0;
  int32_t PowerIndex = 0;
  int32_t BatteryIndex = 0;
  int32_t UseBatteryIndex = 0;
  int32_t CanRunOutIndex = 0;
  int32_t PushTurnIndex = 0;
  int32_t PushPowerIndex = 0;
  bool OffTrack = false;  ///< the outline was not wholly on the road at the last Advance

  /// The outline's corners, as angles from the heading in units of pi: two front corners at
  /// +-18 degrees, two rear ones at +-144.
  static constexpr double OutlineFactors[4] = {-0.1, 0.1, 0.8, -0.8};

  /// Size 8, placed at (X, Y) heading Angle, at rest, marked as its start.
  TKart(double X, double Y, double AAngle);

  void UpdateShape() override;
  void DefineParams() override;
  bool CanThinkOnCopies() const override { return true; }
  std::unique_ptr<TPlayer> NewThinkingCopy() const override {
    return std::make_unique<TKart>(0, 0, 0);
  }
  void Draw() override;
  /// Black for a future begun by hard braking, red for one begun steering right, else blue.
  TColor StateColor(TState& S) override;
  /// One time step of the active state: physics, off-road and crash rules, score
  /// (KartStep::Advance at width 1).
  void Advance(int32_t TimeStepMs) override;

  /// The index in the state of the parameter in lane slot Slot.
  int32_t SlotParam(KartStep::TLaneSlot Slot) const;
  /// The size, bounds and ranges the step reads, from the active state.
  KartStep::TKartLimits Limits() const;

  double Turn() const { return State().Params[TurnIndex]->Value; }
  void SetTurn(double V) { State().Params[TurnIndex]->SetValue(V); }
  double Power() const { return State().Params[PowerIndex]->Value; }
  void SetPower(double V) { State().Params[PowerIndex]->SetValue(V); }
  double Battery() const { return State().Params[BatteryIndex]->Value; }
  double PushTurn() const { return State().Params[PushTurnIndex]->Value; }
  double PushPower() const { return State().Params[PushPowerIndex]->Value; }
  bool UseBattery() const { return State().Params[UseBatteryIndex]->Value > 0.5; }
  bool CanRunOut() const { return State().Params[CanRunOutIndex]->Value > 0.5; }
  void SetCanRunOut(bool V) { State().Params[CanRunOutIndex]->SetValue(V ? 1.0 : 0.0); }

  /// Upper bound of "Power"; writing it leaves the value until its next write.
  double MaxPower() const { return State().Params[PowerIndex]->MaxValue; }
  void SetMaxPower(double V) { State().Params[PowerIndex]->MaxValue = V; }
  double MinPower() const { return State().Params[PowerIndex]->MinValue; }
  /// Upper bound of "Turn" in radians; the lower bound stays -pi/4.
  double MaxTurn() const { return State().Params[TurnIndex]->MaxValue; }
  void SetMaxTurn(double V) { State().Params[TurnIndex]->MaxValue = V; }

 private:
  void DefineOwnParams();

  // The parts of Draw, over the outline.
  void DrawWheels(TPicture& Canvas);
  void DrawKnob(TPicture& Canvas);
  void DrawBattery(TPicture& Canvas);
};
