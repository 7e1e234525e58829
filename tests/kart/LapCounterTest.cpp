// Laps round the start line: counted on the built-in circuit and on its mirror image, never on a
// road that does not loop through the start, never for a kart that turns round or rocks on the
// line, with the lap times of the moves between crossings.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

#include "agents/UKart.h"
#include "io/UDefaultCircuit.h"
#include "tests/kart/KartWorld.h"
#include "world/URaceLog.h"

namespace {

struct TSpot {
  double X, Y;
};

// A circuit with one kart at its start, and the race log following it.
struct TLapWorld {
  TQtPicture Picture;
  TTrack2D Track;
  TKart Kart;
  TRaceLog Log;

  TLapWorld(const QImage& Circuit, double X, double Y, double Angle)
      : Picture(Circuit), Kart(X, Y, Angle) {
    Track.SetImage(&Picture);
    Track.AddPlayer(Kart);
    Log.Begin(Track, X, Y, Angle);
    Log.Follow({&Kart});
  }
  // One real move that ends at P.
  void MoveTo(TSpot P) {
    Kart.SetPosX(P.X);
    Kart.SetPosY(P.Y);
    Log.Record({&Kart}, 200);
  }
  void Drive(const std::vector<TSpot>& Route) {
    for (const TSpot& P : Route) MoveTo(P);
  }
  const TKartRecord& Record() const { return Log.Records().front(); }
};

// Once round the road in the start direction, from just in front of the line to just behind
// it: walked back down the counter's own distances from behind the line (always to the lowest
// neighbour not above, never twice), then reversed. Every Stride-th pixel is one move.
std::vector<TSpot> RouteRound(const TLapCounter& C, TSpot Start, double Angle, int Stride) {
  int X = static_cast<int>(Start.X - 4 * std::cos(Angle));
  int Y = static_cast<int>(Start.Y - 4 * std::sin(Angle));
  std::vector<TSpot> Back{{double(X), double(Y)}};
  std::set<std::pair<int, int>> Seen{{X, Y}};
  while (C.Progress(X, Y) > 0) {
    const int Next[4][2] = {{X + 1, Y}, {X - 1, Y}, {X, Y + 1}, {X, Y - 1}};
    const auto Below = [&](const int* P) {
      const int D = C.Progress(P[0], P[1]);
      return D >= 0 && D <= C.Progress(X, Y) && !Seen.count({P[0], P[1]}) ? D : INT32_MAX;
    };
    const auto* N =
        std::min_element(std::begin(Next), std::end(Next),
                         [&](const int* A, const int* B) { return Below(A) < Below(B); });
    if (Below(*N) == INT32_MAX) break;
    X = (*N)[0];
    Y = (*N)[1];
    Seen.insert({X, Y});
    Back.push_back({double(X), double(Y)});
  }
  std::reverse(Back.begin(), Back.end());
  std::vector<TSpot> Route;
  for (size_t I = 0; I < Back.size(); I += Stride) Route.push_back(Back[I]);
  Route.push_back(Back.back());
  return Route;
}

constexpr double Down = std::numbers::pi / 2;

}  // namespace

TEST(LapCounter, TwoLapsRoundTheBuiltInCircuitAndItsMirrorImage) {
  for (const bool Mirror : {false, true}) {
    SCOPED_TRACE(Mirror ? "mirrored circuit" : "built-in circuit");
    const QImage Circuit = DefaultCircuitImage().mirrored(Mirror, false);
    const TSpot Start{Mirror ? 799.0 - 200 : 200.0, 460};
    TLapWorld W(Circuit, Start.X, Start.Y, Down);
    ASSERT_TRUE(W.Log.Laps().HasLine());
    // The road round is far longer than the picture is wide.
    EXPECT_GT(W.Log.Laps().Loop(), 1500);
    const std::vector<TSpot> Route = RouteRound(W.Log.Laps(), Start, Down, 6);
    ASSERT_GT(W.Log.Laps().Progress(Route.back().X, Route.back().Y), W.Log.Laps().Loop() - 10);

    W.Drive(Route);
    EXPECT_EQ(W.Record().Laps, 0) << "not yet over the line";
    W.MoveTo(Start);  // over the line from behind: the first lap, timed from the start
    EXPECT_EQ(W.Record().Laps, 1);
    const double FirstLap = (Route.size() + 1) * 0.1;
    EXPECT_NEAR(W.Record().LastLap, FirstLap, 1e-9);
    W.Drive(Route);
    W.MoveTo(Start);
    EXPECT_EQ(W.Record().Laps, 2);
    EXPECT_NEAR(W.Record().LastLap, FirstLap, 1e-9);
    EXPECT_NEAR(W.Record().BestLap, FirstLap, 1e-9);
    EXPECT_FALSE(W.Record().WrongWay);
  }
}

