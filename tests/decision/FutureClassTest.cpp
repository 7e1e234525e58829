// A future's class is found from its live state, before it is copied and snapped: it must be the
// class its snapped copy would have, bounds included, and a repeat must keep its own scores.

#include <gtest/gtest.h>

#include "decision/UFutureStore.h"

namespace {

TEST(FutureClass, LiveStateFindsTheClassOfItsSnappedCopy) {
  TState S;
  S.AddParam({.Name = "Push", .Kind = pkFree, .Bounded = true, .Min = -5, .Max = 5});
  // Snapping 16 gives 20, held to 12: cell 1, the cell of 14 too.
  S.AddParam(
      {.Name = "X", .Kind = pkMacro, .Bounded = true, .Min = -12, .Max = 12, .Precision = 10});
  S.Param(0).IntValue = 3000;
  TFutureStore Store;
  auto Add = [&](double X, double Score) {
    S.Param(1).SetValue(X);
    S.Score = Score;
    return Store.Add(S);
  };
  EXPECT_EQ(Add(14, 1), 0);
  EXPECT_EQ(Add(16, 2), 0) << "16 snaps into the cell of 14";
  EXPECT_EQ(Add(26, 3), 0) << "beyond the bound as well";
  EXPECT_EQ(Add(4, 4), 3) << "cell 0 is a class of its own";
  S.Param(0).IntValue = -5000;
  EXPECT_EQ(Add(14, 5), 4) << "another initial decision";
  EXPECT_EQ(Store.Scores(2).Score, 3);
  EXPECT_EQ(Store.Future(2).Param(1).Value, 10) << "a repeat reads as its class's record";
  Store.Merge();
  ASSERT_EQ(Store.Count(), 3);
  EXPECT_EQ(Store.Future(0).Score, 3);
  EXPECT_EQ(Store.Future(0).FutureCount, 3);
}

}  // namespace
