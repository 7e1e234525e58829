// Draws the built-in circuit: an 800 x 600 picture, pure black off the road, the road in one
// yellow-orange with a faint speckle, a few black dots and bars on it as obstacles.
// Everything is computed from fixed numbers, so every build produces the same bytes.
//
// Usage: gencircuit OUTPUT.bmp

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

constexpr int ImageWidth = 800;
constexpr int ImageHeight = 600;
constexpr double Pi = std::numbers::pi;
constexpr double SampleStep = 0.5;  // pixels of centre line between two stamped discs

// One piece of the centre line. Degrees > 0 turns right (clockwise on the screen, towards +y),
// Degrees < 0 turns left; Degrees == 0 is a straight of the given Length. Width is the road
// width reached at the end of the piece (it changes linearly along the piece).
struct TPiece {
  double Length;
  double Radius;
  double Degrees;
  double Width;
};

// The lap, driven from (200, 380) straight down the picture, anticlockwise on the screen:
// the start straight, a tight left onto the long bottom straight with its chicane, a wide
// sweeper up the right side, the hairpin at the top right, a double right into the infield,
// back up, two lefts across the top and down the left side. A smooth S joins the end to the
// start.
const TPiece Pieces[] = {
    {120, 0, 0, 76},    // start straight, down the picture through (200, 460)
    {0, 52, -90, 80},   // tight left onto the bottom straight
    {70, 0, 0, 88},     // bottom straight, wide enough to pass
    {0, 45, -70, 68},   // chicane: left,
    {0, 45, 140, 62},   //   right,
    {0, 45, -70, 76},   //   left again
    {117, 0, 0, 90},    // bottom straight, second half
    {0, 100, -90, 84},  // wide sweeper up the right side
    {320, 0, 0, 86},    // right straight
    {0, 56, -180, 66},  // hairpin
    {140, 0, 0, 70},    // down into the infield
    {0, 62, 90, 72},    // right, heading west
    {40, 0, 0, 76},     //
    {0, 50, 90, 70},    // right again, heading north
    {140, 0, 0, 72},    // infield straight, up
    {0, 70, -90, 78},   // left, heading west along the top
    {150, 0, 0, 82},    // top straight
    {0, 82, -90, 80},   // long left, heading down the left side
    {50, 0, 0, 76},     // then the S back to the start straight
};

struct TSample {
  double X, Y;     // centre line
  double Heading;  // radians, 0 = +x, pi/2 = +y
  double Width;
};

// The centre line, sampled every SampleStep pixels, closed by a cubic Hermite curve from the
// end of the last piece back to the start.
std::vector<TSample> CentreLine() {
  std::vector<TSample> Samples;
  const double StartX = 200, StartY = 380, StartHeading = Pi / 2;
  double X = StartX, Y = StartY, H = StartHeading, W = Pieces[0].Width;
  Samples.push_back({X, Y, H, W});
  for (const TPiece& P : Pieces) {
    const double W0 = W;
    if (P.Degrees == 0) {
      const int N = static_cast<int>(std::ceil(P.Length / SampleStep));
      const double C = std::cos(H), S = std::sin(H);
      const double X0 = X, Y0 = Y;
      for (int I = 1; I <= N; ++I) {
        const double T = static_cast<double>(I) / N;
        X = X0 + C * P.Length * T;
        Y = Y0 + S * P.Length * T;
        Samples.push_back({X, Y, H, W0 + (P.Width - W0) * T});
      }
    } else {
      const double Sweep = P.Degrees * Pi / 180;
      const double Side = Sweep > 0 ? 1 : -1;  // centre to the right (1) or left (-1)
      const double CX = X + P.Radius * std::cos(H + Side * Pi / 2);
      const double CY = Y + P.Radius * std::sin(H + Side * Pi / 2);
      const double A0 = H - Side * Pi / 2;  // angle from the centre to the current point
      const int N = static_cast<int>(std::ceil(std::fabs(Sweep) * P.Radius / SampleStep));
      const double H0 = H;
      for (int I = 1; I <= N; ++I) {
        const double T = static_cast<double>(I) / N;
        const double A = A0 + Sweep * T;
        X = CX + P.Radius * std::cos(A);
        Y = CY + P.Radius * std::sin(A);
        H = H0 + Sweep * T;
        Samples.push_back({X, Y, H, W0 + (P.Width - W0) * T});
      }
    }
    W = P.Width;
  }
  // Hermite join: tangents along the two headings, as long as the gap.
  const double Gap = std::hypot(StartX - X, StartY - Y);
  const double T0X = std::cos(H) * Gap, T0Y = std::sin(H) * Gap;
  const double T1X = std::cos(StartHeading) * Gap, T1Y = std::sin(StartHeading) * Gap;
  const double X0 = X, Y0 = Y, W0 = W;
  const int N = static_cast<int>(std::ceil(2 * Gap / SampleStep));
  for (int I = 1; I < N; ++I) {
    const double T = static_cast<double>(I) / N;
    const double T2 = T * T, T3 = T2 * T;
    const double H00 = 2 * T3 - 3 * T2 + 1, H10 = T3 - 2 * T2 + T;
    const double H01 = -2 * T3 + 3 * T2, H11 = T3 - T2;
    const double DX = (6 * T2 - 6 * T) * X0 + (3 * T2 - 4 * T + 1) * T0X +
                      (-6 * T2 + 6 * T) * StartX + (3 * T2 - 2 * T) * T1X;
    const double DY = (6 * T2 - 6 * T) * Y0 + (3 * T2 - 4 * T + 1) * T0Y +
                      (-6 * T2 + 6 * T) * StartY + (3 * T2 - 2 * T) * T1Y;
    Samples.push_back({H00 * X0 + H10 * T0X + H01 * StartX + H11 * T1X,
                       H00 * Y0 + H10 * T0Y + H01 * StartY + H11 * T1Y, std::atan2(DY, DX),
                       W0 + (Pieces[0].Width - W0) * T});
  }
  return Samples;
}

