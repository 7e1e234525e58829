// From stored futures to a decision: merging, options, shares and the averaged decision.

#include <gtest/gtest.h>

#include "DecisionFixtures.h"

namespace {

std::string ListIndexError(int64_t Index) {
  return ErrorOf([&] { RaiseListIndexError(Index); });
}

void AddAll(TListOfFutures& List, std::initializer_list<TFutureDraft> Drafts) {
  for (const TFutureDraft& Draft : Drafts) List.AddFuture(*MakeFuture(Draft));
}

}  // namespace

// Records are recycled between moves; a recycled one must snap its own end point, not the
// cell it held the move before.
TEST(ListOfFutures, StoredFuturesAreSnappedCopiesEvenInReusedRecords) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  auto Sim = MakeFuture({.Turn = 5, .X = 104, .Y = 204, .Score = 1});
  List.AddFuture(*Sim);
  List.AddFuture(*Sim);
  EXPECT_EQ(Sim->ParamByName("PosX").Value, 104);  // the source is left as it was
  EXPECT_EQ(List.Future(0).ParamByName("PosX").Value, 100);
  EXPECT_EQ(List.Future(1).ParamByName("PosY").Value, 200);

  auto Real = MakeDecider();
  List.Decide(*Real);
  EXPECT_EQ(List.Count(), 1);
  List.Clear();
  EXPECT_EQ(List.Count(), 0);

  for (int Move = 0; Move < 2; ++Move) {
    AddAll(List, {{.Turn = 5, .X = 31, .Y = 49}, {.Turn = -5, .X = -26, .Y = 15}});
    EXPECT_EQ(List.Future(0).ParamByName("PosX").Value, 30);
    EXPECT_EQ(List.Future(0).ParamByName("PosY").Value, 50);
    EXPECT_EQ(List.Future(1).ParamByName("PosX").Value, -30);
    EXPECT_EQ(List.Future(1).ParamByName("PosY").Value, 20);
    EXPECT_EQ(List.Future(1).FreeParam(0).IntValue, -5000);
    List.Decide(*Real);
    List.Clear();
  }
}

TEST(ListOfFutures, MergeKeepsTheBestScoreAndCountsTheClass) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  // One decision; the first and third end in cell 1, the second in cell 4.
  AddAll(List, {{.Turn = 5, .X = 12, .Score = 4},
                {.Turn = 5, .X = 40, .Score = 2},
                {.Turn = 5, .X = 14, .Score = 9, .Factor = 0.5}});
  List.MergeFutures();
  ASSERT_EQ(List.Count(), 2);
  EXPECT_EQ(List.Future(0).Score, 9);
  EXPECT_EQ(List.Future(0).FutureCount, 2);
  EXPECT_EQ(List.Future(0).ScoreFactor, 1);  // the earliest future's
  EXPECT_EQ(List.Future(1).Score, 2);
  EXPECT_EQ(List.Future(1).FutureCount, 1);

  List.BuildOptions();
  ASSERT_EQ(List.OptionCount(), 1);
  EXPECT_DOUBLE_EQ(List.Option(0).Score, 81 + 4);
  EXPECT_EQ(List.Option(0).FutureCount, 1 + 2 + 1);
  EXPECT_EQ(List.Option(0).FreeParam(0).RoundedValue(), 5);
  EXPECT_EQ(List.Option(0).DecisionText(), "(5, 0) #4");

  EXPECT_EQ(ListIndexError(2), ErrorOf([&] { List.Future(2); }));
  EXPECT_EQ(ListIndexError(-1), ErrorOf([&] { List.Option(-1); }));
}

