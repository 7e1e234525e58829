#pragma once
// The window's start-up race without a window, for the checks that run headless (the benchmark
// and the exactness test).

#include <cstdint>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "world/URaceSetup.h"
#include "world/UTrack2D.h"

/// The built-in circuit and the track as the window sets them up at start, seeded, with
/// KartCount karts added as its "+" adds them.
struct TStartUpRace {
  TQtPicture Picture{DefaultCircuitImage()};
  TTrack2D Track;
  TKartList Karts;

  TStartUpRace(int KartCount, uint64_t Seed) {
    RandomSeed(Seed);
    Track.Seed = Seed;
    Track.SetImage(&Picture);
    ApplyTrackSettings(Track, TTrackSettings{});
    for (int I = 0; I < KartCount; ++I) AddKart(Track, Karts, TKartSettings{});
  }
};
