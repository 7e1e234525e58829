// Proof that it drives: one kart, nothing but its futures to guide it, on the built-in circuit.

#include <gtest/gtest.h>

#include <cmath>

#include "decision/UBase.h"
#include "tests/kart/KartWorld.h"
#include "io/UDefaultCircuit.h"

namespace {

struct TCheckpoint {
  const char* Name;
  double MinX, MaxX, MinY, MaxY;
  bool Contains(double X, double Y) const {
    return X >= MinX && X <= MaxX && Y >= MinY && Y <= MaxY;
  }
};

TEST(KartDrives, ASingleKartLeavesItsStartStaysOnTheRoadAndGoesRoundTheBends) {
  RandomSeed(20240607);
  TQtPicture Picture(DefaultCircuitImage());
  TTrack2D Track;
  Track.SetImage(&Picture);
  Track.Collisions = true;
  Track.FixedPasses = 200;  // the clock is never read: the run repeats exactly
  TKart Kart(200, 460, HalfPi);
  Track.AddPlayer(Kart);

  // Places along the lap, in driving order: beyond the tight left and the chicane, up the
  // right side, and back down out of the hairpin.
  const TCheckpoint Checkpoints[] = {
      {"bottom straight after the chicane", 480, 800, 470, 600},
      {"top of the right straight", 640, 800, 0, 250},
      {"out of the hairpin", 500, 640, 240, 600},
  };
  size_t Reached = 0;
  const int Moves = 350;
  double Distance = 0, Farthest = 0;
  int OnRoad = 0;
  for (int Move = 0; Move < Moves; ++Move) {
    const double X0 = Kart.PosX(), Y0 = Kart.PosY();
    Track.ThinkAndMove(100, 100);
    ASSERT_EQ(Track.LastPasses, 200);
    Distance += std::hypot(Kart.PosX() - X0, Kart.PosY() - Y0);
    Farthest = std::max(Farthest, std::hypot(Kart.PosX() - 200, Kart.PosY() - 460));
    if (Kart.ShapeOnTrack()) ++OnRoad;
    if (Reached < std::size(Checkpoints) && Checkpoints[Reached].Contains(Kart.PosX(), Kart.PosY()))
      ++Reached;
  }

  EXPECT_GT(Farthest, 300) << "it leaves its start";
  EXPECT_GE(OnRoad, Moves * 9 / 10) << "it keeps to the road";
  ASSERT_EQ(Reached, std::size(Checkpoints))
      << "stuck before " << Checkpoints[std::min(Reached, std::size(Checkpoints) - 1)].Name
      << "; ended at " << Kart.PosX() << ", " << Kart.PosY();
  // About 1300 pixels of lap lie between the start and the last checkpoint; no kart goes
  // faster than the terminal speed of 45.74 px/s.
  EXPECT_GT(Distance, 1100);
  EXPECT_LT(Distance, Moves * 0.1 * 45.74 * 1.02);
}

}  // namespace