TEST(ListOfFutures, TeamScoresAreAveragedOverTheMergedClass) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  AddAll(List, {{.Turn = 5, .Score = 10, .Team = 1},
                {.Power = 50, .Score = 4},  // no team score: weighed by its own score
                {.Turn = 5, .Score = 20, .Team = 2},
                {.Turn = 5, .Score = 30, .Team = 6}});
  List.MergeFutures();
  ASSERT_EQ(List.Count(), 2);
  EXPECT_DOUBLE_EQ(List.Future(0).TeamAvgScore, 3);  // (1 + 2 + 6) / 3
  EXPECT_EQ(List.Future(0).Score, 30);
  EXPECT_EQ(List.Future(1).TeamAvgScore, 0);

  List.BuildOptions();
  ASSERT_EQ(List.OptionCount(), 2);
  EXPECT_DOUBLE_EQ(List.Option(0).Score, 9);  // the team average, not the best own score
  EXPECT_DOUBLE_EQ(List.Option(1).Score, 16);
  EXPECT_EQ(List.Option(0).TeamAvgScore, 0);
}

// A repeat of an earlier future keeps only its scores; asked for, it shows the earlier
// future's parameters with its own scores. Scores written before the merge still count.
TEST(ListOfFutures, RepeatsKeepTheirOwnScoresUntilTheMerge) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  auto Future = [&](const TFutureDraft& Draft, double Tag) {
    auto F = MakeFuture(Draft);
    AddParam(*F, "Tag", pkPlain, Tag, 0, 0, 0);
    List.AddFuture(*F);
  };
  Future({.Turn = 5, .X = 12, .Score = 4}, 1);
  Future({.Turn = 5, .X = 14, .Score = 9, .Factor = 0.5}, 2);  // repeats the first
  Future({.Turn = -5, .X = 12, .Score = 7}, 3);                // another decision
  ASSERT_EQ(List.Count(), 3);
  EXPECT_EQ(List.FutureScore(1), 9);
  List.SetFutureTeamAvgScore(1, 6);
  List.SetFutureTeamAvgScore(0, 2);
  const TState& Repeat = List.Future(1);
  EXPECT_EQ(Repeat.Score, 9);
  EXPECT_EQ(Repeat.TeamAvgScore, 6);
  EXPECT_EQ(Repeat.ScoreFactor, 0.5);
  EXPECT_EQ(Repeat.ParamByName("PosX").Value, 10);
  EXPECT_EQ(Repeat.FreeParam(0).IntValue, 5000);
  EXPECT_EQ(Repeat.ParamByName("Tag").Value, 1);  // the earlier future's
  EXPECT_EQ(ListIndexError(3), ErrorOf([&] { List.FutureScore(3); }));
  EXPECT_EQ(ListIndexError(-1), ErrorOf([&] { List.SetFutureTeamAvgScore(-1, 0); }));

  List.MergeFutures();
  ASSERT_EQ(List.Count(), 2);
  EXPECT_EQ(List.Future(0).Score, 9);
  EXPECT_EQ(List.Future(0).TeamAvgScore, 4);  // (2 + 6) / 2
  EXPECT_EQ(List.Future(0).ScoreFactor, 1);
  EXPECT_EQ(List.Future(1).ParamByName("Tag").Value, 3);

  // Stored after a merge moved the futures up, a repeat still finds its class.
  Future({.Turn = -5, .X = 8, .Score = 1}, 4);
  Future({.Turn = 5, .X = 30, .Score = 1}, 5);
  ASSERT_EQ(List.Count(), 4);
  List.MergeFutures();
  ASSERT_EQ(List.Count(), 3);
  EXPECT_EQ(List.Future(0).FutureCount, 2);
  EXPECT_EQ(List.Future(1).FutureCount, 2);
  EXPECT_EQ(List.Future(2).ParamByName("Tag").Value, 5);
}

