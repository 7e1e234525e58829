// Drawing on the circuit, saving it, the built-in circuit back, the view's zoom, scrolling and
// following, and karts moved onto the road of a circuit whose start is off it.

#include <QAction>
#include <QScrollBar>
#include <QTemporaryDir>

#include "WindowTest.h"
#include "io/UCircuitFile.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "ui/UCircuitTools.h"
#include "ui/URaceViews.h"

class CircuitTools : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    Tools = W->findChild<TCircuitTools*>("CircuitTools");
    ASSERT_TRUE(Tools);
  }

  QImage Clean() const { return dynamic_cast<TQtPicture&>(*Track().Background).Image(); }

  /// A file of road (grey) with a black frame, Width x Height.
  QString MakeCircuit(const QString& Name, int Width, int Height) const {
    QImage Road(Width, Height, QImage::Format_RGB32);
    Road.fill(Qt::black);
    for (int Y = 20; Y < Height - 20; ++Y)
      for (int X = 20; X < Width - 20; ++X) Road.setPixel(X, Y, qRgb(90, 90, 90));
    const QString Path = Dir.filePath(Name);
    EXPECT_TRUE(Road.save(Path, "BMP"));
    return Path;
  }

  QTemporaryDir Dir;
  DialogAnswerer Dialogs;
  TCircuitTools* Tools = nullptr;
};

TEST_F(CircuitTools, ADrawnCircuitSavedAndLoadedBackIsWhatWasDrawn) {
  ASSERT_TRUE(Track().IsOnTrack(200, 500));
  Find<QAction>("BrushSize16")->trigger();
  Find<QAction>("DrawBrush2")->trigger();  // off-road
  Stroke({{150, 500}, {200, 505}, {250, 500}});
  Find<QAction>("DrawBrush1")->trigger();  // road, across the black outside the circuit
  Stroke({{5, 5}, {60, 5}});
  // The map follows each stroke at once.
  EXPECT_FALSE(Track().IsOnTrack(200, 503));
  EXPECT_TRUE(Track().IsOnTrack(30, 5));
  EXPECT_EQ(Clean().pixel(30, 5), RoadColor);
  const QImage Drawn = Clean();
  EXPECT_NE(Drawn, DefaultCircuitImage());

  Dialogs.Files << Dir.filePath("drawn.bmp");
  Find<QAction>("SaveCircuitAs")->trigger();
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"drawn.bmp"});
  Find<QAction>("BuiltInCircuit")->trigger();
  EXPECT_EQ(Clean(), DefaultCircuitImage());
  EXPECT_TRUE(Track().IsOnTrack(200, 503));
  Dialogs.Files << Dir.filePath("drawn.bmp");
  Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  EXPECT_EQ(Clean(), Drawn);
  EXPECT_FALSE(Track().IsOnTrack(200, 503));
  EXPECT_TRUE(Dialogs.Messages.isEmpty()) << Dialogs.Messages.join('\n').toStdString();
}

TEST_F(CircuitTools, UndoTakesStrokesBackOnTheirCircuitOnly) {
  const QImage Before = Clean();
  Find<QAction>("DrawBrush2")->trigger();
  Stroke({{150, 500}, {250, 500}});
  const QImage OneStroke = Clean();
  Stroke({{200, 400}, {200, 450}});
  Find<QAction>("UndoStroke")->trigger();
  EXPECT_EQ(Clean(), OneStroke);
  EXPECT_TRUE(Track().IsOnTrack(200, 420));
  Find<QAction>("UndoStroke")->trigger();
  EXPECT_EQ(Clean(), Before);
  EXPECT_TRUE(Track().IsOnTrack(200, 500));
  // The shown picture is the clean circuit again under the karts.
  EXPECT_EQ(Find<TImageControl>("ImgRoad")->Picture().Image().pixel(240, 500),
            Before.pixel(240, 500));
  // A stroke on another circuit cannot be taken back onto this one.
  Stroke({{150, 500}, {250, 500}});
  Find<QAction>("BuiltInCircuit")->trigger();
  EXPECT_FALSE(Tools->Painter().Undo());
  EXPECT_EQ(Clean(), DefaultCircuitImage());
}

TEST_F(CircuitTools, AWallDrawnWhileRunningEndsTheFuturesThereFromTheNextMove) {
  Find<QSlider>("EdSeconds")->setValue(4);
  Track().FixedPasses = 200;
  constexpr int WallTop = 485, WallBottom = 497;
  auto FarthestDown = [this] {
    double Y = 0;
    TKart& K = Kart(0);
    for (int I = 0; I < K.Futures->Count(); ++I)
      Y = std::max(Y, K.Futures->Future(I).Params[K.PosYIndex]->Value);
    return Y;
  };
  double Before = 0, After = 0;
  ASSERT_EQ(RunMoves(2,
                     [&](int Move) {
                       if (Move == 1) {
                         Before = FarthestDown();
                         Find<QAction>("BrushSize16")->trigger();
                         Find<QAction>("DrawBrush2")->trigger();
                         Stroke({{100, 491}, {330, 491}});
                       } else {
                         After = FarthestDown();
                       }
                     }),
            2);
  EXPECT_GT(Before, WallBottom) << "futures went beyond the wall's place before it was drawn";
  EXPECT_LT(After, WallTop) << "every future ends before the wall";
}

