#include "decision/UBase.h"

#include <chrono>
#include <cmath>

void RandomSeed(uint64_t Seed) { KartRandom::Global.Seed(Seed); }

uint64_t RandomSeedFromClock() {
  const auto Now = std::chrono::system_clock::now().time_since_epoch();
  const uint64_t Seed =
      static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(Now).count());
  RandomSeed(Seed);
  return Seed;
}

void RaiseListIndexError(int64_t Index) {
  throw EModelError("List index out of bounds (" + std::to_string(Index) + ")");
}
