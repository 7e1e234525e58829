// One move of the whole world: the passes of imagined futures under a time budget, team
// scoring, the real moves, the debug listing, collisions and messages; and the player list.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "WorldTestKit.h"

namespace {

// A track on a plain road picture with a text view and a message pump attached.
struct TWalkerRace {
  TCountingTrack Track;
  std::unique_ptr<TQtPicture> Picture = RoadPicture(400, 300);
  TTextRecorder Memo;
  TPumpCounter Pump;
  std::vector<std::unique_ptr<TWalker>> Walkers;

  explicit TWalkerRace(int32_t Players, int32_t Seconds = 1) {
    Track.SetImage(Picture.get());
    Track.DebugMemo = &Memo;
    Track.MessagePump = &Pump;
    Track.Seconds = Seconds;
    for (int32_t I = 0; I < Players; ++I) {
      Walkers.push_back(std::make_unique<TWalker>());
      Walkers.back()->SetPosition(100, 50 + 40 * I, 0);
      Track.AddPlayer(*Walkers.back());
    }
  }
  TWalker& operator[](int32_t I) { return *Walkers[I]; }
};

// A budget that ran out before the step began.
constexpr int32_t Spent = -1000;

}  // namespace

TEST(ThinkAndMove, SubStepsRoundHalfToEvenWithAMinimumOfTwo) {
  struct TCase {
    int32_t Seconds, StepMs, SubSteps;
  };
  for (TCase C : {TCase{10, 100, 100}, TCase{1, 400, 2}, TCase{3, 400, 8}, TCase{1, 1000, 2}}) {
    SCOPED_TRACE(std::to_string(C.Seconds) + " s / " + std::to_string(C.StepMs) + " ms");
    TWalkerRace World(1, C.Seconds);
    World.Track.ThinkAndMove(Spent, C.StepMs);
    EXPECT_EQ(World.Track.LastSubSteps, C.SubSteps);
    EXPECT_EQ(World[0].SimulatedSteps, 200 * C.SubSteps);
    EXPECT_EQ(World[0].RealSteps, 1);
  }
  TWalkerRace World(1);
  EXPECT_THROW(World.Track.ThinkAndMove(100, 0), EModelError);
  EXPECT_EQ(World[0].SimulatedSteps, 0);
}

TEST(ThinkAndMove, SpentBudgetRunsExactlyTheMinimumAndListsTheOptions) {
  for (bool Team : {false, true}) {
    SCOPED_TRACE(Team ? "team" : "individuals");
    const int32_t Minimum = Team ? 500 : 200;
    TWalkerRace World(2);
    World.Track.TeamScore = Team;
    World[1].DebugLevel = TDebugLevel::EndPoints;
    World.Track.ThinkAndMove(Spent, 100);

    for (auto& W : World.Walkers) EXPECT_EQ(W->SimulatedSteps, Minimum * 10);
    EXPECT_EQ(World.Track.LastPasses, Minimum);
    const std::vector<std::string>& Lines = World.Memo.Lines;
    ASSERT_GE(Lines.size(), 2u);
    EXPECT_EQ(Lines[0], "Futures: " + std::to_string(Minimum + 1));
    TListOfFutures& F = *World[1].Futures;
    EXPECT_EQ(Lines[1], "Options: " + std::to_string(F.OptionCount()));
    ASSERT_EQ(Lines.size(), 2u + F.OptionCount());
    // The walker's first decisions are -5 or +5: two options, each "(d) #n share%".
    EXPECT_EQ(F.OptionCount(), 2);
    double Total = 0;
    for (int32_t R = 0; R < F.OptionCount(); ++R) {
      const std::string& L = Lines[2 + R];
      int Decision = 0, Count = 0, Used = 0;
      ASSERT_EQ(std::sscanf(L.c_str(), "(%d) #%d%n", &Decision, &Count, &Used), 2) << L;
      EXPECT_EQ(Decision, RoundEven(F.Option(R).FreeParam(0).RoundedValue()));
      EXPECT_EQ(Count, F.Option(R).FutureCount);
      // " " then the share with one decimal, at least 3 characters, then "%".
      const std::string Share = L.substr(Used + 1, L.size() - Used - 2);
      EXPECT_EQ(L[Used], ' ') << L;
      EXPECT_EQ(L.back(), '%') << L;
      EXPECT_GE(Share.size(), 3u) << L;
      EXPECT_EQ(Share.find('.'), Share.size() - 2) << L;
      EXPECT_NEAR(std::stod(Share), F.Option(R).Score * 100, 0.05);
      Total += std::stod(Share);
    }
    EXPECT_GT(Total, 90);
    EXPECT_LE(Total, 100.1);
  }
}

