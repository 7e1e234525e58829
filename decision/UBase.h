#pragma once
// Helpers every part of the model shares: rounding, the random source, the error class.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

/// The one error class of the model; what() is the message shown to the user as it stands.
class EModelError : public std::runtime_error {
 public:
  explicit EModelError(const std::string& Message) : std::runtime_error(Message) {}
};

/// Nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
/// Every real-to-integer conversion of the program goes through here. Defined for every input:
/// a result beyond the 32-bit range saturates to INT32_MIN or INT32_MAX (infinities too), and
/// NaN gives 0.
inline int32_t RoundEven(double X) {
  // Everything in this range rounds to a value that fits; NaN fails both tests.
  if (X >= -2147483648.5 && X < 2147483647.5) {
#if FLT_EVAL_METHOD == 0
    // Adding and taking away 1.5 * 2^52 leaves exactly the integer that the default rounding
    // mode (nearest, ties to even) picks, without a library call; it runs several times per
    // sub-step.
    return static_cast<int32_t>((X + 0x1.8p52) - 0x1.8p52);
#else
    // The program never leaves the default rounding mode, so this rounds the same way.
    return static_cast<int32_t>(std::nearbyint(X));
#endif
  }
  if (X != X) return 0;
  return X < 0 ? INT32_MIN : INT32_MAX;
}

namespace KartRandom {
/// The generator's state (xoshiro256+); only RandomUniform and RandomSeed touch it.
inline uint64_t State[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull, 1};
}  // namespace KartRandom

/// The program's one uniform random source: a double in [0, 1). Inline: every simulated
/// decision draws from it.
inline double RandomUniform() {
  // xoshiro256+: fast, and its doubles are uniform on a 2^-53 grid.
  uint64_t* S = KartRandom::State;
  const uint64_t Result = S[0] + S[3];
  const uint64_t T = S[1] << 17;
  S[2] ^= S[0];
  S[3] ^= S[1];
  S[1] ^= S[2];
  S[0] ^= S[3];
  S[2] ^= T;
  S[3] = (S[3] << 45) | (S[3] >> 19);
  return static_cast<double>(Result >> 11) * 0x1.0p-53;
}

/// Restarts the random source from a fixed seed (tests, benchmarks, reproducible runs).
void RandomSeed(uint64_t Seed);

/// Restarts the random source from the clock; returns the seed used.
uint64_t RandomSeedFromClock();

/// The error raised by an index outside a list of players or futures.
[[noreturn]] void RaiseListIndexError(int64_t Index);
