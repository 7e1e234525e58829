#include "world/URaceSetup.h"

#include <algorithm>
#include <cmath>

#include "agents/UKart.h"
#include "agents/UKartPhysics.h"
#include "decision/UBase.h"
#include "world/UTrack2D.h"

TReachableState ReachableState() {
  using namespace KartPhysics;
  const double Step = TimeStepMs / 1000.0;
  // On the road the forward speed settles where a move's drag takes what the engine gives:
  // Friction x (DragPerSpeed v^2 + v) = MaxPower x Step, per DragStepMs.
  const double Drag = FrictionRange.Min * (TimeStepMs / DragStepMs);
  const double Gain = MaxPowerRange.Max * Step;
  const double Top = (std::sqrt(1 + 4 * DragPerSpeed * Gain / Drag) - 1) / (2 * DragPerSpeed);
  // Twice that leaves room for bounces: a collision only shares speed between two karts, and
  // karts driven much faster off the picture end in numbers that are not numbers.
  const double Speed = 2 * Top;
  const double Moves = static_cast<double>(MaxMoveNumber);
  // A step scores its length, or racing the lap direction its progress round the road, which is
  // at most half the longest loop: one through every pixel of the largest circuit (io's
  // MaxCircuitPixels).
  const double LongestLoop = 4096.0 * 4096.0;
  const double Stride = std::max(Speed * Step, LongestLoop / 2);
  return {Speed, Speed * Step * Moves,
          10 * TurnDegreesToRadians(MaxTurnDegRange.Max) * Step * Moves,
          ScorePerSize * Stride / SizeRange.Min * Moves};
}

void ApplyTrackSettings(TTrack2D& Track, const TTrackSettings& Settings) {
  Track.Friction = Settings.Friction;
  Track.SideFriction = Settings.SideFriction;
  Track.Seconds = Settings.Seconds;
  Track.TeamScore = Settings.TeamScore;
  Track.Collisions = Settings.Collisions;
  Track.KeepTrails = Settings.KeepTrails;
  Track.RaceDirection = Settings.RaceDirection;
}

void ApplyKartSettings(TKart& Kart, const TKartSettings& Settings) {
  Kart.SetMaxPower(Settings.MaxPower);
  Kart.SetMaxTurn(TurnDegreesToRadians(Settings.MaxTurnDeg));
  Kart.SetSize(Settings.Size);
  Kart.SetGridSize(Settings.Grid);
  Kart.AutoGrid = Settings.AutoGrid;
  Kart.UseRefined = Settings.Refined;
  Kart.DebugLevel = Settings.DebugLevel;
}

TKart& AddKart(TTrack2D& Track, TKartList& Karts, const std::function<void(TKart&)>& Setup) {
  Karts.push_back(std::make_unique<TKart>(StartX, StartY, StartAngle));
  TKart& Kart = *Karts.back();
  Track.AddPlayer(Kart);
  const int32_t Count = Track.PlayerCount();
  // The new kart stands on top of the one added before it, with its values.
  if (Count > 1) Kart.AssignFrom(Track.GetPlayer(Count - 2));
  if (Setup) Setup(Kart);
  Kart.MarkStart();
  Kart.MoveBy(true, false, 0, 0, 0);
  if (Count <= 5) Kart.Color = KartColors[Count - 1];
  return Kart;
}

TKart& AddKart(TTrack2D& Track, TKartList& Karts, const TKartSettings& Settings) {
  return AddKart(Track, Karts, [&Settings](TKart& Kart) { ApplyKartSettings(Kart, Settings); });
}

void RemoveKart(TTrack2D& Track, TKartList& Karts, const TKart* Kart) {
  const auto It = std::find_if(Karts.begin(), Karts.end(),
                               [Kart](const std::unique_ptr<TKart>& K) { return K.get() == Kart; });
  if (It == Karts.end()) return;
  Track.RemovePlayer(It->get(), false);
  Karts.erase(It);
}

double TurnDegreesToRadians(double Degrees) {
  return static_cast<double>(Degrees * PiExtended / 180.0L);
}
