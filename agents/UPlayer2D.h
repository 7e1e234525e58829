#pragma once
// A player in the plane of the circuit picture: position, heading, velocity and outline.

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "agents/UArena.h"
#include "agents/UOutline.h"
#include "agents/UPlayer.h"
#include "agents/URoad.h"
#include "decision/USinCos.h"

/// Adds "PosX", "PosY" (the macro parameters), "Angle", "VelX", "VelY" and a 3-point outline.
/// Positions in pixels, x right and y down; angles in radians towards +y; speeds in px/s.
class TPlayer2D : public TPlayer {
 public:
  int32_t PosXIndex = 0;
  int32_t PosYIndex = 0;
  int32_t AngleIndex = 0;
  int32_t VelXIndex = 0;
  int32_t VelYIndex = 0;
  std::vector<TPoint> Shape;  ///< the outline in picture pixels

  /// At (10, 10), angle 0.
  TPlayer2D();

  void UpdateShape() override;
  void DefineParams() override;
  void Draw() override;
  void DrawTrace() override;
  void DrawFuture(int32_t Index) override;
  /// Whether a vertex of this outline lies inside Other's (taken as convex); false for a player
  /// that is not planar. At debug level Collisions the test draws its working and lets the
  /// window show each mark; it gives up (false) as soon as either player has left the track.
  bool CollidesWith(TPlayer& Other) override;
  TPlayer2D* AsPlanar() override { return this; }

  double PosX() const { return State().Params[PosXIndex]->Value; }
  double PosY() const { return State().Params[PosYIndex]->Value; }
  double Angle() const { return State().Params[AngleIndex]->Value; }
  double VelX() const { return State().Params[VelXIndex]->Value; }
  double VelY() const { return State().Params[VelYIndex]->Value; }
  void SetPosX(double X) {
    State().Params[PosXIndex]->SetValue(X);
    ShapeDirty = true;
  }
  void SetPosY(double Y) {
    State().Params[PosYIndex]->SetValue(Y);
    ShapeDirty = true;
  }
  void SetAngle(double A) {
    State().Params[AngleIndex]->SetValue(A);
    ShapeDirty = true;
  }
  void SetVelX(double V) { State().Params[VelXIndex]->SetValue(V); }
  void SetVelY(double V) { State().Params[VelYIndex]->SetValue(V); }
  /// Where the player stood before the last write of its position.
  double PrevPosX() const { return State().Params[PosXIndex]->PrevValue; }
  double PrevPosY() const { return State().Params[PosYIndex]->PrevValue; }

  /// Places the player at rest and makes that its start.
  void SetPosition(double X, double Y, double AAngle);
  /// Shifts and turns; KeepPrevious leaves the recorded previous values alone; Redraw cleans
  /// and redraws the track picture.
  void MoveBy(bool Redraw, bool KeepPrevious, double DX, double DY, double DAngle);

  // The bounding box used by the collision pass.
  double Left() const { return PosX() - GetSize(); }
  double Right() const { return PosX() + GetSize(); }
  double Top() const { return PosY() - GetSize(); }
  double Bottom() const { return PosY() + GetSize(); }

  /// Where the outline stands: every point strictly inside the picture, every point on the road.
  struct TOutlineTest {
    bool InBounds;
    bool OnTrack;
  };
  TOutlineTest TestOutline();
  bool ShapeInBounds() { return TestOutline().InBounds; }
  bool ShapeOnTrack() { return TestOutline().OnTrack; }

  /// Player as a planar body, or null when it is not one.
  static TPlayer2D* AsPlayer2D(TPlayer* Player);

 protected:
  /// Recomputes Shape from the active state with the given angle factors (times pi).
  void BuildShape(const double* AngleFactors, int32_t Count);
  /// The road of the track (the player must be on a circuit to test its outline: raises).
  const TRoad& Road() const;
  /// The picture of the track to draw on, or null.
  TPicture* Canvas() const { return Track ? Track->Picture() : nullptr; }
  /// cos and sin of angle A, worked out once per value of A: the outline and the kart's time
  /// step share those of "Angle".
  void CosSin(double A, double& Cos, double& Sin) {
    // Keyed on the bits: -0 and +0 have sines of different sign.
    if (std::bit_cast<uint64_t>(A) != TrigAngleBits) {
      TrigAngleBits = std::bit_cast<uint64_t>(A);
      KartMath::SinCos(A, TrigCos, TrigSin);
    }
    Cos = TrigCos;
    Sin = TrigSin;
  }

 private:
  void DefineOwnParams();

  uint64_t TrigAngleBits = 0;  // the angle +0, whose cos and sin are exactly 1 and +0
  double TrigCos = 1;
  double TrigSin = 0;
  // The outline's angle offsets with their cos and sin, for the angle sum.
  KartShape::TOutlineOffsets Offsets;

  bool CollidesDrawn(TPlayer2D& Other);
};