TEST(LapCounter, AKartAddedAwayFromTheLineTimesItsFirstLapFromItsFirstCrossing) {
  const QImage Circuit = DefaultCircuitImage();
  const TSpot Start{200, 460};
  TLapWorld W(Circuit, Start.X, Start.Y, Down);
  const std::vector<TSpot> Route = RouteRound(W.Log.Laps(), Start, Down, 6);
  // Added half way round, during the race: the rest of the way is no lap.
  const size_t Half = Route.size() / 2;
  TKart Late(Route[Half].X, Route[Half].Y, Down);
  W.Track.AddPlayer(Late);
  const auto Move = [&](TSpot P) {
    Late.SetPosX(P.X);
    Late.SetPosY(P.Y);
    W.Log.Record({&W.Kart, &Late}, 200);
  };
  W.Log.Follow({&W.Kart, &Late});
  for (size_t I = Half + 1; I < Route.size(); ++I) Move(Route[I]);
  Move(Start);
  const TKartRecord& R = W.Log.Records()[1];
  EXPECT_EQ(R.Laps, 0) << "half a lap counted as a lap";
  EXPECT_EQ(R.BestLap, 0);
  // From the line on, its laps count as anyone's.
  for (const TSpot& P : Route) Move(P);
  Move(Start);
  EXPECT_EQ(R.Laps, 1);
  EXPECT_NEAR(R.BestLap, (Route.size() + 1) * 0.1, 1e-9);
}

TEST(LapCounter, AKartThatTurnsRoundOrRocksOnTheLineCountsNoLapAndIsMarkedWrongWay) {
  const QImage Circuit = DefaultCircuitImage();
  const TSpot Start{200, 460};
  TLapWorld W(Circuit, Start.X, Start.Y, Down);
  std::vector<TSpot> Route = RouteRound(W.Log.Laps(), Start, Down, 6);

  // Rocking over the line, forwards and backwards, goes nowhere.
  for (int I = 0; I < 5; ++I) {
    W.MoveTo({Start.X, Start.Y - 5});
    W.MoveTo({Start.X, Start.Y + 5});
  }
  EXPECT_EQ(W.Record().Laps, 0);

  // Turned round: the whole way round backwards, over the line from the front.
  std::reverse(Route.begin(), Route.end());
  W.Drive(std::vector<TSpot>(Route.begin(), Route.begin() + Route.size() / 2));
  EXPECT_TRUE(W.Record().WrongWay);
  W.Drive(std::vector<TSpot>(Route.begin() + Route.size() / 2, Route.end()));
  W.MoveTo({Start.X, Start.Y - 6});
  W.Drive(Route);
  W.MoveTo({Start.X, Start.Y - 6});
  EXPECT_EQ(W.Record().Laps, 0);
  EXPECT_TRUE(W.Record().WrongWay);
  // Twice round backwards: nearly every move of it counted against the lap direction, and the
  // way round the road went below the start.
  EXPECT_GT(W.Record().WrongWaySeconds, (2 * Route.size() - 20) * 0.1);
  EXPECT_LT(W.Record().RaceDistance, -1.9 * W.Log.Laps().Loop());

  // Turned round once more: the next crossing forwards only undoes a backward one.
  W.MoveTo(Start);
  EXPECT_EQ(W.Record().Laps, 0);
}

// Places: more laps first, then further round the road; a kart that starts behind the line is
// behind one that starts on it. Stand-stills are timed.
TEST(LapCounter, PlacesGoByLapsThenByTheWayRound) {
  const QImage Circuit = DefaultCircuitImage();
  TQtPicture Picture(Circuit);
  TTrack2D Track;
  Track.SetImage(&Picture);
  TKart A(200, 460, Down), B(200, 460, Down), C(200, 440, Down);
  for (TKart* K : {&A, &B, &C}) Track.AddPlayer(*K);
  TRaceLog Log;
  Log.Begin(Track, 200, 460, Down);
  B.SetPosY(490);
  Log.Record({&A, &B, &C}, 200);
  A.SetPosY(480);
  Log.Record({&A, &B, &C}, 200);
  EXPECT_EQ(Log.Places(), (std::vector<int32_t>{2, 1, 3}));
  EXPECT_LT(Log.Records()[2].RaceDistance, 0);
  EXPECT_EQ(Log.Records()[0].WrongWaySeconds, 0);
  // Kart C has stood still for both moves, kart A for the first one.
  EXPECT_NEAR(Log.Records()[2].LongestStall, 0.2, 1e-12);
  EXPECT_NEAR(Log.Records()[0].LongestStall, 0.1, 1e-12);
}

TEST(LapCounter, ARoadThatDoesNotLoopThroughTheStartHasNoLapLine) {
  // A straight strip of road with dead ends, and a start off the road.
  QImage Strip(800, 600, QImage::Format_RGB32);
  Strip.fill(Qt::black);
  for (int X = 150; X < 250; ++X)
    for (int Y = 50; Y < 560; ++Y) Strip.setPixel(X, Y, qRgb(255, 206, 61));
  TLapWorld W(Strip, 200, 460, Down);
  EXPECT_FALSE(W.Log.Laps().HasLine());
  for (int Round = 0; Round < 3; ++Round) {
    for (double Y = 470; Y < 550; Y += 5) W.MoveTo({200, Y});
    for (double Y = 550; Y > 60; Y -= 5) W.MoveTo({200, Y});
  }
  W.MoveTo({200, 460});
  EXPECT_EQ(W.Record().Laps, 0);
  EXPECT_EQ(W.Log.Laps().Crossing(200, 400, 200, 500), 0);

  TLapWorld OffRoad(Strip, 400, 300, Down);
  EXPECT_FALSE(OffRoad.Log.Laps().HasLine());
}
