#pragma once
// Karts added as the window adds them, for the programs and checks that run without a window
// (the headless runner, the benchmark, the exactness test).

#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "ui/UDefaultCircuit.h"
#include "ui/UPicture.h"
#include "world/UTrack2D.h"

/// A kart's settings as the window's controls give them; the defaults are those at start-up.
struct TKartSettings {
  double MaxPower = 10;
  double MaxTurnDeg = 45;
  double Size = 8;
  int32_t Grid = 10;
  bool Refined = true;
  int32_t DebugLevel = 0;
};

/// The window's conversion of the turning slider, in extended precision: in double precision
/// a third of the slider's degrees would land one unit in the last place away.
inline double TurnDegreesToRadians(double Degrees) {
  return static_cast<double>(Degrees * 3.1415926535897932385L / 180.0L);
}

/// Adds one kart as the window's "+" does: created at the start point, a copy of the kart
/// before it, the settings applied, marked as its start, drawn, coloured by its number.
inline TKart& AddKartAsWindowDoes(TTrack2D& Track, std::vector<std::unique_ptr<TKart>>& Karts,
                                  const TKartSettings& S) {
  constexpr TColor KartColors[5] = {clRed, clYellow, clLime, clWhite, clFuchsia};
  Karts.push_back(std::make_unique<TKart>(200, 460, std::numbers::pi / 2));
  TKart& K = *Karts.back();
  Track.AddPlayer(K);
  if (Track.PlayerCount() > 1) K.AssignFrom(Track.GetPlayer(Track.PlayerCount() - 2));
  K.SetMaxPower(S.MaxPower);
  K.SetMaxTurn(TurnDegreesToRadians(S.MaxTurnDeg));
  K.SetSize(S.Size);
  K.SetGridSize(S.Grid);
  K.UseRefined = S.Refined;
  K.DebugLevel = S.DebugLevel;
  K.MarkStart();
  K.MoveBy(true, false, 0, 0, 0);
  if (Track.PlayerCount() <= 5) K.Color = KartColors[Track.PlayerCount() - 1];
  return K;
}

/// The built-in circuit and the track as the window sets them up at start, seeded, with
/// KartCount karts added as its "+" adds them.
struct TStartUpRace {
  TQtPicture Picture{DefaultCircuitImage()};
  TTrack2D Track;
  std::vector<std::unique_ptr<TKart>> Karts;

  TStartUpRace(int KartCount, uint64_t Seed) {
    RandomSeed(Seed);
    Track.SetImage(&Picture);
    Track.Friction = 0.015;
    Track.SideFriction = 0.2;
    Track.Seconds = 10;
    Track.Collisions = true;
    for (int I = 0; I < KartCount; ++I) AddKartAsWindowDoes(Track, Karts, TKartSettings{});
  }
};
