#pragma once
// Where on a circuit a kart may stand: the road point nearest to a wanted one.

#include <cstdint>
#include <optional>

class TTrack2D;

struct TRoadPoint {
  int32_t X = 0;
  int32_t Y = 0;
};

/// The road pixel nearest to (X, Y) with at least Clearance pixels of road around it on every
/// side; without such a place, the road pixel nearest to it; none on a circuit without road.
std::optional<TRoadPoint> NearestRoadPoint(const TTrack2D& Track, int32_t X, int32_t Y,
                                           int32_t Clearance);
