// A player's state: lookup, the free and macro sub-lists, copying, decisions, comparisons.

#include <gtest/gtest.h>

#include "DecisionFixtures.h"
#include "agents/UKart.h"

TEST(State, FixtureKartIsDeclaredAsTheRealKart) {
  // Suites that build a kart's state by hand must not drift from the kart.
  TKart Kart(0, 0, 0);
  const TState& Real = *Kart.RealState;
  auto S = MakeKartState();
  ASSERT_EQ(S->ParamCount(), Real.ParamCount());
  for (int32_t I = 0; I < Real.ParamCount(); ++I) {
    const TStateParam& Want = Real.Param(I);
    const TStateParam& Got = S->Param(I);
    EXPECT_EQ(Got.Name, Want.Name);
    EXPECT_EQ(Got.Kind, Want.Kind) << Want.Name;
    EXPECT_EQ(Got.MinValue, Want.MinValue) << Want.Name;
    EXPECT_EQ(Got.MaxValue, Want.MaxValue) << Want.Name;
    EXPECT_EQ(Got.Precision, Want.Precision) << Want.Name;
  }
}

TEST(State, LookupAndIndexErrorsNameTheOffender) {
  auto S = MakeKartState();
  EXPECT_EQ(S->IndexOfName(" posx"), 2);
  EXPECT_EQ(&S->ParamByName("pushpower"), &S->FreeParam(1));
  EXPECT_EQ(ErrorOf([&] { S->IndexOfName("PosZ"); }),
            "TState: Param with name \"POSZ\" not found.");
  EXPECT_EQ(ErrorOf([&] { S->ParamByName(" posz\t"); }),
            "TState: Param with name \"POSZ\" not found.");

  EXPECT_EQ(ErrorOf([&] { S->Param(-1); }), "TState: Param index -1 out of boundaries.");
  EXPECT_EQ(ErrorOf([&] { S->Param(14); }), "TState: Param index 14 out of boundaries.");
  EXPECT_EQ(ErrorOf([&] { S->FreeParam(2); }), "TState: FreeParam index 2 out of boundaries.");
  EXPECT_EQ(ErrorOf([&] { S->MacroParam(-1); }), "TState: MacroParam index -1 out of boundaries.");
  EXPECT_EQ(ErrorOf([&] { S->Param(13); }), "");
}

TEST(State, SubListsAreDecidedWhenAddedOrCopied) {
  auto S = MakeKartState();
  ASSERT_EQ(S->FreeParamCount(), 2);
  ASSERT_EQ(S->MacroParamCount(), 2);
  EXPECT_EQ(&S->FreeParam(0), &S->Param(12));
  EXPECT_EQ(&S->FreeParam(1), &S->Param(13));
  EXPECT_EQ(&S->MacroParam(0), &S->Param(2));
  EXPECT_EQ(&S->MacroParam(1), &S->Param(3));

  S->ParamByName("Angle").Precision = 1;  // not revised in place...
  EXPECT_EQ(S->MacroParamCount(), 2);
  TState Copy;
  Copy.CopyFrom(*S);  // ...but a copy decides afresh
  EXPECT_EQ(Copy.MacroParamCount(), 3);
  EXPECT_EQ(&Copy.MacroParam(2), &Copy.Param(4));
}

TEST(State, CopyFromGrowsShrinksAndStaysIndependent) {
  auto Kart = MakeKartState();
  Kart->ParamByName("PosX").SetValue(123);
  Kart->Score = 7;
  Kart->TeamAvgScore = 3;
  Kart->ScoreFactor = 0.5;
  Kart->FutureCount = 4;

  TState Copy;
  Copy.SetKeepPrevious(true);
  Copy.CopyFrom(*Kart);
  ASSERT_EQ(Copy.ParamCount(), 14);
  for (int32_t I = 0; I < 14; ++I) {
    EXPECT_NE(&Copy.Param(I), &Kart->Param(I));
    EXPECT_EQ(Copy.Param(I).Name, Kart->Param(I).Name);
  }
  // The sub-lists point into the copy's own parameters.
  EXPECT_EQ(&Copy.FreeParam(0), &Copy.Param(12));
  EXPECT_EQ(&Copy.MacroParam(1), &Copy.Param(3));
  EXPECT_EQ(Copy.ParamByName("PosX").Value, 123);
  EXPECT_EQ(Copy.ParamByName("PosX").PrevValue, 0);
  EXPECT_EQ(Copy.Score, 7);
  EXPECT_EQ(Copy.TeamAvgScore, 3);
  EXPECT_EQ(Copy.ScoreFactor, 0.5);
  EXPECT_EQ(Copy.FutureCount, 4);
  EXPECT_TRUE(Copy.KeepPrevious);

  Copy.ParamByName("PosX").SetValue(-5);
  Copy.FreeParam(0).Quantize();
  EXPECT_EQ(Kart->ParamByName("PosX").Value, 123);

  // Shrinking to a body without kart parameters keeps the first seven objects, frees the rest.
  TStateParam* const Kept = &Copy.Param(6);
  TState Body;
  for (int32_t I = 0; I < 7; ++I) {
    const TStateParam& P = Kart->Param(I);
    AddParam(Body, P.Name, P.Kind, I, P.MaxValue, P.MinValue, P.Precision);
  }
  Copy.CopyFrom(Body);
  ASSERT_EQ(Copy.ParamCount(), 7);
  EXPECT_EQ(&Copy.Param(6), Kept);
  EXPECT_EQ(Copy.FreeParamCount(), 0);
  EXPECT_EQ(Copy.MacroParamCount(), 2);
  EXPECT_EQ(Copy.Param(6).Value, 6);
  EXPECT_FALSE(Copy.HasFreeParams());

  Copy.CopyFrom(*Kart);  // and grows back
  EXPECT_EQ(Copy.FreeParamCount(), 2);
  EXPECT_EQ(Copy.ParamByName("PushPower").MaxValue, 180);
}

