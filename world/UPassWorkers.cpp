#include "world/UPassWorkers.h"

#include <algorithm>
#include <atomic>
#include <limits>

#include "agents/UKart.h"
#include "agents/UPlayer.h"
#include "decision/UBase.h"
#include "world/UTrack2D.h"

// ---------------------------------------------------------------------------------------------
// The workers

TPassWorkers::~TPassWorkers() = default;

bool TPassWorkers::CanRun() const {
  for (const TPlayer* P : Owner.Players())
    if (P->DebugLevel == TDebugLevel::Collisions || !P->CanThinkOnCopies()) return false;
  return Owner.CanThinkOnCopies();
}

void TPassWorkers::Rebuild(TWorld& W) {
  // Copies are players too: keep the program's random source (colours of new karts) untouched.
  const TRandomStream Saved = KartRandom::Global;
  W.Track = Owner.NewThinkingCopy();
  W.Players.clear();
  W.Stores.clear();
  for (TPlayer* P : Owner.Players()) {
    W.Players.push_back(P->NewThinkingCopy());
    W.Track->AddPlayer(*W.Players.back());
    W.Stores.push_back(std::make_unique<TFutureStore>());
  }
  W.ClassMap.resize(Owner.Players().size());
  KartRandom::Global = Saved;
}

void TPassWorkers::Prepare(int32_t Threads) {
  const int32_t N = Owner.PlayerCount();
  bool Same = static_cast<int32_t>(CopiedFrom.size()) == N;
  for (int32_t I = 0; Same && I < N; ++I)
    Same = CopiedFrom[I] == Owner.Players()[I] && *CopiedTypes[I] == typeid(*Owner.Players()[I]);
  if (!Same) {
    Worlds.clear();
    CopiedFrom.assign(Owner.Players().begin(), Owner.Players().end());
    CopiedTypes.clear();
    for (TPlayer* P : Owner.Players()) CopiedTypes.push_back(&typeid(*P));
  }
  while (static_cast<int32_t>(Worlds.size()) < Threads) {
    Worlds.push_back(std::make_unique<TWorld>());
    Rebuild(*Worlds.back());
  }
  TPicture* Picture = Owner.Picture();
  bool Traces = false;
  for (TPlayer* P : Owner.Players()) Traces = Traces || P->DebugLevel >= TDebugLevel::Traces;
  for (int32_t T = 0; T < Threads; ++T) {
    TWorld& W = *Worlds[T];
    W.Canvas.Source = Picture;
    W.Canvas.Ops.clear();
    W.Canvas.PolygonPoints.clear();
    W.Done.clear();
    for (auto& Store : W.Stores) Store->Clear();
    Owner.CopyCircuitTo(*W.Track, Picture && Traces ? &W.Canvas : nullptr);
    W.Track->Collisions = Owner.Collisions;
    W.Track->Seconds = Owner.Seconds;
    W.Track->Seed = Owner.Seed;
    W.Track->MoveNumber = Owner.MoveNumber;
    for (int32_t I = 0; I < N; ++I) W.Players[I]->CopyForThinking(*Owner.Players()[I]);
  }
}

void TPassWorkers::RunPass(TWorld& W, int32_t Pass, int32_t SubSteps, int32_t TimeStepMs) {
  const size_t OpsBegin = W.Canvas.Ops.size();
  W.Done.push_back({Pass, static_cast<uint32_t>(OpsBegin), 0});
  W.Track->SimulatePass(Pass, SubSteps, TimeStepMs);
  // As EndFuture would store it, into this worker's store, which finds its class as it stands.
  for (size_t I = 0; I < W.Players.size(); ++I) {
    W.Players[I]->AbandonFuture();
    W.Stores[I]->Add(*W.Players[I]->SimState);
  }
  W.Done.back().OpsEnd = static_cast<uint32_t>(W.Canvas.Ops.size());
}

