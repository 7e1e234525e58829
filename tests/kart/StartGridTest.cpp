// The starting grid: twenty karts two abreast behind the start line of the built-in circuit and
// of its mirror image, each on the road and clear of the others, row behind row round the bend;
// a road that does not loop through the start or is too narrow leaves the karts where they are.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <numbers>
#include <string>

#include "agents/UKart.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "world/ULapCounter.h"
#include "world/UStartGrid.h"
#include "world/UTrack2D.h"

namespace {

struct TGridWorld {
  TQtPicture Picture;
  TTrack2D Track;
  TKartList Karts;

  TGridWorld(const QImage& Circuit, int Count, double X, double Y) : Picture(Circuit) {
    Track.SetImage(&Picture);
    for (int I = 0; I < Count; ++I) {
      Karts.push_back(std::make_unique<TKart>(X, Y, std::numbers::pi / 2));
      Track.AddPlayer(*Karts.back());
    }
  }
};

}  // namespace

TEST(StartGrid, TwentyKartsLineUpBehindTheLineOnTheRoadAndApart) {
  for (const bool Mirror : {false, true}) {
    SCOPED_TRACE(Mirror ? "mirrored circuit" : "built-in circuit");
    const double StartX = Mirror ? 799.0 - 200 : 200.0;
    TGridWorld W(DefaultCircuitImage().mirrored(Mirror, false), 20, StartX, 460);
    std::string Problem;
    ASSERT_TRUE(LineUpOnGrid(W.Track, W.Karts, Problem)) << Problem;
    EXPECT_TRUE(Problem.empty());
    TLapCounter Line;
    Line.Build(W.Track, StartX, 460, std::numbers::pi / 2);
    EXPECT_EQ(W.Karts[0]->PosX(), StartX);
    EXPECT_EQ(W.Karts[0]->PosY(), 460);
    EXPECT_NEAR(W.Karts[0]->Angle(), std::numbers::pi / 2, 0.001);
    for (size_t I = 0; I < W.Karts.size(); ++I) {
      TKart& K = *W.Karts[I];
      EXPECT_TRUE(K.ShapeOnTrack()) << "kart #" << I + 1;
      EXPECT_EQ(K.Angle(), W.Karts[0]->Angle());  // the start mark's heading
      EXPECT_EQ(K.VelX(), 0);
      for (size_t J = 0; J < I; ++J)
        EXPECT_FALSE(K.CollidesWith(*W.Karts[J]) || W.Karts[J]->CollidesWith(K))
            << "karts #" << J + 1 << " and #" << I + 1 << " touch";
      // Behind the line (kart #1 stands on it), each further back round the road than the one
      // two places ahead.
      if (I >= 3) {
        EXPECT_LT(Line.Progress(K.PosX(), K.PosY()),
                  Line.Progress(W.Karts[I - 2]->PosX(), W.Karts[I - 2]->PosY()))
            << "kart #" << I + 1;
      }
    }
  }
}

TEST(StartGrid, NoLapLineOrTooNarrowARoadLeavesTheKartsWhereTheyAre) {
  // A straight strip: the road does not loop through the start.
  QImage Strip(800, 600, QImage::Format_RGB32);
  Strip.fill(Qt::black);
  QPainter(&Strip).fillRect(150, 0, 100, 600, Qt::yellow);
  // A ring 14 px wide: it loops, but two karts of size 8 do not fit side by side.
  QImage Ring(800, 600, QImage::Format_RGB32);
  Ring.fill(Qt::black);
  {
    QPainter P(&Ring);
    P.setPen(QPen(Qt::yellow, 14));
    P.drawEllipse(QPoint(400, 300), 200, 160);
  }
  for (const auto& [Circuit, Why] : {std::pair{Strip, "lap line"}, std::pair{Ring, "too narrow"}}) {
    TGridWorld W(Circuit, 6, 200, 300);
    W.Karts[3]->SetPosition(210, 320, 0);
    std::string Problem;
    EXPECT_FALSE(LineUpOnGrid(W.Track, W.Karts, Problem));
    EXPECT_NE(Problem.find(Why), std::string::npos) << Problem;
    EXPECT_EQ(W.Karts[3]->PosX(), 210);
    EXPECT_EQ(W.Karts[3]->PosY(), 320);
    EXPECT_EQ(W.Karts[1]->PosY(), 300);
  }
}
