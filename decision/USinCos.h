#pragma once
// The model's own sine and cosine: only +, - and x and selects, so that every machine, every
// library version and every vector width gives the same bits (the model is built with
// -ffp-contract=off, so no multiply-add is fused either).

#include <cstdint>

namespace KartMath {

/// pi/2 in three parts: the first two have 24 significant bits, so that K times either is exact
/// for |K| < 2^29; the third carries the rest.
inline constexpr double HalfPiA = 0x1.921fb6p+0;
inline constexpr double HalfPiB = -0x1.777a5cp-25;
inline constexpr double HalfPiC = -0x1.ee59d9cceba4p-50;
inline constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
/// Adding and taking away 1.5 x 2^52 rounds a real below 2^51 to the nearest integer.
inline constexpr double RoundShift = 0x1.8p52;
/// From here on (and for infinities and NaN) the result is NaN: the reduction would be noise.
inline constexpr double MaxArgument = 0x1p42;

/// Taylor coefficients 1/n! with alternating signs, worked out by the compiler in double.
constexpr double InvFactorial(int N) {
  double F = 1;
  for (int I = 2; I <= N; ++I) F *= I;
  return 1 / F;
}

/// The polynomial coefficients, fixed at compile time: never a call, whatever the optimisation
/// (code built for other instruction sets must share no function with the rest).
inline constexpr double SinCoef[8] = {-InvFactorial(17), InvFactorial(15), -InvFactorial(13),
                                      InvFactorial(11),  -InvFactorial(9), InvFactorial(7),
                                      -InvFactorial(5),  InvFactorial(3)};
inline constexpr double CosCoef[8] = {-InvFactorial(18), InvFactorial(16),  -InvFactorial(14),
                                      InvFactorial(12),  -InvFactorial(10), InvFactorial(8),
                                      -InvFactorial(6),  InvFactorial(4)};

/// Cos and Sin of X. Within about 1 ulp for |X| below 10^7; further out the reduction loses
/// accuracy but stays the same on every machine; from 2^42 on, and for NaN and infinities, NaN.
/// Templated on the number type so that vector lanes run the very same operations: T needs +, -,
/// x, comparisons and Select(mask, a, b).
template <class T, class TSelect>
inline void SinCosOf(const T& X, T& Cos, T& Sin, TSelect Select) {
  // K = nearest integer to X / (pi/2); R = X - K pi/2 lies in [-pi/4, pi/4].
  const T K = (X * TwoOverPi + RoundShift) - RoundShift;
  const T R = ((X - K * HalfPiA) - K * HalfPiB) - K * HalfPiC;
  const T R2 = R * R;
  // Degree 17 and 18: the first term left out is below 10^-19 on [-pi/4, pi/4].
  // C - T{} puts C in every lane (X - (+0) is X for every X).
  T PS = SinCoef[0] - T{};
  for (int I = 1; I < 8; ++I) PS = PS * R2 + SinCoef[I];
  const T SinR = R - (R * R2) * PS;
  T PC = CosCoef[0] - T{};
  for (int I = 1; I < 8; ++I) PC = PC * R2 + CosCoef[I];
  const T CosR = (1.0 - R2 * 0.5) + (R2 * R2) * PC;
  // The quadrant K mod 4, in doubles: Q4 = K/4 rounded down, taken away.
  const T Quarter = K * 0.25;
  const T Floor = ((Quarter - 0.375) + RoundShift) - RoundShift;
  const T Q = (Quarter - Floor) * 4.0;
  const auto Odd = (Q == 1.0) | (Q == 3.0);
  const T S0 = Select(Odd, CosR, SinR);
  const T C0 = Select(Odd, SinR, CosR);
  // sin: +s, +c, -s, -c; cos: +c, -s, -c, +s over the quadrants 0..3.
  const auto Near = (X < MaxArgument) & (X > -MaxArgument);
  const T NaN = __builtin_nan("") - T{};
  // A zero angle keeps its sign, as sin(-0) = -0.
  Sin = Select(Near, Select(X == 0.0, X, Select(Q >= 2.0, -S0, S0)), NaN);
  Cos = Select(Near, Select((Q == 1.0) | (Q == 2.0), -C0, C0), NaN);
}

/// Cos and Sin of a double.
inline void SinCos(double X, double& Cos, double& Sin) {
  SinCosOf(X, Cos, Sin, [](bool C, double A, double B) { return C ? A : B; });
}
inline double Sin(double X) {
  double C, S;
  SinCos(X, C, S);
  return S;
}
inline double Cos(double X) {
  double C, S;
  SinCos(X, C, S);
  return C;
}

}  // namespace KartMath