TEST(ThinkAndMove, GenerousBudgetGivesEveryPlayerTheSameLargerCount) {
  TWalkerRace World(3);
  const auto Start = std::chrono::steady_clock::now();
  World.Track.ThinkAndMove(200, 100);
  const auto Ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - Start)
                      .count();
  const int32_t Passes = World.Track.LastPasses;
  EXPECT_GT(Passes, 200);
  for (auto& W : World.Walkers) EXPECT_EQ(W->SimulatedSteps, Passes * 10);
  // More than the minimum means the step ran until its deadline of 90 % of the budget.
  EXPECT_GE(Ms, 180);
  EXPECT_LT(Ms, 5000);
}

TEST(ThinkAndMove, FixedPassesRepeatASeededMoveWithoutTheClock) {
  TWalkerRace World(1);
  World.Track.FixedPasses = 250;
  World.Track.ThinkAndMove(5000, 100);
  EXPECT_EQ(World.Track.LastPasses, 250);
  World.Track.FixedPasses = 10;  // the minimum still wins
  World.Track.ThinkAndMove(5000, 100);
  EXPECT_EQ(World.Track.LastPasses, 200);

  double End[2];
  for (double& X : End) {
    TWalkerRace Run(2);
    Run.Track.FixedPasses = 300;
    RandomSeed(99);
    for (int Move = 0; Move < 3; ++Move) Run.Track.ThinkAndMove(0, 100);
    X = Run[0].PosX() + 1000 * Run[1].PosX();
  }
  EXPECT_EQ(End[0], End[1]);
}

TEST(ThinkAndMove, DebugLevelsDecideWhatIsDrawnAndWritten) {
  TWalkerRace World(3);
  World[0].DebugLevel = TDebugLevel::Traces;
  World[1].DebugLevel = TDebugLevel::EndPoints;
  World[2].DebugLevel = TDebugLevel::Nothing;
  World.Track.ThinkAndMove(Spent, 100);

  // Traces every fifth sub-step, for levels 1 and up only.
  for (int32_t I : {0, 1}) {
    const TWalker& W = World[I];
    EXPECT_EQ(W.TraceAt.size(), 2u * 200);
    for (int32_t Step : W.TraceAt) EXPECT_EQ(Step % 5, 0) << Step;
  }
  EXPECT_TRUE(World[2].TraceAt.empty());
  // End points for level 2 only, one per distinct future left after the decision.
  EXPECT_EQ(World[0].FuturesDrawn, 0);
  EXPECT_EQ(World[1].FuturesDrawn, World[1].Futures->Count());
  EXPECT_EQ(World[2].FuturesDrawn, 0);
  // The traces landed on the picture in the states' grey.
  int32_t Grey = 0;
  for (int32_t Y = 0; Y < World.Picture->Height(); ++Y)
    for (int32_t X = 0; X < World.Picture->Width(); ++X)
      Grey += World.Picture->Pixel(X, Y) == clGray;
  EXPECT_GT(Grey, 0);

  // With 8 sub-steps only the fifth of every future is traced.
  TWalkerRace Eight(1, 3);
  Eight[0].DebugLevel = TDebugLevel::Traces;
  Eight.Track.ThinkAndMove(Spent, 400);
  EXPECT_EQ(Eight[0].TraceAt.size(), 200u);
  for (int32_t Step : Eight[0].TraceAt) EXPECT_EQ(Step % 8, 5) << Step;
}

TEST(ThinkAndMove, LastReportingPlayerOwnsTheTextView) {
  TWalkerRace World(3);
  World[0].DebugLevel = TDebugLevel::EndPoints;
  World[1].DebugLevel = TDebugLevel::Traces;
  World.Track.ThinkAndMove(Spent, 100);
  ASSERT_EQ(World.Memo.Lines.size(), 1u);
  EXPECT_EQ(World.Memo.Lines[0], World[1].GetInfo());
  EXPECT_FALSE(World[1].GetInfo().empty());

  // Nobody reporting: the view is just cleared.
  World[0].DebugLevel = World[1].DebugLevel = TDebugLevel::Nothing;
  World.Track.ThinkAndMove(Spent, 100);
  EXPECT_TRUE(World.Memo.Lines.empty());
}

TEST(ThinkAndMove, TeamScoresAreTheMeanOfTheFuturesOfOnePass) {
  for (bool Team : {true, false}) {
    SCOPED_TRACE(Team ? "team" : "individuals");
    TWalkerRace World(3);
    World.Track.TeamScore = Team;
    World[0].ScorePerStep = 1.5;  // futures scoring 3, 6 and 0 over two sub-steps
    World[1].ScorePerStep = 3;
    World[2].ScorePerStep = 0;
    World.Track.ThinkAndMove(Spent, 1000);
    EXPECT_EQ(World.Track.LastSubSteps, 2);
    for (int32_t I = 0; I < 3; ++I) {
      TListOfFutures& F = *World[I].Futures;
      ASSERT_GT(F.Count(), 0);
      for (int32_t R = 0; R < F.Count(); ++R) {
        EXPECT_DOUBLE_EQ(F.Future(R).TeamAvgScore, Team ? 3 : 0);
        EXPECT_DOUBLE_EQ(F.Future(R).Score, 2 * World[I].ScorePerStep);
      }
    }
  }
}