int32_t TPassWorkers::Imagine(int32_t Threads, bool Fixed, int32_t Target, int32_t Minimum,
                              int64_t DeadlineMs, int32_t SubSteps, int32_t TimeStepMs) {
  Threads = std::max(Threads, 1);
  Prepare(Threads);
  const bool InLanes = TLaneWorker::CanRun(Owner);
  const TSimd Width = InLanes ? ResolveSimd(Owner.Simd) : TSimd::Scalar;
  bool Traces = false;
  for (TPlayer* P : Owner.Players()) Traces = Traces || P->DebugLevel >= TDebugLevel::Traces;
  Traces = Traces && Owner.Picture();
  // The time held for drawing traces goes back to thinking as soon as nobody draws them.
  if (!Traces) ReplayMsPerPass = 0;
  // The futures are read one by one only by team scoring, the traces' order and whoever looks
  // at them before the decision; otherwise the lanes keep classes only, so that memory follows
  // the distinct futures rather than the number imagined.
  bool ClassesOnly = false;
  if (InLanes) {
    std::vector<TKart*> Karts;
    for (TPlayer* P : Owner.Players()) Karts.push_back(static_cast<TKart*>(P));
    ClassesOnly = !Traces && !Owner.TeamScore && !Owner.FuturesImagined;
    for (int32_t T = 0; T < Threads; ++T) {
      TWorld& W = *Worlds[T];
      if (!W.Lanes) W.Lanes = std::make_unique<TLaneWorker>();
      W.Lanes->Prepare(static_cast<const TTrack2D&>(Owner), Karts, SubSteps, TimeStepMs,
                       Traces ? &W.Canvas : nullptr);
      W.Lanes->ClassesOnly = ClassesOnly;
    }
  }
  // Once the deadline has passed, only the passes still missing from the minimum. Drawing the
  // traces comes after the passes, on the calling thread, and within the budget: the time it
  // took per pass in the last move is kept free for each pass taken.
  const double Reserve = ReplayMsPerPass;
  auto Limit = [&](int32_t Taken) {
    if (Fixed) return Target;
    const double Now = static_cast<double>(Owner.NowMs()) + Taken * Reserve;
    return Now > static_cast<double>(DeadlineMs) ? Minimum : std::numeric_limits<int32_t>::max();
  };
  // Blocks of a few milliseconds' work at most, so that the deadline is kept.
  const int32_t Block = std::clamp(2000 / std::max(1, Owner.PlayerCount() * SubSteps), 1, 16);
  std::atomic<int32_t> Next{0};
  std::atomic<bool> Failed{false};
  Pool.Run(Threads, [&](int32_t Worker) {
    TWorld& W = *Worlds[Worker];
    try {
      if (InLanes) {
        // Pass by pass: a lane takes the next one as soon as its own has ended.
        const std::function<bool(int32_t&)> ClaimPass = [&](int32_t& Pass) {
          int32_t Start = Next.load();
          while (!Failed.load(std::memory_order_relaxed) && Start < Limit(Start))
            if (Next.compare_exchange_weak(Start, Start + 1)) {
              Pass = Start;
              return true;
            }
          return false;
        };
        W.Lanes->Run(Width, ClaimPass, Owner.Seed, Owner.MoveNumber - 1, W.Stores, W.Done);
        return;
      }
      int32_t Start = Next.load();
      while (!Failed.load(std::memory_order_relaxed)) {
        const int32_t Stop = Limit(Start);
        if (Start >= Stop) break;
        const int32_t End = Start + std::min(Block, Stop - Start);
        if (!Next.compare_exchange_weak(Start, End)) continue;
        for (int32_t Pass = Start; Pass < End; ++Pass) RunPass(W, Pass, SubSteps, TimeStepMs);
        Start = Next.load();
      }
    } catch (...) {
      Failed = true;
      for (const auto& P : W.Players) P->AbandonFuture();
      throw;
    }
  });
  const int32_t Passes = Next.load();
  if (InLanes)
    for (int32_t T = 0; T < Threads; ++T) Owner.LastLaneSubSteps += Worlds[T]->Lanes->SubStepsRun();
  if (ClassesOnly)
    CollectClasses();
  else
    Collect(Passes);
  return Passes;
}

