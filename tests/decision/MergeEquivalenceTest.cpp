// The fast merge against the pairwise scan it replaces, on random kart futures.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DecisionFixtures.h"

namespace {

// Every future, from the last down, is merged into the first earlier future with the same
// initial decision and the same end cell.
void PairwiseMerge(std::vector<std::unique_ptr<TState>>& F) {
  for (int32_t N = static_cast<int32_t>(F.size()) - 1; N >= 1; --N) {
    for (int32_t I = 0; I < N; ++I) {
      if (!F[I]->HaveSameInitialDecision(*F[N]) || !F[I]->HaveSameFinalMacro(*F[N])) continue;
      F[I]->Score = std::max(F[I]->Score, F[N]->Score);
      F[I]->TeamAvgScore = F[I]->TeamAvgScore + F[N]->TeamAvgScore;
      F[I]->FutureCount = F[I]->FutureCount + 1;
      F.erase(F.begin() + N);
      break;
    }
  }
  for (auto& S : F) S->TeamAvgScore = S->TeamAvgScore / S->FutureCount;
}

}  // namespace

TEST(MergeEquivalence, FastMergeGivesThePairwiseRecordsInOrder) {
  RandomSeed(2024);
  TFakeOwner Owner;
  TListOfFutures List(&Owner);
  auto Real = MakeKartState(10);
  auto Sim = MakeKartState(10);
  const int32_t Tag = Real->IndexOfName("VelX");

  // Move 0 leaves the repeats alone until the merge; move 1 gives some of them records
  // before it; move 2 writes team scores through the list, as the track does.
  for (int Move = 0; Move < 3; ++Move) {  // later moves run on recycled records
    SCOPED_TRACE("move " + std::to_string(Move));
    List.Clear();
    std::vector<std::unique_ptr<TState>> Expected;
    for (int32_t I = 0; I < 1500; ++I) {
      Sim->CopyFrom(*Real);
      Sim->Randomize(true);   // one of the kart's six initial decisions
      Sim->Randomize(false);  // later decisions move Value, not the recorded IntValue
      Sim->ParamByName("PosX").SetValue(-50 + 100 * RandomUniform());
      Sim->ParamByName("PosY").SetValue(80 * RandomUniform());
      Sim->Param(Tag).SetValue(I);
      Sim->Score = 100 * RandomUniform();
      Sim->TeamAvgScore = RandomUniform() < 0.5 ? 0 : 100 * RandomUniform();
      Sim->ScoreFactor = RandomUniform() < 0.8 ? 1 : 0.5;
      List.AddFuture(*Sim);
      Expected.push_back(std::make_unique<TState>());
      Expected.back()->CopyFrom(*Sim);
      Expected.back()->ConvertToMacro();
    }
    ASSERT_EQ(List.Count(), 1500);
    for (int32_t I = 0; I < List.Count(); ++I) {
      ASSERT_EQ(List.FutureScore(I), Expected[I]->Score);
      if (Move == 1 && I % 3 == 0) {
        TState& F = List.Future(I);
        ASSERT_EQ(F.Score, Expected[I]->Score);
        ASSERT_EQ(F.ScoreFactor, Expected[I]->ScoreFactor);
        ASSERT_TRUE(F.HaveSameInitialDecision(*Expected[I]));
        ASSERT_TRUE(F.HaveSameFinalMacro(*Expected[I]));
      }
      if (Move == 2) {
        const double Team = I % 7;
        List.SetFutureTeamAvgScore(I, Team);
        Expected[I]->TeamAvgScore = Team;
      }
    }
    PairwiseMerge(Expected);
    List.MergeFutures();

    ASSERT_EQ(List.Count(), static_cast<int32_t>(Expected.size()));
    ASSERT_LT(List.Count(), 1200) << "the random futures should share many classes";
    ASSERT_GT(List.Count(), 100) << "and there should be enough classes to grow the table";
    for (int32_t I = 0; I < List.Count(); ++I) {
      const TState& Got = List.Future(I);
      const TState& Want = *Expected[I];
      ASSERT_EQ(Got.Param(Tag).Value, Want.Param(Tag).Value) << "record " << I;
      EXPECT_EQ(Got.Score, Want.Score);
      EXPECT_EQ(Got.TeamAvgScore, Want.TeamAvgScore);  // summed in the same order
      EXPECT_EQ(Got.ScoreFactor, Want.ScoreFactor);
      EXPECT_EQ(Got.FutureCount, Want.FutureCount);
      EXPECT_TRUE(Got.HaveSameInitialDecision(Want));
      EXPECT_TRUE(Got.HaveSameFinalMacro(Want));
    }
  }
}
