#pragma once
// The curve through a player's options, sampled to find where it peaks.

#include <utility>
#include <vector>

struct TSplineScan {
  double XAtMax;  ///< x of the highest sample (0 when no sample is above 0)
  double YAtR;    ///< y of the last sample whose segment reaches R from the left; -9999 if none
  double MaxY;    ///< the highest sample, at least 0
};

/// Samples the Catmull-Rom curve through Points (sorted by x) six times per segment, end
/// points repeated as their own neighbours. Fewer than two points give {0, -9999, 0}.
TSplineScan ScanSpline(const std::vector<std::pair<double, double>>& Points, double R);
