#include "agents/UKart.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "agents/UKartPhysics.h"
#include "world/UTrack2D.h"

using namespace KartPhysics;

namespace {

constexpr double Pi = std::numbers::pi;

}  // namespace

TKart::TKart(double X, double Y, double AAngle) : TPlayer2D() {
  DefineOwnParams();
  SetSize(KartSize);
  SetPosition(X, Y, AAngle);
  MarkStart();
  TargetFutures = 150;
}

void TKart::DefineParams() {
  TPlayer2D::DefineParams();
  DefineOwnParams();
}

void TKart::DefineOwnParams() {
  TState& S = State();
  TurnIndex = S.AddParam(
      {.Name = "Turn", .Kind = pkMacro, .Bounded = true, .Min = -TurnLimit, .Max = TurnLimit});
  PowerIndex = S.AddParam(
      {.Name = "Power", .Kind = pkMacro, .Bounded = true, .Min = -PowerLimit, .Max = PowerLimit});
  BatteryIndex = S.AddParam({.Name = "Battery",
                             .Kind = pkMacro,
                             .Value = BatteryFull,
                             .Bounded = true,
                             .Min = 0,
                             .Max = BatteryFull});
  UseBatteryIndex = S.AddParam({.Name = "UseBattery"});
  CanRunOutIndex = S.AddParam({.Name = "CanRunOut"});
  PushTurnIndex = S.AddParam({.Name = "PushTurn",
                              .Kind = pkFree,
                              .Bounded = true,
                              .Min = -PushTurnLimit,
                              .Max = PushTurnLimit,
                              .Precision = PushTurnRange});
  PushPowerIndex = S.AddParam({.Name = "PushPower",
                               .Kind = pkFree,
                               .Bounded = true,
                               .Min = -PushPowerLimit,
                               .Max = PushPowerLimit,
                               .Precision = PushPowerRange});
}

void TKart::UpdateShape() { BuildShape(OutlineFactors, 4); }

TColor TKart::StateColor(TState& S) {
  // The decision the future started with lives on in the free parameters' IntValue.
  if (S.Param(PushPowerIndex).RoundedValue() < HardBrake) return clBlack;
  if (S.Param(PushTurnIndex).RoundedValue() > 0) return clRed;
  return clBlue;
}

void TKart::Advance(int32_t TimeStepMs) {
  const TTrack2D& T = Track2D();
  if (FollowRoadRules(TestOutline())) return;
  const double Dt = TimeStepMs / 1000.0;
  Steer(Dt);
  Drive(T, TimeStepMs);
  ScoreStep();
  ShapeDirty = true;
}

bool TKart::FollowRoadRules(const TOutlineTest& Outline) {
  // Off-road flag and "CanRunOut" are settled before the crash test.
  TState& St = State();
  OffTrack = !Outline.OnTrack;
  if (!Simulating)
    SetCanRunOut(OffTrack);
  else if (!OffTrack)
    SetCanRunOut(false);
  if (!Outline.InBounds) St.Score = 0;
  if (!(OffTrack && Simulating && !CanRunOut())) return false;

  // A simulated future that leaves the road without leave to do so ends here.
  if (!IsDead()) {
    const double W = VelX() * VelX() + VelY() * VelY();
    St.ScoreFactor *= std::min(std::max(W * W / CrashDivisor, CrashKeptMin), CrashKeptMax);
    SetDead(true);
  }
  return true;
}

void TKart::Steer(double Dt) {
  TState& St = State();
  TStateParam& PTurn = *St.Params[TurnIndex];
  TStateParam& PPower = *St.Params[PowerIndex];
  PTurn.SetValue(PTurn.Value + St.Params[PushTurnIndex]->Value * Dt);
  PPower.SetValue(PPower.Value + St.Params[PushPowerIndex]->Value * Dt);
}

