#include "agents/UPlayer2D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

// A nose on the heading and two rear corners at +-144 degrees, in units of pi.
constexpr double OutlineFactors[3] = {0.0, 0.8, -0.8};

bool InsideConvex(const TPoint& Q, const std::vector<TPoint>& P) {
  return KartShape::InsideConvex(Q, P.data(), static_cast<int32_t>(P.size()));
}

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
    double RX[KartShape::TOutlineOffsets::MaxCorners], RY[KartShape::TOutlineOffsets::MaxCorners];
    if (Count <= KartShape::TOutlineOffsets::MaxCorners) {
      if (Count != Offsets.Count || !std::equal(AngleFactors, AngleFactors + Count, Offsets.Factor))
        Offsets.Set(AngleFactors, Count);
      double CosA, SinA;
      CosSin(A, CosA, SinA);
      KartShape::Outline<LaneMath::TPlain>(Offsets, Size, X, Y, A, CosA, SinA, RX, RY);
      for (int32_t I = 0; I < Count; ++I)
        Shape[I] = {static_cast<int32_t>(RX[I]), static_cast<int32_t>(RY[I])};
    } else {
      for (int32_t I = 0; I < Count; ++I) {
        KartShape::DirectCorner<LaneMath::TPlain>(AngleFactors[I], Size, X, Y, A, RX[0], RY[0]);
        Shape[I] = {static_cast<int32_t>(RX[0]), static_cast<int32_t>(RY[0])};
      }
    }
  }
  ShapeDirty = false;
}

const TRoad& TPlayer2D::Road() const {
  const TRoad* R = Track ? Track->Road() : nullptr;
  if (!R) throw EModelError("Player2D is not on a Track2D.");
  return *R;
}

void TPlayer2D::Draw() {
  if (!Track) return;
  TPlayer::Draw();
  UpdateShape();
  TPicture* Pic = Canvas();
  if (!Pic) return;
  Pic->SetPenColor(clBlack);
  Pic->SetBrushColor(Color);
  Pic->Polygon(Shape.data(), static_cast<int32_t>(Shape.size()));
}

void TPlayer2D::DrawTrace() {
  TPicture* Pic = Canvas();
  if (!Pic) return;
  // Only the piece of the last sub-step: the previous position is that of one Advance ago.
  Pic->SetPenColor(StateColor(State()));
  Pic->Line(RoundEven(PrevPosX()), RoundEven(PrevPosY()), RoundEven(PosX()), RoundEven(PosY()));
}

void TPlayer2D::DrawFuture(int32_t Index) {
  TPicture* Pic = Canvas();
  if (!Pic) return;
  TState& F = Futures->Future(Index);
  // Futures are copies of this player's states, so the cached indexes hold there too.
  const int32_t X = RoundEven(F.Param(PosXIndex).Value);
  const int32_t Y = RoundEven(F.Param(PosYIndex).Value);
  int32_t R = RoundEven(std::sqrt(std::max(F.Score, 0.0)));
  if (R == 0) R = 1;
  Pic->SetPenColor(StateColor(F));
  Pic->SetBrushStyle(TBrushStyle::bsClear);
  Pic->Ellipse(SaturatingAdd(X, -R), SaturatingAdd(Y, -R), SaturatingAdd(X, R),
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
    if (Canvas()) return CollidesDrawn(Other);
  }
  for (const TPoint& Q : Shape)
    if (InsideConvex(Q, Other.Shape)) return true;
  return false;
}

// The same test, drawing its working and letting the window show each mark at once. The window's
// handlers run there: once either player has left the track, neither is touched again. The
// picture is there (the caller checked).
bool TPlayer2D::CollidesDrawn(TPlayer2D& Other) {
  TArena* T = Track;
  TPicture* Canvas = T->Picture();
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
  const TRoad& T = Road();
  TOutlineTest Result{true, true};
  for (const TPoint& Q : Shape) {
    Result.InBounds = Result.InBounds && T.InBounds(Q.x, Q.y);
    Result.OnTrack = Result.OnTrack && T.IsOnTrack(Q.x, Q.y);
  }
  return Result;
}
