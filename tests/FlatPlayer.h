#pragma once
// A player the circuit refuses, for the world's and the window's tests.

#include "agents/UPlayer.h"

/// A player that is not a planar body: the circuit refuses it when collisions are checked.
class TFlatPlayer : public TPlayer {
 public:
  void UpdateShape() override {}
  void DrawTrace() override {}
  void DrawFuture(int32_t) override {}
  void Advance(int32_t) override {}
  bool CollidesWith(TPlayer&) override { return false; }
};
