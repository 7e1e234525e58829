#include "world/UNearestRoad.h"

#include <cstddef>
#include <limits>
#include <vector>

#include "world/UTrack2D.h"

namespace {

/// Per pixel, the number of 8-connected steps to the nearest pixel that is not on the road.
std::vector<int32_t> StepsToOffRoad(const TTrack2D& Track) {
  const int32_t W = Track.Width, H = Track.Height;
  std::vector<int32_t> Steps(static_cast<size_t>(W) * H, -1);
  std::vector<int32_t> Queue;
  Queue.reserve(Steps.size());
  for (int32_t Y = 0; Y < H; ++Y)
    for (int32_t X = 0; X < W; ++X)
      if (!Track.IsOnTrack(X, Y)) {
        Steps[static_cast<size_t>(Y) * W + X] = 0;
        Queue.push_back(Y * W + X);
      }
  // Breadth first from every off-road pixel at once: each pixel is reached once.
  for (size_t Head = 0; Head < Queue.size(); ++Head) {
    const int32_t X = Queue[Head] % W, Y = Queue[Head] / W;
    const int32_t Next = Steps[Queue[Head]] + 1;
    for (int32_t DY = -1; DY <= 1; ++DY)
      for (int32_t DX = -1; DX <= 1; ++DX) {
        const int32_t NX = X + DX, NY = Y + DY;
        if (NX < 0 || NY < 0 || NX >= W || NY >= H) continue;
        int32_t& S = Steps[static_cast<size_t>(NY) * W + NX];
        if (S >= 0) continue;
        S = Next;
        Queue.push_back(NY * W + NX);
      }
  }
  return Steps;
}

}  // namespace

std::optional<TRoadPoint> NearestRoadPoint(const TTrack2D& Track, int32_t X, int32_t Y,
                                           int32_t Clearance) {
  const std::vector<int32_t> Steps = StepsToOffRoad(Track);
  std::optional<TRoadPoint> Best, BestAnyRoad;
  int64_t BestD = std::numeric_limits<int64_t>::max(), BestAnyD = BestD;
  for (int32_t PY = 0; PY < Track.Height; ++PY)
    for (int32_t PX = 0; PX < Track.Width; ++PX) {
      const int32_t S = Steps[static_cast<size_t>(PY) * Track.Width + PX];
      if (S <= 0) continue;
      const int64_t D = int64_t{PX - X} * (PX - X) + int64_t{PY - Y} * (PY - Y);
      if (D < BestAnyD) BestAnyD = D, BestAnyRoad = TRoadPoint{PX, PY};
      if (S > Clearance && D < BestD) BestD = D, Best = TRoadPoint{PX, PY};
    }
  return Best ? Best : BestAnyRoad;
}
