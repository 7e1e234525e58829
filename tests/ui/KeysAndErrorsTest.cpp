// The application-wide arrow-key hook, and errors raised in handlers reaching the error dialog.

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "WindowTest.h"
#include "decision/UBase.h"
#include "tests/FlatPlayer.h"

namespace {}  // namespace

using KeysAndErrors = WindowTest;

TEST_F(KeysAndErrors, ArrowKeysSetTheirFlagsAndReachNoControl) {
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  Find<QSlider>("EdFriction")->setFocus();
  QWindow* Win = W->windowHandle();
  const struct {
    Qt::Key Key;
    bool* Flag;
  } Keys[] = {{Qt::Key_Up, &W->UpKeyHeld},
              {Qt::Key_Down, &W->DownKeyHeld},
              {Qt::Key_Left, &W->LeftKeyHeld},
              {Qt::Key_Right, &W->RightKeyHeld}};
  for (const auto& K : Keys) {
    QTest::keyPress(Win, K.Key);
    EXPECT_TRUE(*K.Flag);
    QTest::keyRelease(Win, K.Key);
    EXPECT_FALSE(*K.Flag);
  }
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 15);
  // Other keys still reach the slider: one page step.
  QTest::keyClick(Win, Qt::Key_PageUp);
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 17);

  Find<QComboBox>("EdKartId")->setFocus();
  QTest::keyClick(Win, Qt::Key_Up);
  QTest::keyClick(Win, Qt::Key_Down);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->currentIndex(), 1);
  EXPECT_EQ(W->CurrentKart, &Kart(1));

  // While another window is active, its arrow keys are its own.
  QWidget Other;
  auto* Slider = new QSlider(Qt::Horizontal, &Other);
  Slider->setRange(0, 10);
  Other.show();
  Other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Other));
  Slider->setFocus();
  QTest::keyClick(Other.windowHandle(), Qt::Key_Right);
  EXPECT_EQ(Slider->value(), 1);
  EXPECT_FALSE(W->RightKeyHeld);
}

TEST_F(KeysAndErrors, AnErrorInAHandlerIsShownAndTheWindowStaysUsable) {
  // A list line without a kart behind it: choosing it fails in the model.
  Find<QComboBox>("EdKartId")->addItem("Kart #2");
  std::string Expected;
  try {
    RaiseListIndexError(1);
  } catch (const EModelError& E) {
    Expected = E.what();
  }
  DialogAnswerer Dialogs;
  ChooseLastKart();
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_EQ(Dialogs.Messages[0].toStdString(), Expected);
  EXPECT_EQ(W->CurrentKart, &Kart(0));

  Find<QComboBox>("EdKartId")->removeItem(1);
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  EXPECT_EQ(Track().PlayerCount(), 2);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->itemText(1), "Kart #2");
  EXPECT_EQ(Dialogs.Messages.size(), 1);
}

TEST_F(KeysAndErrors, AnErrorInTheRunLoopEndsItWithRunReleasedAndRunStartsItAgain) {
  MakeMovesQuick();
  auto* Flat = new TFlatPlayer;  // the track's players are freed with the window
  Track().AddPlayer(*Flat);
  int Moves = 0;
  QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] { ++Moves; });
  {
    DialogAnswerer Dialogs;
    QTest::mouseClick(Find<QPushButton>("StartBtn"), Qt::LeftButton);
    ASSERT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_EQ(Dialogs.Messages[0], "Track2D contains a player that is not a Player2D.");
  }
  EXPECT_EQ(Moves, 0);
  EXPECT_FALSE(Find<QPushButton>("StartBtn")->isChecked());
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());

  Track().RemovePlayer(Flat, true);
  EXPECT_EQ(RunMoves(2), 2);
  EXPECT_GT(Kart(0).PosY(), 460);
}
