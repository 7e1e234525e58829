// The window as it opens: one red kart at the start, the controls showing the model's values.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <numbers>

#include "WindowTest.h"
#include "io/UDefaultCircuit.h"
#include "ui/UColorPanel.h"
#include "ui/UDebugMemo.h"
#include "ui/UFileDialogs.h"

using StartState = WindowTest;

TEST_F(StartState, OneRedKartStandsAtTheStartAndIsCurrent) {
  ASSERT_EQ(Track().PlayerCount(), 1);
  TKart& K = Kart(0);
  EXPECT_EQ(W->CurrentKart, &K);
  EXPECT_EQ(K.PosX(), 200);
  EXPECT_EQ(K.PosY(), 460);
  EXPECT_EQ(K.Angle(), std::numbers::pi / 2);
  EXPECT_EQ(K.VelX(), 0);
  EXPECT_EQ(K.VelY(), 0);
  EXPECT_EQ(K.Color, clRed);
  EXPECT_EQ(Find<TColorPanel>("EdColor")->Color(), clRed);
  ASSERT_EQ(Find<QComboBox>("EdKartId")->count(), 1);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->itemText(0), "Kart #1");
  EXPECT_EQ(Find<QComboBox>("EdKartId")->currentIndex(), 0);
  EXPECT_EQ(W->Runner().FrameNumber, 1);
  EXPECT_FALSE(W->UpKeyHeld || W->DownKeyHeld || W->LeftKeyHeld || W->RightKeyHeld);
  EXPECT_FALSE(Find<QPushButton>("StartBtn")->isChecked());
  EXPECT_FALSE(Find<QPushButton>("PauseBtn")->isChecked());
  EXPECT_EQ(Find<QPlainTextEdit>("DebugMemo")->toPlainText(), "Debug info...");
}

TEST_F(StartState, ControlsShowTheModelsValuesNotTheLayouts) {
  struct Row {
    QSlider* Slider;
    QLabel* Label;
    int Position;
    QString Text;
  };
  const Row Rows[] = {
      {Find<QSlider>("EdFriction"), Find<QLabel>("LbFriction"), 15, "0.015"},
      {Find<QSlider>("EdSideFriction"), Find<QLabel>("LbSideFriction"), 20, "0.2"},
      {Find<QSlider>("EdMaxPower"), Find<QLabel>("LbMaxPower"), 10, "10"},
      {Find<QSlider>("EdMax_Turn"), Find<QLabel>("LbMax_Turn"), 45, QStringLiteral("45\u00BA")},
      {Find<QSlider>("EdSize"), Find<QLabel>("LbSize"), 8, "8px"},
      {Find<QSlider>("EdSeconds"), Find<QLabel>("LbSeconds"), 10, "10 s."},
      {Find<QSlider>("EdRadio"), Find<QLabel>("LbRadio"), 10, "10px"},
  };
  for (const Row& R : Rows) {
    EXPECT_EQ(R.Slider->value(), R.Position) << R.Slider->objectName().toStdString();
    EXPECT_EQ(R.Label->text(), R.Text) << R.Label->objectName().toStdString();
  }

  const TKart& K = Kart(0);
  EXPECT_DOUBLE_EQ(Track().Friction, 0.015);
  EXPECT_DOUBLE_EQ(Track().SideFriction, 0.2);
  EXPECT_EQ(Track().Seconds, 10);
  EXPECT_EQ(K.MaxPower(), 10);
  EXPECT_DOUBLE_EQ(K.MaxTurn(), std::numbers::pi / 4);
  EXPECT_EQ(K.GetSize(), 8);
  EXPECT_EQ(K.GetGridSize(), 10);

  EXPECT_FALSE(Find<QCheckBox>("CBTeamScore")->isChecked());
  EXPECT_FALSE(Track().TeamScore);
  // Collisions come from the check box, overriding the track's own default.
  EXPECT_TRUE(Find<QCheckBox>("EdCollisions")->isChecked());
  EXPECT_TRUE(Track().Collisions);
  EXPECT_TRUE(Find<QCheckBox>("EdAutoRadio")->isChecked());
  EXPECT_TRUE(K.AutoGrid);
  EXPECT_TRUE(Find<QCheckBox>("EdUseRefined")->isChecked());
  EXPECT_TRUE(K.UseRefined);
  EXPECT_TRUE(Find<QAction>("MenuDebug0")->isChecked());
  EXPECT_FALSE(Find<QAction>("MenuDebug1")->isChecked() ||
               Find<QAction>("MenuDebug2")->isChecked());
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Nothing);
  EXPECT_TRUE(Find<QAction>("MenuCleanTrack")->isChecked());
  EXPECT_FALSE(Track().KeepTrails);
  EXPECT_FALSE(Find<QAction>("Saveimagestofolder")->isChecked());
}

