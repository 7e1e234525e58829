// What a kart leaves on the picture: body, power-and-steering knob, battery gauge.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/kart/KartWorld.h"

namespace {

constexpr TColor Green = 255 * 256;             // knob at full power
constexpr TColor PaleYellow = 255 + 255 * 256;  // knob at full brake

// Whether Colour appears within Reach pixels of (X, Y).
bool Near(const TQtPicture& P, double X, double Y, int Reach, TColor Colour) {
  const int CX = static_cast<int>(std::lround(X)), CY = static_cast<int>(std::lround(Y));
  for (int Dy = -Reach; Dy <= Reach; ++Dy)
    for (int Dx = -Reach; Dx <= Reach; ++Dx)
      if (P.Pixel(CX + Dx, CY + Dy) == Colour) return true;
  return false;
}

TEST(KartDraw, BodyAndKnobAtRestStayWithinTheKart) {
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Kart.Color = clFuchsia;
  W.Track.Redraw();
  EXPECT_EQ(W.Picture.Pixel(395, 300), clFuchsia) << "the body, behind the knob";
  EXPECT_EQ(W.Picture.Pixel(400, 300), clWhite) << "no power: a white knob";
  int Changed = 0;
  for (int Y = 0; Y < 600; ++Y)
    for (int X = 0; X < 800; ++X)
      if (W.Picture.Pixel(X, Y) != RoadColor) {
        ++Changed;
        EXPECT_LE(std::hypot(X - 400, Y - 300), 14) << X << ", " << Y;
      }
  EXPECT_GT(Changed, 60);
}

TEST(KartDraw, TheKnobMovesAheadAndTurnsGreenWithPowerBackAndYellowWithBrake) {
  TKartWorld Ahead(RoadColor, 400, 300, 0);
  Ahead.Kart.SetPower(10);
  Ahead.Track.Redraw();
  EXPECT_TRUE(Near(Ahead.Picture, 404.8, 300, 2, Green));
  EXPECT_FALSE(Near(Ahead.Picture, 395.2, 300, 2, Green));

  TKartWorld Brake(RoadColor, 400, 300, 0);
  Brake.Kart.SetPower(-10);
  Brake.Track.Redraw();
  EXPECT_TRUE(Near(Brake.Picture, 395.2, 300, 2, PaleYellow));
  EXPECT_FALSE(Near(Brake.Picture, 404.8, 300, 2, PaleYellow));

  // Full right steering puts the knob a whole size to the right of the heading (down here).
  TKartWorld Right(RoadColor, 400, 300, 0);
  Right.Kart.SetTurn(Right.Kart.MaxTurn());
  Right.Kart.SetPower(10);
  Right.Track.Redraw();
  EXPECT_TRUE(Near(Right.Picture, 404.8, 308, 2, Green));
}

// Regression: a power above a freshly lowered MaxPower made the knob's colour channels negative,
// which spilled into the other channels of the colour value.
TEST(KartDraw, PowerAboveALoweredMaxPowerStillGivesAGreenKnob) {
  TKartWorld W(RoadColor, 400, 300, 0);
  W.Kart.SetPower(10);
  W.Kart.SetMaxPower(4);
  W.Track.Redraw();
  // p = 2.5, so the knob sits 0.6 * 2.5 * 8 = 12 pixels ahead.
  EXPECT_TRUE(Near(W.Picture, 412, 300, 2, Green));
  for (int Y = 290; Y <= 310; ++Y)
    for (int X = 390; X <= 420; ++X) {
      const TColor C = W.Picture.Pixel(X, Y);
      EXPECT_TRUE(C == RoadColor || C == W.Kart.Color || C == clBlack || C == clWhite ||
                  C == clSilver || C == Green)
          << "unexpected colour " << C << " at " << X << ", " << Y;
    }
}

TEST(KartDraw, TheBatteryGaugeShowsTheChargeOnlyWhenUsed) {
  TKartWorld Off(RoadColor, 400, 300, 0);
  Off.Track.Redraw();
  EXPECT_EQ(Off.Picture.Pixel(409, 300), RoadColor);

  struct TCase {
    double Charge;
    TColor Pen;
  };
  const TCase Cases[] = {{100, clLime}, {40, clYellow}, {20, clRed}};
  for (const TCase& C : Cases) {
    TKartWorld W(RoadColor, 400, 300, 0);
    W.Param("UseBattery").SetValue(1);
    W.Param("Battery").SetValue(C.Charge);
    W.Track.Redraw();
    // A bar right of the kart, columns 408..410, rows 292..307; the charge rises from row 307.
    EXPECT_EQ(W.Picture.Pixel(409, 306), C.Pen) << C.Charge;
    EXPECT_EQ(W.Picture.Pixel(410, 300), clBlack) << C.Charge;
    const TColor Top = W.Picture.Pixel(409, 294);
    EXPECT_EQ(Top, C.Charge == 100 ? C.Pen : clSilver) << C.Charge;
  }
}

}  // namespace
