#include "agents/UPlayer2D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "world/UTrack2D.h"

namespace {

// A nose on the heading and two rear corners at +-144 degrees, in units of pi.
constexpr double OutlineFactors[3] = {0.0, 0.8, -0.8};

int32_t Sign(int64_t X) { return (X > 0) - (X < 0); }

}  // namespace

TPlayer2D::TPlayer2D() {
  DefineOwnParams();
  SetPosX(10);
  SetPosY(10);
  SetAngle(0);
  ShapeDirty = true;
}

void TPlayer2D::DefineParams() {
  TPlayer::DefineParams();
  DefineOwnParams();
}

void TPlayer2D::DefineOwnParams() {
  // Unbounded. Only the positions have a grid step: they are the end-point coordinates (px).
  TState& S = State();
  PosXIndex = S.AddParam({.Name = "PosX", .Kind = pkMacro, .Precision = 15});
  PosYIndex = S.AddParam({.Name = "PosY", .Kind = pkMacro, .Precision = 15});
  AngleIndex = S.AddParam({.Name = "Angle", .Kind = pkMacro});
  VelXIndex = S.AddParam({.Name = "VelX", .Kind = pkMacro});
  VelYIndex = S.AddParam({.Name = "VelY", .Kind = pkMacro});
}

void TPlayer2D::UpdateShape() { BuildShape(OutlineFactors, 3); }

void TPlayer2D::BuildShape(const double* AngleFactors, int32_t Count) {
  if (ShapeUnallocated || static_cast<int32_t>(Shape.size()) != Count) {
    Shape.resize(Count);
    ShapeUnallocated = false;
    ShapeDirty = true;
  }
  if (ShapeDirty) {
    const double A = Angle();
    const double Size = GetSize();
    const double X = PosX();
    const double Y = PosY();
    // Each point is cos(A + t pi) * Size + X, rounded. The angle sum with the cos and sin of A
    // (shared with the time step) and of each offset t pi (worked out once) gives those cosines
    // to within a few ulps; a point that lands so near half-way between two pixels that such a
    // difference could round it the other way is computed the direct way instead, so that the
    // outline stays exactly what the direct formula gives.
    bool Exact = false;
    if (Count <= MaxOffsets) {
      if (Count != OffsetCount || !std::equal(AngleFactors, AngleFactors + Count, OffsetFactor)) {
        for (int32_t I = 0; I < Count; ++I) {
          const double Offset = AngleFactors[I] * std::numbers::pi;
          OffsetFactor[I] = AngleFactors[I];
          KartMath::SinCos(Offset, OffsetCos[I], OffsetSin[I]);
        }
        OffsetCount = Count;
      }
      double CosA, SinA;
      CosSin(A, CosA, SinA);
      // Generous bound on the difference: Size times a few ulps of the summed angle, plus a few
      // ulps of the coordinate. NaN or infinity fails every test and goes the direct way.
      const double Margin =
          1e-13 * (std::fabs(Size) * (std::fabs(A) + 8) + std::max(std::fabs(X), std::fabs(Y)));
      Exact = true;
      for (int32_t I = 0; I < Count; ++I) {
        const double VX = (CosA * OffsetCos[I] - SinA * OffsetSin[I]) * Size + X;
        const double VY = (SinA * OffsetCos[I] + CosA * OffsetSin[I]) * Size + Y;
        const bool Small = std::fabs(VX) < 0x1p30 && std::fabs(VY) < 0x1p30;
        const int32_t RX = Small ? RoundEven(VX) : 0, RY = Small ? RoundEven(VY) : 0;
        Exact = Exact && Small && 0.5 - std::fabs(VX - RX) > Margin &&
                0.5 - std::fabs(VY - RY) > Margin;
        Shape[I] = {RX, RY};
      }
    }
    if (!Exact) {
      for (int32_t I = 0; I < Count; ++I) {
        const double Phi = A + AngleFactors[I] * std::numbers::pi;
        double CosPhi, SinPhi;
        KartMath::SinCos(Phi, CosPhi, SinPhi);
        Shape[I] = {RoundEven(CosPhi * Size + X), RoundEven(SinPhi * Size + Y)};
      }
    }
  }
  ShapeDirty = false;
}

TTrack2D& TPlayer2D::TrackAs2D() const {
  auto* T = dynamic_cast<TTrack2D*>(Track);
  if (!T) throw EModelError("Player2D is not on a Track2D.");
  return *T;
}

void TPlayer2D::Draw() {
  if (!Track) return;
  TPlayer::Draw();
  UpdateShape();
  TPicture* Canvas = Track2D().Image;
  if (!Canvas) return;
  Canvas->SetPenColor(clBlack);
  Canvas->SetBrushColor(Color);
  Canvas->Polygon(Shape.data(), static_cast<int32_t>(Shape.size()));
}

void TPlayer2D::DrawTrace() {
  if (!Track) return;
  TPicture* Canvas = Track2D().Image;
  if (!Canvas) return;
  // Only the piece of the last sub-step: the previous position is that of one Advance ago.
  Canvas->SetPenColor(StateColor(State()));
  Canvas->Line(RoundEven(PrevPosX()), RoundEven(PrevPosY()), RoundEven(PosX()), RoundEven(PosY()));
}