TEST_F(StartState, WindowOpensCentredAtTheCircuitsSizeAndShowsTheCircuitWithTheKart) {
  EXPECT_EQ(W->windowTitle(),
            QStringLiteral("Kart simulation using \"Causal Entropic Forces\" V0.6"));
  EXPECT_NE(W->minimumSize(), W->maximumSize());  // it can be resized and maximised
  const auto* Picture = Find<TImageControl>("ImgRoad");
  EXPECT_EQ(Picture->pos(), QPoint(9, 9));
  EXPECT_EQ(Picture->width(), 800);
  EXPECT_GE(Picture->height(), 600);
  const QPoint Middle = W->screen()->availableGeometry().center();
  // Centred before the frame is known: the frame's margins may shift it a little.
  EXPECT_LE((W->frameGeometry().center() - Middle).manhattanLength(), 6);

  // The picture is the built-in circuit with only the kart drawn on it, at its start.
  const QImage Circuit = DefaultCircuitImage();
  const TPicture& Shown = Find<TImageControl>("ImgRoad")->Picture();
  ASSERT_EQ(Shown.Width(), Circuit.width());
  ASSERT_EQ(Shown.Height(), Circuit.height());
  int Changed = 0, FarChanged = 0;
  for (int X = 0; X < Circuit.width(); ++X)
    for (int Y = 0; Y < Circuit.height(); ++Y)
      if (Shown.Pixel(X, Y) != TQtPicture::FromQRgb(Circuit.pixel(X, Y))) {
        ++Changed;
        FarChanged += std::abs(X - 200) > 20 || std::abs(Y - 460) > 20;
      }
  EXPECT_GT(Changed, 20);
  EXPECT_EQ(FarChanged, 0);
  EXPECT_GT(CountColor(clRed, 200, 460, 12), 10);
}

TEST_F(StartState, TabGoesDownTheColumnPanelByPanel) {
  QStringList Chain;
  for (QWidget* X = W->nextInFocusChain(); X && X != W.get(); X = X->nextInFocusChain())
    if (X->focusPolicy() & Qt::TabFocus && !X->objectName().isEmpty()) Chain << X->objectName();
  const QStringList Expected = {"ImgRoad",      "EdFriction",      "EdSideFriction", "CBTeamScore",
                                "EdCollisions", "CBRaceDirection", "EdColor",        "EdKartId",
                                "BtnAddKart",   "BtnSubKart",      "EdMaxPower",     "EdMax_Turn",
                                "EdSize",       "EdSeconds",       "EdRadio",        "EdAutoRadio",
                                "EdUseRefined", "SpeedButton2",    "SpeedButton1",   "SpeedButton3",
                                "SpeedButton4", "SpeedButton6",    "SpeedButton5",   "DebugMemo",
                                "StartBtn",     "PauseBtn",        "BtnReset"};
  EXPECT_EQ(Chain, Expected);
}

TEST_F(StartState, ThePictureTakesTheRoomTheWindowGrowsByAndTheSizeIsKeptForTheNextStart) {
  auto* Picture = Find<TImageControl>("ImgRoad");
  auto* Column = Find<QWidget>("GroupTrack")->parentWidget();
  const int ColumnWidth = Column->width();
  W->resize(W->width() + 300, W->height() + 200);
  QApplication::processEvents();
  EXPECT_EQ(Picture->width(), 1100);
  EXPECT_EQ(Column->width(), ColumnWidth);
  // "Fit the whole circuit" uses the room: the circuit is shown larger than its own size.
  Find<QAction>("Zoom0")->trigger();
  EXPECT_GT(Picture->Scale(), 1.3);

  const QSize Size = W->size();
  W->close();
  W = std::make_unique<TFormTest2D>();
  W->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(W.get()));
  EXPECT_EQ(W->size(), Size);
  // The next test starts from the laid-out size again.
  WindowSettings()->clear();
}
