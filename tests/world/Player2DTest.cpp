// The planar body: outline, position properties, moves, pixel tests against the circuit,
// drawing and the outline-against-outline test.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "WorldTestKit.h"

namespace {

std::vector<TPoint> Outline(TPlayer2D& P) {
  P.UpdateShape();
  return P.Shape;
}

// A body whose outline is whatever the test puts there.
class TFixedShape : public TWalker {
 public:
  explicit TFixedShape(std::vector<TPoint> Points) { Shape = std::move(Points); }
  void UpdateShape() override {}
};

// A track on a white picture of 200 x 200, a message pump attached.
struct TCanvasTrack {
  TCountingTrack Track;
  TPumpCounter Pump;
  std::unique_ptr<TQtPicture> Picture = std::make_unique<TQtPicture>(200, 200, clWhite);
  TCanvasTrack() {
    Track.SetImage(Picture.get());
    Track.MessagePump = &Pump;
  }
  TColor operator()(int32_t X, int32_t Y) const { return Picture->Pixel(X, Y); }
};

}  // namespace

TEST(Player2D, OutlineFollowsPositionAngleAndSizeLazily) {
  TWalker W;
  EXPECT_EQ(Outline(W), (std::vector<TPoint>{{16, 10}, {5, 14}, {5, 6}}));
  W.SetSize(8);
  EXPECT_EQ(Outline(W), (std::vector<TPoint>{{18, 10}, {4, 15}, {4, 5}}));

  // Speeds leave the outline alone; the heading rebuilds it at the next use.
  W.SetVelX(3);
  EXPECT_FALSE(W.ShapeDirty);
  W.SetAngle(std::numbers::pi / 2);
  EXPECT_EQ(Outline(W)[0], (TPoint{10, 18}));
  W.SetPosY(20.5);  // 28.5 rounds to the even 28
  EXPECT_EQ(Outline(W)[0], (TPoint{10, 28}));
  EXPECT_EQ(W.Top(), 12.5);
  EXPECT_EQ(W.Right(), 18);

  // Leaving a simulation rebuilds the outline from the real state.
  W.SetSimulating(true);
  W.SetPosX(50);
  EXPECT_EQ(Outline(W)[0].x, 50);
  W.SetSimulating(false);
  EXPECT_EQ(Outline(W)[0].x, 10);
}

TEST(Player2D, SetPositionMakesAStartAtRest) {
  TWalker W;
  W.SetVelX(4);
  W.SetPosition(200, 460, std::numbers::pi / 2);
  EXPECT_EQ(W.VelX(), 0);
  EXPECT_EQ(W.PrevPosX(), 200);
  EXPECT_EQ(W.PrevPosY(), 460);
  W.SetPosX(3);
  W.SetVelY(9);
  W.ResetToStart();
  EXPECT_EQ(W.PosX(), 200);
  EXPECT_EQ(W.PosY(), 460);
  EXPECT_EQ(W.VelY(), 0);
  EXPECT_NEAR(W.Angle(), std::numbers::pi / 2, 0.0005);
}

TEST(Player2D, MoveByRecordsThePreviousPositionOnlyWhenAsked) {
  TCanvasTrack C;
  TWalker W;
  W.SetPosition(30, 20, 0);
  C.Track.AddPlayer(W);

  W.MoveBy(true, false, -5, 0, 0);
  EXPECT_EQ(W.PosX(), 25);
  EXPECT_EQ(W.PrevPosX(), 30);
  // Redrawn at the new place on a clean picture: the old nose (36, 20) is white again.
  EXPECT_EQ(C(25, 20), W.Color);
  EXPECT_EQ(C(31, 20), clBlack);
  EXPECT_EQ(C(36, 20), clWhite);

  W.MoveBy(false, true, 3, 4, 0.5);
  EXPECT_EQ(W.PosY(), 24);
  EXPECT_EQ(W.Angle(), 0.5);
  EXPECT_EQ(W.PrevPosX(), 30);
  EXPECT_EQ(W.PrevPosY(), 20);
  EXPECT_EQ(C(28, 24), clWhite);  // no redraw asked
  // The state's flag comes back as it was.
  EXPECT_FALSE(W.State().KeepPrevious);
  W.State().SetKeepPrevious(true);
  W.MoveBy(false, false, 1, 0, 0);
  EXPECT_TRUE(W.State().KeepPrevious);

  TWalker Loose;  // no track: it moves, nothing is drawn
  Loose.MoveBy(true, false, 1, 1, 0);
  EXPECT_EQ(Loose.PosX(), 11);
}

