#pragma once
// A player in the plane of the circuit picture: position, heading, velocity and outline.

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "agents/UPlayer.h"

class TTrack2D;

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
  /// Whether a vertex of this outline lies inside Other's (taken as convex).
  bool CollidesWith(TPlayer& Other) override;

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

  /// Every outline point strictly inside the picture (stops at the first that is not).
  bool ShapeInBounds();
  /// Every outline point on the road (stops at the first that is not).
  bool ShapeOnTrack();

  /// Player as a planar body, or null when it is not one. The answer of dynamic_cast is kept
  /// per dynamic type: the collision pass asks for every pair of players on every sub-step.
  static TPlayer2D* AsPlayer2D(TPlayer* Player);

 protected:
  /// Recomputes Shape from the active state with the given angle factors (times pi).
  void BuildShape(const double* AngleFactors, int32_t Count);
  /// The track as a planar circuit (the player must be on one to test its outline).
  TTrack2D& Track2D() const;
  /// cos and sin of angle A, worked out once per value of A: the outline and the kart's time
  /// step share those of "Angle".
  void CosSin(double A, double& Cos, double& Sin) {
    // Keyed on the bits: -0 and +0 have sines of different sign.
    if (std::bit_cast<uint64_t>(A) != TrigAngleBits) {
      TrigAngleBits = std::bit_cast<uint64_t>(A);
      TrigCos = std::cos(A);
      TrigSin = std::sin(A);
    }
    Cos = TrigCos;
    Sin = TrigSin;
  }

 private:
  void DefineOwnParams();

  uint64_t TrigAngleBits = 0;  // the angle +0, whose cos and sin are exactly 1 and +0
  double TrigCos = 1;
  double TrigSin = 0;
  // cos and sin of the outline's angle offsets (factor times pi), for the angle sum.
  static constexpr int32_t MaxOffsets = 8;
  int32_t OffsetCount = 0;
  double OffsetFactor[MaxOffsets] = {};
  double OffsetCos[MaxOffsets] = {};
  double OffsetSin[MaxOffsets] = {};

  // Track2D() runs on every sub-step: the type check is made once per track, not per call.
  mutable const TTrack* CheckedTrack = nullptr;
  mutable TTrack2D* CheckedTrack2D = nullptr;
};
