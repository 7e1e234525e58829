// The abstract player seen through a small planar walker: colour, the mode switch, the
// decision in both modes, grid adaptation, size and death, start marks and copies.

#include <gtest/gtest.h>

#include "WorldTestKit.h"

namespace {

// Stores Count futures of W ending in distinct grid cells.
void StoreDistinctFutures(TWalker& W, int32_t Count) {
  for (int32_t I = 0; I < Count; ++I) {
    W.SetSimulating(true);
    W.SetPosX(1000.0 * I);
    W.SetSimulating(false);
  }
}

}  // namespace

TEST(Player, ColourComesFromThreeDrawsBlueFirstAndIsNeverDark) {
  RandomSeed(7);
  const double U1 = RandomUniform(), U2 = RandomUniform(), U3 = RandomUniform();
  RandomSeed(7);
  TWalker W;
  EXPECT_EQ(W.Color,
            static_cast<TColor>(RoundEven(100 + 155 * U3) + 256 * RoundEven(100 + 155 * U2) +
                                65536 * RoundEven(100 + 155 * U1)));
  for (int I = 0; I < 200; ++I) {
    const TColor C = TWalker().Color;
    for (int Shift : {0, 8, 16}) EXPECT_GE((C >> Shift) & 0xFF, 100u);
    EXPECT_LE(C, 0xFFFFFFu);
  }
}

TEST(Player, GridSizeIsLimitedButMacroParametersGetTheRequest) {
  TWalker W;
  W.SetGridSize(3);
  EXPECT_EQ(W.GridSize, 5);
  EXPECT_EQ(W.State().Param(W.PosXIndex).Precision, 3);
  W.SetGridSize(50);
  EXPECT_EQ(W.GridSize, 30);
  EXPECT_EQ(W.State().Param(W.PosYIndex).Precision, 50);
  EXPECT_EQ(W.State().Param(W.AngleIndex).Precision, 0);  // not a macro parameter
  W.GridSize = 100;
  EXPECT_EQ(W.GetGridSize(), 30);
  W.GridSize = -4;
  EXPECT_EQ(W.GetGridSize(), 5);

  // Adaptation moves half way towards GridSize x distinct / target.
  for (auto [Distinct, Expected] :
       {std::pair{300, 20}, std::pair{100, 10}, std::pair{50, 8}, std::pair{0, 5}}) {
    TWalker A;
    StoreDistinctFutures(A, Distinct);
    A.AdaptGrid();
    EXPECT_EQ(A.GridSize, Expected) << Distinct << " distinct futures";
  }
}

TEST(Player, RealDecisionAdaptsTheGridOnlyWithAutoGrid) {
  for (bool Auto : {true, false}) {
    TWalker W;
    W.AutoGrid = Auto;
    StoreDistinctFutures(W, 300);
    W.Decide();
    EXPECT_EQ(W.Futures->Count(), 300);  // all distinct: nothing merged
    EXPECT_EQ(W.GridSize, Auto ? 20 : 10);
  }
}

TEST(Player, SimulatedDecisionsStartExtremeThenTurnUniform) {
  RandomSeed(11);
  TWalker W;
  for (int Future = 0; Future < 50; ++Future) {
    W.SetSimulating(true);
    W.Decide();
    EXPECT_FALSE(W.NewFuture);
    EXPECT_EQ(std::abs(W.Push()), 5);
    W.Decide();
    EXPECT_TRUE(W.Push() >= -5 && W.Push() < 5);
    // The initial decision stays recorded while later ones overwrite the value.
    EXPECT_EQ(std::abs(W.State().Param(W.PushIndex).RoundedValue()), 5);
    W.SetSimulating(false);
  }
  EXPECT_EQ(W.Futures->Count(), 50);
  EXPECT_EQ(W.Push(), 0);  // the real state took no part
}

