#include "world/UStartGrid.h"

#include <algorithm>
#include <cmath>

#include "agents/UKart.h"
#include "agents/UOutline.h"
#include "decision/UBase.h"
#include "decision/USinCos.h"
#include "world/ULapCounter.h"
#include "world/UTrack2D.h"

namespace {

// The walk back along the road's middle, and the probes across the road, pixels.
constexpr double WalkStep = 1;
constexpr double ProbeStep = 0.5;
// Each step turns the walk a quarter of the way towards the middle found ahead: the middle of
// a road of whole pixels wobbles by a pixel.
constexpr double Steering = 0.25;

/// A point of the road's middle behind the line: where, across which normal, how far back.
struct TMiddle {
  double X, Y;
  double NX, NY;  ///< unit, to the right of the way forward
  double Back;    ///< pixels walked back from the line
};

/// How far the road reaches from (X, Y) along (DX, DY): the last road point's distance.
double Reach(const TRoad& Road, double X, double Y, double DX, double DY, double Limit) {
  double Last = 0;
  for (double D = ProbeStep; D <= Limit; D += ProbeStep) {
    if (!Road.IsOnTrack(RoundEven(X + D * DX), RoundEven(Y + D * DY))) break;
    Last = D;
  }
  return Last;
}

/// The kart's outline at a place, whole pixels.
void OutlineAt(const TGridPlace& P, double Size, TPoint* Corners) {
  KartShape::TOutlineOffsets Offsets;
  Offsets.Set(TKart::OutlineFactors, KartStep::Corners);
  double CosA, SinA, RX[KartStep::Corners], RY[KartStep::Corners];
  KartMath::SinCos(P.Angle, CosA, SinA);
  KartShape::Outline<LaneMath::TPlain>(Offsets, Size, P.X, P.Y, P.Angle, CosA, SinA, RX, RY);
  for (int32_t I = 0; I < KartStep::Corners; ++I)
    Corners[I] = {static_cast<int32_t>(RX[I]), static_cast<int32_t>(RY[I])};
}

}  // namespace

std::vector<TGridPlace> StartingGrid(const TTrack2D& Track, double X, double Y, double Angle,
                                     int32_t Count, double Size, std::string& Problem) {
  Problem.clear();
  TLapCounter Line;
  Line.Build(Track, X, Y, Angle);
  if (!Line.HasLine()) {
    Problem =
        "The starting grid needs a lap line through kart #1's start, and the road does not loop "
        "through it there: the karts stay where they are.";
    return {};
  }
  std::vector<TGridPlace> Places{{X, Y, Angle}};
  if (Count <= 1) return Places;

  double FX, FY;  // the way forward
  KartMath::SinCos(Angle, FX, FY);
  const double Row = GridRowSizes * Size, Column = GridColumnSizes * Size;
  // How far back each kart stands: rows of two, the second column half a row back.
  const auto BackOf = [Row](int32_t K) { return K / 2 * Row + (K % 2 ? Row / 2 : 0); };

  // The middle of the road across the line, and where kart #1 stands from it.
  const double Limit = Line.Loop();
  double NX = -FY, NY = FX;
  const double Left = Reach(Track, X, Y, -NX, -NY, Limit);
  const double Right = Reach(Track, X, Y, NX, NY, Limit);
  std::vector<TMiddle> Middle{
      {X + NX * (Right - Left) / 2, Y + NY * (Right - Left) / 2, NX, NY, 0}};
  const double Pole = (Left - Right) / 2;  // kart #1 from the middle, along the normal
  const double Side = Pole > 0 ? -1 : 1;   // the second column towards the middle

  // Back along the road's middle until the last row fits behind, never round to the line.
  double DX = -FX, DY = -FY;
  while (Middle.back().Back < BackOf(Count - 1)) {
    const TMiddle& M = Middle.back();
    const double QX = M.X + DX * WalkStep, QY = M.Y + DY * WalkStep;
    if (!Track.IsOnTrack(RoundEven(QX), RoundEven(QY)) || M.Back > Line.Loop() / 2) break;
    NX = DY;
    NY = -DX;
    const double L = Reach(Track, QX, QY, -NX, -NY, Limit);
    const double R = Reach(Track, QX, QY, NX, NY, Limit);
    const double CX = QX + NX * (R - L) / 2, CY = QY + NY * (R - L) / 2;
    const double Step = std::sqrt((CX - M.X) * (CX - M.X) + (CY - M.Y) * (CY - M.Y));
    if (Step > 0) {
      DX += Steering * ((CX - M.X) / Step - DX);
      DY += Steering * ((CY - M.Y) / Step - DY);
      const double Norm = std::sqrt(DX * DX + DY * DY);
      DX /= Norm;
      DY /= Norm;
    }
    Middle.push_back({CX, CY, NX, NY, M.Back + Step});
  }

  // The karts row by row, each checked on the road and clear of those before it.
  std::vector<std::vector<TPoint>> Outlines(1, std::vector<TPoint>(KartStep::Corners));
  OutlineAt(Places[0], Size, Outlines[0].data());
  for (int32_t K = 1; K < Count; ++K) {
    const double Back = BackOf(K);
    const auto At = std::find_if(Middle.begin(), Middle.end(),
                                 [Back](const TMiddle& M) { return M.Back >= Back; });
    bool Fits = At != Middle.end();
    if (Fits) {
      const double Across = K % 2 ? Pole + Side * Column : Pole;
      TGridPlace P{static_cast<double>(RoundEven(At->X + At->NX * Across)),
                   static_cast<double>(RoundEven(At->Y + At->NY * Across)), Angle};
      std::vector<TPoint> Shape(KartStep::Corners);
      OutlineAt(P, Size, Shape.data());
      for (const TPoint& Q : Shape) Fits = Fits && Track.IsOnTrack(Q.x, Q.y);
      for (const auto& Other : Outlines)
        for (int32_t I = 0; Fits && I < KartStep::Corners; ++I)
          Fits = !KartShape::InsideConvex(Shape[I], Other.data(), KartStep::Corners) &&
                 !KartShape::InsideConvex(Other[I], Shape.data(), KartStep::Corners);
      Places.push_back(P);
      Outlines.push_back(Shape);
    }
    if (!Fits) {
      Problem = "The road behind the start line is too narrow or too short for " +
                std::to_string(Count) +
                " karts two abreast on a starting grid: the karts stay where they are.";
      return {};
    }
  }
  return Places;
}

bool LineUpOnGrid(TTrack2D& Track, TKartList& Karts, std::string& Problem) {
  Problem.clear();
  if (Karts.empty()) return true;
  double X, Y, Angle, Size = 0;
  StartLineOf(*Karts.front(), X, Y, Angle);
  for (const auto& K : Karts) Size = std::max(Size, K->GetSize());
  const std::vector<TGridPlace> Places =
      StartingGrid(Track, X, Y, Angle, static_cast<int32_t>(Karts.size()), Size, Problem);
  if (Places.empty()) return false;
  for (size_t I = 0; I < Karts.size(); ++I)
    Karts[I]->SetPosition(Places[I].X, Places[I].Y, Places[I].Angle);
  Track.Redraw();
  return true;
}
