#include "world/UBroadPhase.h"

#include <algorithm>

#include "agents/UPlayer2D.h"

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
      const TBox &P = Boxes[I], &Q = Boxes[J];
      // The pairwise test, with the pair in its order.
      if (Q.Right < P.Left || Q.Left > P.Right || Q.Bottom < P.Top || Q.Top > P.Bottom) continue;
      Pairs.push_back(int64_t{I} * N + J);
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
  Sweep();
  return true;
}