TEST(ThinkAndMove, EachMoveStartsFromFreshFuturesAndResolvesCollisionsWhenAsked) {
  for (bool Collisions : {true, false}) {
    TWalkerRace World(2);
    World.Track.Collisions = Collisions;
    World.Track.ThinkAndMove(Spent, 100);
    World.Track.ThinkAndMove(Spent, 100);
    // After every sub-step of every pass, and once after the real moves.
    EXPECT_EQ(World.Track.Resolves, Collisions ? 2 * (200 * 10 + 1) : 0);
    EXPECT_EQ(World.Pump.Calls, 2);
    for (auto& W : World.Walkers) {
      EXPECT_EQ(W->SimulatedSteps, 2 * 200 * 10);
      EXPECT_EQ(W->RealSteps, 2);
      EXPECT_FALSE(W->Simulating);
      EXPECT_LE(W->Futures->Count(), 200);  // merged, and never more than one move's worth
    }
  }
  // An empty world, even thinking as a team, has nothing to do but still counts its passes.
  TWalkerRace Empty(0);
  Empty.Track.TeamScore = true;
  Empty.Track.ThinkAndMove(Spent, 100);
  EXPECT_EQ(Empty.Track.LastPasses, 500);
}

TEST(Track, PlayerListIgnoresRepeatsAndStrangers) {
  TCountingTrack First, Second;
  TWalker W;
  First.AddPlayer(W);
  Second.AddPlayer(W);
  EXPECT_EQ(W.Track, &Second);
  First.AddPlayer(W);  // already there: nothing, not even the back reference
  EXPECT_EQ(First.PlayerCount(), 1);
  EXPECT_EQ(W.Track, &Second);
  EXPECT_EQ(&First.GetPlayer(0), &W);
  EXPECT_THROW(First.GetPlayer(1), EModelError);
  EXPECT_THROW(First.GetPlayer(-1), EModelError);

  TWalker Stranger;
  First.RemovePlayer(&Stranger, true);  // not on the list: not freed either
  EXPECT_EQ(First.PlayerCount(), 1);
  EXPECT_EQ(Stranger.PosX(), 10);

  auto* Owned = new TWalker;  // freed by the track
  First.AddPlayer(*Owned);
  First.RemovePlayer(Owned, true);
  First.RemovePlayer(&W, false);
  EXPECT_EQ(First.PlayerCount(), 0);
  EXPECT_EQ(W.PosX(), 10);
}

TEST(Track, RedrawKeepsTrailsOnlyWhenAsked) {
  TWalkerRace World(1);
  TWalker& W = World[0];
  World.Track.Redraw();
  EXPECT_EQ(World.Picture->Pixel(100, 50), W.Color);
  W.SetPosX(200);
  World.Track.KeepTrails = true;
  World.Track.Redraw();
  EXPECT_EQ(World.Picture->Pixel(100, 50), W.Color);
  EXPECT_EQ(World.Picture->Pixel(200, 50), W.Color);
  World.Track.KeepTrails = false;
  World.Track.Redraw();
  EXPECT_EQ(World.Picture->Pixel(100, 50), 0x808080u);
  EXPECT_EQ(World.Picture->Pixel(200, 50), W.Color);
}

// Regression: an error in the middle of a pass used to leave the players in simulation mode, so
// the window's handlers edited the simulation state and the next move skipped a fresh copy.
TEST(ThinkAndMove, AnErrorInAPassLeavesEveryPlayerInRealMode) {
  struct TFailing : TWalker {
    int32_t FailAt = 50;
    void Advance(int32_t TimeStepMs) override {
      if (Simulating && SimulatedSteps + 1 == FailAt) throw EModelError("broken step");
      TWalker::Advance(TimeStepMs);
    }
  };
  TWalkerRace World(1);
  TFailing Failing;
  Failing.SetPosition(100, 200, 0);
  World.Track.AddPlayer(Failing);
  EXPECT_THROW(World.Track.ThinkAndMove(Spent, 100), EModelError);
  EXPECT_FALSE(World[0].Simulating);
  EXPECT_FALSE(Failing.Simulating);
  EXPECT_EQ(&Failing.State(), Failing.RealState.get());
  // Seconds 1 gives 10 sub-steps: four passes finished before the fifth broke.
  EXPECT_EQ(Failing.Futures->Count(), 4) << "the broken future must not be stored";

  Failing.FailAt = -1;
  const int32_t Before = Failing.SimulatedSteps;
  World.Track.ThinkAndMove(Spent, 100);
  EXPECT_EQ(World.Track.LastPasses, 200);
  EXPECT_EQ(Failing.SimulatedSteps - Before, 200 * 10);
  EXPECT_EQ(Failing.RealSteps, 1);
}
