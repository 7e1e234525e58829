#pragma once
// The circuit as a picture: pure black is off the road, every other colour is road.

#include <cstdint>
#include <memory>
#include <vector>

#include "world/UBroadPhase.h"
#include "world/UTrack.h"

class TPlayer2D;

/// The concrete track: off-road map, friction coefficients, pixel tests, clean picture and
/// collisions between planar players.
class TTrack2D : public TTrack {
 public:
  std::vector<uint8_t> OffTrackMap;  ///< 1 where pixel (x, y) was pure black; index x * Height + y
  double Friction = 0.015;
  double SideFriction = 0.2;
  TPicture* Image = nullptr;  ///< the displayed picture; not owned
  int32_t Width = 0;
  int32_t Height = 0;
  std::unique_ptr<TPicture> Background;  ///< the circuit as it was at the last SetImage

  TTrack2D();
  ~TTrack2D() override;

  void ResolveCollisions() override;
  void CleanImage() override;
  bool CanThinkOnCopies() const override { return true; }
  std::unique_ptr<TTrack> NewThinkingCopy() const override;
  /// The road, its frictions and size; Canvas stands in for the picture.
  void CopyCircuitTo(TTrack& Copy, TPicture* Canvas) const override;
  TPicture* Picture() const override { return Image; }

  /// Takes the circuit from the picture: reads the off-road map once, keeps a clean copy.
  void SetImage(TPicture* AImage);
  /// Reads the off-road map again from Background inside the box (both corners included,
  /// clipped to the picture): the circuit was painted on, and karts drive by it from the next
  /// move on.
  void UpdateOffTrack(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  TPlayer2D& GetPlayer2D(int32_t Index) const;
  /// 0 < X < Width and 0 < Y < Height.
  bool InBounds(int32_t X, int32_t Y) const { return 0 < X && X < Width && 0 < Y && Y < Height; }
  bool IsOnTrack(int32_t X, int32_t Y) const {
    return InBounds(X, Y) && !OffTrackMap[static_cast<size_t>(X) * Height + Y];
  }

 protected:
  /// Casts every player once, so that the collision pass and the players' pixel tests need no
  /// cast per sub-step.
  void PlayersChanged() override;

 private:
  std::vector<TPlayer2D*> Planar;  ///< Players as planar bodies, null where one is not

  /// Player Index as a planar body (raises for one that is not).
  TPlayer2D& PlanarAt(int32_t Index) const;

  TBroadPhase Broad;  ///< the pairs with touching boxes, for the collision pass

  /// The collision pass over every pair, from pair (I0, J0) on.
  void ResolveAllPairs(int32_t I0, int32_t J0);
  /// Pushes a colliding pair apart; false when the pair left the list while it was tested.
  bool Separate(TPlayer2D& A, TPlayer2D& B);
};
