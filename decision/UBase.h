#pragma once
// Helpers every part of the model shares: rounding, the random source, the error class.

#include <cstdint>
#include <stdexcept>
#include <string>

/// The one error class of the model; what() is the message shown to the user as it stands.
class EModelError : public std::runtime_error {
 public:
  explicit EModelError(const std::string& Message) : std::runtime_error(Message) {}
};

/// Nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
/// Every real-to-integer conversion of the program goes through here.
int32_t RoundEven(double X);

/// The program's one uniform random source: a double in [0, 1).
double RandomUniform();

/// Restarts the random source from a fixed seed (tests, benchmarks, reproducible runs).
void RandomSeed(uint64_t Seed);

/// Restarts the random source from the clock; returns the seed used.
uint64_t RandomSeedFromClock();

/// The error raised by an index outside a list of players or futures.
[[noreturn]] void RaiseListIndexError(int64_t Index);
