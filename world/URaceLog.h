#pragma once
// What each kart has done so far in a race: distance, time off the road, thinking, laps and the
// way it drives, with the recent history of every move. Fed once per real move; the window's
// race table and the headless runner read the same figures.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "world/ULapCounter.h"

class TPlayer2D;
class TTrack2D;

/// One real move of one kart.
struct TMoveSample {
  double X = 0, Y = 0;   ///< position after the move, pixels
  double Speed = 0;      ///< distance of the move over its time, px/s
  int32_t Futures = 0;   ///< futures imagined in the move
  int32_t Distinct = 0;  ///< distinct (initial decision, end cell) pairs after merging
  int32_t Grid = 0;      ///< end-point grid size after the move, pixels
  bool OffRoad = false;  ///< the outline was not wholly on the road after the move
};

/// The figures of one kart.
struct TKartRecord {
  const TPlayer2D* Kart = nullptr;  ///< not owned; only compared
  int64_t Moves = 0;
  double Distance = 0;  ///< pixels
  int64_t OffRoadMoves = 0;
  int64_t FutureSum = 0;
  int32_t FewestFutures = 0;  ///< the fewest futures of any move
  int64_t DistinctSum = 0;
  int32_t Laps = 0;
  double LastLap = 0;  ///< simulated seconds; 0 before the first lap
  double BestLap = 0;  ///< simulated seconds; 0 before the first lap
  std::vector<double> LapTimes;
  std::vector<int64_t> LapMoves;  ///< the move that ended each lap, counted from the start
  bool WrongWay = false;          ///< going backwards round the road over the last second
  double WrongWaySeconds = 0;     ///< simulated seconds driven marked wrong way, in all
  /// The longest the kart has stood still (moves slower than StallSpeed), simulated seconds.
  double LongestStall = 0;
  double Stall = 0;  ///< the stand-still under way
  /// How far round the road the kart has come since it started, pixels: laps included, from the
  /// start line (a kart that started behind the line below 0). Unknown until on the road.
  double RaceDistance = 0;
  std::deque<TMoveSample> History;  ///< the latest moves, oldest first

  double MeanSpeed(double StepSeconds) const {
    return Moves ? Distance / (Moves * StepSeconds) : 0;
  }
  double OffRoadShare() const { return Moves ? double(OffRoadMoves) / Moves : 0; }
  double FuturesPerMove() const { return Moves ? double(FutureSum) / Moves : 0; }
  double DistinctPerMove() const { return Moves ? double(DistinctSum) / Moves : 0; }

  // Lap bookkeeping, see TLapCounter.
  double PrevX = 0, PrevY = 0;
  int32_t Net = 0;      ///< forward minus backward crossings of the start line
  int32_t BestNet = 0;  ///< the most Net has been
  int64_t LapStartMove = 0;
  bool Rounded = false;  ///< has been a third of the way round since the last lap
  /// Its laps are timed: it started on the start line, or has crossed it since. A kart that
  /// starts elsewhere (added during a race) begins its first lap at its first crossing.
  bool OnLap = false;
  std::deque<int32_t> Recent;  ///< progress round the road of the last moves, pixels
  int32_t LastProgress = -1;   ///< progress at the last move on the road; -1 before
};

/// The race so far, kart by kart, in the order of the karts handed to Record.
class TRaceLog {
 public:
  /// A kart slower than this stands still, px/s.
  static constexpr double StallSpeed = 2;
  /// Moves kept in each kart's History; 0 keeps every move.
  size_t HistoryLimit = 600;
  double StepSeconds = 0.1;

  /// Starts afresh on Track with the start line through (X, Y) across Angle: every figure goes.
  void Begin(const TTrack2D& Track, double X, double Y, double Angle);
  /// Begin with the start line through First's start mark (where Reset puts it back).
  void BeginAt(const TTrack2D& Track, const TPlayer2D& First);
  /// Whether First's start mark is still where the line was built from.
  bool StartsAt(const TPlayer2D& First) const;
  /// After a real move: every kart's figures move on. Karts not seen before start from where
  /// they are now; karts gone from the list are forgotten. Futures is the move's pass count.
  void Record(const std::vector<TPlayer2D*>& Karts, int32_t Futures);
  /// Only follows the list: new karts start from where they are, gone ones are forgotten.
  void Follow(const std::vector<TPlayer2D*>& Karts);

  const TLapCounter& Laps() const { return Counter; }
  const std::vector<TKartRecord>& Records() const { return Karts; }
  /// The record of Kart, or null.
  const TKartRecord* Find(const TPlayer2D* Kart) const;
  /// Every kart's place in the race, 1 the leader, in the order of Records(): more laps first,
  /// then further round the road; equals share the better place.
  std::vector<int32_t> Places() const;

 private:
  void CountLaps(TKartRecord& R, double X, double Y);
  void FollowDirection(TKartRecord& R, double X, double Y);

  TLapCounter Counter;
  std::vector<TKartRecord> Karts;
  double LineX = 0, LineY = 0, LineAngle = 0;  ///< where the line was built from
};