void TKart::Drive(const TTrack2D& T, int32_t TimeStepMs) {
  TState& St = State();
  TStateParam& PPower = *St.Params[PowerIndex];
  TStateParam& PAngle = *St.Params[AngleIndex];
  TStateParam& PVelX = *St.Params[VelXIndex];
  TStateParam& PVelY = *St.Params[VelYIndex];
  TStateParam& PPosX = *St.Params[PosXIndex];
  TStateParam& PPosY = *St.Params[PosYIndex];
  const double Dt = TimeStepMs / 1000.0;
  const double H = Dt * Dt / 2;

  // Velocity split into the part along the heading and the part sideways.
  const double A = PAngle.Value;
  double CosA, SinA;
  CosSin(A, CosA, SinA);  // the outline test has used them already
  double VF = CosA * PVelX.Value + SinA * PVelY.Value;
  double FX = CosA * VF, FY = SinA * VF;
  double SX = PVelX.Value - FX, SY = PVelY.Value - FY;

  double Fr = T.Friction, SFr = T.SideFriction;
  if (OffTrack) {
    Fr *= OffRoadFrictionFactor;
    SFr /= OffRoadSideFrictionDivisor;
    PPower.SetValue(std::min(PPower.Value, PPower.MaxValue / OffRoadPowerDivisor));
  }

  const double D = (DragPerSpeed * VF + 1) * Fr;
  SetInfoNumber(D);
  const double K = std::max(1 - (TimeStepMs / DragStepMs) * D, 0.0);

  // Braking slows the forward part but never reverses it.
  if (PPower.Value < 0) {
    VF = std::max(
        VF - std::fabs(PPower.Value / PPower.MinValue) * PPower.MaxValue * Dt * Fr * BrakeGain,
        0.0);
    FX = CosA * VF;
    FY = SinA * VF;
  }

  // The sideways part loses a fixed amount per second until it is gone.
  const double S = std::sqrt(SX * SX + SY * SY);
  if (S > MinSlide) {
    const double Kept = std::max(S - SlideLossPerSecond * Dt * SFr, 0.0) / S;
    SX *= Kept;
    SY *= Kept;
  }

  // Slow karts turn proportionally slower; reversing karts turn the other way.
  const double Turn = St.Params[TurnIndex]->Value;
  SetAngle(A + Turn * Dt * std::min(VF / FullTurnSpeed, 1.0));
  const double A2 = PAngle.Value + Turn / 2;
  const double P = std::max(PPower.Value, 0.0);
  double CosA2, SinA2;
  KartMath::SinCos(A2, CosA2, SinA2);
  const double AX = CosA2 * P, AY = SinA2 * P;

  PVelX.SetValue(FX * K + SX + Dt * AX);
  PVelY.SetValue(FY * K + SY + Dt * AY);
  PPosX.SetValue(PPosX.Value + PVelX.Value * Dt + AX * H);
  PPosY.SetValue(PPosY.Value + PVelY.Value * Dt + AY * H);
}

void TKart::ScoreStep() {
  // The distance of this step in fifths of the kart's size, almost nothing off the road.
  TState& St = State();
  const TStateParam& PPosX = *St.Params[PosXIndex];
  const TStateParam& PPosY = *St.Params[PosYIndex];
  const double DX = PPosX.Value - PPosX.PrevValue, DY = PPosY.Value - PPosY.PrevValue;
  double G = ScorePerSize * std::sqrt(DX * DX + DY * DY) / St.Params[SizeIndex]->Value;
  if (OffTrack) G /= OffRoadScoreDivisor;
  St.AddScore(G);
}

void TKart::Draw() {
  if (!Track) return;
  TPlayer2D::Draw();
  TPicture* Canvas = Track2D().Image;
  if (!Canvas) return;

  DrawWheels(*Canvas);
  DrawKnob(*Canvas);
  if (UseBattery()) DrawBattery(*Canvas);
}

