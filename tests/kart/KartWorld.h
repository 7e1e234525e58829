#pragma once
// A kart alone on a picture it can be tested on: all road, all black, or road with black parts.

#include <numbers>

#include "agents/UKart.h"
#include "io/UPicture.h"
#include "world/UTrack2D.h"

constexpr TColor RoadColor = 255 + 256 * 206 + 65536 * 61;
constexpr double HalfPi = std::numbers::pi / 2;

struct TKartWorld {
  TQtPicture Picture;
  TTrack2D Track;
  TKart Kart;

  explicit TKartWorld(TColor Ground = RoadColor, double X = 200, double Y = 460,
                      double Angle = HalfPi)
      : Picture(800, 600, Ground), Kart(X, Y, Angle) {
    Track.SetImage(&Picture);
    Track.AddPlayer(Kart);
  }

  /// Paints columns X1..X2-1, rows Y1..Y2-1 in Color and reads the off-road map again.
  void Paint(int X1, int Y1, int X2, int Y2, TColor Color) {
    for (int X = X1; X < X2; ++X)
      for (int Y = Y1; Y < Y2; ++Y)
        Picture.Image().setPixel(X, Y, TQtPicture::ToQColor(Color).rgb());
    Track.SetImage(&Picture);
  }

  TStateParam& Param(const char* Name) { return Kart.State().ParamByName(Name); }
};
