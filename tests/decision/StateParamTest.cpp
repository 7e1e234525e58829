// One named, bounded, quantised number: rounding, bounds, the two derived integers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "DecisionFixtures.h"

TEST(StateParam, CreateTrimsNameAndClampsOnlyWithinBounds) {
  TStateParam PosX("  posx ", pkMacro, 0, 0, 0, 15);
  EXPECT_EQ(PosX.Name, "POSX");
  EXPECT_TRUE(PosX.IsMacro());
  EXPECT_FALSE(PosX.IsFree());
  PosX.SetValue(-1e6);  // bounds 0 and 0: unbounded
  EXPECT_EQ(PosX.Value, -1e6);

  // Control characters go from both ends; bytes above 127 are neither trimmed nor upper-cased.
  TStateParam Odd("\t\x01 kraft\xC3\xA4 \n", pkPlain, 0, 0, 0, 0);
  EXPECT_EQ(Odd.Name, "KRAFT\xC3\xA4");

  TStateParam Push("PushPower", pkFree, 200, 180, -180, 50);
  EXPECT_EQ(Push.Value, 180);
  EXPECT_EQ(Push.PrevValue, 200);  // the argument, before clamping
  EXPECT_EQ(Push.IntValue, 180000);
  Push.SetValue(-1000);
  EXPECT_EQ(Push.Value, -180);

  // MaxValue below MinValue: never clamped; the same for an unbounded declaration.
  TStateParam Inverted("Size", pkPlain, 6, 3, 25, 0);
  TStateParam Size({.Name = "Size", .Value = 6, .Min = 3, .Max = 25});
  for (TStateParam* P : {&Inverted, &Size}) {
    P->SetValue(40);
    EXPECT_EQ(P->Value, 40);
    P->SetValue(1);
    EXPECT_EQ(P->Value, 1);
  }
  // A bounded declaration clamps, and must say which bound is which.
  TStateParam Turn({.Name = "Turn", .Value = 2, .Bounded = true, .Min = -1, .Max = 1});
  EXPECT_EQ(Turn.Value, 1);
  EXPECT_EQ(ErrorOf([] { TStateParam({.Name = "Turn", .Bounded = true, .Min = 1, .Max = -1}); }),
            "TStateParam: \"TURN\" needs a lower bound below its upper bound.");

  // A macro kind with Precision 0 is carried, not gridded.
  EXPECT_FALSE(TStateParam("Angle", pkMacro, 0, 0, 0, 0).IsMacro());
}

TEST(StateParam, PrevValueFollowsSetValueUnlessKept) {
  TStateParam P("X", pkPlain, 0, 0, 0, 0);
  P.SetValue(1);
  P.SetValue(2);
  EXPECT_EQ(P.PrevValue, 1);
  P.KeepPrevious = true;
  P.SetValue(3);
  EXPECT_EQ(P.Value, 3);
  EXPECT_EQ(P.PrevValue, 1);
}

TEST(StateParam, RoundingTiesGoToEven) {
  TStateParam P("X", pkPlain, 0.0625, 0, 0, 0);
  EXPECT_EQ(P.IntValue, 62);
  P.SetValue(0.1875);
  EXPECT_EQ(P.Quantize(), 188);
  P.SetValue(-0.0625);
  EXPECT_EQ(P.Quantize(), -62);

  TStateParam Cell("PosX", pkMacro, 0, 0, 0, 15);
  const std::pair<double, int32_t> Cases[] = {{22.5, 2}, {37.5, 2}, {7.4, 0}, {-7.5, 0}, {52, 3}};
  for (const auto& [Value, Index] : Cases) {
    Cell.SetValue(Value);
    EXPECT_EQ(Cell.GridIndex(), Index) << "value " << Value;
  }
  TStateParam NoGrid("Angle", pkMacro, 1234.5, 0, 0, 0);
  EXPECT_EQ(NoGrid.GridIndex(), 0);
}

