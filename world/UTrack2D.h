#pragma once
// The circuit as a picture: pure black is off the road, every other colour is road.

#include <cstdint>
#include <memory>
#include <vector>

#include "agents/URoad.h"
#include "world/UBroadPhase.h"
#include "world/ULapCounter.h"
#include "world/UTrack.h"

class TPlayer2D;

/// The concrete track: the road (off-road map, friction coefficients, pixel tests, which its
/// players read), the clean picture and collisions between planar players.
class TTrack2D : public TTrack, public TRoad {
 public:
  TPicture* Image = nullptr;             ///< the displayed picture; not owned
  std::unique_ptr<TPicture> Background;  ///< the circuit as it was at the last SetImage
  /// Futures score their progress round the road in the lap direction instead of their path
  /// length, where the road has a lap line (through the first player's start mark).
  bool RaceDirection = false;

  TTrack2D();
  ~TTrack2D() override;

  void ResolveCollisions() override;
  void CleanImage() override;
  bool CanThinkOnCopies() const override { return true; }
  std::unique_ptr<TTrack> NewThinkingCopy() const override;
  /// The road, its frictions and size; Canvas stands in for the picture.
  void CopyCircuitTo(TTrack& Copy, TPicture* Canvas) const override;
  TPicture* Picture() const override { return Image; }
  const TRoad* Road() const override { return this; }

  /// Takes the circuit from the picture: reads the off-road map once, keeps a clean copy.
  void SetImage(TPicture* AImage);
  /// Reads the off-road map again from Background inside the box (both corners included,
  /// clipped to the picture): the circuit was painted on, and karts drive by it from the next
  /// move on.
  void UpdateOffTrack(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  TPlayer2D& GetPlayer2D(int32_t Index) const;

 protected:
  /// Casts every player once, so that the collision pass and the players' pixel tests need no
  /// cast per sub-step.
  void PlayersChanged() override;
  /// Racing the lap direction: measures the road round from the lap line when the line moved
  /// or the road changed.
  void PrepareMove() override;

 private:
  std::vector<TPlayer2D*> Planar;  ///< Players as planar bodies, null where one is not

  /// Player Index as a planar body (raises for one that is not).
  TPlayer2D& PlanarAt(int32_t Index) const {
    return Planar[Index] ? *Planar[Index] : GetPlayer2D(Index);
  }

  TBroadPhase Broad;  ///< the pairs with touching boxes, for the collision pass

  TLapCounter Line;  ///< the lap line the karts race by
  bool LineValid = false;
  double LineX = 0, LineY = 0, LineAngle = 0;  ///< where Line was built from

  /// The collision pass over every pair, from pair (I0, J0) on.
  void ResolveAllPairs(int32_t I0, int32_t J0);
  /// Pushes a colliding pair apart; false when the pair left the list while it was tested.
  bool Separate(TPlayer2D& A, TPlayer2D& B);
};
