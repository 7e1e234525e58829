// The bitmap circuit: the off-road map, the pixel tests, the clean picture, and collisions
// between planar players.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

#include "WorldTestKit.h"

TEST(Track2D, OffRoadIsPureBlackReadOnceAtSetImage) {
  TTrack2D Track;
  EXPECT_FALSE(Track.IsOnTrack(1, 1));  // no picture yet: nothing is road
  Track.CleanImage();                   // and nothing to clean

  TQtPicture Picture(800, 600, 0x3DCEFF);
  for (int32_t Y = 0; Y < 600; Y += 7)  // a speckle of road shades
    Picture.Image().setPixel((Y * 13) % 800, Y, qRgb(250, 200 + Y % 7, 60));
  Picture.Image().setPixel(10, 20, qRgb(0, 0, 0));
  Picture.Image().setPixel(11, 20, qRgb(0, 0, 1));
  Picture.Image().setPixel(12, 20, qRgb(1, 0, 0));
  const QImage Original = Picture.Image().copy();
  Track.SetImage(&Picture);
  EXPECT_EQ(Track.Width, 800);
  EXPECT_EQ(Track.Height, 600);
  EXPECT_FALSE(Track.IsOnTrack(10, 20));
  EXPECT_TRUE(Track.IsOnTrack(11, 20));
  EXPECT_TRUE(Track.IsOnTrack(12, 20));

  // Both ends excluded.
  for (auto [X, Y] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{800, 10}, std::pair{10, 600}})
    EXPECT_FALSE(Track.InBounds(X, Y) || Track.IsOnTrack(X, Y)) << X << "," << Y;
  EXPECT_TRUE(Track.InBounds(1, 1));
  EXPECT_TRUE(Track.IsOnTrack(799, 599));

  // Drawing later changes neither the map nor the clean copy, which comes back exactly.
  TWalker W;
  Track.AddPlayer(W);
  W.SetPosition(60, 40, 1);
  W.Draw();
  Picture.SetBrushColor(clBlack);
  Picture.Rectangle(300, 300, 340, 340);
  EXPECT_TRUE(Track.IsOnTrack(320, 320));
  EXPECT_NE(Picture.Image(), Original);
  Track.CleanImage();
  EXPECT_EQ(Picture.Image(), Original);

  // A new circuit replaces everything, size included.
  TQtPicture Other(50, 40, clBlack);
  Track.SetImage(&Other);
  EXPECT_FALSE(Track.IsOnTrack(20, 20));
  EXPECT_FALSE(Track.InBounds(60, 20));
}

TEST(Track2D, GetPlayer2DRefusesOtherPlayers) {
  TTrack2D Track;
  TWalker W;
  TPointPlayer Point;
  Track.AddPlayer(W);
  EXPECT_EQ(&Track.GetPlayer2D(0), &W);
  EXPECT_THROW(Track.GetPlayer2D(1), EModelError);

  // Alone, a stranger is never looked at; with a partner the pass names it.
  Track.RemovePlayer(&W, false);
  Track.AddPlayer(Point);
  Track.ResolveCollisions();
  Track.AddPlayer(W);
  try {
    Track.ResolveCollisions();
    FAIL() << "no error";
  } catch (const EModelError& E) {
    EXPECT_STREQ(E.what(), "Track2D contains a player that is not a Player2D.");
  }
}

namespace {

// Two walkers on a road track, placed by the test.
struct TPair {
  TCountingTrack Track;
  std::unique_ptr<TQtPicture> Picture = RoadPicture(300, 300);
  TWalker A, B;
  TPair() {
    Track.SetImage(Picture.get());
    Track.AddPlayer(A);
    Track.AddPlayer(B);
  }
  void Place(double AX, double AY, double AAngle, double BX, double BY, double BAngle) {
    A.SetPosition(AX, AY, AAngle);
    B.SetPosition(BX, BY, BAngle);
  }
  void Simulate() {
    A.SetSimulating(true);
    B.SetSimulating(true);
  }
};

double Moved(const TWalker& W, double X, double Y) {
  return std::hypot(W.PosX() - X, W.PosY() - Y);
}

}  // namespace

