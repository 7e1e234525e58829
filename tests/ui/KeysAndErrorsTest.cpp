// The keyboard: arrows for the focused control, or for the kart from the picture; menus by
// letter and arrows; Space for Run and Pause; no traps. And errors raised in handlers reaching
// the error dialog.

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QVBoxLayout>
#include <numbers>

#include "WindowTest.h"
#include "decision/UBase.h"
#include "tests/FlatPlayer.h"

using KeysAndErrors = WindowTest;

TEST_F(KeysAndErrors, ArrowKeysMoveTheFocusedControlAndTheKartOnlyFromThePicture) {
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  QWindow* Win = W->windowHandle();
  // A slider and the kart list take their arrows as everywhere else.
  Find<QSlider>("EdFriction")->setFocus();
  QTest::keyClick(Win, Qt::Key_Right);
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 16);
  EXPECT_DOUBLE_EQ(Track().Friction, 0.016);
  QTest::keyClick(Win, Qt::Key_Left);
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 15);
  Find<QComboBox>("EdKartId")->setFocus();
  QTest::keyClick(Win, Qt::Key_Up);
  EXPECT_EQ(W->CurrentKart, &Kart(0));
  EXPECT_FALSE(W->UpKeyHeld);
  const double X = Kart(0).PosX(), Y = Kart(0).PosY(), Angle = Kart(0).Angle();
  EXPECT_EQ(X, 200);

  // Ctrl+K gives the picture the keys, and the picture shows it: its frame takes the
  // highlight colour.
  auto* Picture = Find<TImageControl>("ImgRoad");
  const QColor Highlight = Picture->palette().color(QPalette::Highlight);
  EXPECT_NE(Picture->grab().toImage().pixelColor(1, 300), Highlight);
  QTest::keyClick(Win, Qt::Key_K, Qt::ControlModifier);
  ASSERT_TRUE(Picture->hasFocus());
  EXPECT_EQ(Picture->grab().toImage().pixelColor(1, 300), Highlight);
  QTest::keyPress(Win, Qt::Key_Left);
  EXPECT_TRUE(W->LeftKeyHeld);
  QTest::keyRelease(Win, Qt::Key_Left);
  EXPECT_FALSE(W->LeftKeyHeld);
  QTest::keyClick(Win, Qt::Key_Up);
  QTest::keyClick(Win, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Kart(0).PosX(), X - 5);
  EXPECT_EQ(Kart(0).PosY(), Y - 5);
  EXPECT_DOUBLE_EQ(Kart(0).Angle(), Angle + std::numbers::pi / 12);
  EXPECT_EQ(Kart(1).PosX(), X);  // only the chosen kart

  // Tab leaves the picture; the arrows are the next control's again.
  QTest::keyClick(Win, Qt::Key_Tab);
  EXPECT_FALSE(Picture->hasFocus());
  QTest::keyClick(Win, Qt::Key_Right);
  EXPECT_EQ(Kart(0).PosX(), X - 5);
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 16);
  // Stopped, a move by hand is the kart's new start, as with the buttons.
  QTest::mouseClick(Find<QPushButton>("BtnReset"), Qt::LeftButton);
  EXPECT_EQ(Kart(0).PosX(), X - 5);
  EXPECT_EQ(Kart(0).PosY(), Y - 5);
}

TEST_F(KeysAndErrors, EveryMenuItemIsReachedByItsLetterAndTheArrows) {
  for (QAction* Title : W->menuBar()->actions()) {
    EXPECT_FALSE(QKeySequence::mnemonic(Title->text()).isEmpty()) << Title->text().toStdString();
    QSet<QString> Letters;
    for (QAction* Item : Title->menu()->actions()) {
      if (Item->isSeparator()) continue;
      const QKeySequence Letter = QKeySequence::mnemonic(Item->text());
      EXPECT_FALSE(Letter.isEmpty()) << Item->text().toStdString();
      EXPECT_FALSE(Letters.contains(Letter.toString()))
          << "two items on " << Letter.toString().toStdString() << " in "
          << Title->text().toStdString();
      Letters << Letter.toString();
    }
  }
  // Alt+Z opens the zoom menu at its first item; two down is "2x".
  QTest::keyClick(W.get(), Qt::Key_Z, Qt::AltModifier);
  auto* Zoom = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(Zoom, nullptr);
  QTest::keyClick(Zoom, Qt::Key_Down);
  QTest::keyClick(Zoom, Qt::Key_Down);
  QTest::keyClick(Zoom, Qt::Key_Return);
  EXPECT_TRUE(Find<QAction>("Zoom2")->isChecked());
  EXPECT_EQ(Find<TImageControl>("ImgRoad")->Zoom(), 2);
}

TEST_F(KeysAndErrors, SpaceRunsAndPausesWhereNoFocusedControlTakesIt) {
  MakeMovesQuick();
  int Moves = 0;
  QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] {
    if (++Moves % 2 == 0) QTest::keyClick(W->windowHandle(), Qt::Key_Space);
  });
  Find<QSlider>("EdFriction")->setFocus();
  QTest::keyClick(W->windowHandle(), Qt::Key_Space);  // returns once the loop has ended
  EXPECT_EQ(Moves, 2);
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 15);
  EXPECT_TRUE(Find<QAction>("RunPause")->toolTip().contains("Space"));

  // After Pause, Tab reaches Run, and Space there runs again rather than nesting a loop.
  Find<QPlainTextEdit>("DebugMemo")->setFocus();
  QTest::keyClick(W->windowHandle(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), Find<QPushButton>("StartBtn"));
  QTest::keyClick(W->windowHandle(), Qt::Key_Space);
  EXPECT_EQ(Moves, 4);
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());

  // A focused button takes Space as its own press.
  Find<QPushButton>("BtnAddKart")->setFocus();
  QTest::keyClick(W->windowHandle(), Qt::Key_Space);
  EXPECT_EQ(Track().PlayerCount(), 2);
  EXPECT_EQ(Moves, 4);
}

TEST_F(KeysAndErrors, TheDebugTextIsReadOnlyAndTheColourPanelTakesTheFocus) {
  auto* Memo = Find<QPlainTextEdit>("DebugMemo");
  Memo->setFocus();
  QTest::keyClicks(Memo, "abc");
  QTest::keyClick(Memo, Qt::Key_Tab);
  EXPECT_EQ(Memo->toPlainText(), "Debug info...");
  EXPECT_FALSE(Memo->hasFocus());

  // Tab from the track's last check box lands on the colour; Space asks for another colour.
  Find<QCheckBox>("CBRaceDirection")->setFocus();
  QTest::keyClick(W->windowHandle(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), Find<TColorPanel>("EdColor"));
  DialogAnswerer Dialogs;
  Dialogs.Colors << QColor(0, 0, 255);
  QTest::keyClick(W->windowHandle(), Qt::Key_Space);
  EXPECT_EQ(Kart(0).Color, clBlue);
  EXPECT_EQ(Find<QPushButton>("StartBtn")->isChecked(), false);
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