void TPlayer2D::DrawFuture(int32_t Index) {
  if (!Track) return;
  TPicture* Canvas = Track2D().Image;
  if (!Canvas) return;
  TState& F = Futures->Future(Index);
  // Futures are copies of this player's states, so the cached indexes hold there too.
  const int32_t X = RoundEven(F.Param(PosXIndex).Value);
  const int32_t Y = RoundEven(F.Param(PosYIndex).Value);
  int32_t R = RoundEven(std::sqrt(std::max(F.Score, 0.0)));
  if (R == 0) R = 1;
  Canvas->SetPenColor(StateColor(F));
  Canvas->SetBrushStyle(TBrushStyle::bsClear);
  Canvas->Ellipse(SaturatingAdd(X, -R), SaturatingAdd(Y, -R), SaturatingAdd(X, R),
                  SaturatingAdd(Y, R));
}

bool TPlayer2D::CollidesWith(TPlayer& AOther) {
  TPlayer2D* O = AsPlayer2D(&AOther);
  if (!O) return false;
  TPlayer2D& Other = *O;
  UpdateShape();
  Other.UpdateShape();
  if (DebugLevel == TDebugLevel::Collisions && Track) {
    Track->CleanImage();
    if (Track2D().Image) return CollidesDrawn(Other);
  }
  for (const TPoint& Q : Shape)
    if (InsideConvex(Q, Other.Shape)) return true;
  return false;
}

// The same test, drawing its working and letting the window show each mark at once. The window's
// handlers run there: once either player has left the track, neither is touched again. The
// picture is there (the caller checked).
bool TPlayer2D::CollidesDrawn(TPlayer2D& Other) {
  TTrack* T = Track;
  TPicture* Canvas = Track2D().Image;
  Canvas->SetBrushStyle(TBrushStyle::bsClear);
  Canvas->SetPenWidth(2);
  Canvas->SetPenColor(Color);
  Canvas->Polygon(Shape.data(), static_cast<int32_t>(Shape.size()));
  Canvas->SetPenWidth(1);
  Canvas->SetPenColor(Other.Color);
  Canvas->Polygon(Other.Shape.data(), static_cast<int32_t>(Other.Shape.size()));
  Canvas->SetPenColor(clBlack);
  Canvas->SetBrushStyle(TBrushStyle::bsSolid);
  // Marks a vertex; false when the pair is no longer on the track afterwards.
  auto Mark = [&](const TPoint& Q, TColor Fill, int32_t R) {
    Canvas->SetBrushColor(Fill);
    Canvas->Ellipse(SaturatingAdd(Q.x, -R), SaturatingAdd(Q.y, -R), SaturatingAdd(Q.x, R),
                    SaturatingAdd(Q.y, R));
    T->ProcessMessages();
    T->ProcessMessages();
    return T->HasPlayer(this) && T->HasPlayer(&Other);
  };
  for (size_t I = 0; I < Shape.size(); ++I) {
    const TPoint Q = Shape[I];
    const bool Inside = InsideConvex(Q, Other.Shape);
    if (!Mark(Q, Inside ? clRed : clWhite, Inside ? 3 : 2)) return false;
    if (Inside) return true;
  }
  return false;
}

bool TPlayer2D::InsideConvex(const TPoint& Q, const std::vector<TPoint>& P) {
  // A vertex is inside when every edge that decides puts it on the same side, whatever the
  // winding. 64-bit products: far-off positions cannot wrap.
  const int32_t N = static_cast<int32_t>(P.size());
  int32_t First = 0;
  for (int32_t J = 0; J < N; ++J) {
    const TPoint& P0 = P[J];
    const TPoint& P1 = P[J + 1 < N ? J + 1 : 0];  // no division in the innermost loop
    const int64_t Ex = int64_t{P1.x} - P0.x;
    const int64_t Ey = int64_t{P1.y} - P0.y;
    const int32_t S = Sign((int64_t{Q.x} - P0.x) * Ey - (int64_t{Q.y} - P0.y) * Ex);
    if (S == 0) continue;
    if (First == 0)
      First = S;
    else if (S != First)
      return false;
  }
  return true;
}

void TPlayer2D::SetPosition(double X, double Y, double AAngle) {
  SetPosX(X);
  SetPosY(Y);
  SetAngle(AAngle);
  SetVelX(0);
  SetVelY(0);
  MarkStart();
}

void TPlayer2D::MoveBy(bool Redraw, bool KeepPrevious, double DX, double DY, double DAngle) {
  TState& S = State();
  const bool Remembered = S.KeepPrevious;
  S.SetKeepPrevious(KeepPrevious);
  SetPosX(PosX() + DX);
  SetPosY(PosY() + DY);
  SetAngle(Angle() + DAngle);
  if (Redraw && Track) {
    Track->CleanImage();
    Track->Redraw();
  }
  S.SetKeepPrevious(Remembered);
}

TPlayer2D* TPlayer2D::AsPlayer2D(TPlayer* Player) { return Player ? Player->AsPlanar() : nullptr; }

TPlayer2D::TOutlineTest TPlayer2D::TestOutline() {
  UpdateShape();
  const TTrack2D& T = Track2D();
  TOutlineTest Result{true, true};
  for (const TPoint& Q : Shape) {
    Result.InBounds = Result.InBounds && T.InBounds(Q.x, Q.y);
    Result.OnTrack = Result.OnTrack && T.IsOnTrack(Q.x, Q.y);
  }
  return Result;
}