TEST(Track2D, HitsExchangeApproachSpeedAndCostSimulatedFutures) {
  struct TCase {
    bool Simulated;
    double AVel, BVel, AAfter, BAfter, Factor;
  };
  const TCase Cases[] = {
      {false, 10, 0, 5.5, 4.5, 1},       // real moves pay nothing
      {true, 10, 0, 5.5, 4.5, 2.0 / 3},  // approach 10: 4.5 goes from A to B
      {true, 20, -10, 6.5, 3.5, 0},      // approach 30 or more: nothing of the future left
      {true, -3, 2, -3, 2, 0.8},         // parting: speeds kept, still 0.8
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.AVel) + " against " + std::to_string(C.BVel));
    TPair P;
    P.Place(100, 100, 0, 108, 100, 0);  // A's nose (106, 100) is inside B
    if (C.Simulated) P.Simulate();
    P.A.SetVelX(C.AVel);
    P.B.SetVelX(C.BVel);
    P.Track.ResolveCollisions();
    EXPECT_DOUBLE_EQ(P.A.VelX(), C.AAfter);
    EXPECT_DOUBLE_EQ(P.B.VelX(), C.BAfter);
    EXPECT_EQ(P.A.VelY(), 0);
    EXPECT_DOUBLE_EQ(P.A.State().ScoreFactor, C.Factor);
    EXPECT_DOUBLE_EQ(P.B.State().ScoreFactor, C.Factor);
    EXPECT_EQ(P.A.RealState->ScoreFactor, 1);

    // Pushed apart along the normal in 2-pixel steps, trace points untouched, until A's nose
    // is out; one push less would still overlap.
    EXPECT_FALSE(P.A.CollidesWith(P.B));
    const double Push = 100 - P.A.PosX();
    EXPECT_EQ(P.B.PosX() - 108, Push);
    EXPECT_TRUE(Push == 2 || Push == 4 || Push == 6 || Push == 8) << Push;
    EXPECT_EQ(P.A.PrevPosX(), 100);
    EXPECT_EQ(P.B.PrevPosX(), 108);
    P.A.MoveBy(false, true, 2, 0, 0);
    P.B.MoveBy(false, true, -2, 0, 0);
    EXPECT_TRUE(P.A.CollidesWith(P.B));
  }
}

TEST(Track2D, SeparationStopsAtEightPixelsAndUsesTheSideThatHit) {
  // Deep overlap: four pushes each and no more, even though they still overlap.
  TPair Deep;
  Deep.Place(100, 100, 0, 101, 100, 0);
  Deep.A.SetSize(20);
  Deep.B.SetSize(20);
  Deep.Track.ResolveCollisions();
  EXPECT_DOUBLE_EQ(Moved(Deep.A, 100, 100), 8);
  EXPECT_DOUBLE_EQ(Moved(Deep.B, 101, 100), 8);
  EXPECT_DOUBLE_EQ(Deep.A.PosX(), 92);
  EXPECT_TRUE(Deep.A.CollidesWith(Deep.B));

  // Only B's nose pokes into A: B's test finds it, and B's test ends the separation.
  TPair Poke;
  Poke.Place(100, 100, 0, 98, 92, std::numbers::pi / 2);
  ASSERT_FALSE(Poke.A.CollidesWith(Poke.B));
  ASSERT_TRUE(Poke.B.CollidesWith(Poke.A));
  Poke.Track.ResolveCollisions();
  EXPECT_FALSE(Poke.B.CollidesWith(Poke.A));
  const double Step = Moved(Poke.B, 98, 92);
  EXPECT_GT(Step, 1.99);
  EXPECT_LE(Step, 8.0 + 1e-9);
  // Along the line from A's centre to B's.
  const double Nx = -2 / std::hypot(2.0, 8.0), Ny = -8 / std::hypot(2.0, 8.0);
  EXPECT_NEAR((Poke.B.PosX() - 98) / Step, Nx, 1e-12);
  EXPECT_NEAR((Poke.B.PosY() - 92) / Step, Ny, 1e-12);
}

