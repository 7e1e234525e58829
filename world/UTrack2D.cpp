#include "world/UTrack2D.h"

#include <algorithm>
#include <cmath>

#include "agents/UPlayer2D.h"
#include "decision/UBase.h"

TTrack2D::TTrack2D() = default;

TTrack2D::~TTrack2D() = default;

void TTrack2D::SetImage(TPicture* AImage) {
  Image = AImage;
  Width = AImage ? AImage->Width() : 0;
  Height = AImage ? AImage->Height() : 0;
  // Read once: whatever is drawn on the picture later never changes where the road is.
  OffTrackMap.assign(static_cast<size_t>(Width) * Height, 0);
  for (int32_t X = 0; X < Width; ++X)
    for (int32_t Y = 0; Y < Height; ++Y)
      OffTrackMap[static_cast<size_t>(X) * Height + Y] = (AImage->Pixel(X, Y) & 0xFFFFFF) == 0;
  Background = AImage ? AImage->Clone() : nullptr;
}

void TTrack2D::CleanImage() {
  if (Image && Background) Image->Assign(*Background);
}

TPlayer2D& TTrack2D::GetPlayer2D(int32_t Index) const {
  TPlayer2D* P = TPlayer2D::AsPlayer2D(&GetPlayer(Index));
  if (!P) throw EModelError("Track2D contains a player that is not a Player2D.");
  return *P;
}

void TTrack2D::ResolveCollisions() {
  const int32_t N = PlayerCount();
  if (N < 2) return;  // no pair
  // This runs after every sub-step: each player is cast once, not once per pair. The debug
  // drawing of CollidesWith lets the window run its handlers, which may change the list; an
  // entry that no longer matches, or a player that is not planar, goes through GetPlayer2D
  // and so raises the error it always raised.
  constexpr int32_t MaxCached = 32;
  const int32_t Cached = std::min(N, MaxCached);
  TPlayer* Listed[MaxCached];
  TPlayer2D* Planar[MaxCached];
  for (int32_t I = 0; I < Cached; ++I) {
    Listed[I] = Players[I];
    Planar[I] = TPlayer2D::AsPlayer2D(Players[I]);
  }
  auto Player2D = [&](int32_t Index) -> TPlayer2D& {
    if (Index < Cached && Planar[Index] && Index < PlayerCount() && Players[Index] == Listed[Index])
      return *Planar[Index];
    return GetPlayer2D(Index);
  };
  for (int32_t I = 0; I + 1 < N; ++I) {
    for (int32_t J = I + 1; J < N; ++J) {
      TPlayer2D& A = Player2D(I);
      TPlayer2D& B = Player2D(J);
      // Boxes that only touch still go on to the outline test.
      if (B.Right() < A.Left() || B.Left() > A.Right() || B.Bottom() < A.Top() ||
          B.Top() > A.Bottom())
        continue;
      const bool HitA = A.CollidesWith(B);
      const bool HitB = !HitA && B.CollidesWith(A);
      if (!HitA && !HitB) continue;

      // The normal points from A to B. Coinciding centres have none: push along A's heading,
      // so that the pair still comes apart and no speed or position becomes NaN.
      const double Dx = B.PosX() - A.PosX();
      const double Dy = B.PosY() - A.PosY();
      const double D = std::sqrt(Dx * Dx + Dy * Dy);
      double Nx;
      double Ny;
      if (D > 0) {
        Nx = Dx / D;
        Ny = Dy / D;
      } else {
        Nx = std::cos(A.Angle());
        Ny = std::sin(A.Angle());
      }

      // Only an approach along the normal is exchanged.
      const double K = std::max(0.0, (A.VelX() - B.VelX()) * Nx + (A.VelY() - B.VelY()) * Ny);
      A.SetVelX(A.VelX() - 0.45 * Nx * K);
      A.SetVelY(A.VelY() - 0.45 * Ny * K);
      B.SetVelX(B.VelX() + 0.45 * Nx * K);
      B.SetVelY(B.VelY() + 0.45 * Ny * K);

      // A simulated hit keeps at most 0.8 of the future's weight, none from a speed of 30 on.
      const double F = std::min(0.8, std::max(0.0, 1 - K / 30));
      if (A.Simulating) {
        A.State().ScoreFactor *= F;
        B.State().ScoreFactor *= F;
      }

      // At most four 2-pixel pushes each, leaving the trace points alone.
      for (int32_t Push = 0; Push < 4; ++Push) {
        A.MoveBy(false, true, -2 * Nx, -2 * Ny, 0);
        B.MoveBy(false, true, 2 * Nx, 2 * Ny, 0);
        if (HitA && !A.CollidesWith(B)) break;
        if (HitB && !B.CollidesWith(A)) break;
      }
    }
  }
}
