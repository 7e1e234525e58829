#include "agents/UPlayer.h"

#include <cstdio>

TPlayer::TPlayer() {
  RealState = std::make_unique<TState>();
  SimState = std::make_unique<TState>();
  // A constructor cannot reach the overrides, so each class adds its own parameters in its own
  // constructor; base first, which is the order the virtual DefineParams gives.
  DefineOwnParams();
  Futures = std::make_unique<TListOfFutures>(this);
  NewFuture = false;
  UseRefined = true;
  GridSize = 10;
  MinGridSize = 5;
  MaxGridSize = 30;
  AutoGrid = true;
  TargetFutures = 100;
  ShapeDirty = true;
  ShapeUnallocated = true;
  SetSimulating(false);
  Track = nullptr;
  DebugLevel = TDebugLevel::Nothing;
  // Three draws, blue first; every channel in 100..255 so that no player is dark.
  const int32_t Blue = RoundEven(100 + 155 * RandomUniform());
  const int32_t Green = RoundEven(100 + 155 * RandomUniform());
  const int32_t Red = RoundEven(100 + 155 * RandomUniform());
  Color = static_cast<TColor>(Red + 256 * Green + 65536 * Blue);
  SetInfo("");
  MarkStart();
}

TPlayer::~TPlayer() {
  Futures.reset();
  RealState.reset();
  SimState.reset();
}

void TPlayer::DefineParams() { DefineOwnParams(); }

void TPlayer::DefineOwnParams() {
  SetSimulating(false);
  // Unbounded: the size slider reaches 40.
  SizeIndex = State().AddParam({.Name = "Size", .Value = 6});
  DeadIndex = State().AddParam({.Name = "Dead"});
}

void TPlayer::ResetToStart() {
  ShapeDirty = true;
  RealState->RestoreStart();
}

void TPlayer::AssignFrom(TPlayer& Source) {
  RealState->CopyFrom(*Source.RealState);
  MarkStart();
  Track = Source.Track;
  SetSimulating(Source.Simulating);
  // The copied position and size make the old outline stale.
  ShapeDirty = true;
}

void TPlayer::Draw() { UpdateShape(); }

TColor TPlayer::StateColor(TState& /*S*/) { return clGray; }

void TPlayer::AdaptGrid() {
  if (TargetFutures <= 0) return;  // no target to aim at
  const int32_t G = GetGridSize();
  const int32_t C = Futures->Count();
  // Half way towards G * C / TargetFutures.
  SetGridSize(RoundEven(G * (static_cast<double>(C) / TargetFutures + 1) / 2));
}

void TPlayer::MarkStart() {
  State().ResetScore();
  State().StoreStart();
}

void TPlayer::BeginFuture() {
  if (Simulating) return;
  Simulating = true;
  ShapeDirty = true;  // the outline now belongs to the other state
  SimState->CopyFrom(*RealState);
  SimState->ResetScore();
  NewFuture = true;
}

void TPlayer::EndFuture() {
  if (!Simulating) return;
  AbandonFuture();
  Futures->AddFuture(*SimState);
}

void TPlayer::AbandonFuture() {
  if (!Simulating) return;
  Simulating = false;
  ShapeDirty = true;
}

void TPlayer::DrawRandomDecision() {
  if (IsDead()) return;
  State().Randomize(NewFuture, FutureRandom);
  NewFuture = false;
}

void TPlayer::DecideFromFutures() {
  if (IsDead()) return;
  Futures->Decide(State());
  // Unchecking "Auto adjust grid size." keeps the grid where the user put it.
  if (AutoGrid) AdaptGrid();
}

void TPlayer::DrawFutures() {
  for (int32_t I = 0; I < Futures->Count(); ++I) DrawFuture(I);
}

static int32_t Limit(int32_t Value, int32_t Min, int32_t Max) {
  if (Value < Min) Value = Min;
  if (Value > Max) Value = Max;
  return Value;
}

int32_t TPlayer::GetGridSize() const { return Limit(GridSize, MinGridSize, MaxGridSize); }

void TPlayer::SetGridSize(int32_t Value) {
  GridSize = Limit(Value, MinGridSize, MaxGridSize);
  // The cells get the requested step, not the limited one; the next AdaptGrid starts from
  // the limited GridSize.
  TState& S = State();
  for (int32_t I = 0; I < S.MacroParamCount(); ++I) S.MacroParam(I).Precision = Value;
}

void TPlayer::SetSize(double Value) {
  TStateParam& Size = *State().Params[SizeIndex];
  if (Size.Value == Value) return;
  Size.SetValue(Value);
  ShapeDirty = true;
}

std::string TPlayer::GetInfo() const {
  if (!InfoIsNumber) return Info;
  char Buffer[400];  // room for the widest double in fixed notation
  std::snprintf(Buffer, sizeof Buffer, "%4.4f", InfoNumber);
  return Buffer;
}

void TPlayer::SetInfo(const std::string& Text) {
  Info = Text;
  InfoIsNumber = false;
}
