// bench_think: how fast the karts think, on the built-in circuit at the window's start-up
// settings with a fixed seed. Prints one line per figure:
//   - a simulated sub-step of one kart (Decide + Advance) on the plain path, and a whole future;
//   - a kart sub-step in vector lanes on one thread, for 1, 5 and 20 karts;
//   - futures per kart per move under the 100 ms budget, 1 kart, 5 and 20 colliding karts;
//   - one move of 5 colliding karts at the 200-future minimum (budget ignored);
//   - the real decisions of one move (merge, options, shares, refinement, the real step) at the
//     futures that one kart fits into its budget;
//   - peak memory (RSS) after the first 100 moves and after 2,000 moves of one kart, with
//     2,000 and with 100,000 futures a move, then under the budget.
// bench/run.sh runs it between two runs of the bare loop and prints the ratio of the two.
//
// Usage: bench_think [--memory-moves N] [--seed S] [--threads N] [--simd scalar|sse2|avx2|avx512]
//                    [--quick]
// --quick prints the futures per kart per move under the budget and nothing else.

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "tools/UStartUpRace.h"
#include "world/UThinkPool.h"
#include "world/UTrack2D.h"

namespace {

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point T0) {
  return std::chrono::duration<double, std::milli>(TClock::now() - T0).count();
}

// Threads for the passes of every world (--threads; 0: every core), and the futures side by side
// on each (--simd).
int Threads = 0;
TSimd Simd = TSimd::Best;

// The window's start-up race, with fixed-count moves for warming up.
struct TBenchRace : TStartUpRace {
  TBenchRace(int Karts, uint64_t Seed) : TStartUpRace(Karts, Seed) {
    Track.Threads = Threads;
    Track.Simd = Simd;
  }

  /// Moves with a fixed number of futures: the same every run, whatever the machine.
  void FixedMoves(int Moves, int Futures) {
    Track.FixedPasses = Futures;
    for (int M = 0; M < Moves; ++M) Track.ThinkAndMove(100, 100);
    Track.FixedPasses = 0;
  }
};

// Peak resident set size of this process so far, in KiB (VmHWM).
long PeakRssKiB() {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind("VmHWM:", 0) == 0) return std::strtol(Line.c_str() + 6, nullptr, 10);
  return -1;
}

// Peak memory of one kart over Moves moves, with a fixed number of futures per move (Futures)
// or under the 100 ms budget (Futures 0). A stored future that repeats an earlier one keeps
// only its scores, so the peak follows the distinct futures of a move (which the grid keeps
// near the kart's target) far more than the number imagined.
void MeasureMemory(uint64_t Seed, int Moves, int Futures) {
  TBenchRace W(1, Seed);
  W.Track.FixedPasses = Futures;
  const int Early = std::min(100, Moves);
  long EarlyPeak = 0;
  int EarlyMost = 0, Most = 0;
  const auto T0 = TClock::now();
  for (int M = 1; M <= Moves; ++M) {
    W.Track.ThinkAndMove(100, 100);
    Most = std::max(Most, W.Track.LastPasses);
    if (M == Early) {
      EarlyPeak = PeakRssKiB();
      EarlyMost = Most;
    }
  }
  const long Peak = PeakRssKiB();
  char How[64];
  if (Futures > 0)
    std::snprintf(How, sizeof How, "%d futures a move", Futures);
  else
    std::snprintf(How, sizeof How, "100 ms budget");
  std::printf(
      "peak memory (RSS), 1 kart, %s: %.1f MiB after the first %d moves (at most %d futures a "
      "move), %.1f MiB after %d moves (at most %d): %+.1f%% (%.0f s)\n",
      How, EarlyPeak / 1024.0, Early, EarlyMost, Peak / 1024.0, Moves, Most,
      100.0 * (Peak - EarlyPeak) / EarlyPeak, MsSince(T0) / 1000);
  std::fflush(stdout);
}

