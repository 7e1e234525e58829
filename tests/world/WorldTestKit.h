#pragma once
// Small stand-ins for the parts of the program that the world's tests do not need for real:
// a planar player with a trivial time step, a track that counts its collision passes, and
// recorders for the debug text and the message pump.

#include <memory>
#include <string>
#include <vector>

#include "agents/UPlayer2D.h"
#include "tests/FlatPlayer.h"
#include "io/UPicture.h"
#include "world/UTrack2D.h"

/// A planar body that drives straight along x at its one decision "Push" (px/s) and gains a
/// fixed score per step; it counts what the step asks of it.
class TWalker : public TPlayer2D {
 public:
  double ScorePerStep = 1;
  int32_t SimulatedSteps = 0;  ///< Advance calls while simulating
  int32_t RealSteps = 0;
  std::vector<int32_t> TraceAt;  ///< simulated Advance count at each DrawTrace
  int32_t FuturesDrawn = 0;
  int32_t CollisionTests = 0;
  int32_t PushIndex = 0;

  TWalker() {
    State().AddParam(std::make_unique<TStateParam>("Push", pkFree, 0, 5, -5, 5));
    PushIndex = State().IndexOfName("Push");
    MarkStart();
  }

  double Push() const { return State().Params[PushIndex]->Value; }

  void Advance(int32_t TimeStepMs) override {
    (Simulating ? SimulatedSteps : RealSteps) += 1;
    SetPosX(PosX() + Push() * TimeStepMs / 1000.0);
    State().AddScore(ScorePerStep);
    SetInfoNumber(PosX());
  }
  void DrawTrace() override {
    TraceAt.push_back(SimulatedSteps);
    TPlayer2D::DrawTrace();
  }
  void DrawFuture(int32_t Index) override {
    ++FuturesDrawn;
    TPlayer2D::DrawFuture(Index);
  }
  bool CollidesWith(TPlayer& Other) override {
    ++CollisionTests;
    return TPlayer2D::CollidesWith(Other);
  }
  using TPlayer::SetInfoNumber;
};

/// A player that is not planar at all.
using TPointPlayer = TFlatPlayer;

class TCountingTrack : public TTrack2D {
 public:
  int32_t Resolves = 0;
  void ResolveCollisions() override {
    ++Resolves;
    TTrack2D::ResolveCollisions();
  }
};

class TTextRecorder : public TDebugText {
 public:
  std::vector<std::string> Lines;
  void Clear() override { Lines.clear(); }
  void SetText(const std::string& Text) override { Lines = {Text}; }
  void AddLine(const std::string& Line) override { Lines.push_back(Line); }
};

class TPumpCounter : public TMessagePump {
 public:
  int32_t Calls = 0;
  void ProcessMessages() override { ++Calls; }
};

/// A road picture of the given size: every pixel grey, no black.
inline std::unique_ptr<TQtPicture> RoadPicture(int32_t W = 200, int32_t H = 150) {
  return std::make_unique<TQtPicture>(W, H, 0x808080);
}