TEST(Track2D, CoincidingCentresArePushedApartAlongAsHeading) {
  for (double Heading : {0.0, 2.0}) {
    TPair P;
    P.Place(150, 150, Heading, 150, 150, Heading);
    P.B.SetSize(8);  // A's nose lies inside B's outline
    P.Simulate();
    P.A.SetVelX(5);
    P.B.SetVelY(-5);
    P.Track.ResolveCollisions();
    for (double V : {P.A.PosX(), P.A.PosY(), P.B.PosX(), P.B.PosY(), P.A.VelX(), P.A.VelY(),
                     P.B.VelX(), P.B.VelY(), P.A.State().ScoreFactor})
      EXPECT_TRUE(std::isfinite(V));
    EXPECT_GT(std::hypot(P.B.PosX() - P.A.PosX(), P.B.PosY() - P.A.PosY()), 3.99);
    // B ends ahead of A along A's heading.
    EXPECT_GT((P.B.PosX() - P.A.PosX()) * std::cos(Heading) +
                  (P.B.PosY() - P.A.PosY()) * std::sin(Heading),
              3.99);
  }
}

TEST(Track2D, BoxesDecideWhoIsTestedAtAll) {
  // Boxes that only touch (A's right edge 106 = B's left edge) go on to the outline test.
  TPair Touching;
  Touching.Place(100, 100, 0, 112, 100, 0);
  Touching.Track.ResolveCollisions();
  EXPECT_GT(Touching.A.CollisionTests + Touching.B.CollisionTests, 0);
  EXPECT_EQ(Touching.A.PosX(), 100);  // but the outlines do not meet
  EXPECT_EQ(Touching.B.PosX(), 112);

  // One pixel apart, or apart vertically, nobody is tested.
  for (auto [BX, BY] : {std::pair{113.0, 100.0}, std::pair{100.0, 113.0}}) {
    TPair Apart;
    Apart.Place(100, 100, 0, BX, BY, 0);
    Apart.Track.ResolveCollisions();
    EXPECT_EQ(Apart.A.CollisionTests + Apart.B.CollisionTests, 0);
  }

  // One player or none: nothing.
  TCountingTrack Lonely;
  Lonely.ResolveCollisions();
  TWalker W;
  Lonely.AddPlayer(W);
  Lonely.ResolveCollisions();
  EXPECT_EQ(W.CollisionTests, 0);
  EXPECT_EQ(W.PosX(), 10);
}

TEST(Track2D, DrawnCollisionTestStopsWhenAKartLeavesTheListDuringMessages) {
  // At debug level Collisions the window's handlers run between the marks; one of them may
  // remove and destroy a kart of the pair under test (the sanitizers see any later use).
  TTrack2D Track;
  auto Picture = RoadPicture(300, 300);
  Track.SetImage(Picture.get());
  TWalker A;
  auto B = std::make_unique<TWalker>();
  Track.AddPlayer(A);
  Track.AddPlayer(*B);
  A.SetPosition(100, 100, 0);
  B->SetPosition(108, 100, 0);  // A's nose is inside B
  A.DebugLevel = TDebugLevel::Collisions;
  struct TRemovingPump : TMessagePump {
    std::function<void()> Handler;
    void ProcessMessages() override {
      if (auto H = std::exchange(Handler, nullptr)) H();
    }
  } Pump;
  Pump.Handler = [&] {
    Track.RemovePlayer(B.get(), false);
    B.reset();
  };
  Track.MessagePump = &Pump;
  Track.ResolveCollisions();
  EXPECT_EQ(Track.PlayerCount(), 1);
  EXPECT_EQ(A.PosX(), 100);  // no push for a pair that is gone
}
