#include "world/UTrack.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "agents/UPlayer.h"
#include "decision/UBase.h"

namespace {

int64_t NowMs() {
  // Monotonic: the deadline survives midnight and changes of the wall clock.
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// One line of the option listing: "(5, 0) #13  42.0%".
std::string OptionLine(const TState& Option) {
  char Share[400];  // room for the widest double in fixed notation
  std::snprintf(Share, sizeof Share, "%3.1f", Option.Score * 100);
  return Option.DecisionText() + " " + Share + "%";
}

}  // namespace

TTrack::TTrack() = default;

TTrack::~TTrack() = default;

TPlayer& TTrack::GetPlayer(int32_t Index) const {
  if (Index < 0 || Index >= PlayerCount()) RaiseListIndexError(Index);
  return *Players[Index];
}

void TTrack::AddPlayer(TPlayer& Player) {
  if (std::find(Players.begin(), Players.end(), &Player) != Players.end()) return;
  Players.push_back(&Player);
  Player.Track = this;
}

void TTrack::RemovePlayer(TPlayer* Player, bool FreeIt) {
  const auto It = std::find(Players.begin(), Players.end(), Player);
  if (It == Players.end()) return;
  if (FreeIt) delete Player;
  Players.erase(It);
}

void TTrack::Redraw() {
  if (!KeepTrails) CleanImage();
  for (int32_t I = 0; I < PlayerCount(); ++I) Players[I]->Draw();
}

void TTrack::ThinkAndMove(int32_t TimeBudgetMs, int32_t TimeStepMs) {
  if (TimeStepMs <= 0) throw EModelError("ThinkAndMove: the time step must be positive.");
  const int32_t SubSteps = std::max(2, RoundEven(Seconds * 1000.0 / TimeStepMs));
  const int32_t MinFutures = TeamScore ? 500 : 200;
  const int32_t FixedTarget = std::max(FixedPasses, MinFutures);

  for (int32_t I = 0; I < PlayerCount(); ++I) Players[I]->ClearFutures();
  if (DebugMemo) DebugMemo->Clear();

  const int64_t Deadline = FixedPasses > 0 ? 0 : NowMs() + RoundEven(0.9 * TimeBudgetMs);
  int32_t FutureCounter = 1;

  // An error inside a pass leaves the step at once; the guard puts every player back in real
  // mode (without storing the broken future), so that the window never edits a simulation
  // state and the next step starts its futures from fresh copies.
  // It stands down once the passes are over: the message processing at the end of the step may
  // destroy the window, and with it the players and this track.
  struct TRealModeGuard {
    TTrack& Track;
    bool Armed = true;
    ~TRealModeGuard() {
      if (!Armed) return;
      for (TPlayer* P : Track.Players)
        if (P->Simulating) {
          P->Simulating = false;
          P->ShapeDirty = true;
        }
    }
  } Guard{*this};

  // Passes: every player imagines one future per pass, all of them side by side.
  for (;;) {
    for (int32_t I = 0; I < PlayerCount(); ++I) Players[I]->SetSimulating(true);
    for (int32_t M = 1; M <= SubSteps; ++M) {
      const bool TraceStep = M % 5 == 0;
      for (int32_t I = 0; I < PlayerCount(); ++I) {
        TPlayer& P = *Players[I];
        P.Decide();
        P.Advance(TimeStepMs);
        if (TraceStep && P.DebugLevel >= TDebugLevel::Traces) P.DrawTrace();
      }
      if (Collisions) ResolveCollisions();
    }
    for (int32_t I = 0; I < PlayerCount(); ++I) Players[I]->SetSimulating(false);
    ++FutureCounter;

    // A pass is never cut short; the minimum count wins over the deadline.
    if (FixedPasses > 0) {
      if (FutureCounter > FixedTarget) break;
    } else if (FutureCounter > MinFutures && NowMs() > Deadline) {
      break;
    }
  }
  Guard.Armed = false;
  LastFutureCounter = FutureCounter;
  LastSubSteps = SubSteps;

  // Team scoring: futures with the same index were simulated in the same pass.
  if (TeamScore && PlayerCount() > 0) {
    const int32_t N = Players[0]->Futures->Count();
    for (int32_t R = 0; R < N; ++R) {
      double Sum = 0;
      for (int32_t I = 0; I < PlayerCount(); ++I) Sum += Players[I]->Futures->FutureScore(R);
      const double Avg = Sum / PlayerCount();
      for (int32_t I = 0; I < PlayerCount(); ++I)
        Players[I]->Futures->SetFutureTeamAvgScore(R, Avg);
    }
  }

  // Real moves, in list order: a later player decides after the earlier ones have moved, but
  // only from futures simulated before anyone moved.
  for (int32_t I = 0; I < PlayerCount(); ++I) {
    TPlayer& P = *Players[I];
    P.Decide();
    if (P.DebugLevel >= TDebugLevel::EndPoints) P.DrawFutures();
    P.Advance(TimeStepMs);
    if (DebugMemo && P.DebugLevel == TDebugLevel::Traces) {
      DebugMemo->SetText(P.GetInfo());
    } else if (DebugMemo && P.DebugLevel >= TDebugLevel::EndPoints) {
      DebugMemo->Clear();
      DebugMemo->AddLine("Futures: " + std::to_string(FutureCounter));
      DebugMemo->AddLine("Options: " + std::to_string(P.Futures->OptionCount()));
      for (int32_t R = 0; R < P.Futures->OptionCount(); ++R)
        DebugMemo->AddLine(OptionLine(P.Futures->Option(R)));
    }
  }

  if (Collisions) ResolveCollisions();
  ProcessMessages();
}
