#pragma once
// Numbers side by side: the few operations the kart's step needs, on W doubles at once, written
// so that every width gives the bits of plain doubles. The plain path is width 1 (TPlain); the
// lane kernels are widths 2, 4 and 8.
//
// Everything here is a template of its register type R. A kernel built for another instruction
// set passes an R from its own unnamed namespace: every instantiation is then local to that
// file, and the linker can never hand its copy to the rest of the program. Nothing here may
// call a function that is not a template of R (or a builtin).

#include <cstdint>

#include "decision/USinCos.h"

namespace LaneMath {

/// The register types of W lanes: doubles, masks (0 or -1 per lane) and 64-bit words.
template <int N>
struct TVectorTypes {
  static constexpr int W = N;
  typedef double D __attribute__((vector_size(8 * N)));
  typedef int64_t M __attribute__((vector_size(8 * N)));
  typedef uint64_t U __attribute__((vector_size(8 * N)));
};
template <>
struct TVectorTypes<1> {
  static constexpr int W = 1;
  using D = double;
  using M = int64_t;
  using U = uint64_t;
};

/// The lane operations over R, which supplies TVectorTypes' members and the four that depend
/// on the instruction set: BitsOf(M) (bit L set where lane L is), Sqrt(D), Bytes(Map, Idx)
/// (the 8 bytes at Map + Idx in each lane; Map readable 8 bytes past every index) and
/// Words(Map, Idx) (the int32_t Map[Idx] of each lane, sign-extended).
template <class R>
struct TLanes : R {
  using D = typename R::D;
  using M = typename R::M;
  using U = typename R::U;
  static constexpr int W = R::W;

  static D Dup(double X) { return X - D{}; }
  static M Lt(D A, D B) {
    if constexpr (W == 1)
      return A < B ? -1 : 0;
    else
      return A < B;
  }
  static D Sel(M Mask, D A, D B) { return Mask ? A : B; }
  static bool Any(M Mask) { return R::BitsOf(Mask) != 0; }
  static bool LaneOf(M Mask, int L) { return (R::BitsOf(Mask) >> L & 1) != 0; }
  /// Lanes where X is not 0, and where it is below 0.
  static M NonZero(M X) {
    if constexpr (W == 1)
      return X != 0 ? -1 : 0;
    else
      return X != 0;
  }
  static M Negative(M X) {
    if constexpr (W == 1)
      return X < 0 ? -1 : 0;
    else
      return X < 0;
  }

  template <class V>
  static auto Get(const V& X, int L) {
    if constexpr (W == 1) {
      (void)L;
      return X;
    } else {
      return X[L];
    }
  }
  template <class V, class E>
  static void Put(V& X, int L, E Value) {
    if constexpr (W == 1) {
      (void)L;
      X = Value;
    } else {
      X[L] = Value;
    }
  }

  // std::min(A, B) and std::max(A, B) exactly: B < A ? B : A and A < B ? B : A.
  static D Min(D A, D B) { return Sel(Lt(B, A), B, A); }
  static D Max(D A, D B) { return Sel(Lt(A, B), B, A); }
  static D Abs(D X) {
    U Bits;
    __builtin_memcpy(&Bits, &X, sizeof Bits);
    Bits &= ~(U{} + (uint64_t{1} << 63));
    __builtin_memcpy(&X, &Bits, sizeof X);
    return X;
  }
  /// Nearest integer, ties to even, as RoundEven computes it for |X| < 2^51.
  static D Rint(D X) { return (X + KartMath::RoundShift) - KartMath::RoundShift; }
  /// The whole number X (0 <= X < 2^31, exact) as an index in every lane.
  static M IndexOf(D X) {
    if constexpr (W == 1) {
      return static_cast<int64_t>(X);
    } else {
      // The index as the low bits of X + 2^52.
      const D Shifted = X + 0x1p52;
      U Bits;
      __builtin_memcpy(&Bits, &Shifted, sizeof Bits);
      return (M)(Bits & 0xFFFFFFFFull);
    }
  }
  /// The whole number X (0 <= X < 2^52) as a double in every lane.
  static D FromWhole(M X) {
    if constexpr (W == 1) {
      return static_cast<double>(X);
    } else {
      const U Bits = (U)X | (U{} + 0x4330000000000000ull);
      D Whole;
      __builtin_memcpy(&Whole, &Bits, sizeof Whole);
      return Whole - 0x1p52;
    }
  }
  /// X clamped to [Min, Max] while Max > Min, else X: a parameter's bounds as SetValue applies
  /// them.
  static D WithinBounds(D X, double Min, double Max) {
    if (!(Max > Min)) return X;
    X = Sel(Lt(X, Dup(Min)), Dup(Min), X);
    return Sel(Lt(Dup(Max), X), Dup(Max), X);
  }

  static void SinCos(D X, D& C, D& S) {
    KartMath::SinCosOf(X, C, S, [](M Mask, D A, D B) { return Sel(Mask, A, B); });
  }
  /// One lane's sine and cosine, for the rare corners worked out lane by lane.
  static void SinCos1(double X, double& C, double& S) {
    KartMath::SinCosOf(X, C, S, [](bool Mask, double A, double B) { return Mask ? A : B; });
  }
  /// Nearest 32-bit integer, ties to even; saturating, NaN to 0 (RoundEven).
  static int32_t Round1(double X) {
    // Everything in this range rounds to a value that fits; NaN fails both tests.
    if (X >= -2147483648.5 && X < 2147483647.5)
      return static_cast<int32_t>((X + KartMath::RoundShift) - KartMath::RoundShift);
    if (X != X) return 0;
    return X < 0 ? INT32_MIN : INT32_MAX;
  }
};

/// The instruction-set operations of plain doubles, for the plain path.
struct TScalarRegs : TVectorTypes<1> {
  static uint32_t BitsOf(M Mask) { return Mask != 0; }
  static D Sqrt(D X) { return __builtin_sqrt(X); }
  static M Bytes(const uint8_t* Map, M Index) { return Map[Index]; }
  static M Words(const int32_t* Map, M Index) { return Map[Index]; }
};
/// Width 1: the plain path's numbers.
using TPlain = TLanes<TScalarRegs>;

}  // namespace LaneMath
