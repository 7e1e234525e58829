#include "world/UBroadPhase.h"

#include <algorithm>

#include "agents/UPlayer2D.h"

// The pairwise loop's test, with the pair in its order (P the earlier player).
bool TBroadPhase::Touch(const TBox& P, const TBox& Q) {
  return !(Q.Right < P.Left || Q.Left > P.Right || Q.Bottom < P.Top || Q.Top > P.Bottom);
}

TBroadPhase::TBox TBroadPhase::BoxOf(int32_t Index) const {
  const TPlayer2D& P = *(*List)[Index];
  return {P.Left(), P.Right(), P.Top(), P.Bottom()};
}

bool TBroadPhase::Start(const std::vector<TPlayer2D*>& Players) {
  List = &Players;
  const int32_t N = static_cast<int32_t>(Players.size());
  Boxes.resize(N);
  for (int32_t I = 0; I < N; ++I) {
    Boxes[I] = BoxOf(I);
    const TBox& B = Boxes[I];
    // NaN fails every comparison, so the pairwise test never skips it.
    if (B.Left != B.Left || B.Right != B.Right || B.Top != B.Top || B.Bottom != B.Bottom)
      return false;
  }
  Sweep();
  return true;
}

void TBroadPhase::Sweep() {
  const int32_t N = static_cast<int32_t>(Boxes.size());
  ByLeft.resize(N);
  for (int32_t I = 0; I < N; ++I) ByLeft[I] = I;
  std::sort(ByLeft.begin(), ByLeft.end(), [this](int32_t A, int32_t B) {
    return Boxes[A].Left < Boxes[B].Left || (Boxes[A].Left == Boxes[B].Left && A < B);
  });
  Pairs.clear();
  Cursor = 0;
  for (int32_t S = 0; S < N; ++S) {
    const TBox& A = Boxes[ByLeft[S]];
    // Every later box starts at or right of A's left edge: once one starts right of A's right
    // edge, so do all that follow, and the pairwise test skips them all.
    for (int32_t T = S + 1; T < N && !(Boxes[ByLeft[T]].Left > A.Right); ++T) {
      const int32_t I = std::min(ByLeft[S], ByLeft[T]), J = std::max(ByLeft[S], ByLeft[T]);
      if (Touch(Boxes[I], Boxes[J])) Pairs.push_back(int64_t{I} * N + J);
    }
  }
  std::sort(Pairs.begin(), Pairs.end());
}

bool TBroadPhase::Next(int32_t& I, int32_t& J) {
  const int64_t N = static_cast<int64_t>(Boxes.size());
  const int64_t After = I < 0 ? -1 : int64_t{I} * N + J;
  while (Cursor < Pairs.size() && Pairs[Cursor] <= After) ++Cursor;
  if (Cursor == Pairs.size()) return false;
  I = static_cast<int32_t>(Pairs[Cursor] / N);
  J = static_cast<int32_t>(Pairs[Cursor] % N);
  return true;
}

bool TBroadPhase::Update(int32_t I, int32_t J) {
  const TBox NewI = BoxOf(I), NewJ = BoxOf(J);
  if (NewI == Boxes[I] && NewJ == Boxes[J]) return true;
  for (const TBox* B : {&NewI, &NewJ})
    if (B->Left != B->Left || B->Right != B->Right || B->Top != B->Top || B->Bottom != B->Bottom)
      return false;
  Boxes[I] = NewI;
  Boxes[J] = NewJ;
  // Only pairs with I or J in them can have changed: drop those still to come, and test I and J
  // against every box again for pairs after (I, J).
  const int32_t N = static_cast<int32_t>(Boxes.size());
  const int64_t Done = int64_t{I} * N + J;
  auto Involved = [&](int64_t Key) {
    const int64_t A = Key / N, B = Key % N;
    return A == I || A == J || B == I || B == J;
  };
  Pairs.erase(
      std::remove_if(Pairs.begin() + static_cast<std::ptrdiff_t>(Cursor), Pairs.end(), Involved),
      Pairs.end());
  for (int32_t X : {I, J}) {
    for (int32_t K = 0; K < N; ++K) {
      if (K == I || K == J) continue;  // (I, J) itself is done
      const int32_t A = std::min(X, K), B = std::max(X, K);
      const int64_t Key = int64_t{A} * N + B;
      if (Key > Done && Touch(Boxes[A], Boxes[B])) Pairs.push_back(Key);
    }
  }
  std::sort(Pairs.begin() + static_cast<std::ptrdiff_t>(Cursor), Pairs.end());
  return true;
}