// One kart's futures from one real state, without the real decision: the work of the passes.
// Five rounds of a move's worth of futures each; the best round counts, as other programs on
// the machine only ever slow a round down.
void MeasureSubStep(uint64_t Seed) {
  TBenchRace W(1, Seed);
  W.FixedMoves(20, 200);  // under way, not at rest on the start line
  TKart& K = *W.Karts[0];
  const int32_t SubSteps = 100;
  const int Rounds = 5, Futures = 4000;
  double BestInner = 1e300, BestAll = 1e300;
  for (int Round = 0; Round < Rounds; ++Round) {
    K.ClearFutures();  // records reused as in a move
    double InnerMs = 0;
    const auto T0 = TClock::now();
    for (int F = 0; F < Futures; ++F) {
      K.SetSimulating(true);
      const auto T1 = TClock::now();
      for (int32_t M = 1; M <= SubSteps; ++M) {
        K.Decide();
        K.Advance(100);
      }
      InnerMs += MsSince(T1);
      K.SetSimulating(false);
    }
    BestAll = std::min(BestAll, MsSince(T0));
    BestInner = std::min(BestInner, InnerMs);
  }
  const double Steps = static_cast<double>(Futures) * SubSteps;
  std::printf(
      "sub-step of one kart (Decide + Advance): %.1f ns (best of %d rounds of %d futures x %d "
      "sub-steps)\n",
      BestInner * 1e6 / Steps, Rounds, Futures, SubSteps);
  std::printf(
      "whole future of one kart (copy the real state, %d sub-steps, store it): %.2f us -> %.0f "
      "futures per 90 ms\n",
      SubSteps, BestAll * 1e3 / Futures, 90.0 * Futures / BestAll);
}

double ThreadCpuMs() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1e3 + T.tv_nsec / 1e6;
}

// The passes in vector lanes on one thread: CPU time per kart sub-step actually simulated (a
// future that ends early takes fewer), collisions and storing included. The best of 10 moves
// of a fixed count counts, as other programs on the machine only ever slow a move down.
void MeasureLaneSubStep(uint64_t Seed, int Karts) {
  TBenchRace W(Karts, Seed);
  W.Track.Threads = 1;
  W.FixedMoves(20, 200);
  W.Track.FixedPasses = std::max(200, 8000 / Karts);
  double Best = 1e300;
  int64_t Steps = 0, Futures = 0;
  // The whole move: the real decisions and the step take under 1 % of it.
  for (int M = 0; M < 10; ++M) {
    const double Start = ThreadCpuMs();
    W.Track.ThinkAndMove(100, 100);
    const double CpuMs = ThreadCpuMs() - Start;
    if (W.Track.LastLaneSubSteps > 0)
      Best = std::min(Best, CpuMs * 1e6 / static_cast<double>(W.Track.LastLaneSubSteps));
    Steps += W.Track.LastLaneSubSteps;
    Futures += int64_t{W.Track.LastPasses} * Karts;
  }
  if (Steps == 0) {
    std::printf("kart sub-step in lanes, %d kart%s: the lanes did not think\n", Karts,
                Karts == 1 ? "" : "s");
    return;
  }
  std::printf(
      "kart sub-step in lanes (%s, one thread), %d kart%s%s: %.1f ns (best of 10 moves; %.0f "
      "sub-steps per future of at most %d; storing included)\n",
      SimdName(ResolveSimd(Simd)), Karts, Karts == 1 ? "" : "s",
      Karts == 1 ? "" : " with collisions", Best, static_cast<double>(Steps) / Futures,
      W.Track.LastSubSteps);
}

struct TBudgetRun {
  double MeanFutures;
  int MinFutures;
  double MeanMs;
  double DecideMs;  ///< per move, from the futures stored to the end of the move
};

TBudgetRun BudgetMoves(TBenchRace& W, int Moves) {
  int64_t Sum = 0;
  int Min = 1 << 30;
  double DecideMs = 0;
  const auto T0 = TClock::now();
  for (int M = 0; M < Moves; ++M) {
    const auto T1 = TClock::now();
    W.Track.ThinkAndMove(100, 100);
    DecideMs += MsSince(T1) - W.Track.LastImagineMs;
    const int Futures = W.Track.LastPasses;
    Sum += Futures;
    Min = std::min(Min, Futures);
  }
  return {static_cast<double>(Sum) / Moves, Min, MsSince(T0) / Moves, DecideMs / Moves};
}

double MeasureBudget(uint64_t Seed, int Karts, int Moves) {
  TBenchRace W(Karts, Seed);
  W.FixedMoves(20, 200);
  const TBudgetRun R = BudgetMoves(W, Moves);
  std::printf(
      "futures per kart per move, 100 ms budget, %d kart%s%s: mean %.0f, min %d (%.1f ms per "
      "move, of which real decisions and moves %.2f ms = %.1f%%; %d moves)\n",
      Karts, Karts == 1 ? "" : "s", Karts == 1 ? "" : " with collisions", R.MeanFutures,
      R.MinFutures, R.MeanMs, R.DecideMs, R.DecideMs, Moves);
  return R.MeanFutures;
}

