// The window as it opens: one red kart at the start, the controls showing the model's values.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <numbers>

#include "WindowTest.h"
#include "ui/UColorPanel.h"
#include "ui/UDebugMemo.h"
#include "ui/UDefaultCircuit.h"

using StartState = WindowTest;

TEST_F(StartState, OneRedKartStandsAtTheStartAndIsCurrent) {
  ASSERT_EQ(W->Track->PlayerCount(), 1);
  TKart& K = Kart(0);
  EXPECT_EQ(W->CurrentKart, &K);
  EXPECT_EQ(K.PosX(), 200);
  EXPECT_EQ(K.PosY(), 460);
  EXPECT_EQ(K.Angle(), std::numbers::pi / 2);
  EXPECT_EQ(K.VelX(), 0);
  EXPECT_EQ(K.VelY(), 0);
  EXPECT_EQ(K.Color, clRed);
  EXPECT_EQ(W->EdColor->Color(), clRed);
  ASSERT_EQ(W->EdKartId->count(), 1);
  EXPECT_EQ(W->EdKartId->itemText(0), "Kart #1");
  EXPECT_EQ(W->EdKartId->currentIndex(), 0);
  EXPECT_EQ(W->FrameNumber, 1);
  EXPECT_FALSE(W->UpKeyHeld || W->DownKeyHeld || W->LeftKeyHeld || W->RightKeyHeld);
  EXPECT_FALSE(W->StartBtn->isChecked());
  EXPECT_FALSE(W->PauseBtn->isChecked());
  EXPECT_EQ(W->DebugMemo->toPlainText(), "Debug info...");
}

TEST_F(StartState, ControlsShowTheModelsValuesNotTheLayouts) {
  struct Row {
    QSlider* Slider;
    QLabel* Label;
    int Position;
    QString Text;
  };
  const Row Rows[] = {
      {W->EdFriction, W->LbFriction, 15, "0.015"},
      {W->EdSideFriction, W->LbSideFriction, 20, "0.2"},
      {W->EdMaxPower, W->LbMaxPower, 10, "10"},
      {W->EdMax_Turn, W->LbMax_Turn, 45, QStringLiteral("45\u00BA")},
      {W->EdSize, W->LbSize, 8, "8px"},
      {W->EdSeconds, W->LbSeconds, 10, "10 s."},
      {W->EdRadio, W->LbRadio, 10, "10px"},
  };
  for (const Row& R : Rows) {
    EXPECT_EQ(R.Slider->value(), R.Position) << R.Slider->objectName().toStdString();
    EXPECT_EQ(R.Label->text(), R.Text) << R.Label->objectName().toStdString();
  }

  const TKart& K = Kart(0);
  EXPECT_DOUBLE_EQ(W->Track->Friction, 0.015);
  EXPECT_DOUBLE_EQ(W->Track->SideFriction, 0.2);
  EXPECT_EQ(W->Track->Seconds, 10);
  EXPECT_EQ(K.MaxPower(), 10);
  EXPECT_DOUBLE_EQ(K.MaxTurn(), std::numbers::pi / 4);
  EXPECT_EQ(K.GetSize(), 8);
  EXPECT_EQ(K.GetGridSize(), 10);

  EXPECT_FALSE(W->CBTeamScore->isChecked());
  EXPECT_FALSE(W->Track->TeamScore);
  // Collisions come from the check box, overriding the track's own default.
  EXPECT_TRUE(W->EdCollisions->isChecked());
  EXPECT_TRUE(W->Track->Collisions);
  EXPECT_TRUE(W->EdAutoRadio->isChecked());
  EXPECT_TRUE(K.AutoGrid);
  EXPECT_TRUE(W->EdUseRefined->isChecked());
  EXPECT_TRUE(K.UseRefined);
  EXPECT_TRUE(W->MenuDebug0->isChecked());
  EXPECT_FALSE(W->MenuDebug1->isChecked() || W->MenuDebug2->isChecked());
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Nothing);
  EXPECT_TRUE(W->MenuCleanTrack->isChecked());
  EXPECT_FALSE(W->Track->KeepTrails);
  EXPECT_FALSE(W->Saveimagestofolder->isChecked());
}

TEST_F(StartState, WindowIsFixedCentredAndShowsTheCircuitWithTheKart) {
  EXPECT_EQ(W->windowTitle(),
            QStringLiteral("Kart simulation using \"Causal Entropic Forces\" V0.6"));
  EXPECT_EQ(W->centralWidget()->size(), QSize(1060, 621));
  EXPECT_EQ(W->minimumSize(), W->maximumSize());
  EXPECT_EQ(W->ImgRoad->geometry(), QRect(9, 9, 800, 600));
  const QPoint Middle = W->screen()->availableGeometry().center();
  // Centred before the frame is known: the frame's margins may shift it a little.
  EXPECT_LE((W->frameGeometry().center() - Middle).manhattanLength(), 6);

  // The picture is the built-in circuit with only the kart drawn on it, at its start.
  const QImage Circuit = DefaultCircuitImage();
  const TPicture& Shown = W->ImgRoad->Picture();
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