// In pass order, every future goes into its player's store as EndFuture would have put it
// there. A worker's class is met first at its earliest future, so the record copied for a new
// class is that of the earliest future of the class in pass order.
void TPassWorkers::Collect(int32_t Passes) {
  struct TWhere {
    int32_t World = 0;
    int32_t Index = 0;  ///< the future's number in the worker's stores
  };
  std::vector<TWhere> ByPass(Passes);
  for (size_t T = 0; T < Worlds.size(); ++T) {
    TWorld& W = *Worlds[T];
    for (size_t K = 0; K < W.Done.size(); ++K)
      if (W.Done[K].Pass < Passes)
        ByPass[W.Done[K].Pass] = {static_cast<int32_t>(T), static_cast<int32_t>(K)};
    for (size_t I = 0; I < W.Stores.size(); ++I) W.ClassMap[I].assign(W.Stores[I]->Count(), -1);
  }
  TPicture* Picture = Owner.Picture();
  const int32_t N = Owner.PlayerCount();
  double ReplayMs = 0;
  for (const TWhere& At : ByPass) {
    TWorld& W = *Worlds[At.World];
    for (int32_t I = 0; I < N; ++I) {
      TFutureStore& From = *W.Stores[I];
      TFutureStore& Into = Owner.Players()[I]->Futures->FutureStore();
      int32_t& Class = W.ClassMap[I][From.ClassOf(At.Index)];
      if (Class < 0)
        Class = Into.AddSnapped(From.Future(At.Index));
      else
        Into.AddRepeat(Class, From.Scores(At.Index));
    }
    const TPassDone& D = W.Done[At.Index];
    if (Picture && D.OpsEnd > D.OpsBegin) {
      const double T0 = Owner.ClockMs();
      W.Canvas.Replay(*Picture, D.OpsBegin, D.OpsEnd);
      ReplayMs += Owner.ClockMs() - T0;
    }
  }
  ReplayMsPerPass = ReplayMs / std::max(Passes, 1);
}

// Every class of every worker, in the order of its earliest pass: the first of a class found in
// the player's store is copied, the others only counted. The score the merge gives a class is
// its earliest future's, unless a later one (NaN left out) is better: neither the order of the
// others nor their number matter, as a score is never -0.
void TPassWorkers::CollectClasses() {
  struct TClass {
    int32_t FirstPass;
    int32_t World;
    int32_t Index;
  };
  struct TSum {
    TLaneWorker::TBestScore Later;  ///< the scores of the class's later futures
    int32_t Count = 0;
  };
  std::vector<TClass> Classes;
  std::vector<TSum> Sums;
  for (int32_t I = 0; I < Owner.PlayerCount(); ++I) {
    Classes.clear();
    for (size_t T = 0; T < Worlds.size(); ++T) {
      const std::vector<TLaneWorker::TTally>& Tallies = Worlds[T]->Lanes->Tallies[I];
      const TFutureStore& From = *Worlds[T]->Stores[I];
      for (int32_t C = 0; C < From.Count(); ++C)
        if (From.ClassOf(C) == C)
          Classes.push_back({Tallies[C].FirstPass, static_cast<int32_t>(T), C});
    }
    std::sort(Classes.begin(), Classes.end(),
              [](const TClass& A, const TClass& B) { return A.FirstPass < B.FirstPass; });
    TFutureStore& Into = Owner.Players()[I]->Futures->FutureStore();
    Sums.clear();
    for (const TClass& C : Classes) {
      TFutureStore& From = *Worlds[C.World]->Stores[I];
      const TLaneWorker::TTally& Tally = Worlds[C.World]->Lanes->Tallies[I][C.Index];
      TState& Record = From.Future(C.Index);
      int32_t Class = Into.FindClass(Record);
      if (Class < 0) {
        Class = Into.AddSnapped(Record);
        if (static_cast<int32_t>(Sums.size()) <= Class) Sums.resize(Class + 1);
        Sums[Class] = {};
      } else {
        Sums[Class].Later.Add(Record.Score);
      }
      TSum& S = Sums[Class];
      if (Tally.Repeats.Any) S.Later.Add(Tally.Repeats.Best);
      S.Count += Tally.Count;
    }
    for (int32_t C = 0; C < static_cast<int32_t>(Sums.size()); ++C) {
      if (Sums[C].Count == 0) continue;
      TState& F = Into.Future(C);
      const TLaneWorker::TBestScore& Later = Sums[C].Later;
      if (Later.Any && F.Score < Later.Best) F.Score = Later.Best;
      F.FutureCount = Sums[C].Count;
    }
  }
}
