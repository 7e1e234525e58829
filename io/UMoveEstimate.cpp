#include "io/UMoveEstimate.h"

#include <algorithm>
#include <chrono>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "world/UTrack2D.h"

namespace {

int32_t SubStepsOf(int32_t Seconds) {
  return std::max(2, RoundEven(Seconds * 1000.0 / TimeStepMs));
}

/// The passes a move of Track runs, and its time at SecondsPerPass.
TMoveEstimate Scaled(const TTrack& Track, int32_t BudgetMs, double SecondsPerPass) {
  TMoveEstimate E;
  const int32_t Minimum = Track.TeamScore ? MinTeamFutures : MinFutures;
  E.SecondsPerPass = SecondsPerPass;
  E.Passes = Track.FixedPasses > 0 ? std::max(Track.FixedPasses, Minimum) : Minimum;
  E.Seconds = E.Passes * SecondsPerPass;
  if (Track.FixedPasses == 0) E.Seconds = std::max(E.Seconds, 0.9 * BudgetMs / 1000.0);
  return E;
}

}  // namespace

TMoveEstimate EstimateMove(const TTrack& Track, int32_t BudgetMs, double Seconds,
                           int32_t PassesRun) {
  return Scaled(Track, BudgetMs, PassesRun > 0 ? Seconds / PassesRun : 0);
}

TMoveEstimate MeasureMove(const TTrack2D& Track, const TKartList& Karts, int32_t BudgetMs) {
  // Setting up the copy draws colours from the random source; the race must not notice.
  const auto Random = SaveRandomSource();
  const TScenario Race = CaptureScenario(Track, Karts, Track.Seed, Track.MoveNumber, BudgetMs);
  TQtPicture Picture(Race.Circuit);
  TTrack2D Copy;
  Copy.SetImage(&Picture);
  TKartList Copies;
  RestoreRace(Race, Copy, Copies);
  Copy.Threads = Track.Threads;
  Copy.Simd = Track.Simd;
  // Moves of the least passes: the first starts the threads and lanes, then a pass's time at
  // one and at three seconds ahead gives its cost per sub-step, which longer futures add to.
  Copy.FixedPasses = 1;
  const auto PassSeconds = [&Copy, BudgetMs](int32_t Seconds) {
    Copy.Seconds = Seconds;
    const auto T0 = std::chrono::steady_clock::now();
    Copy.ThinkAndMove(BudgetMs, TimeStepMs);
    const std::chrono::duration<double> Taken = std::chrono::steady_clock::now() - T0;
    return Taken.count() / std::max(1, Copy.LastPasses);
  };
  PassSeconds(1);
  double PerPass = 0;
  if (Track.Seconds <= 3) {
    PerPass = PassSeconds(Track.Seconds);
  } else {
    const double Short = PassSeconds(1), Long = PassSeconds(3);
    const double PerSubStep = std::max(0.0, Long - Short) / (SubStepsOf(3) - SubStepsOf(1));
    PerPass = Long + PerSubStep * (SubStepsOf(Track.Seconds) - SubStepsOf(3));
  }
  RestoreRandomSource(Random);
  return Scaled(Track, BudgetMs, PerPass);
}

bool FarBeyondBudget(const TMoveEstimate& Estimate, int32_t BudgetMs) {
  return Estimate.Seconds > 10 * (BudgetMs > 0 ? BudgetMs : MoveBudgetMs) / 1000.0;
}

QString DurationText(double Seconds) {
  if (Seconds < 100) return QStringLiteral("%1 s").arg(Seconds, 0, 'f', Seconds < 10 ? 1 : 0);
  if (Seconds < 100 * 60) return QStringLiteral("%1 min").arg(Seconds / 60, 0, 'f', 1);
  if (Seconds < 48 * 3600) return QStringLiteral("%1 h").arg(Seconds / 3600, 0, 'f', 1);
  return QStringLiteral("%1 days").arg(Seconds / 86400, 0, 'f', 1);
}

QString LongRunWarning(const TMoveEstimate& Estimate, int32_t BudgetMs, int64_t Moves) {
  return QStringLiteral(
             "a move is expected to take about %1, far beyond the budget of %2 ms: about %3 for "
             "%4 move%5")
      .arg(DurationText(Estimate.Seconds))
      .arg(BudgetMs)
      .arg(DurationText(Estimate.Seconds * static_cast<double>(Moves)))
      .arg(Moves)
      .arg(Moves == 1 ? "" : "s");
}
