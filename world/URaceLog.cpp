#include "world/URaceLog.h"

#include <algorithm>
#include <cmath>

#include "agents/UPlayer2D.h"
#include "world/UTrack2D.h"

namespace {
// The way a kart drives is judged over this many moves.
constexpr size_t DirectionMoves = 10;
// Backwards round the road by more than this over those moves is driving the wrong way, pixels.
constexpr int32_t WrongWayPixels = 10;
}  // namespace

void TRaceLog::Begin(const TTrack2D& Track, double X, double Y, double Angle) {
  Counter.Build(Track, X, Y, Angle);
  Karts.clear();
  LineX = X;
  LineY = Y;
  LineAngle = Angle;
}

void TRaceLog::BeginAt(const TTrack2D& Track, const TPlayer2D& First) {
  double X, Y, Angle;
  StartLineOf(First, X, Y, Angle);
  Begin(Track, X, Y, Angle);
}

bool TRaceLog::StartsAt(const TPlayer2D& First) const {
  double X, Y, Angle;
  StartLineOf(First, X, Y, Angle);
  return X == LineX && Y == LineY && Angle == LineAngle;
}

void TRaceLog::Follow(const std::vector<TPlayer2D*>& List) {
  // The same karts in the same order, as on almost every move: nothing to do.
  if (List.size() == Karts.size() &&
      std::equal(List.begin(), List.end(), Karts.begin(),
                 [](const TPlayer2D* K, const TKartRecord& R) { return K == R.Kart; }))
    return;
  std::vector<TKartRecord> Next;
  Next.reserve(List.size());
  for (TPlayer2D* K : List) {
    if (auto Old = std::find_if(Karts.begin(), Karts.end(),
                                [K](const TKartRecord& R) { return R.Kart == K; });
        Old != Karts.end()) {
      Next.push_back(std::move(*Old));
      continue;
    }
    TKartRecord R;
    R.Kart = K;
    R.PrevX = K->PosX();
    R.PrevY = K->PosY();
    R.OnLap = Counter.OnLine(R.PrevX, R.PrevY);
    Next.push_back(std::move(R));
  }
  Karts = std::move(Next);
}

void TRaceLog::Record(const std::vector<TPlayer2D*>& List, int32_t Futures) {
  Follow(List);
  for (size_t I = 0; I < List.size(); ++I) {
    TPlayer2D& K = *List[I];
    TKartRecord& R = Karts[I];
    TMoveSample S;
    S.X = K.PosX();
    S.Y = K.PosY();
    const double Step = std::hypot(S.X - R.PrevX, S.Y - R.PrevY);
    S.Speed = Step / StepSeconds;
    S.Futures = Futures;
    S.Distinct = K.Futures->Count();
    S.Grid = K.GetGridSize();
    S.OffRoad = !K.ShapeOnTrack();
    ++R.Moves;
    R.Distance += Step;
    R.OffRoadMoves += S.OffRoad;
    R.FutureSum += S.Futures;
    R.FewestFutures = R.Moves == 1 ? S.Futures : std::min(R.FewestFutures, S.Futures);
    R.DistinctSum += S.Distinct;
    CountLaps(R, S.X, S.Y);
    FollowDirection(R, S.X, S.Y);
    if (R.WrongWay) R.WrongWaySeconds += StepSeconds;
    R.Stall = S.Speed < StallSpeed ? R.Stall + StepSeconds : 0;
    R.LongestStall = std::max(R.LongestStall, R.Stall);
    R.PrevX = S.X;
    R.PrevY = S.Y;
    R.History.push_back(S);
    if (HistoryLimit > 0 && R.History.size() > HistoryLimit) R.History.pop_front();
  }
}

const TKartRecord* TRaceLog::Find(const TPlayer2D* Kart) const {
  for (const TKartRecord& R : Karts)
    if (R.Kart == Kart) return &R;
  return nullptr;
}

std::vector<int32_t> TRaceLog::Places() const {
  std::vector<int32_t> Result(Karts.size(), 1);
  const auto Ahead = [](const TKartRecord& A, const TKartRecord& B) {
    return A.Laps != B.Laps ? A.Laps > B.Laps : A.RaceDistance > B.RaceDistance;
  };
  for (size_t I = 0; I < Karts.size(); ++I)
    for (size_t J = 0; J < Karts.size(); ++J) Result[I] += Ahead(Karts[J], Karts[I]);
  return Result;
}

void TRaceLog::CountLaps(TKartRecord& R, double X, double Y) {
  const int32_t Way = Counter.Crossing(R.PrevX, R.PrevY, X, Y);
  R.Net += Way;
  const int32_t P = Counter.Progress(X, Y);
  // Being a third of the way round, away from the line on both sides, shows the kart went round.
  if (P >= 0 && 3 * P >= Counter.Loop() && 3 * P <= 2 * Counter.Loop()) R.Rounded = true;
  if (Way > 0 && R.Net > R.BestNet) {
    R.BestNet = R.Net;
    if (R.Rounded && R.OnLap) {
      const double Time = (R.Moves - R.LapStartMove) * StepSeconds;
      ++R.Laps;
      R.LastLap = Time;
      if (R.BestLap == 0 || Time < R.BestLap) R.BestLap = Time;
      R.LapTimes.push_back(Time);
      R.LapMoves.push_back(R.Moves);
    }
    R.LapStartMove = R.Moves;
    R.Rounded = false;
    R.OnLap = true;
  }
}

void TRaceLog::FollowDirection(TKartRecord& R, double X, double Y) {
  const int32_t P = Counter.Progress(X, Y);
  if (P < 0) return;  // off the road or on the line: the way is judged from road pixels only
  R.Recent.push_back(P);
  if (R.Recent.size() > DirectionMoves + 1) R.Recent.pop_front();
  // Round the road, wrapping at the line: a step over it is short, not a whole loop.
  const int32_t Loop = Counter.Loop();
  const auto Wrapped = [Loop](int32_t D) {
    return 2 * D > Loop ? D - Loop : 2 * D < -Loop ? D + Loop : D;
  };
  // A kart first seen behind the line has that far to go to reach it.
  R.RaceDistance += R.LastProgress < 0 ? Wrapped(P) : Wrapped(P - R.LastProgress);
  R.LastProgress = P;
  int32_t Sum = 0;
  for (size_t I = 1; I < R.Recent.size(); ++I) Sum += Wrapped(R.Recent[I] - R.Recent[I - 1]);
  R.WrongWay = Sum < -WrongWayPixels;
}
