#include "agents/UKart.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "agents/UKartPhysics.h"

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
  return KartStep::TraceColor<LaneMath::TPlain>(S.Param(PushPowerIndex).IntValue,
                                                S.Param(PushTurnIndex).IntValue);
}

int32_t TKart::SlotParam(KartStep::TLaneSlot Slot) const {
  using namespace KartStep;
  switch (Slot) {
    case lsDead:
      return DeadIndex;
    case lsPosX:
      return PosXIndex;
    case lsPosY:
      return PosYIndex;
    case lsAngle:
      return AngleIndex;
    case lsVelX:
      return VelXIndex;
    case lsVelY:
      return VelYIndex;
    case lsTurn:
      return TurnIndex;
    case lsPower:
      return PowerIndex;
    case lsCanRunOut:
      return CanRunOutIndex;
    case lsPushTurn:
      return PushTurnIndex;
    default:
      return PushPowerIndex;
  }
}

KartStep::TKartLimits TKart::Limits() const {
  const TState& S = State();
  const TStateParam& PTurn = *S.Params[TurnIndex];
  const TStateParam& PPower = *S.Params[PowerIndex];
  const TStateParam& PushT = *S.Params[PushTurnIndex];
  const TStateParam& PushP = *S.Params[PushPowerIndex];
  return {S.Params[SizeIndex]->Value,
          PTurn.MinValue,
          PTurn.MaxValue,
          PPower.MinValue,
          PPower.MaxValue,
          PushT.MinValue,
          PushT.MaxValue,
          PushT.Precision,
          PushP.MinValue,
          PushP.MaxValue,
          PushP.Precision};
}

void TKart::Advance(int32_t TimeStepMs) {
  using namespace KartStep;
  using LaneMath::TPlain;
  const TRoad& R = Road();
  UpdateShape();  // the outline of the pose as it stands
  TState& St = State();
  TKartLanes<TPlain> K;
  for (int32_t Slot = 0; Slot < lsCount; ++Slot) {
    const TStateParam& P = *St.Params[SlotParam(static_cast<TLaneSlot>(Slot))];
    K.Value[Slot] = P.Value;
    K.Prev[Slot] = P.PrevValue;
  }
  K.Score = St.Score;
  K.ScoreFactor = St.ScoreFactor;
  CosSin(Angle(), K.CosA, K.SinA);
  for (int32_t I = 0; I < Corners; ++I) {
    K.ShapeX[I] = Shape[I].x;
    K.ShapeY[I] = Shape[I].y;
  }

  TStepNotes<TPlain> Notes;
  const bool Stopped =
      KartStep::Advance<TPlain>(R.View(), Limits(), K, TimeStepMs, Simulating, &Notes) != 0;

  // Back into the state, as SetValue would have written each value.
  for (int32_t Slot = 0; Slot < lsCount; ++Slot) {
    TStateParam& P = *St.Params[SlotParam(static_cast<TLaneSlot>(Slot))];
    if (!P.KeepPrevious) P.PrevValue = K.Prev[Slot];
    P.Value = K.Value[Slot];
    P.GridIndexValid = false;
  }
  St.Score = K.Score;
  St.ScoreFactor = K.ScoreFactor;
  OffTrack = Notes.OffTrack != 0;
  if (Stopped) return;
  SetInfoNumber(Notes.Drag);
  ShapeDirty = true;
}

void TKart::Draw() {
  if (!Track) return;
  TPlayer2D::Draw();
  TPicture* Pic = Canvas();
  if (!Pic) return;

  DrawWheels(*Pic);
  DrawKnob(*Pic);
  if (UseBattery()) DrawBattery(*Pic);
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
