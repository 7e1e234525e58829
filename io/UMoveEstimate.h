#pragma once
// How long a move is expected to take, and whether that is far beyond its time budget: kartrun
// says so before a run, the window can show it in its status bar.

#include <QString>
#include <cstdint>

#include "world/URaceSetup.h"

class TTrack;

/// The expected time of one move.
struct TMoveEstimate {
  double SecondsPerPass = 0;  ///< one pass of every player, at the track's future length
  int32_t Passes = 0;         ///< a move's fixed number of passes, or the least under a budget
  double Seconds = 0;         ///< one move: its passes, or the budget's 90 % when that is longer
};

/// From a move already run (the window's last moves): it took Seconds for PassesRun passes.
TMoveEstimate EstimateMove(const TTrack& Track, int32_t BudgetMs, double Seconds,
                           int32_t PassesRun);

/// Times a few moves of the least number of passes, one and three seconds ahead, on a copy of
/// the race as it stands (the race itself and the random source stay as they were), and
/// extends them to the track's future length and passes. Takes milliseconds for a few karts;
/// for a hundred karts thinking as a team, a few seconds.
TMoveEstimate MeasureMove(const TTrack2D& Track, const TKartList& Karts, int32_t BudgetMs);

/// Whether a move takes more than ten times its budget (a budget of 0 counts as MoveBudgetMs).
bool FarBeyondBudget(const TMoveEstimate& Estimate, int32_t BudgetMs);

/// "a move is expected to take about 2.6 min, far beyond the budget of 100 ms: about 26 h for
/// 600 moves"
QString LongRunWarning(const TMoveEstimate& Estimate, int32_t BudgetMs, int64_t Moves);

/// A duration in words a person reads at a glance: "45 s", "2.6 min", "26 h", "3.1 days".
QString DurationText(double Seconds);
