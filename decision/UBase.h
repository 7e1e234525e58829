#pragma once
// Helpers every part of the model shares: rounding, the random source, the error class.

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "decision/ULanes.h"

/// The one error class of the model; what() is the message shown to the user as it stands.
class EModelError : public std::runtime_error {
 public:
  explicit EModelError(const std::string& Message) : std::runtime_error(Message) {}
};

/// Nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
/// Every real-to-integer conversion of the program goes through here. Defined for every input:
/// a result beyond the 32-bit range saturates to INT32_MIN or INT32_MAX (infinities too), and
/// NaN gives 0. Adding and taking away 1.5 * 2^52 leaves exactly the integer that the default
/// rounding mode (nearest, ties to even) picks, without a library call; it runs several times
/// per sub-step.
inline int32_t RoundEven(double X) { return LaneMath::TPlain::Round1(X); }

/// A parameter's value is kept (as a future's decision) and shown in thousandths.
inline constexpr double ThousandthsPerUnit = 1000;

/// A + B held to the 32-bit range, for pixel arithmetic on coordinates that RoundEven may have
/// saturated (a kart far off the picture still draws without overflow).
inline int32_t SaturatingAdd(int32_t A, int32_t B) {
  const int64_t Sum = int64_t{A} + B;
  return Sum < INT32_MIN ? INT32_MIN : Sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(Sum);
}

/// One draw of xoshiro256+ in every lane of L: the next uniform double in [0, 1) on a 2^-53
/// grid from each lane's state S[0..3]. Every future's decisions come from here, at every width.
template <class L>
typename L::D NextUniform(typename L::U* S) {
  using D = typename L::D;
  using U = typename L::U;
  const U Result = S[0] + S[3];
  const U T = S[1] << 17;
  S[2] ^= S[0];
  S[3] ^= S[1];
  S[1] ^= S[2];
  S[0] ^= S[3];
  S[2] ^= T;
  S[3] = (S[3] << 45) | (S[3] >> 19);
  // Result >> 11 has 53 bits: its two halves become doubles exactly by the 2^52 trick, and
  // their sum is exact too (vector lanes have no conversion from 64-bit integers).
  const U V = Result >> 11;
  const U Exp = U{} + 0x4330000000000000ull;
  const U HiBits = (V >> 32) | Exp, LoBits = (V & 0xFFFFFFFFull) | Exp;
  D Hi, Lo;
  __builtin_memcpy(&Hi, &HiBits, sizeof Hi);
  __builtin_memcpy(&Lo, &LoBits, sizeof Lo);
  Hi = Hi - 0x1p52;
  Lo = Lo - 0x1p52;
  return (Hi * 0x1p32 + Lo) * 0x1.0p-53;
}

/// A stream of uniform doubles in [0, 1) on a 2^-53 grid (xoshiro256+). The program's global
/// source is one; every imagined future draws from one of its own, so that its decisions do not
/// depend on which thread or lane simulates it, nor on the futures simulated before it.
struct TRandomStream {
  uint64_t S[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull, 1};

  /// Restarts from Seed; splitmix64 spreads any seed, 0 included, over the whole state.
  void Seed(uint64_t Seed) {
    for (uint64_t& Word : S) {
      Seed += 0x9E3779B97F4A7C15ull;
      Word = Mix(Seed);
    }
  }
  double Next() { return NextUniform<LaneMath::TPlain>(S); }
  /// splitmix64's finaliser: every input bit reaches every output bit.
  static uint64_t Mix(uint64_t Z) {
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    return Z ^ (Z >> 31);
  }
};

/// The seed of one future's stream: a hash of the run's seed, the move, the player's place on
/// the list and the pass. Futures of different passes, players or moves get unrelated streams.
inline uint64_t FutureSeed(uint64_t RunSeed, int64_t Move, int32_t Player, int32_t Pass) {
  uint64_t H = TRandomStream::Mix(RunSeed + 0x9E3779B97F4A7C15ull);
  H = TRandomStream::Mix(H ^ static_cast<uint64_t>(Move));
  H = TRandomStream::Mix(H ^ static_cast<uint64_t>(static_cast<uint32_t>(Player)));
  return TRandomStream::Mix(H ^ (static_cast<uint64_t>(static_cast<uint32_t>(Pass)) << 32));
}

namespace KartRandom {
/// The program's global source: colours of new karts, tests and tools; never a future's draws.
inline TRandomStream Global;
}  // namespace KartRandom

/// A double in [0, 1) from the program's global source.
inline double RandomUniform() { return KartRandom::Global.Next(); }

/// Restarts the random source from a fixed seed (tests, benchmarks, reproducible runs).
void RandomSeed(uint64_t Seed);

/// Restarts the random source from the clock; returns the seed used.
uint64_t RandomSeedFromClock();

/// The error raised by an index outside a list of players or futures.
[[noreturn]] void RaiseListIndexError(int64_t Index);