void MeasureMinimumMove(uint64_t Seed, int Karts, int Moves) {
  TBenchRace W(Karts, Seed);
  W.FixedMoves(20, 200);
  W.Track.FixedPasses = 200;
  double Sum = 0, Max = 0;
  for (int M = 0; M < Moves; ++M) {
    const auto T0 = TClock::now();
    W.Track.ThinkAndMove(100, 100);
    const double Ms = MsSince(T0);
    Sum += Ms;
    Max = std::max(Max, Ms);
  }
  std::printf(
      "one move, %d karts with collisions, 200 futures each (budget ignored): mean %.1f ms, max "
      "%.1f ms (%d moves)\n",
      Karts, Sum / Moves, Max, Moves);
}

// The real decision of one kart after the passes of a move, at the futures it fits into its
// budget: merge, options, shares, average, refinement, grid and the real time step, as the track
// runs them after the futures are stored (on the workers, by the lanes).
void MeasureDecision(uint64_t Seed, int Futures, int Moves) {
  TBenchRace W(1, Seed);
  W.FixedMoves(20, 200);
  W.Track.FixedPasses = Futures;
  double Decide = 0, Passes = 0;
  int64_t Distinct = 0;
  for (int Move = 0; Move < Moves; ++Move) {
    const auto T0 = TClock::now();
    W.Track.ThinkAndMove(100, 100);
    Decide += MsSince(T0) - W.Track.LastImagineMs;
    Passes += W.Track.LastImagineMs;
    Distinct += W.Karts[0]->Futures->Count();
  }
  std::printf(
      "real decisions of one move, 1 kart, %d futures (%.0f distinct): %.3f ms = %.2f%% of the "
      "100 ms budget (the passes before it, storing included: %.1f ms; %d moves)\n",
      Futures, static_cast<double>(Distinct) / Moves, Decide / Moves, Decide / Moves,
      Passes / Moves, Moves);
}

}  // namespace

int main(int Argc, char** Argv) {
  int MemoryMoves = 2000;
  uint64_t Seed = 1;
  bool Quick = false;
  for (int I = 1; I < Argc; ++I) {
    const bool HasValue = I + 1 < Argc;
    if (!std::strcmp(Argv[I], "--memory-moves") && HasValue) {
      MemoryMoves = std::atoi(Argv[++I]);
    } else if (!std::strcmp(Argv[I], "--seed") && HasValue) {
      Seed = std::strtoull(Argv[++I], nullptr, 10);
    } else if (!std::strcmp(Argv[I], "--quick")) {
      Quick = true;
    } else if (!std::strcmp(Argv[I], "--threads") && HasValue) {
      Threads = std::atoi(Argv[++I]);
    } else if (!std::strcmp(Argv[I], "--simd") && HasValue && ParseSimd(Argv[I + 1])) {
      Simd = *ParseSimd(Argv[++I]);
      if (!SimdSupported(Simd)) {
        std::fprintf(stderr, "bench_think: this processor cannot run %s lanes\n", Argv[I]);
        return 2;
      }
    } else {
      std::fprintf(stderr,
                   "usage: bench_think [--memory-moves N] [--seed S] [--threads N] "
                   "[--simd scalar|sse2|avx2|avx512] [--quick]\n");
      return 2;
    }
  }
  if (DefaultCircuitImage().isNull()) {
    std::fprintf(stderr, "bench_think: the built-in circuit is missing\n");
    return 1;
  }
  std::printf(
      "bench_think: built-in circuit, friction 0.015, side friction 0.2, 10 s futures, grid 10, "
      "refined decisions, seed %llu, threads %d, simd %s; every world first runs 20 moves of 200 "
      "futures\n",
      static_cast<unsigned long long>(Seed), Threads > 0 ? Threads : TThinkPool::CoreCount(),
      SimdName(ResolveSimd(Simd)));
  std::fflush(stdout);

  if (Quick) {
    for (const int Karts : {1, 5, 20}) MeasureBudget(Seed, Karts, Karts == 1 ? 50 : 20);
    return 0;
  }
  // First, so that nothing else has raised the peak; the smaller fixed count before the budget.
  if (MemoryMoves > 0) {
    MeasureMemory(Seed, MemoryMoves, 2000);
    MeasureMemory(Seed, MemoryMoves, 100000);  // the rate the lanes reach
    MeasureMemory(Seed, MemoryMoves, 0);
  }
  MeasureSubStep(Seed);
  for (int Karts : {1, 5, 20}) MeasureLaneSubStep(Seed, Karts);
  const double OneKart = MeasureBudget(Seed, 1, 50);
  MeasureBudget(Seed, 5, 30);
  MeasureBudget(Seed, 20, 20);
  MeasureMinimumMove(Seed, 5, 30);
  MeasureDecision(Seed, static_cast<int>(OneKart), 20);
  return 0;
}
