#pragma once
// Laps round a circuit: the start line across the road, the way a kart crosses it, and how far
// round the road a point lies.

#include <cstdint>
#include <vector>

class TPlayer2D;
class TTrack2D;

/// Where the start line of a race lies: through First's start mark, across its heading. The mark
/// is the rounded value of each parameter, as Reset restores it.
void StartLineOf(const TPlayer2D& First, double& X, double& Y, double& Angle);

/// The start line: the road's cross-section through the start point, across the start heading.
/// A lap is a crossing of it in the start direction; so that a kart rocking on the line counts
/// nothing, a crossing only counts when it takes the kart further forward over the line than
/// ever before (crossings backwards undo forward ones), and only after the kart has been in the
/// middle third of the way round since its last lap.
///
/// The line exists only where the road loops through the start: the road in front of the line
/// must lead round to the road behind it without crossing the line. Otherwise HasLine() is false
/// ("no lap line") and nothing ever crosses it.
class TLapCounter {
 public:
  /// Builds the line on Track's road through (X, Y) across heading Angle (radians). An empty
  /// track, a start off the road or a road that does not loop give no line.
  void Build(const TTrack2D& Track, double X, double Y, double Angle);

  bool HasLine() const { return LoopLength > 0; }
  /// Pixels round the road from the front of the line to its back; 0 without a line.
  int32_t Loop() const { return LoopLength; }
  /// The line's ends, pixels (for drawing); both the start point without a line.
  double EndX(bool Right) const { return StartX + NormX * (Right ? RightReach : -LeftReach); }
  double EndY(bool Right) const { return StartY + NormY * (Right ? RightReach : -LeftReach); }

  /// +1 when the way from (X0, Y0) to (X1, Y1) crosses the line in the start direction, -1 when
  /// it crosses it backwards, 0 when it does not cross it (or there is no line).
  int32_t Crossing(double X0, double Y0, double X1, double Y1) const;
  /// Whether (X, Y) lies on the line (within a pixel of it, across the road): a kart that
  /// starts there is at the start of its first lap.
  bool OnLine(double X, double Y) const;
  /// How far round the road (X, Y) lies from the front of the line, in pixels along the road;
  /// -1 off the road, beyond the picture or without a line.
  int32_t Progress(double X, double Y) const;
  /// Progress of every pixel, index x * Height + y (-1 off the road or unreached); empty
  /// without a line.
  const std::vector<int32_t>& Distances() const { return Distance; }

 private:
  /// Walks from the start along the normal while on the road; the last road pixel's distance.
  double Reach(const TTrack2D& Track, double Sign) const;
  /// Marks the line's pixels as a wall, then measures the road from the line's front.
  void MeasureRoad(const TTrack2D& Track);

  double StartX = 0, StartY = 0;
  double DirX = 1, DirY = 0;    ///< start heading, unit length
  double NormX = 0, NormY = 1;  ///< across the heading, unit length
  double LeftReach = 0, RightReach = 0;
  int32_t LoopLength = 0;
  int32_t Width = 0, Height = 0;
  std::vector<int32_t> Distance;  ///< per pixel, index x * Height + y; -1 unreached
};
