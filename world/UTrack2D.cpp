#include "world/UTrack2D.h"

#include <algorithm>
#include <cmath>

#include "agents/UPairPush.h"
#include "agents/UPlayer2D.h"
#include "decision/UBase.h"
#include "decision/USinCos.h"

namespace {

/// Two players of the collision pass as the pair push sees them. At debug level Collisions the
/// tests let the window's handlers run, which may take either player off the list (and destroy
/// it): Listed then ends the pass without touching them.
struct TPlayerPair {
  TTrack2D& Track;
  TPlayer2D* P[2];
  bool Drawn;
  bool Hits(int32_t Which) { return P[Which]->CollidesWith(*P[1 - Which]); }
  bool Listed() const { return !Drawn || (Track.HasPlayer(P[0]) && Track.HasPlayer(P[1])); }
  double X(int32_t W) const { return P[W]->PosX(); }
  double Y(int32_t W) const { return P[W]->PosY(); }
  double VX(int32_t W) const { return P[W]->VelX(); }
  double VY(int32_t W) const { return P[W]->VelY(); }
  void SetVel(int32_t W, double AVX, double AVY) {
    P[W]->SetVelX(AVX);
    P[W]->SetVelY(AVY);
  }
  void Heading(double& Cos, double& Sin) const { KartMath::SinCos(P[0]->Angle(), Cos, Sin); }
  void Weigh(double F) {
    if (!P[0]->Simulating) return;
    P[0]->State().ScoreFactor *= F;
    P[1]->State().ScoreFactor *= F;
  }
  void MoveBy(int32_t W, double DX, double DY) { P[W]->MoveBy(false, true, DX, DY, 0); }
};

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
  LineValid = false;
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
  LineValid = false;
}

std::unique_ptr<TTrack> TTrack2D::NewThinkingCopy() const { return std::make_unique<TTrack2D>(); }

void TTrack2D::CopyCircuitTo(TTrack& ACopy, TPicture* Canvas) const {
  auto& Copy = static_cast<TTrack2D&>(ACopy);
  // The road is read on every sub-step: each worker keeps its own, in its own cache lines.
  Copy.OffTrackMap = OffTrackMap;
  Copy.Friction = Friction;
  Copy.SideFriction = SideFriction;
  Copy.Progress = Progress;
  Copy.Loop = Loop;
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

void TTrack2D::PrepareMove() {
  if (!RaceDirection || PlayerCount() == 0 || !Planar[0]) {
    Progress.clear();
    Loop = 0;
    return;
  }
  double X, Y, Angle;
  StartLineOf(*Planar[0], X, Y, Angle);
  if (LineValid && X == LineX && Y == LineY && Angle == LineAngle && !Progress.empty()) return;
  Line.Build(*this, X, Y, Angle);
  LineValid = true;
  LineX = X;
  LineY = Y;
  LineAngle = Angle;
  Progress = Line.Distances();
  Loop = Line.Loop();
  if (!Line.HasLine()) Progress.clear();
}

void TTrack2D::PlayersChanged() {
  Planar.clear();
  for (TPlayer* P : Players()) Planar.push_back(TPlayer2D::AsPlayer2D(P));
}

void TTrack2D::ResolveCollisions() {
  // The broad phase gives the pairs the pairwise loop would work on, in its order. Drawn tests
  // let the window's handlers run, which may move any player: those keep the pairwise loop.
  const int32_t N = PlayerCount();
  if (N < 2) return;
  bool Sorted = true;
  for (int32_t I = 0; Sorted && I < N; ++I)
    Sorted = Planar[I] && Planar[I]->DebugLevel != TDebugLevel::Collisions;
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
      if (!KartCollision::BoxesTouch<TTrack2D>(A.PosX(), A.PosY(), A.GetSize(), B.PosX(), B.PosY(),
                                               B.GetSize()))
        continue;
      if (!Separate(A, B)) return;
    }
  }
}

bool TTrack2D::Separate(TPlayer2D& A, TPlayer2D& B) {
  const bool Drawn =
      A.DebugLevel == TDebugLevel::Collisions || B.DebugLevel == TDebugLevel::Collisions;
  TPlayerPair Pair{*this, {&A, &B}, Drawn};
  return KartCollision::PushApart(Pair);
}