TEST(ListOfFutures, SharesWeighTheInitialDecisions) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  // Raw option scores 3 and 1: weights 1 x 1 x 3 and 1 x 1 x 1.
  AddAll(List, {{.Turn = 5, .Score = 1, .Factor = 3}, {.Turn = -5, .Score = 1}});
  auto Real = MakeDecider();
  Real->FreeParam(1).SetValue(33);
  List.Decide(*Real);
  ASSERT_EQ(List.OptionCount(), 2);
  EXPECT_NEAR(List.Option(0).Score, 3 / 4.1, 1e-12);
  EXPECT_NEAR(List.Option(1).Score, 1 / 4.1, 1e-12);
  EXPECT_NEAR(Real->FreeParam(0).Value, 10 / 4.1, 1e-12);
  EXPECT_EQ(Real->FreeParam(1).Value, 0);

  // A single future: one option whose share is W / (0.1 + W).
  List.Clear();
  AddAll(List, {{.Power = -50, .Score = 2}});
  List.Decide(*Real);
  ASSERT_EQ(List.OptionCount(), 1);
  EXPECT_NEAR(List.Option(0).Score, 4 / 4.1, 1e-12);
  EXPECT_NEAR(Real->FreeParam(1).Value, -50 * 4 / 4.1, 1e-12);
  EXPECT_EQ(Real->FreeParam(0).Value, 0);

  // Nothing scored: nothing pulls the decision anywhere.
  List.Clear();
  AddAll(List, {{.Turn = 5}, {.Power = 180, .X = 50}});
  Real->FreeParam(0).SetValue(4);
  List.Decide(*Real);
  EXPECT_EQ(List.OptionCount(), 2);
  EXPECT_EQ(Real->FreeParam(0).Value, 0);
  EXPECT_EQ(Real->FreeParam(1).Value, 0);
}

// Racing the lap direction a future may score below 0 (it went backwards round the road):
// squared, it must not outweigh one that stood still. Scores are counted from the lowest.
TEST(ListOfFutures, AFutureThatWentBackwardsWeighsLessThanOneThatStood) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  AddAll(List, {{.Turn = 5, .Score = -3}, {.Turn = -5, .X = 50}, {.Power = 180, .Score = 2}});
  auto Real = MakeDecider();
  List.Decide(*Real);
  ASSERT_EQ(List.OptionCount(), 3);
  // Counted from -3: weights 0, 9 and 25.
  EXPECT_EQ(List.Option(0).Score, 0);
  EXPECT_NEAR(List.Option(1).Score, 9 / 34.1, 1e-12);
  EXPECT_NEAR(List.Option(2).Score, 25 / 34.1, 1e-12);
}

TEST(ListOfFutures, EmptyListsDecideZeroAndClearKeepsOptionsUntilDecide) {
  TFakeOwner Owner;
  Owner.Refined = true;
  TListOfFutures List(&Owner);
  auto Real = MakeDecider();
  Real->FreeParam(0).SetValue(3);
  List.Decide(*Real);
  EXPECT_EQ(List.OptionCount(), 0);
  EXPECT_EQ(Real->FreeParam(0).Value, 0);

  AddAll(List, {{.Turn = 5, .Score = 1}, {.Turn = -5, .Score = 1}});
  List.Decide(*Real);
  List.Clear();
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(List.OptionCount(), 2);
  List.Decide(*Real);
  EXPECT_EQ(List.OptionCount(), 0);
  EXPECT_EQ(ListIndexError(0), ErrorOf([&] { List.Option(0); }));
}

TEST(ListOfFutures, MismatchedStatesRaiseTheStateErrors) {
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  AddAll(List, {{.Turn = 5, .Score = 1}});
  TState OneFree;
  AddParam(OneFree, "PosX", pkMacro, 0, 0, 0, 10);
  AddParam(OneFree, "PushTurn", pkFree, 5, 5, -5, 5);
  List.AddFuture(OneFree);
  auto Real = MakeDecider();
  EXPECT_EQ(ErrorOf([&] { List.Decide(*Real); }),
            "HaveSameInitialDecision(): States have a different free param count!");

  List.Clear();
  AddAll(List, {{.Turn = 5, .Score = 1}});
  TState ThreeFree;
  ThreeFree.CopyFrom(*Real);
  AddParam(ThreeFree, "Extra", pkFree, 0, 1, -1, 1);
  EXPECT_EQ(ErrorOf([&] { List.Decide(ThreeFree); }),
            "TState: FreeParam index 2 out of boundaries.");
}
