#pragma once
// The road as the players read it: which pixels are off the road, the picture's size and the
// friction coefficients. The circuit is one and hands itself to its players.

#include <cstddef>
#include <cstdint>
#include <vector>

/// The road in plain numbers, for the kart's step at every lane width.
struct TRoadView {
  const uint8_t* OffMap;  ///< 1 off the road at X * Height + Y
  int32_t Width;
  int32_t Height;
  double Friction;
  double SideFriction;
  /// Racing the lap direction: how far round the road each pixel lies (index as OffMap; -1 off
  /// the road or unreached) and the loop's length, pixels. Null: futures score their path.
  const int32_t* Progress;
  int32_t Loop;
};

/// Where the road is and how it grips.
class TRoad {
 public:
  std::vector<uint8_t> OffTrackMap;  ///< 1 where pixel (x, y) was pure black; index x * Height + y
  double Friction = 0.015;           ///< road friction coefficient (per 100 ms step)
  double SideFriction = 0.2;         ///< sideways slide friction coefficient
  int32_t Width = 0;
  int32_t Height = 0;
  /// Filled while the karts race the lap direction on a road with a lap line: how far round the
  /// road each pixel lies from the line (-1 off the road), and the loop's length.
  std::vector<int32_t> Progress;
  int32_t Loop = 0;

  /// 0 < X < Width and 0 < Y < Height.
  bool InBounds(int32_t X, int32_t Y) const { return 0 < X && X < Width && 0 < Y && Y < Height; }
  bool IsOnTrack(int32_t X, int32_t Y) const {
    return InBounds(X, Y) && !OffTrackMap[static_cast<size_t>(X) * Height + Y];
  }
  TRoadView View() const {
    return {OffTrackMap.data(),
            Width,
            Height,
            Friction,
            SideFriction,
            Progress.empty() ? nullptr : Progress.data(),
            Loop};
  }
};
