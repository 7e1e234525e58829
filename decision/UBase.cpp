#include "decision/UBase.h"

#include <chrono>
#include <cmath>

void RandomSeed(uint64_t Seed) {
  // splitmix64 spreads any seed, 0 included, over the whole state.
  for (uint64_t& Word : KartRandom::State) {
    Seed += 0x9E3779B97F4A7C15ull;
    uint64_t Z = Seed;
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    Word = Z ^ (Z >> 31);
  }
}

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