// A huge parameter (a kart flung far off the picture, a value typed in thousandths) once turned
// into an out-of-range cast. Beyond the 32-bit range the result saturates; NaN gives 0.
TEST(RoundEven, IsDefinedForEveryInput) {
  const double Inf = std::numeric_limits<double>::infinity();
  const std::pair<double, int32_t> Cases[] = {
      {2147483646.5, 2147483646},
      {2147483647.4, INT32_MAX},
      {2147483647.5, INT32_MAX},
      {2147483648.0, INT32_MAX},
      {0x1p51, INT32_MAX},
      {1e300, INT32_MAX},
      {Inf, INT32_MAX},
      {-2147483647.5, -2147483648},
      {-2147483648.5, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {-0x1p60, INT32_MIN},
      {-Inf, INT32_MIN},
      {std::nan(""), 0},
      {-std::nan(""), 0},
      {-0.5, 0},
      {1e-300, 0},
  };
  for (const auto& [X, Want] : Cases) EXPECT_EQ(RoundEven(X), Want) << "value " << X;
}

// IntValue records a decision; ordinary writes must not disturb it.
TEST(StateParam, IntValueChangesOnlyThroughQuantizeAndAssign) {
  RandomSeed(1);
  TStateParam P("PushTurn", pkFree, 0.25, 5, -5, 5);
  P.SetValue(3);
  EXPECT_EQ(P.RoundedValue(), 0.25);
  P.Randomize(false);
  EXPECT_EQ(P.IntValue, 250);
  P.Precision = 2;
  P.ConvertToMacro();
  EXPECT_EQ(P.IntValue, 250);

  TStateParam Source("PushPower", pkFree, 50, 180, -180, 50);
  Source.SetValue(-7);
  Source.KeepPrevious = true;
  P.Assign(Source);
  EXPECT_EQ(P.Name, "PUSHPOWER");
  EXPECT_EQ(P.Value, -7);
  EXPECT_EQ(P.PrevValue, 50);
  EXPECT_EQ(P.IntValue, 50000);
  EXPECT_EQ(P.MaxValue, 180);
  EXPECT_EQ(P.MinValue, -180);
  EXPECT_EQ(P.Precision, 50);
  EXPECT_FALSE(P.KeepPrevious);
}

TEST(StateParam, GridIndexIsCachedUntilTheNextSetValue) {
  TStateParam P("PosX", pkMacro, 22, 0, 0, 10);
  EXPECT_EQ(P.GridIndex(), 2);
  P.Precision = 5;  // a direct write keeps the cached cell
  EXPECT_EQ(P.GridIndex(), 2);
  P.SetValue(22);
  EXPECT_EQ(P.GridIndex(), 4);
}

// A reused parameter object must not answer with the cell of the value it held before.
TEST(StateParam, AssignLeavesNoStaleGridIndex) {
  TStateParam Target("PosX", pkMacro, 100, 0, 0, 10);
  EXPECT_EQ(Target.GridIndex(), 10);
  TStateParam Source("PosX", pkMacro, 31, 0, 0, 10);
  Target.Assign(Source);
  EXPECT_EQ(Target.GridIndex(), 3);
}

TEST(StateParam, ConvertToMacroSnapsToTheNearestCellCentre) {
  TStateParam P("PosX", pkMacro, 0, 0, 0, 10);
  const std::pair<double, double> Cases[] = {{24.9, 20}, {25.1, 30}, {25, 20}, {-25, -20}};
  for (const auto& [From, To] : Cases) {
    P.SetValue(From);
    P.ConvertToMacro();
    EXPECT_EQ(P.Value, To) << "from " << From;
    EXPECT_EQ(P.PrevValue, From);
    EXPECT_EQ(P.GridIndex(), RoundEven(To / 10));
  }

  TStateParam Flat(" angle", pkMacro, 1.5, 0, 0, 0);
  EXPECT_EQ(ErrorOf([&] { Flat.ConvertToMacro(); }),
            "Precision zero param \"ANGLE\" can not be converted to macro.");
  EXPECT_EQ(Flat.Value, 1.5);
}

TEST(StateParam, RandomizeStaysInRangeAndExtremesAreRecorded) {
  RandomSeed(7);
  TStateParam Bounded("B", pkFree, 3, 4, 2, 0);
  Bounded.Randomize(false);  // 0, clamped up to the lower bound
  EXPECT_EQ(Bounded.Value, 2);

  TStateParam Turn("PushTurn", pkFree, 0, 5, -5, 5);
  TStateParam Power("PushPower", pkFree, 0, 180, -180, 50);
  std::set<double> TurnExtremes, PowerExtremes;
  for (int I = 0; I < 400; ++I) {
    Turn.Randomize(true);
    EXPECT_EQ(Turn.RoundedValue(), Turn.Value);
    TurnExtremes.insert(Turn.Value);
    Power.Randomize(true);
    PowerExtremes.insert(Power.Value);

    const int32_t Recorded = Power.IntValue;
    Power.Randomize(false);
    EXPECT_GE(Power.Value, -50);
    EXPECT_LT(Power.Value, 50);
    EXPECT_EQ(Power.IntValue, Recorded);
  }
  EXPECT_EQ(TurnExtremes, (std::set<double>{-5, 5}));
  EXPECT_EQ(PowerExtremes, (std::set<double>{-180, -50, 50, 180}));
}