TEST_F(CircuitTools, TheViewZoomsFollowsAndScrollsWithoutChangingThePicture) {
  auto* Img = Find<TImageControl>("ImgRoad");
  // The view at the circuit's size, whatever room the window gives it.
  Img->setFixedSize(800, 600);
  // As the window always showed it.
  EXPECT_EQ(Img->Zoom(), 1);
  EXPECT_EQ(Img->Origin(), QPointF(0, 0));
  EXPECT_FALSE(Find<QScrollBar>("ImgRoadHBar")->isVisible());

  Find<QAction>("Zoom3")->trigger();
  Find<QAction>("FollowKart")->trigger();
  const QPointF Middle = Img->ToPicture(QPointF(400, 300));
  EXPECT_NEAR(Middle.x(), Kart(0).PosX(), 1);
  EXPECT_NEAR(Middle.y(), Kart(0).PosY(), 1);
  ASSERT_EQ(RunMoves(3), 3);
  EXPECT_NEAR(Img->ToPicture(QPointF(400, 300)).y(), Kart(0).PosY(), 1);
  EXPECT_EQ(Img->Picture().Width(), 800);  // frames keep the picture's own size

  Find<QAction>("FollowKart")->trigger();
  Find<QAction>("Zoom1")->trigger();
  Dialogs.Files << MakeCircuit("big.bmp", 1600, 1200);
  Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  auto* HBar = Find<QScrollBar>("ImgRoadHBar");
  auto* VBar = Find<QScrollBar>("ImgRoadVBar");
  ASSERT_TRUE(HBar->isVisible() && VBar->isVisible());
  HBar->setValue(HBar->maximum());
  VBar->setValue(VBar->maximum());
  // The far corner can be brought into view, and no further.
  EXPECT_GE(Img->ToPicture(QPointF(787, 587)).x(), 1599);
  EXPECT_GE(Img->ToPicture(QPointF(787, 587)).y(), 1199);
  Img->ScrollTo(QPointF(5000, -50));
  EXPECT_EQ(Img->Origin(), QPointF(HBar->maximum(), 0));
  Find<QAction>("Zoom0")->trigger();
  EXPECT_DOUBLE_EQ(Img->Scale(), 0.5);
  EXPECT_FALSE(HBar->isVisible());
}

TEST_F(CircuitTools, KartsGoToTheNearestRoadWhereTheyFitOnlyWhenTheUserSaysSo) {
  Dialogs.Files << MakeCircuit("small.bmp", 300, 300);
  Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_TRUE(Dialogs.Messages[0].contains("outside the picture"));
  EXPECT_EQ(Kart(0).PosY(), 460);  // declined: the built-in start stays

  W->AddKart();
  ASSERT_TRUE(Tools->MoveKartsToRoad());
  for (int I = 0; I < 2; ++I) {
    // Straight up from (200, 460) to the road's edge, with room for the kart: more than 10
    // pixels of road below it.
    EXPECT_EQ(Kart(I).PosX(), 200);
    EXPECT_EQ(Kart(I).PosY(), 269);
    EXPECT_TRUE(Kart(I).ShapeOnTrack());
  }
  // The new place is the karts' start.
  Find<QPushButton>("BtnReset")->click();
  EXPECT_EQ(Kart(0).PosX(), 200);

  // A circuit with its start on the road asks nothing.
  Find<QAction>("BuiltInCircuit")->trigger();
  EXPECT_EQ(Dialogs.Messages.size(), 1);
}

TEST_F(CircuitTools, TheStartBelongsToTheCircuitAndResetNeverLeavesAKartOffTheRoad) {
  // Moved to the road of a circuit whose start is outside it...
  Dialogs.Files << MakeCircuit("small.bmp", 300, 300);
  Dialogs.Answers << QMessageBox::Yes;
  Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_EQ(Kart(0).PosY(), 269);
  // ...the built-in circuit brings its own start back: the karts stay, Reset goes there.
  Find<QAction>("BuiltInCircuit")->trigger();
  EXPECT_EQ(Kart(0).PosY(), 269);
  Find<QPushButton>("BtnReset")->click();
  EXPECT_EQ(Kart(0).PosX(), 200);
  EXPECT_EQ(Kart(0).PosY(), 460);
  EXPECT_TRUE(W->findChild<TRaceViews*>()->Log().Laps().HasLine());
  EXPECT_EQ(Dialogs.Messages.size(), 1);

  // A start off the road of the circuit a kart is on: Reset offers the move, for that kart.
  W->AddKart();
  ASSERT_FALSE(Track().IsOnTrack(20, 20));
  Kart(0).SetPosition(20, 20, 0);
  Dialogs.Answers << QMessageBox::Yes;
  Find<QPushButton>("BtnReset")->click();
  ASSERT_EQ(Dialogs.Messages.size(), 2);
  EXPECT_TRUE(Dialogs.Messages[1].contains("#1")) << Dialogs.Messages[1].toStdString();
  EXPECT_EQ(Kart(0).PosX(), 200);
  EXPECT_EQ(Kart(0).PosY(), 460);
  Find<QPushButton>("BtnReset")->click();
  EXPECT_EQ(Kart(0).PosY(), 460);  // its start now
  EXPECT_EQ(Dialogs.Messages.size(), 2);
}
