#include "world/ULapCounter.h"

#include <cmath>
#include <deque>

#include "agents/UPlayer2D.h"
#include "decision/UBase.h"
#include "world/UTrack2D.h"

namespace {
// Widest road looked for on either side of the start, pixels.
constexpr double MaxReach = 4096;
// How far in front of and behind the line the road is sampled, pixels.
constexpr double SideOffset = 3;
}  // namespace

void StartLineOf(const TPlayer2D& First, double& X, double& Y, double& Angle) {
  const TState& S = *First.RealState;
  X = S.Params[First.PosXIndex]->RoundedValue();
  Y = S.Params[First.PosYIndex]->RoundedValue();
  Angle = S.Params[First.AngleIndex]->RoundedValue();
}

void TLapCounter::Build(const TTrack2D& Track, double X, double Y, double Angle) {
  StartX = X;
  StartY = Y;
  DirX = std::cos(Angle);
  DirY = std::sin(Angle);
  NormX = -DirY;
  NormY = DirX;
  LeftReach = RightReach = 0;
  LoopLength = 0;
  Width = Track.Width;
  Height = Track.Height;
  Distance.clear();
  if (!Track.IsOnTrack(RoundEven(X), RoundEven(Y))) return;
  LeftReach = Reach(Track, -1);
  RightReach = Reach(Track, 1);
  MeasureRoad(Track);
}

double TLapCounter::Reach(const TTrack2D& Track, double Sign) const {
  double Last = 0;
  for (double D = 1; D <= MaxReach; D += 1) {
    if (!Track.IsOnTrack(RoundEven(StartX + Sign * D * NormX),
                         RoundEven(StartY + Sign * D * NormY)))
      break;
    Last = D;
  }
  return Last;
}

void TLapCounter::MeasureRoad(const TTrack2D& Track) {
  Distance.assign(static_cast<size_t>(Width) * Height, -1);
  const auto Index = [this](int32_t X, int32_t Y) { return static_cast<size_t>(X) * Height + Y; };
  // The wall: every pixel touched by the line, two wide, so that no path slips through it.
  constexpr int32_t Wall = -2;
  for (double T = -LeftReach - 1; T <= RightReach + 1; T += 0.5) {
    const int32_t X0 = RoundEven(std::floor(StartX + T * NormX));
    const int32_t Y0 = RoundEven(std::floor(StartY + T * NormY));
    for (int32_t DX = 0; DX <= 1; ++DX)
      for (int32_t DY = 0; DY <= 1; ++DY)
        if (Track.InBounds(X0 + DX, Y0 + DY)) Distance[Index(X0 + DX, Y0 + DY)] = Wall;
  }
  // Samples along the line, a few pixels in front of it (Side 1) or behind it (Side -1).
  const auto Sample = [&](double T, double Side, int32_t& X, int32_t& Y) {
    X = RoundEven(StartX + T * NormX + Side * SideOffset * DirX);
    Y = RoundEven(StartY + T * NormY + Side * SideOffset * DirY);
    return Track.IsOnTrack(X, Y);
  };
  // Breadth first over the road, four neighbours, from the samples on one side of the line:
  // steps round the road from there (or -1 unreached), the line a wall.
  const std::vector<int32_t> Walled = Distance;
  const auto Measure = [&](double Side) {
    std::vector<int32_t> Steps = Walled;
    std::deque<std::pair<int32_t, int32_t>> Queue;
    int32_t X = 0, Y = 0;
    for (double T = -LeftReach; T <= RightReach; T += 1)
      if (Sample(T, Side, X, Y) && Steps[Index(X, Y)] == -1) {
        Steps[Index(X, Y)] = 0;
        Queue.emplace_back(X, Y);
      }
    constexpr int32_t Next[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!Queue.empty()) {
      const auto [PX, PY] = Queue.front();
      Queue.pop_front();
      for (const auto& S : Next) {
        const int32_t NX = PX + S[0], NY = PY + S[1];
        if (!Track.IsOnTrack(NX, NY) || Steps[Index(NX, NY)] != -1) continue;
        Steps[Index(NX, NY)] = Steps[Index(PX, PY)] + 1;
        Queue.emplace_back(NX, NY);
      }
    }
    return Steps;
  };
  const std::vector<int32_t> Ahead = Measure(1);
  // The loop closes where the road behind the line was reached the long way round.
  int32_t X = 0, Y = 0;
  for (double T = -LeftReach; T <= RightReach; T += 1)
    if (Sample(T, -1, X, Y) && Ahead[Index(X, Y)] > 0)
      if (LoopLength == 0 || Ahead[Index(X, Y)] < LoopLength) LoopLength = Ahead[Index(X, Y)];
  if (LoopLength == 0) {
    Distance.clear();
    return;
  }
  // Steps from the line's front alone run past the loop's length just behind the line (the
  // middle of the road is further round than the edge the loop closes at): each pixel lies the
  // share of the loop that its steps from the front are of its steps from the front and to the
  // back, so that the way round is the same loop everywhere across the road.
  const std::vector<int32_t> Behind = Measure(-1);
  for (size_t I = 0; I < Distance.size(); ++I) {
    const int32_t F = Ahead[I], B = Behind[I];
    Distance[I] = F < 0 || B < 0 ? -1
                  : F + B == 0   ? 0
                                 : RoundEven(static_cast<double>(LoopLength) * F / (F + B));
  }
}

int32_t TLapCounter::Crossing(double X0, double Y0, double X1, double Y1) const {
  if (!HasLine()) return 0;
  const double S0 = (X0 - StartX) * DirX + (Y0 - StartY) * DirY;
  const double S1 = (X1 - StartX) * DirX + (Y1 - StartY) * DirY;
  const int32_t Way = S0 < 0 && S1 >= 0 ? 1 : S0 >= 0 && S1 < 0 ? -1 : 0;
  if (Way == 0) return 0;
  // Where the way meets the line, across the road: beyond the road's edges is no crossing.
  const double F = S0 / (S0 - S1);
  const double T = (X0 + F * (X1 - X0) - StartX) * NormX + (Y0 + F * (Y1 - Y0) - StartY) * NormY;
  return T >= -LeftReach - 1 && T <= RightReach + 1 ? Way : 0;
}

bool TLapCounter::OnLine(double X, double Y) const {
  if (!HasLine()) return false;
  const double S = (X - StartX) * DirX + (Y - StartY) * DirY;
  const double T = (X - StartX) * NormX + (Y - StartY) * NormY;
  return std::abs(S) <= 1 && T >= -LeftReach - 1 && T <= RightReach + 1;
}

int32_t TLapCounter::Progress(double X, double Y) const {
  if (!HasLine()) return -1;
  const int32_t PX = RoundEven(X), PY = RoundEven(Y);
  if (PX < 0 || PX >= Width || PY < 0 || PY >= Height) return -1;
  const int32_t D = Distance[static_cast<size_t>(PX) * Height + PY];
  return D >= 0 ? D : -1;
}
