// The circuit built into the program: a closed road on pure black, the start on a straight.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "tests/kart/KartWorld.h"
#include "io/UDefaultCircuit.h"

namespace {

bool IsBlack(QRgb C) { return qRed(C) == 0 && qGreen(C) == 0 && qBlue(C) == 0; }

// Pixel groups of one kind (road or black), joined through their four neighbours.
struct TRegions {
  std::vector<int> Label;  // per pixel, y * width + x
  std::vector<int> Size;
  std::vector<bool> TouchesBorder;
  std::vector<bool> Black;

  explicit TRegions(const QImage& I) : Label(I.width() * I.height(), -1) {
    const int W = I.width(), H = I.height();
    std::vector<int> Stack;
    for (int Start = 0; Start < W * H; ++Start) {
      if (Label[Start] >= 0) continue;
      const int Id = static_cast<int>(Size.size());
      const bool Kind = IsBlack(I.pixel(Start % W, Start / W));
      Size.push_back(0);
      TouchesBorder.push_back(false);
      Black.push_back(Kind);
      Label[Start] = Id;
      Stack.push_back(Start);
      while (!Stack.empty()) {
        const int P = Stack.back();
        Stack.pop_back();
        const int X = P % W, Y = P / W;
        ++Size[Id];
        if (X == 0 || Y == 0 || X == W - 1 || Y == H - 1) TouchesBorder[Id] = true;
        const int Next[4][2] = {{X - 1, Y}, {X + 1, Y}, {X, Y - 1}, {X, Y + 1}};
        for (const auto& N : Next) {
          if (N[0] < 0 || N[1] < 0 || N[0] >= W || N[1] >= H) continue;
          const int Q = N[1] * W + N[0];
          if (Label[Q] < 0 && IsBlack(I.pixel(N[0], N[1])) == Kind) {
            Label[Q] = Id;
            Stack.push_back(Q);
          }
        }
      }
    }
  }
};

class DefaultCircuit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Circuit = new QImage(DefaultCircuitImage()); }
  static void TearDownTestSuite() { delete Circuit; }
  static QImage* Circuit;
};
QImage* DefaultCircuit::Circuit = nullptr;

TEST_F(DefaultCircuit, IsAYellowOrangeRoadWithAFaintSpeckleOnPureBlack) {
  const QImage& I = *Circuit;
  ASSERT_EQ(I.width(), 800);
  ASSERT_EQ(I.height(), 600);
  EXPECT_EQ(I.format(), QImage::Format_RGB32);
  int Road = 0, Plain = 0;
  std::set<QRgb> Shades;
  for (int Y = 0; Y < I.height(); ++Y)
    for (int X = 0; X < I.width(); ++X) {
      const QRgb C = I.pixel(X, Y);
      if (IsBlack(C)) continue;
      ++Road;
      Shades.insert(C);
      if (C == qRgb(255, 206, 61)) ++Plain;
      ASSERT_TRUE(std::abs(qRed(C) - 255) <= 8 && std::abs(qGreen(C) - 206) <= 8 &&
                  std::abs(qBlue(C) - 61) <= 8)
          << "neither black nor a shade of the road at " << X << ", " << Y;
    }
  EXPECT_GT(Road, 800 * 600 / 5);
  EXPECT_LT(Road, 800 * 600 / 2);
  EXPECT_GT(Plain, Road / 2) << "the speckle stays faint";
  EXPECT_GT(Shades.size(), 5u) << "there is a speckle";
}

TEST_F(DefaultCircuit, TheStartLiesOnAStraightRunningDownThePicture) {
  const QImage& I = *Circuit;
  for (int Y = 380; Y <= 540; ++Y) EXPECT_FALSE(IsBlack(I.pixel(200, Y))) << "row " << Y;
  // No obstacle near the start: a clear disc around it.
  int NearStart = 0;
  for (int Y = 430; Y <= 490; ++Y)
    for (int X = 170; X <= 230; ++X)
      if (std::hypot(X - 200, Y - 460) <= 30 && IsBlack(I.pixel(X, Y))) ++NearStart;
  EXPECT_EQ(NearStart, 0);
  // The road there is of the usual width, across the direction of travel.
  int Left = 200, Right = 200;
  while (Left > 0 && !IsBlack(I.pixel(Left - 1, 460))) --Left;
  while (Right < 799 && !IsBlack(I.pixel(Right + 1, 460))) ++Right;
  EXPECT_GE(Right - Left + 1, 60);
  EXPECT_LE(Right - Left + 1, 90);

  // A kart created there, as the window creates it, is wholly on the road.
  TQtPicture Picture(I);
  TTrack2D Track;
  Track.SetImage(&Picture);
  TKart Kart(200, 460, HalfPi);
  Track.AddPlayer(Kart);
  EXPECT_TRUE(Kart.ShapeOnTrack());
}

TEST_F(DefaultCircuit, TheRoadIsOneClosedLoopWithSmallObstaclesOnIt) {
  const QImage& I = *Circuit;
  const TRegions R(I);
  int RoadPieces = 0, Enclosed = 0, Obstacles = 0;
  for (size_t Id = 0; Id < R.Size.size(); ++Id) {
    if (!R.Black[Id]) {
      ++RoadPieces;
      continue;
    }
    if (R.TouchesBorder[Id]) continue;
    if (R.Size[Id] > 5000) ++Enclosed;
    if (R.Size[Id] < 100) ++Obstacles;
  }
  EXPECT_EQ(RoadPieces, 1) << "one connected road";
  EXPECT_EQ(Enclosed, 1) << "the loop closes round an infield";
  EXPECT_GE(Obstacles, 4);
  EXPECT_LE(Obstacles, 12);
}

}  // namespace