void TKart::DrawWheels(TPicture& Canvas) {
  const double S = GetSize(), A = Angle(), X = PosX(), Y = PosY();
  const double Tn = Turn();
  // Front wheels, turned by the steering angle.
  const double CosT = std::cos(A + Tn) * 0.6 * S, SinT = std::sin(A + Tn) * 0.6 * S;
  Canvas.SetPenWidth(2);
  for (int K = -1; K <= 1; K += 2) {
    const int32_t BX = RoundEven(std::cos(A + 0.2 * K * Pi) * S + X);
    const int32_t BY = RoundEven(std::sin(A + 0.2 * K * Pi) * S + Y);
    Canvas.Line(BX, BY, SaturatingAdd(BX, RoundEven(CosT)), SaturatingAdd(BY, RoundEven(SinT)));
  }
  Canvas.SetPenWidth(1);
}

void TKart::DrawKnob(TPicture& Canvas) {
  const double S = GetSize(), A = Angle(), X = PosX(), Y = PosY();
  const double Tn = Turn(), Pw = Power();
  // The knob: forward by the power, sideways by the steering.
  Canvas.SetBrushColor(clWhite);
  const double Pn = Pw >= 0 ? Pw / MaxPower() : Pw / std::fabs(MinPower());
  const double Tr = Tn / MaxTurn();
  const double CosA = std::cos(A), SinA = std::sin(A);
  const double EX = (CosA * Pn * 0.6 - SinA * Tr) * S + X;
  const double EY = (SinA * Pn * 0.6 + CosA * Tr) * S + Y;
  Canvas.SetPenWidth(2);
  Canvas.Line(RoundEven(X), RoundEven(Y), RoundEven(EX), RoundEven(EY));
  Canvas.SetPenWidth(1);
  const int32_t R = RoundEven(0.4 * S);
  // A power above a freshly lowered MaxPower must not push a channel below 0.
  TColor Fill;
  if (Pw >= 0) {
    const TColor V = std::clamp(RoundEven(std::sqrt(Pw / MaxPower()) * 255), 0, 255);
    Fill = (255 - V) + 256 * 255 + 65536 * (255 - V);
  } else {
    const TColor V = std::clamp(RoundEven(std::sqrt(Pw / MinPower()) * 255), 0, 255);
    Fill = 255 + 256 * 255 + 65536 * (255 - V);
  }
  const int32_t X1 = RoundEven(EX - R), Y1 = RoundEven(EY - R);
  const int32_t X2 = RoundEven(EX + R), Y2 = RoundEven(EY + R);
  Canvas.SetPenColor(clSilver);
  Canvas.SetBrushColor(Fill);
  Canvas.Ellipse(X1, Y1, X2, Y2);
  Canvas.SetPenColor(clWhite);
  Canvas.SetBrushColor(clWhite);
  Canvas.Ellipse(RoundEven(EX - 0.8 * R), RoundEven(EY - 0.8 * R), RoundEven(EX + 0.2 * R),
                 RoundEven(EY + 0.2 * R));
  Canvas.SetBrushStyle(TBrushStyle::bsClear);
  Canvas.SetPenColor(clBlack);
  Canvas.Ellipse(X1, Y1, X2, Y2);
}

void TKart::DrawBattery(TPicture& Canvas) {
  const double S = GetSize(), X = PosX(), Y = PosY();
  Canvas.SetPenColor(clBlack);
  Canvas.SetBrushColor(clSilver);
  // The bar is given bottom corner first; the canvas wants the box top-left first.
  Canvas.Rectangle(RoundEven(X + S), RoundEven(Y - S), RoundEven(X + S + 3), RoundEven(Y + S));
  const double B = Battery();
  Canvas.SetPenColor(B < 25 ? clRed : B < 50 ? clYellow : clLime);
  const int32_t GX = RoundEven(X + S + 1);
  Canvas.Line(GX, RoundEven(Y + S - 1), GX, RoundEven(Y + S - 1 - (2 * S - 2) * B / 100));
}