// A small integer hash of a pixel, the source of the speckle (no random generator, so the
// picture never depends on a library's choices).
uint32_t PixelHash(uint32_t X, uint32_t Y) {
  uint32_t H = X * 0x9E3779B1u ^ (Y + 0x7F4A7C15u) * 0x85EBCA77u;
  H ^= H >> 15;
  H *= 0x2C1B3C6Du;
  H ^= H >> 12;
  H *= 0x297A2D39u;
  H ^= H >> 15;
  return H;
}

void StampDisc(std::vector<uint8_t>& Mask, double CX, double CY, double R, uint8_t Value) {
  const int Y1 = std::max(0, static_cast<int>(std::floor(CY - R)));
  const int Y2 = std::min(ImageHeight - 1, static_cast<int>(std::ceil(CY + R)));
  const int X1 = std::max(0, static_cast<int>(std::floor(CX - R)));
  const int X2 = std::min(ImageWidth - 1, static_cast<int>(std::ceil(CX + R)));
  for (int Y = Y1; Y <= Y2; ++Y)
    for (int X = X1; X <= X2; ++X)
      if ((X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= R * R) Mask[Y * ImageWidth + X] = Value;
}

// A black bar of the given length and thickness, centred on (CX, CY), along direction A.
void StampBar(std::vector<uint8_t>& Mask, double CX, double CY, double A, double Length,
              double Thickness) {
  const double C = std::cos(A), S = std::sin(A);
  const double Reach = Length / 2 + Thickness;
  for (int Y = static_cast<int>(CY - Reach); Y <= static_cast<int>(CY + Reach) + 1; ++Y)
    for (int X = static_cast<int>(CX - Reach); X <= static_cast<int>(CX + Reach) + 1; ++X) {
      const double Along = (X - CX) * C + (Y - CY) * S;
      const double Across = -(X - CX) * S + (Y - CY) * C;
      if (std::fabs(Along) <= Length / 2 && std::fabs(Across) <= Thickness / 2 && X >= 0 &&
          Y >= 0 && X < ImageWidth && Y < ImageHeight)
        Mask[Y * ImageWidth + X] = 0;
    }
}

// An obstacle placed along the lap: Distance pixels of centre line from the start, Offset
// across the road as a share of the half width (positive to the right of the driving
// direction). Bars lie across the road unless Along is set.
struct TObstacle {
  double Distance;
  double Offset;
  bool Bar;
  bool Along;
};

const TObstacle Obstacles[] = {
    {540, -0.40, false, false},   // bottom straight, after the chicane
    {580, 0.45, true, false},     //   and a bar a little further on
    {870, -0.40, true, false},    // right straight
    {980, 0.35, false, false},    //
    {1519, 0.00, true, true},     // splits the infield dip into two lanes
    {1680, -0.40, false, false},  // infield straight, up
    {1920, -0.40, false, false},  // top straight
    {1970, 0.40, true, false},    //
};

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: gencircuit OUTPUT.bmp\n");
    return 2;
  }
  const std::vector<TSample> Line = CentreLine();

  std::vector<uint8_t> Mask(ImageWidth * ImageHeight, 0);
  for (const TSample& S : Line) StampDisc(Mask, S.X, S.Y, S.Width / 2, 1);
  for (const TObstacle& O : Obstacles) {
    const TSample& S = Line[static_cast<size_t>(O.Distance / SampleStep)];
    const double R = S.Width / 2 * O.Offset;
    const double CX = S.X + R * std::cos(S.Heading + Pi / 2);
    const double CY = S.Y + R * std::sin(S.Heading + Pi / 2);
    if (O.Bar)
      StampBar(Mask, CX, CY, S.Heading + (O.Along ? 0 : Pi / 2), 16, 4);
    else
      StampDisc(Mask, CX, CY, 3.5, 0);
  }

  QImage Image(ImageWidth, ImageHeight, QImage::Format_RGB32);
  for (int Y = 0; Y < ImageHeight; ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    for (int X = 0; X < ImageWidth; ++X) {
      if (!Mask[Y * ImageWidth + X]) {
        Row[X] = qRgb(0, 0, 0);
        continue;
      }
      // About one pixel in four is a shade or two off the road colour.
      const uint32_t H = PixelHash(static_cast<uint32_t>(X), static_cast<uint32_t>(Y));
      int D = 0;
      if ((H & 3) == 0) D = static_cast<int>((H >> 8) % 13) - 6;
      Row[X] = qRgb(255 - std::abs(D), 206 + D, 61 + D);
    }
  }
  if (!Image.save(QString::fromLocal8Bit(Argv[1]), "BMP")) {
    std::fprintf(stderr, "gencircuit: cannot write %s\n", Argv[1]);
    return 1;
  }
  double Lap = std::hypot(Line.front().X - Line.back().X, Line.front().Y - Line.back().Y);
  for (size_t I = 1; I < Line.size(); ++I)
    Lap += std::hypot(Line[I].X - Line[I - 1].X, Line[I].Y - Line[I - 1].Y);
  std::printf("gencircuit: %s written, a lap of %.0f px along the centre line\n", Argv[1], Lap);
  return 0;
}
