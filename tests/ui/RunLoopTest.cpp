// Run, Pause and Reset: the loop of moves, its nesting, and its end when the window goes.

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "WindowTest.h"
#include "world/URaceSetup.h"

using RunLoop = WindowTest;

TEST_F(RunLoop, PauseFinishesTheMoveUnderWayAndRunResumesWithoutReset) {
  MakeMovesQuick();
  int Moves = 0;
  QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] { ++Moves; });
  // Pause is pressed in the middle of the first move, while the step lets messages through.
  QTimer::singleShot(0, Find<QPushButton>("PauseBtn"),
                     [this] { QTest::mouseClick(Find<QPushButton>("PauseBtn"), Qt::LeftButton); });
  QTest::mouseClick(Find<QPushButton>("StartBtn"), Qt::LeftButton);
  EXPECT_EQ(Moves, 1);
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());
  EXPECT_FALSE(Find<QPushButton>("StartBtn")->isChecked());
  TKart& K = Kart(0);
  const double Y1 = K.PosY();
  EXPECT_GT(Y1, 460);  // it set off down the picture

  // Pressing Run again goes on from there.
  ASSERT_EQ(RunMoves(2), 2);
  EXPECT_EQ(Moves, 3);
  EXPECT_GT(K.PosY(), Y1);
}

TEST_F(RunLoop, AMoveLastsItsBudgetOfWallTimeUnlessAsFastAsPossible) {
  Find<QSlider>("EdSeconds")->setValue(1);
  Track().FixedPasses = 1;  // thinking takes a few milliseconds, far less than the budget
  QElapsedTimer Clock;
  Clock.start();
  QString Rate;
  ASSERT_EQ(RunMoves(5, [&](int) { Rate = Find<QLabel>("LbMovesPerSecond")->text(); }), 5);
  EXPECT_GE(Clock.elapsed(), 5 * MoveBudgetMs - 5);
  ASSERT_TRUE(Rate.endsWith(" moves/s")) << Rate.toStdString();
  // Measured from the end of one move to the end of the next: a first move slower than the
  // others may show a little more than 10.
  EXPECT_LE(Rate.section(' ', 0, 0).toDouble(), 10.5);

  Find<QAction>("AsFastAsPossible")->trigger();
  Clock.restart();
  ASSERT_EQ(RunMoves(10), 10);
  EXPECT_LT(Clock.elapsed(), 10 * MoveBudgetMs);
}

TEST_F(RunLoop, ResetWhileRunningSendsKartsBackWithoutStopping) {
  MakeMovesQuick();
  TKart& K = Kart(0);
  double YAtMove4 = 0;
  const int Moves = RunMoves(6, [&](int Move) {
    // A click that arrives while move 4 is under way.
    if (Move == 3)
      QTimer::singleShot(0, Find<QPushButton>("BtnReset"),
                         [this] { Find<QPushButton>("BtnReset")->click(); });
    if (Move == 4) YAtMove4 = K.PosY();
  });
  EXPECT_EQ(Moves, 6);
  EXPECT_EQ(YAtMove4, 460);
  EXPECT_GT(K.PosY(), 460);  // moves 5 and 6 ran after the reset
  EXPECT_EQ(W->Runner().FrameNumber, 1);
}

TEST_F(RunLoop, RunPressedWhileRunningNestsAnInnerLoopThatEndsFirst) {
  MakeMovesQuick();
  int Moves = 0;
  QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] {
    ++Moves;
    if (Moves == 1)
      QTimer::singleShot(0, Find<QPushButton>("StartBtn"),
                         [this] { Find<QPushButton>("StartBtn")->click(); });
    if (Moves == 3) Find<QPushButton>("PauseBtn")->click();  // the inner loop's second move
  });
  QTest::mouseClick(Find<QPushButton>("StartBtn"), Qt::LeftButton);
  // One outer move, two inner ones, then the outer loop finishes the move it was in.
  EXPECT_EQ(Moves, 4);
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());
}

TEST_F(RunLoop, ClosingTheWindowWhileRunningEndsTheLoop) {
  MakeMovesQuick();
  int Moves = 0;
  QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] {
    if (++Moves == 2) QTimer::singleShot(0, W.get(), [this] { W->close(); });
  });
  Find<QPushButton>("StartBtn")->click();  // returns once the loop has ended
  EXPECT_EQ(Moves, 2);
  EXPECT_FALSE(W->isVisible());
}

TEST_F(RunLoop, DeletingTheWindowWhileRunningLeavesTheLoopUntouched) {
  MakeMovesQuick();
  int Moves = 0;
  QPointer<QPushButton> Run = Find<QPushButton>("StartBtn");
  QPointer<TRaceRunner> Runner = &W->Runner();
  QObject::connect(Runner, &TRaceRunner::MoveFinished, [&] {
    if (++Moves == 2) QTimer::singleShot(0, [this] { W.reset(); });
  });
  Run->click();  // AddressSanitizer reports any touch of the window after it is gone
  EXPECT_EQ(Moves, 2);
  EXPECT_TRUE(Run.isNull());
  EXPECT_TRUE(Runner.isNull());  // the race goes with its window
  EXPECT_EQ(W, nullptr);
}