TEST(Player, DeadPlayerDecidesNothing) {
  TWalker W;
  StoreDistinctFutures(W, 300);
  W.SetDead(true);
  W.Decide();
  EXPECT_EQ(W.Futures->OptionCount(), 0);
  EXPECT_EQ(W.GridSize, 10);

  W.SetSimulating(true);  // the copy is dead too
  W.Decide();
  EXPECT_TRUE(W.NewFuture);
  EXPECT_EQ(W.Push(), 0);

  // Death is strictly above one half, and neither "Dead" nor "Size" is clamped.
  W.State().Param(W.DeadIndex).SetValue(0.5);
  EXPECT_FALSE(W.IsDead());
  W.State().Param(W.DeadIndex).SetValue(0.5000001);
  EXPECT_TRUE(W.IsDead());
  W.SetSize(40);
  EXPECT_EQ(W.GetSize(), 40);
}

TEST(Player, ModeSwitchCopiesOnceAndStoresOnlyOnLeaving) {
  TWalker W;
  EXPECT_EQ(&W.State(), W.RealState.get());
  W.RealState->Score = 12;
  W.SetSimulating(false);
  EXPECT_EQ(W.Futures->Count(), 0);

  W.ShapeDirty = false;
  W.SetSimulating(true);
  EXPECT_TRUE(W.ShapeDirty);
  EXPECT_EQ(&W.State(), W.SimState.get());
  EXPECT_EQ(W.State().Score, 0);  // a fresh score for every future
  W.SetPosX(77);
  W.SetSimulating(true);  // a second entry copies nothing
  EXPECT_EQ(W.PosX(), 77);

  W.SetSimulating(false);
  EXPECT_EQ(W.Futures->Count(), 1);
  EXPECT_EQ(W.PosX(), 10);
  EXPECT_EQ(W.RealState->Score, 12);
  EXPECT_EQ(W.Futures->Future(0).Param(W.PosXIndex).Value, 75);  // snapped to the grid of 15
}

TEST(Player, SetSizeMarksTheOutlineOnlyWhenTheSizeChanges) {
  TWalker W;
  W.UpdateShape();
  W.SetSize(6);
  EXPECT_FALSE(W.ShapeDirty);
  W.SetSize(6.5);
  EXPECT_TRUE(W.ShapeDirty);
}

TEST(Player, StartMarkResetAndCopy) {
  TCountingTrack Track;
  TWalker W;
  Track.AddPlayer(W);
  W.SetPosition(100.00049, 50, 1);
  W.MoveBy(false, false, 30, -20, 2);
  W.UpdateShape();
  W.ResetToStart();
  EXPECT_TRUE(W.ShapeDirty);
  EXPECT_DOUBLE_EQ(W.PosX(), 100.0);  // to the thousandth
  EXPECT_EQ(W.Angle(), 1);

  TWalker Copy;
  Copy.SetSize(9);
  Copy.UpdateShape();
  W.State().AddScore(4);
  Copy.AssignFrom(W);
  EXPECT_EQ(Copy.Track, &Track);
  EXPECT_EQ(Copy.GetSize(), 6);
  EXPECT_EQ(Copy.State().Score, 0);
  // The outline follows the copied state, not the one before.
  Copy.UpdateShape();
  EXPECT_EQ(Copy.Shape[0].x, RoundEven(100 + 6 * std::cos(1.0)));
  Copy.MoveBy(false, false, 10, 10, 0);
  Copy.ResetToStart();
  EXPECT_EQ(Copy.PosX(), 100);
}

TEST(Player, InfoIsFormattedOnlyWhenRead) {
  TWalker W;
  EXPECT_EQ(W.GetInfo(), "");
  W.SetInfoNumber(0.015);
  EXPECT_EQ(W.GetInfo(), "0.0150");
  W.SetInfoNumber(-12.34567);
  EXPECT_EQ(W.GetInfo(), "-12.3457");
  W.SetInfo("plain");
  EXPECT_EQ(W.GetInfo(), "plain");
}
