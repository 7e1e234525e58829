#include "decision/USplineScan.h"

#include <algorithm>

TSplineScan ScanSpline(const std::vector<std::pair<double, double>>& Points, double R) {
  TSplineScan Result{0, -9999, 0};
  if (Points.size() < 2) return Result;
  const size_t Last = Points.size() - 1;
  double PrevX = Points[0].first;
  for (size_t K = 0; K < Last; ++K) {
    const auto& P0 = Points[K];
    const auto& P1 = Points[K + 1];
    const auto& Before = Points[K == 0 ? 0 : K - 1];
    const auto& After = Points[std::min(K + 2, Last)];
    const double T0x = (P1.first - Before.first) * 0.5;
    const double T0y = (P1.second - Before.second) * 0.5;
    const double T1x = (After.first - P0.first) * 0.5;
    const double T1y = (After.second - P0.second) * 0.5;
    for (int I = 0; I <= 5; ++I) {
      const double T = I / 5.0;
      const double T2 = T * T;
      const double T3 = T2 * T;
      const double H00 = 2 * T3 - 3 * T2 + 1;
      const double H10 = T3 - 2 * T2 + T;
      const double H01 = -2 * T3 + 3 * T2;
      const double H11 = T3 - T2;
      const double X = H00 * P0.first + H10 * T0x + H01 * P1.first + H11 * T1x;
      const double Y = H00 * P0.second + H10 * T0y + H01 * P1.second + H11 * T1y;
      if (Y > Result.MaxY) {
        Result.MaxY = Y;
        Result.XAtMax = X;
      }
      if (PrevX <= R && R <= X) Result.YAtR = Y;
      PrevX = X;
    }
  }
  return Result;
}