TEST(Player2D, OutlineTestsAgainstTheCircuit) {
  TCountingTrack Track;
  auto Picture = RoadPicture(40, 30);
  Picture->SetPenColor(clBlack);
  Picture->Line(30, 0, 30, 29);  // a wall at x = 30
  Track.SetImage(Picture.get());
  TWalker W;
  Track.AddPlayer(W);

  W.SetPosition(20, 15, 0);  // nose at 26
  EXPECT_TRUE(W.ShapeOnTrack());
  W.SetPosX(24);  // nose on the wall
  EXPECT_TRUE(W.ShapeInBounds());
  EXPECT_FALSE(W.ShapeOnTrack());
  W.SetPosition(20, 6, 0);  // rear corners at y = 2 and 10
  EXPECT_TRUE(W.ShapeInBounds());
  W.SetPosY(4);  // a corner on row 0, which is outside
  EXPECT_FALSE(W.ShapeInBounds());
  EXPECT_FALSE(W.ShapeOnTrack());

  TWalker Lost;  // the tests need a planar circuit
  EXPECT_THROW(Lost.ShapeOnTrack(), EModelError);
}

TEST(Player2D, DrawsBodyTraceAndFutureEndPoints) {
  TCanvasTrack C;
  TWalker W;
  W.Color = clLime;
  W.Draw();  // not on a track: nothing
  EXPECT_EQ(C(8, 10), clWhite);
  C.Track.AddPlayer(W);
  W.Draw();
  EXPECT_EQ(C(8, 10), clLime);
  EXPECT_EQ(C(16, 10), clBlack);

  // A trace is the piece since the previous position, in the state's colour.
  C.Track.CleanImage();
  W.SetPosX(20);
  W.DrawTrace();
  EXPECT_EQ(C(10, 10), clGray);
  EXPECT_EQ(C(20, 10), clGray);
  EXPECT_EQ(C(9, 10), clWhite);
  EXPECT_EQ(C(21, 10), clWhite);

  // Two futures, scores 0.2 and 16: circles of radius 1 (not 0) and 4.
  C.Track.CleanImage();
  W.SetGridSize(1);
  for (auto [X, Score] : {std::pair{50.0, 0.2}, std::pair{100.0, 16.0}}) {
    W.SetSimulating(true);
    W.SetPosition(X, 50, 0);
    W.State().Score = Score;
    W.SetSimulating(false);
  }
  W.DrawFutures();
  EXPECT_EQ(W.FuturesDrawn, 2);
  int Marked = 0;
  for (int Y = 40; Y <= 60; ++Y)
    for (int X = 40; X <= 60; ++X)
      if (C(X, Y) != clWhite) {
        ++Marked;
        EXPECT_TRUE(X >= 49 && X <= 50 && Y >= 49 && Y <= 50) << X << "," << Y;
      }
  EXPECT_GT(Marked, 0);
  EXPECT_EQ(C(96, 50), clGray);  // box (96, 46, 104, 54), outline only
  EXPECT_EQ(C(103, 50), clGray);
  EXPECT_EQ(C(104, 50), clWhite);
  EXPECT_EQ(C(100, 50), clWhite);
}

TEST(Player2D, CollidesWithTestsOnlyThisPlayersVertices) {
  TWalker A, B;
  A.SetPosition(100, 100, 0);  // (106, 100), (95, 104), (95, 96)
  // B points down into A from above: only its nose (98, 98) is inside A.
  B.SetPosition(98, 92, std::numbers::pi / 2);
  EXPECT_FALSE(A.CollidesWith(B));
  EXPECT_TRUE(B.CollidesWith(A));
  B.SetPosY(80);
  EXPECT_FALSE(B.CollidesWith(A));
  TPointPlayer Point;
  EXPECT_FALSE(A.CollidesWith(Point));

  // On the line of an edge and inside the others counts as inside, whatever the winding.
  TFixedShape Square({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  TFixedShape Q({{5, 0}});
  EXPECT_TRUE(Q.CollidesWith(Square));
  Square.Shape = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
  EXPECT_TRUE(Q.CollidesWith(Square));
  Q.Shape = {{11, 5}};
  EXPECT_FALSE(Q.CollidesWith(Square));
}

TEST(Player2D, LevelThreeDrawsTheCollisionTestAndShowsEachMark) {
  TCanvasTrack C;
  TWalker A, B;
  C.Track.AddPlayer(A);
  C.Track.AddPlayer(B);
  A.SetPosition(100, 100, 0);
  B.SetPosition(98, 92, std::numbers::pi / 2);
  C.Picture->SetPenColor(clBlue);
  C.Picture->Line(0, 0, 50, 0);  // cleaned away by the test

  B.DebugLevel = TDebugLevel::Collisions;
  EXPECT_TRUE(B.CollidesWith(A));
  EXPECT_EQ(C(20, 0), clWhite);
  // B's first vertex, its nose, is inside: one red mark, shown at once (two pumps).
  EXPECT_EQ(C.Pump.Calls, 2);
  EXPECT_EQ(C(97, 99), clRed);

  // From A's side all three vertices are outside: three white marks.
  C.Pump.Calls = 0;
  A.DebugLevel = TDebugLevel::Collisions;
  EXPECT_FALSE(A.CollidesWith(B));
  EXPECT_EQ(C.Pump.Calls, 6);
  EXPECT_EQ(C(106, 100), clWhite);
  EXPECT_EQ(C(106, 98), clBlack);
  EXPECT_EQ(C(97, 99), clWhite);
  EXPECT_EQ(C.Picture->BrushStyle(), TBrushStyle::bsSolid);
}
