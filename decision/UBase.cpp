#include "decision/UBase.h"

#include <chrono>
#include <cmath>

namespace {

// xoshiro256+: fast, and its doubles are uniform on a 2^-53 grid.
uint64_t State[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull, 1};

inline uint64_t Rotl(uint64_t X, int K) { return (X << K) | (X >> (64 - K)); }

}  // namespace

double RandomUniform() {
  const uint64_t Result = State[0] + State[3];
  const uint64_t T = State[1] << 17;
  State[2] ^= State[0];
  State[3] ^= State[1];
  State[1] ^= State[2];
  State[0] ^= State[3];
  State[2] ^= T;
  State[3] = Rotl(State[3], 45);
  return static_cast<double>(Result >> 11) * 0x1.0p-53;
}

void RandomSeed(uint64_t Seed) {
  // splitmix64 spreads any seed, 0 included, over the whole state.
  for (uint64_t& Word : State) {
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
