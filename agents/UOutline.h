#pragma once
// A planar body's outline: its corners at fixed angles from the heading, in whole pixels, at any
// lane width, and the test whether a point lies inside a convex outline. The plain path and the
// lane kernels run this same code (see decision/ULanes.h for what a template here may call).

#include <cstdint>
#include <numbers>

#include "decision/ULanes.h"

namespace KartShape {

/// The angle offsets of an outline's corners from the heading, in units of pi, with the cos and
/// sin of each offset (worked out once: the corners come from the angle sum).
struct TOutlineOffsets {
  static constexpr int32_t MaxCorners = 8;
  int32_t Count = 0;
  double Factor[MaxCorners] = {};
  double Cos[MaxCorners] = {};
  double Sin[MaxCorners] = {};

  /// Count offsets (at most MaxCorners) from Factors.
  void Set(const double* Factors, int32_t ACount) {
    Count = ACount;
    for (int32_t I = 0; I < Count; ++I) {
      Factor[I] = Factors[I];
      KartMath::SinCos(Factors[I] * std::numbers::pi, Cos[I], Sin[I]);
    }
  }
};

/// Corner I straight from its angle: cos(A + Factor pi) * Size + X and the same with sin and Y,
/// rounded.
template <class L>
void DirectCorner(double Factor, double Size, double X, double Y, double A, double& RX,
                  double& RY) {
  const double Phi = A + Factor * std::numbers::pi;
  double C, S;
  L::SinCos1(Phi, C, S);
  RX = L::Round1(C * Size + X);
  RY = L::Round1(S * Size + Y);
}

/// The outline of a body at (X, Y) heading A (CosA and SinA its cos and sin) in every lane:
/// corner I at DirectCorner's pixel. The angle sum gives those cosines to within a few ulps; a
/// lane with a corner so near half-way between two pixels that such a difference could round it
/// the other way takes the direct way, so the outline stays exactly what the direct formula gives.
template <class L>
void Outline(const TOutlineOffsets& O, typename L::D Size, typename L::D X, typename L::D Y,
             typename L::D A, typename L::D CosA, typename L::D SinA, typename L::D* RX,
             typename L::D* RY) {
  using D = typename L::D;
  using M = typename L::M;
  const D Zero = L::Dup(0.0);
  // Generous bound on the difference: Size times a few ulps of the summed angle, plus a few ulps
  // of the coordinate. NaN or infinity fails every test and goes the direct way.
  const D Margin = 1e-13 * (L::Abs(Size) * (L::Abs(A) + 8.0) + L::Max(L::Abs(X), L::Abs(Y)));
  M Exact = ~M{};
  for (int32_t I = 0; I < O.Count; ++I) {
    const D VX = (CosA * O.Cos[I] - SinA * O.Sin[I]) * Size + X;
    const D VY = (SinA * O.Cos[I] + CosA * O.Sin[I]) * Size + Y;
    const M Small = L::Lt(L::Abs(VX), L::Dup(0x1p30)) & L::Lt(L::Abs(VY), L::Dup(0x1p30));
    RX[I] = L::Sel(Small, L::Rint(VX), Zero);
    RY[I] = L::Sel(Small, L::Rint(VY), Zero);
    Exact &=
        Small & L::Lt(Margin, 0.5 - L::Abs(VX - RX[I])) & L::Lt(Margin, 0.5 - L::Abs(VY - RY[I]));
  }
  if (!L::Any(~Exact)) return;
  for (int Lane = 0; Lane < L::W; ++Lane) {
    if (L::LaneOf(Exact, Lane)) continue;
    for (int32_t I = 0; I < O.Count; ++I) {
      double CX, CY;
      DirectCorner<L>(O.Factor[I], L::Get(Size, Lane), L::Get(X, Lane), L::Get(Y, Lane),
                      L::Get(A, Lane), CX, CY);
      L::Put(RX[I], Lane, CX);
      L::Put(RY[I], Lane, CY);
    }
  }
}

/// Whether Q lies inside the convex polygon P of N corners (either winding): every edge that
/// decides puts it on the same side. 64-bit products: far-off positions cannot wrap. TPoint has
/// int32_t members x and y.
template <class TPoint>
bool InsideConvex(const TPoint& Q, const TPoint* P, int32_t N) {
  int32_t First = 0;
  for (int32_t J = 0; J < N; ++J) {
    const TPoint& P0 = P[J];
    const TPoint& P1 = P[J + 1 < N ? J + 1 : 0];  // no division in the innermost loop
    const int64_t Ex = int64_t{P1.x} - P0.x;
    const int64_t Ey = int64_t{P1.y} - P0.y;
    const int64_t Cross = (int64_t{Q.x} - P0.x) * Ey - (int64_t{Q.y} - P0.y) * Ex;
    const int32_t S = (Cross > 0) - (Cross < 0);
    if (S == 0) continue;
    if (First == 0)
      First = S;
    else if (S != First)
      return false;
  }
  return true;
}

}  // namespace KartShape