TEST(State, StartMarkStoresAndRestoresToTheThousandth) {
  auto S = MakeKartState();
  TStateParam& X = S->ParamByName("PosX");
  X.SetValue(10.12345);
  S->StoreStart();
  EXPECT_EQ(X.IntValue, 10123);
  EXPECT_EQ(X.PrevValue, 10.12345);
  X.SetValue(99);
  S->ParamByName("PushPower").SetValue(170);
  S->RestoreStart();
  EXPECT_DOUBLE_EQ(X.Value, 10.123);
  EXPECT_EQ(S->ParamByName("PushPower").Value, 0);

  S->SetKeepPrevious(true);
  X.SetValue(1);
  EXPECT_EQ(X.PrevValue, 99);
  EXPECT_TRUE(S->ParamByName("Size").KeepPrevious);
}

TEST(State, RandomizeChangesOneDecisionOrAllOfThem) {
  RandomSeed(11);
  auto S = MakeKartState();
  int Chosen[2] = {0, 0};
  for (int I = 0; I < 200; ++I) {
    S->FreeParam(0).SetValue(0.5);
    S->FreeParam(1).SetValue(0.5);
    S->Randomize(true);
    const bool First = S->FreeParam(0).Value != 0.5;
    const bool Second = S->FreeParam(1).Value != 0.5;
    ASSERT_NE(First, Second) << "exactly one free parameter changes";
    TStateParam& Changed = S->FreeParam(First ? 0 : 1);
    EXPECT_EQ(Changed.RoundedValue(), Changed.Value);
    ++Chosen[First ? 0 : 1];
  }
  EXPECT_GT(Chosen[0], 60);
  EXPECT_GT(Chosen[1], 60);

  const int32_t Turn = S->FreeParam(0).IntValue, Power = S->FreeParam(1).IntValue;
  const double Size = S->Param(0).Value;
  S->Randomize(false);
  EXPECT_NE(S->FreeParam(0).Value, 0.5);
  EXPECT_NE(S->FreeParam(1).Value, 0.5);
  EXPECT_EQ(S->FreeParam(0).IntValue, Turn);
  EXPECT_EQ(S->FreeParam(1).IntValue, Power);
  EXPECT_EQ(S->Param(0).Value, Size);

  TState Empty;
  Empty.Randomize(true);  // no free parameters: nothing to do, nothing to fail
  EXPECT_EQ(Empty.ParamCount(), 0);
}

TEST(State, DecisionTextRoundsTiesToEven) {
  auto S = MakeDecider();
  EXPECT_EQ(S->DecisionText(), "(0, 0) #1");
  S->FreeParam(0).SetValue(5);
  S->FreeParam(0).Quantize();
  S->FutureCount = 13;
  EXPECT_EQ(S->DecisionText(), "(5, 0) #13");
  const std::pair<double, const char*> Cases[] = {{2.5, "(2, "}, {-2.5, "(-2, "}, {3.5, "(4, "}};
  for (const auto& [Value, Prefix] : Cases) {
    S->FreeParam(0).SetValue(Value);
    S->FreeParam(0).Quantize();
    EXPECT_EQ(S->DecisionText().rfind(Prefix, 0), 0u) << S->DecisionText();
  }
  EXPECT_EQ(TState().DecisionText(), "() #1");
}

TEST(State, ComparisonsUseTheRecordedIntegers) {
  auto A = MakeFuture({.Turn = 5, .X = 14});
  auto B = MakeFuture({.Turn = 5, .X = 16});
  B->FreeParam(0).SetValue(-3);  // a later decision: Value moves, IntValue keeps the first
  EXPECT_TRUE(A->HaveSameInitialDecision(*B));
  B->FreeParam(0).Quantize();
  EXPECT_FALSE(A->HaveSameInitialDecision(*B));

  EXPECT_FALSE(A->HaveSameFinalMacro(*B));  // cells 1 and 2
  A->MacroParam(0).SetValue(24);
  EXPECT_TRUE(A->HaveSameFinalMacro(*B));  // 24 and 16 both in cell 2

  TState NoFree, Other;
  EXPECT_TRUE(NoFree.HaveSameInitialDecision(Other));
  EXPECT_EQ(ErrorOf([&] { A->HaveSameInitialDecision(NoFree); }),
            "HaveSameInitialDecision(): States have a different free param count!");
  EXPECT_EQ(ErrorOf([&] { A->HaveSameFinalMacro(NoFree); }),
            "HaveSameFinalMacro(): States have a different param count!");

  // Equal parameter counts but fewer macro parameters on the other side.
  auto Fewer = MakeFuture({.Turn = 5, .X = 24});
  Fewer->ParamByName("PosY").Precision = 0;
  TState FewerCopy;
  FewerCopy.CopyFrom(*Fewer);
  EXPECT_EQ(ErrorOf([&] { A->HaveSameFinalMacro(FewerCopy); }),
            "TState: MacroParam index 1 out of boundaries.");
}
