#include "world/UTrack.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "agents/UPlayer.h"
#include "decision/UBase.h"
#include "world/UPassWorkers.h"
#include "world/URaceSetup.h"

namespace {

// One line of the option listing: "(5, 0) #13  42.0%".
std::string OptionLine(const TState& Option) {
  char Share[400];  // room for the widest double in fixed notation
  std::snprintf(Share, sizeof Share, "%3.1f", Option.Score * 100);
  return Option.DecisionText() + " " + Share + "%";
}

}  // namespace

TTrack::TTrack() = default;

TTrack::~TTrack() = default;

double TTrack::ClockMs() const {
  if (Clock) return Clock->NowMs();
  // Monotonic: the deadline survives midnight and changes of the wall clock.
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t TTrack::NowMs() const { return static_cast<int64_t>(std::floor(ClockMs())); }

TPlayer& TTrack::GetPlayer(int32_t Index) const {
  if (Index < 0 || Index >= PlayerCount()) RaiseListIndexError(Index);
  return *PlayerList[Index];
}

bool TTrack::HasPlayer(const TPlayer* Player) const {
  return std::find(PlayerList.begin(), PlayerList.end(), Player) != PlayerList.end();
}

void TTrack::AddPlayer(TPlayer& Player) {
  if (HasPlayer(&Player)) return;
  PlayerList.push_back(&Player);
  Player.Track = this;
  PlayersChanged();
}

void TTrack::RemovePlayer(TPlayer* Player, bool FreeIt) {
  const auto It = std::find(PlayerList.begin(), PlayerList.end(), Player);
  if (It == PlayerList.end()) return;
  if (FreeIt) delete Player;
  PlayerList.erase(It);
  PlayersChanged();
}

void TTrack::Redraw() {
  if (!KeepTrails) CleanImage();
  for (int32_t I = 0; I < PlayerCount(); ++I) PlayerList[I]->Draw();
}

void TTrack::ThinkAndMove(int32_t TimeBudgetMs, int32_t TimeStepMs) {
  if (TimeStepMs <= 0) throw EModelError("ThinkAndMove: the time step must be positive.");
  const int32_t SubSteps = std::max(2, RoundEven(Seconds * 1000.0 / TimeStepMs));
  ++MoveNumber;  // counted before anything can fail or let the window in
  for (int32_t I = 0; I < PlayerCount(); ++I) PlayerList[I]->ClearFutures();
  if (DebugMemo) DebugMemo->Clear();
  PrepareMove();

  LastLaneSubSteps = 0;
  const double Start = ClockMs();
  const int32_t Passes = ImagineFutures(TimeBudgetMs, TimeStepMs, SubSteps);
  LastImagineMs = ClockMs() - Start;
  LastPasses = Passes;
  LastSubSteps = SubSteps;
  if (FuturesImagined) FuturesImagined();
  if (TeamScore) ShareTeamScores();
  MoveForReal(TimeStepMs, Passes);
  if (Collisions) ResolveCollisions();
  // Last: the window's handlers may destroy the players and this track here.
  ProcessMessages();
}

int32_t TTrack::ImagineFutures(int32_t TimeBudgetMs, int32_t TimeStepMs, int32_t SubSteps) {
  const int32_t Minimum = TeamScore ? MinTeamFutures : MinFutures;
  const int32_t Target = std::max(FixedPasses, Minimum);
  const int64_t Deadline = FixedPasses > 0 ? 0 : NowMs() + RoundEven(0.9 * TimeBudgetMs);

  // An error inside a pass leaves the step at once; the guard puts every player back in real
  // mode without storing the broken future, so that the window never edits a simulation state
  // and the next step starts its futures from fresh copies.
  struct TRealModeGuard {
    TTrack& Track;
    bool Armed = true;
    ~TRealModeGuard() {
      if (Armed)
        for (TPlayer* P : Track.Players()) P->AbandonFuture();
    }
  } Guard{*this};

  if (!PlainPasses) {
    if (!Workers) Workers = std::make_unique<TPassWorkers>(*this);
    if (Workers->CanRun()) {
      const int32_t Count = Threads > 0 ? Threads : TThinkPool::CoreCount();
      const int32_t Passes =
          Workers->Imagine(Count, FixedPasses > 0, Target, Minimum, Deadline, SubSteps, TimeStepMs);
      Guard.Armed = false;
      return Passes;
    }
  }
  int32_t Passes = 0;
  // A pass is never cut short; the minimum count wins over the deadline.
  do {
    RunPass(Passes, SubSteps, TimeStepMs);
    ++Passes;
  } while (FixedPasses > 0 ? Passes < Target : Passes < Minimum || NowMs() <= Deadline);
  Guard.Armed = false;
  return Passes;
}

void TTrack::RunPass(int32_t Pass, int32_t SubSteps, int32_t TimeStepMs) {
  SimulatePass(Pass, SubSteps, TimeStepMs);
  for (int32_t I = 0; I < PlayerCount(); ++I) PlayerList[I]->EndFuture();
}

void TTrack::SimulatePass(int32_t Pass, int32_t SubSteps, int32_t TimeStepMs) {
  const int64_t Move = MoveNumber - 1;
  for (int32_t I = 0; I < PlayerCount(); ++I) {
    PlayerList[I]->FutureRandom.Seed(FutureSeed(Seed, Move, I, Pass));
    PlayerList[I]->BeginFuture();
  }
  for (int32_t M = 1; M <= SubSteps; ++M) {
    const bool TraceStep = M % TraceEverySubSteps == 0;
    for (int32_t I = 0; I < PlayerCount(); ++I) {
      TPlayer& P = *PlayerList[I];
      P.Decide();
      P.Advance(TimeStepMs);
      if (TraceStep && P.DebugLevel >= TDebugLevel::Traces) P.DrawTrace();
    }
    if (Collisions) ResolveCollisions();
  }
}

void TTrack::ShareTeamScores() {
  if (PlayerCount() == 0) return;
  // Futures with the same index were simulated in the same pass.
  const int32_t N = PlayerList[0]->Futures->Count();
  for (int32_t R = 0; R < N; ++R) {
    double Sum = 0;
    for (int32_t I = 0; I < PlayerCount(); ++I) Sum += PlayerList[I]->Futures->FutureScore(R);
    const double Avg = Sum / PlayerCount();
    for (int32_t I = 0; I < PlayerCount(); ++I)
      PlayerList[I]->Futures->SetFutureTeamAvgScore(R, Avg);
  }
}

void TTrack::MoveForReal(int32_t TimeStepMs, int32_t Passes) {
  // A later player decides after the earlier ones have moved, but only from futures simulated
  // before anyone moved.
  for (int32_t I = 0; I < PlayerCount(); ++I) {
    TPlayer& P = *PlayerList[I];
    P.DecideFromFutures();
    if (P.DebugLevel >= TDebugLevel::EndPoints) P.DrawFutures();
    P.Advance(TimeStepMs);
    if (DebugMemo) ListThinking(P, Passes);
  }
}

void TTrack::ListThinking(TPlayer& P, int32_t Passes) {
  if (P.DebugLevel == TDebugLevel::Traces) {
    DebugMemo->SetText(P.GetInfo());
  } else if (P.DebugLevel >= TDebugLevel::EndPoints) {
    DebugMemo->Clear();
    // The count shown is one more than the futures imagined, as it always was.
    DebugMemo->AddLine("Futures: " + std::to_string(Passes + 1));
    DebugMemo->AddLine("Options: " + std::to_string(P.Futures->OptionCount()));
    for (int32_t R = 0; R < P.Futures->OptionCount(); ++R)
      DebugMemo->AddLine(OptionLine(P.Futures->Option(R)));
  }
}
