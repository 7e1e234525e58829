#pragma once
// A simulated decision, at any lane width: at a future's first step one free parameter goes to
// one of its extremes, at every later step every free parameter takes a uniform random value in
// its range. The plain path (TState::Randomize) and the lane kernels run this same code.

#include <cstdint>

#include "decision/UBase.h"

namespace LaneMath {

/// A later decision: uniform in [-Range, Range) from the uniform U in [0, 1).
template <class L>
typename L::D RandomValue(typename L::D U, double Range) {
  return (2.0 * U - 1.0) * Range;
}

/// A first decision: Min, Max, +Range or -Range, as U in [0, 1) falls in its quarters.
template <class L>
typename L::D ExtremeValue(typename L::D U, double Min, double Max, double Range) {
  using D = typename L::D;
  const D Quarters = 4.0 * U;  // floor(4 U) picks the extreme
  return L::Sel(L::Lt(Quarters, L::Dup(1)), L::Dup(Min),
                L::Sel(L::Lt(Quarters, L::Dup(2)), L::Dup(Max),
                       L::Sel(L::Lt(Quarters, L::Dup(3)), L::Dup(Range), L::Dup(-Range))));
}

/// The decision of every lane from its own stream Rng (4 words). First marks the lanes at the
/// first step of their future; lanes outside Alive decide nothing (they still draw). Free is the
/// caller's view of the free parameters, in order:
///   int32_t Count(); double Min(I), Max(I), Range(I);
///   void Set(I, M Lanes, D X)   writes X there as SetValue does (bounds, previous value);
///   void Quantize(I, M Lanes)   keeps the value there in thousandths (the future's decision).
/// Every lane draws as many values: two at a first step (which parameter, which extreme), one
/// per parameter later; so lanes side by side, some at their first step, need Count() == 2.
template <class L, class TFree>
void RandomDecision(TFree& Free, typename L::U* Rng, typename L::M First, typename L::M Alive) {
  using D = typename L::D;
  using M = typename L::M;
  const int32_t N = Free.Count();
  if (N == 0) return;
  const bool AnyFirst = L::Any(First);
  D U0{}, U1{};
  if (AnyFirst) {
    U0 = NextUniform<L>(Rng);
    U1 = NextUniform<L>(Rng);
  }
  const M Later = ~First & Alive;
  for (int32_t I = 0; I < N; ++I) {
    // Beside lanes at their first step, the later ones take its two draws.
    const D U = AnyFirst ? (I == 0 ? U0 : U1) : NextUniform<L>(Rng);
    if (L::Any(Later)) Free.Set(I, Later, RandomValue<L>(U, Free.Range(I)));
  }
  const M Extreme = First & Alive;
  if (!L::Any(Extreme)) return;
  // floor(N U) is the parameter: I <= N U < I + 1.
  const D Which = U0 * static_cast<double>(N);
  for (int32_t I = 0; I < N; ++I) {
    const M Pick = Extreme & ~L::Lt(Which, L::Dup(I)) & L::Lt(Which, L::Dup(I + 1));
    if (!L::Any(Pick)) continue;
    Free.Set(I, Pick, ExtremeValue<L>(U1, Free.Min(I), Free.Max(I), Free.Range(I)));
    Free.Quantize(I, Pick);
  }
}

}  // namespace LaneMath
