// The kart's time step: motion on the road, off the road, at the border, and crashed futures.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/kart/KartWorld.h"

namespace {

constexpr double Pi = std::numbers::pi;

TEST(KartCreation, StandsAtItsStartWithTheKartsParametersAndOutline) {
  TKartWorld W;
  TKart& K = W.Kart;
  EXPECT_EQ(K.GetSize(), 8);
  EXPECT_EQ(K.PosX(), 200);
  EXPECT_EQ(K.PosY(), 460);
  EXPECT_DOUBLE_EQ(K.Angle(), HalfPi);
  EXPECT_EQ(K.VelX(), 0);
  EXPECT_EQ(K.VelY(), 0);
  EXPECT_EQ(K.Turn(), 0);
  EXPECT_EQ(K.Power(), 0);
  EXPECT_EQ(K.Battery(), 100);
  EXPECT_FALSE(K.UseBattery());
  EXPECT_FALSE(K.CanRunOut());
  EXPECT_EQ(K.TargetFutures, 150);
  EXPECT_EQ(K.MaxPower(), 10);
  EXPECT_EQ(K.MinPower(), -10);
  EXPECT_DOUBLE_EQ(K.MaxTurn(), Pi / 4);

  K.UpdateShape();
  const std::vector<TPoint> Outline{{202, 468}, {198, 468}, {195, 454}, {205, 454}};
  EXPECT_EQ(K.Shape, Outline);

  // The two pushes are the decisions, in this order; the position is the end point.
  const TState& S = K.State();
  ASSERT_EQ(S.ParamCount(), 14);
  ASSERT_EQ(S.FreeParamCount(), 2);
  EXPECT_EQ(&S.FreeParam(0), S.Params[K.PushTurnIndex].get());
  EXPECT_EQ(&S.FreeParam(1), S.Params[K.PushPowerIndex].get());
  ASSERT_EQ(S.MacroParamCount(), 2);
  EXPECT_EQ(&S.MacroParam(0), S.Params[K.PosXIndex].get());
  EXPECT_EQ(&S.MacroParam(1), S.Params[K.PosYIndex].get());

  // The creation point is the start that Reset returns to.
  K.SetPosX(300);
  K.SetVelY(12);
  K.ResetToStart();
  EXPECT_EQ(K.PosX(), 200);
  EXPECT_EQ(K.VelY(), 0);
}

TEST(KartStep, AtRestOnTheRoadNothingMovesAndInfoShowsTheDrag) {
  TKartWorld W;
  W.Kart.Advance(100);
  EXPECT_EQ(W.Kart.PosX(), 200);
  EXPECT_EQ(W.Kart.PosY(), 460);
  EXPECT_EQ(W.Kart.VelX(), 0);
  EXPECT_EQ(W.Kart.VelY(), 0);
  EXPECT_EQ(W.Kart.State().Score, 0);
  EXPECT_EQ(W.Kart.GetInfo(), "0.0150");
  EXPECT_FALSE(W.Kart.OffTrack);
}

TEST(KartStep, OneStepFromRestWithPushPower50) {
  TKartWorld W(RoadColor, 200, 300, 0);
  W.Param("PushPower").SetValue(50);
  W.Kart.Advance(100);
  EXPECT_DOUBLE_EQ(W.Kart.Power(), 5);
  EXPECT_DOUBLE_EQ(W.Kart.VelX(), 0.5);
  EXPECT_NEAR(W.Kart.VelY(), 0, 1e-12);
  EXPECT_NEAR(W.Kart.PosX(), 200.075, 1e-12);
  EXPECT_NEAR(W.Kart.PosY(), 300, 1e-12);
  EXPECT_NEAR(W.Kart.State().Score, 0.046875, 1e-12);
}

TEST(KartStep, FullPowerStraightAheadTendsToTheTerminalSpeed) {
  TKartWorld W(RoadColor, 100, 300, 0);
  W.Kart.SetPower(10);
  double Previous = 0;
  for (int I = 0; I < 600; ++I) {
    W.Kart.Advance(100);
    EXPECT_GE(W.Kart.VelX(), Previous - 1e-9) << "step " << I;  // never slows on the way up
    Previous = W.Kart.VelX();
    W.Kart.SetPosX(100);  // stay on the picture; the road is the same everywhere
  }
  // Where the drag 0.015 (1 + 0.01 v) v equals the power's share of a second.
  const double Terminal = (-0.015 + std::sqrt(0.015 * 0.015 + 4 * 0.00015)) / (2 * 0.00015);
  EXPECT_NEAR(Terminal, 45.74, 0.005);
  EXPECT_NEAR(W.Kart.VelX(), Terminal, 0.01);
  EXPECT_NEAR(W.Kart.VelY(), 0, 1e-9);
  EXPECT_NEAR(W.Kart.Angle(), 0, 1e-12);
}

TEST(KartStep, SidewaysSpeedIsWornAwayByTwentyPerSecond) {
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Kart.SetVelY(5);
  const double Expected[] = {3, 1, 0, 0};
  for (double E : Expected) {
    W.Kart.Advance(100);
    EXPECT_NEAR(W.Kart.VelY(), E, 1e-12);
    EXPECT_NEAR(W.Kart.VelX(), 0, 1e-12);
  }
}

// Drag grows with the forward speed and would turn into a push past -100 px/s: a kart thrown
// backwards faster than that must still slow down, never speed up until its speed is NaN.
TEST(KartStep, DragNeverSpeedsUpAKartRollingBackwards) {
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Kart.SetVelX(-150);
  double Speed = 150;
  for (int Step = 0; Step < 30; ++Step) {
    W.Kart.Advance(100);
    ASSERT_LE(std::fabs(W.Kart.VelX()), Speed) << "step " << Step;
    Speed = std::fabs(W.Kart.VelX());
  }
}

TEST(KartStep, BrakingTakesOffFourAndAHalfButNeverReverses) {
  struct TCase {
    double Before, After;
  };
  // The drag of the step keeps (1 - D) of what the brake leaves.
  const auto Kept = [](double V) { return V * (1 - (0.01 * 20 + 1) * 0.015); };
  const TCase Cases[] = {{20, Kept(15.5)}, {3, 0}, {-5, 0}};
  for (const TCase& C : Cases) {
    TKartWorld W(RoadColor, 400, 300, 0);
    W.Kart.SetVelX(C.Before);
    W.Param("PushPower").SetValue(-180);
    W.Kart.Advance(100);
    EXPECT_EQ(W.Kart.Power(), -10) << "clamped at its lower bound";
    EXPECT_NEAR(W.Kart.VelX(), C.After, 1e-9) << "from " << C.Before;
    EXPECT_GE(W.Kart.VelX(), 0);
  }
}

TEST(KartBounds, MaxTurnOfNinetyDegreesKeepsTheLeftLimit) {
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Kart.SetMaxTurn(Pi / 2);
  W.Param("PushTurn").SetValue(5);
  for (int I = 0; I < 10; ++I) W.Kart.Advance(100);
  EXPECT_DOUBLE_EQ(W.Kart.Turn(), Pi / 2);
  W.Param("PushTurn").SetValue(-5);
  for (int I = 0; I < 10; ++I) W.Kart.Advance(100);
  EXPECT_DOUBLE_EQ(W.Kart.Turn(), -Pi / 4);
  EXPECT_DOUBLE_EQ(W.Kart.MaxTurn(), Pi / 2);
}

TEST(KartBounds, LoweringMaxPowerBitesAtTheNextStep) {
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Kart.SetPower(8);
  W.Kart.SetMaxPower(4);
  EXPECT_EQ(W.Kart.Power(), 8);
  EXPECT_EQ(W.Kart.MaxPower(), 4);
  W.Kart.Advance(100);
  EXPECT_EQ(W.Kart.Power(), 4);
  // The new bound holds for the simulated copy too.
  W.Kart.SetSimulating(true);
  EXPECT_EQ(W.Kart.MaxPower(), 4);
}

TEST(KartOffTrack, TheRealKartDrivesOnWithMoreFrictionLessPowerAndAlmostNoScore) {
  TKartWorld W(clBlack, 400, 300, 0);
  W.Kart.SetPower(10);
  W.Kart.SetVelX(20);
  W.Kart.SetVelY(5);  // sideways
  W.Kart.State().Score = 7;
  W.Kart.Advance(100);
  EXPECT_TRUE(W.Kart.OffTrack);
  EXPECT_TRUE(W.Kart.CanRunOut()) << "its futures may start off the road";
  EXPECT_FALSE(W.Kart.IsDead());
  EXPECT_EQ(W.Kart.Power(), 5) << "half of MaxPower";
  // Drag with three times the friction.
  const double D = (0.01 * 20 + 1) * 0.015 * 3;
  EXPECT_EQ(W.Kart.GetInfo(), "0.0540");
  EXPECT_NEAR(W.Kart.VelX(), 20 * (1 - D) + 0.1 * 5, 1e-9);
  EXPECT_NEAR(W.Kart.VelY(), 5 - 100 * 0.1 * 0.1, 1e-9) << "side friction halved";
  const double Step = std::hypot(W.Kart.PosX() - 400, W.Kart.PosY() - 300);
  EXPECT_GT(Step, 2);
  EXPECT_NEAR(W.Kart.State().Score, 7 + 5 * Step / 8 / 100, 1e-9);

  // Back on the road the real kart forgets it was allowed off.
  TKartWorld Road(RoadColor, 400, 300, 0);
  Road.Kart.SetCanRunOut(true);
  Road.Kart.Advance(100);
  EXPECT_FALSE(Road.Kart.CanRunOut());
}

TEST(KartOffTrack, AFutureThatLeavesTheRoadDiesWhereItIsWithAFactorByItsSpeed) {
  struct TCase {
    double Speed, Factor;
  };
  const TCase Cases[] = {{1, 0.5}, {2.1, 2.1 * 2.1 * 2.1 * 2.1 / 30}, {3, 0.9}};
  for (const TCase& C : Cases) {
    TKartWorld W(RoadColor, 400, 300, 0);
    W.Paint(403, 290, 420, 310, clBlack);  // just under the nose
    W.Kart.SetSimulating(true);
    W.Kart.SetVelX(C.Speed);
    W.Kart.SetPower(10);
    W.Kart.Advance(100);
    EXPECT_TRUE(W.Kart.IsDead());
    EXPECT_NEAR(W.Kart.State().ScoreFactor, C.Factor, 1e-12) << "speed " << C.Speed;
    EXPECT_EQ(W.Kart.PosX(), 400);
    EXPECT_EQ(W.Kart.Power(), 10);
    // Dead: later steps neither move it nor charge it again.
    for (int I = 0; I < 3; ++I) W.Kart.Advance(100);
    EXPECT_EQ(W.Kart.PosX(), 400);
    EXPECT_EQ(W.Kart.VelX(), C.Speed);
    EXPECT_NEAR(W.Kart.State().ScoreFactor, C.Factor, 1e-12);
    // The real kart is untouched.
    W.Kart.SetSimulating(false);
    EXPECT_FALSE(W.Kart.IsDead());
    EXPECT_EQ(W.Kart.State().ScoreFactor, 1);
  }
}

TEST(KartOffTrack, AFutureStartedOffTheRoadMayRejoinButNotLeaveAgain) {
  // Black left of x = 400; the kart's nose is on the road, its tail is not.
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Paint(0, 0, 400, 600, clBlack);
  W.Kart.SetVelX(20);
  W.Kart.Advance(100);  // the real move notes that it is off the road
  ASSERT_TRUE(W.Kart.CanRunOut());

  W.Kart.SetSimulating(true);
  ASSERT_TRUE(W.Kart.CanRunOut());
  W.Kart.Advance(100);
  EXPECT_FALSE(W.Kart.IsDead()) << "allowed to start off the road";
  EXPECT_TRUE(W.Kart.CanRunOut());
  int Steps = 0;
  while (W.Kart.CanRunOut() && Steps < 20) {
    W.Kart.Advance(100);
    ++Steps;
  }
  EXPECT_FALSE(W.Kart.CanRunOut()) << "cleared once the outline is wholly on the road";
  EXPECT_FALSE(W.Kart.IsDead());
  W.Kart.SetPosX(395);
  W.Kart.Advance(100);
  EXPECT_TRUE(W.Kart.IsDead()) << "leaving the road again ends the future";
}

TEST(KartBorder, AnOutlinePointOnTheBorderWipesTheScore) {
  // Facing left at x = 5: the nose reaches past column 0.
  TKartWorld Real(RoadColor, 5, 300, Pi);
  Real.Kart.State().Score = 9;
  Real.Kart.SetVelX(-10);
  Real.Kart.Advance(100);
  EXPECT_TRUE(Real.Kart.OffTrack);
  const double Step = std::hypot(Real.Kart.PosX() - 5, Real.Kart.PosY() - 300);
  EXPECT_NEAR(Real.Kart.State().Score, 5 * Step / 8 / 100, 1e-12);

  TKartWorld Sim(RoadColor, 5, 300, Pi);
  Sim.Kart.SetSimulating(true);
  Sim.Kart.State().Score = 9;
  Sim.Kart.Advance(100);
  EXPECT_EQ(Sim.Kart.State().Score, 0);
  EXPECT_TRUE(Sim.Kart.IsDead());

  // Row 599 of 600 is still inside: a kart whose outline just stays clear keeps its score.
  TKartWorld Inside(RoadColor, 400, 591, HalfPi);
  Inside.Kart.UpdateShape();
  ASSERT_EQ(Inside.Kart.Shape[0].y, 599);
  Inside.Kart.State().Score = 9;
  Inside.Kart.Advance(100);
  EXPECT_EQ(Inside.Kart.State().Score, 9);
}

TEST(KartColour, AFutureIsColouredByTheDecisionItStartedWith) {
  TKartWorld W;
  TState& S = W.Kart.State();
  const auto Start = [&](double PushTurn, double PushPower) {
    S.Params[W.Kart.PushTurnIndex]->SetValue(PushTurn);
    S.Params[W.Kart.PushTurnIndex]->Quantize();
    S.Params[W.Kart.PushPowerIndex]->SetValue(PushPower);
    S.Params[W.Kart.PushPowerIndex]->Quantize();
    return W.Kart.StateColor(S);
  };
  EXPECT_EQ(Start(5, -180), clBlack);
  EXPECT_EQ(Start(-5, -180), clBlack);
  EXPECT_EQ(Start(0, 50), clBlue);
  EXPECT_EQ(Start(5, 50), clRed);
  EXPECT_EQ(Start(5, -50), clRed);
  // What counts is the decision the future began with, not where it drifted later.
  S.Params[W.Kart.PushPowerIndex]->SetValue(-180);
  EXPECT_EQ(W.Kart.StateColor(S), clRed);
}

}  // namespace
