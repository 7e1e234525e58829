#include "world/UTrack2D.h"

#include <algorithm>
#include <cmath>

#include "agents/UPlayer2D.h"
#include "decision/UBase.h"
#include "decision/USinCos.h"

namespace {

// How colliding planar players bounce (pixels, px/s).
constexpr double BounceShare = 0.45;  ///< of the closing speed taken from each, along the normal
constexpr double HitScoreKept = 0.8;  ///< most of a simulated future's weight kept after a hit
constexpr double HitSpeedFatal = 30;  ///< closing speed from which a hit keeps no weight
constexpr double PushPx = 2;          ///< each push apart, per player
constexpr int32_t MaxPushes = 4;      ///< pushes at most per collision

}  // namespace

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

void TTrack2D::UpdateOffTrack(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  if (!Background) return;
  const int32_t Left = std::max(0, std::min(X1, X2));
  const int32_t Right = std::min(Width - 1, std::max(X1, X2));
  const int32_t Top = std::max(0, std::min(Y1, Y2));
  const int32_t Bottom = std::min(Height - 1, std::max(Y1, Y2));
  for (int32_t X = Left; X <= Right; ++X)
    for (int32_t Y = Top; Y <= Bottom; ++Y)
      OffTrackMap[static_cast<size_t>(X) * Height + Y] = (Background->Pixel(X, Y) & 0xFFFFFF) == 0;
}

std::unique_ptr<TTrack> TTrack2D::NewThinkingCopy() const { return std::make_unique<TTrack2D>(); }

void TTrack2D::CopyCircuitTo(TTrack& ACopy, TPicture* Canvas) const {
  auto& Copy = static_cast<TTrack2D&>(ACopy);
  // The road is read on every sub-step: each worker keeps its own, in its own cache lines.
  Copy.OffTrackMap = OffTrackMap;
  Copy.Friction = Friction;
  Copy.SideFriction = SideFriction;
  Copy.Width = Width;
  Copy.Height = Height;
  Copy.Image = Canvas;
}

void TTrack2D::CleanImage() {
  if (Image && Background) Image->Assign(*Background);
}

TPlayer2D& TTrack2D::GetPlayer2D(int32_t Index) const {
  TPlayer2D* P = TPlayer2D::AsPlayer2D(&GetPlayer(Index));
  if (!P) throw EModelError("Track2D contains a player that is not a Player2D.");
  return *P;
}

void TTrack2D::PlayersChanged() {
  Planar.clear();
  for (TPlayer* P : Players) {
    TPlayer2D* P2D = TPlayer2D::AsPlayer2D(P);
    if (P2D) P2D->Circuit = this;
    Planar.push_back(P2D);
  }
}

TPlayer2D& TTrack2D::PlanarAt(int32_t Index) const {
  // Players is open to everyone: an entry changed behind AddPlayer's back is cast afresh.
  TPlayer2D* P = static_cast<size_t>(Index) < Planar.size() ? Planar[Index] : nullptr;
  return P && P == Players[Index] ? *P : GetPlayer2D(Index);
}

void TTrack2D::ResolveCollisions() {
  // The broad phase gives the pairs the pairwise loop would work on, in its order. Drawn tests
  // let the window's handlers run, which may move any player: those keep the pairwise loop.
  const int32_t N = PlayerCount();
  if (N < 2) return;
  bool Sorted = static_cast<int32_t>(Planar.size()) == N;
  for (int32_t I = 0; Sorted && I < N; ++I)
    Sorted =
        Planar[I] && Planar[I] == Players[I] && Planar[I]->DebugLevel != TDebugLevel::Collisions;
  if (!Sorted || !Broad.Start(Planar)) return ResolveAllPairs(0, 1);
  int32_t I = -1, J = -1;
  while (Broad.Next(I, J)) {
    if (!Separate(*Planar[I], *Planar[J])) return;
    if (!Broad.Update(I, J)) return ResolveAllPairs(I, J + 1);
  }
}

void TTrack2D::ResolveAllPairs(int32_t I0, int32_t J0) {
  for (int32_t I = I0; I + 1 < PlayerCount(); ++I) {
    for (int32_t J = I == I0 ? J0 : I + 1; J < PlayerCount(); ++J) {
      TPlayer2D& A = PlanarAt(I);
      TPlayer2D& B = PlanarAt(J);
      // Boxes that only touch still go on to the outline test.
      if (B.Right() < A.Left() || B.Left() > A.Right() || B.Bottom() < A.Top() ||
          B.Top() > A.Bottom())
        continue;
      if (!Separate(A, B)) return;
    }
  }
}

bool TTrack2D::Separate(TPlayer2D& A, TPlayer2D& B) {
  // At debug level Collisions the tests let the window's handlers run, which may take either
  // player off the list (and destroy it): then the pass ends without touching them.
  const bool Drawn =
      A.DebugLevel == TDebugLevel::Collisions || B.DebugLevel == TDebugLevel::Collisions;
  auto Listed = [&] { return !Drawn || (HasPlayer(&A) && HasPlayer(&B)); };
  const bool HitA = A.CollidesWith(B);
  if (!Listed()) return false;
  const bool HitB = !HitA && B.CollidesWith(A);
  if (!Listed()) return false;
  if (!HitA && !HitB) return true;

  // The normal points from A to B. Coinciding centres have none: push along A's heading, so
  // that the pair still comes apart and no speed or position becomes NaN.
  const double Dx = B.PosX() - A.PosX();
  const double Dy = B.PosY() - A.PosY();
  const double D = std::sqrt(Dx * Dx + Dy * Dy);
  const double Nx = D > 0 ? Dx / D : KartMath::Cos(A.Angle());
  const double Ny = D > 0 ? Dy / D : KartMath::Sin(A.Angle());

  // Only an approach along the normal is exchanged.
  const double K = std::max(0.0, (A.VelX() - B.VelX()) * Nx + (A.VelY() - B.VelY()) * Ny);
  A.SetVelX(A.VelX() - BounceShare * Nx * K);
  A.SetVelY(A.VelY() - BounceShare * Ny * K);
  B.SetVelX(B.VelX() + BounceShare * Nx * K);
  B.SetVelY(B.VelY() + BounceShare * Ny * K);

  // A simulated hit keeps at most HitScoreKept of the future's weight, none from a closing
  // speed of HitSpeedFatal on.
  const double F = std::min(HitScoreKept, std::max(0.0, 1 - K / HitSpeedFatal));
  if (A.Simulating) {
    A.State().ScoreFactor *= F;
    B.State().ScoreFactor *= F;
  }

  // A few small pushes each, leaving the trace points alone.
  for (int32_t Push = 0; Push < MaxPushes; ++Push) {
    A.MoveBy(false, true, -PushPx * Nx, -PushPx * Ny, 0);
    B.MoveBy(false, true, PushPx * Nx, PushPx * Ny, 0);
    if (HitA && !A.CollidesWith(B)) break;
    if (!Listed()) return false;
    if (HitB && !B.CollidesWith(A)) break;
    if (!Listed()) return false;
  }
  return true;
}
