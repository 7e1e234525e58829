// Saving every move as a numbered frame, and trails kept on the picture.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include "WindowTest.h"
#include "decision/UBase.h"

namespace {

int CountRed(const QImage& Picture, const QRect& Box) {
  int N = 0;
  for (int X = Box.left(); X <= Box.right(); ++X)
    for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
      N += Picture.pixelColor(X, Y) == QColor(Qt::red);
  return N;
}

}  // namespace

class Frames : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    MakeMovesQuick();
  }

  /// Switches saving off, or on with Base chosen in the dialog ("" cancels it), as the menu does.
  void ClickSaving(const QString& Base = {}) {
    if (!Find<QAction>("Saveimagestofolder")->isChecked()) Dialogs.Files << Base;
    Find<QAction>("Saveimagestofolder")->trigger();
  }

  QString Path(const QString& Name) const { return Dir.filePath(Name); }
  QStringList Saved() const { return QDir(Dir.path()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir Dir;
  DialogAnswerer Dialogs;
};

TEST_F(Frames, MovesWriteNumberedFramesAndResetNumbersFromOneAgain) {
  ClickSaving(Path("lap"));
  ASSERT_TRUE(Find<QAction>("Saveimagestofolder")->isChecked());
  ASSERT_EQ(RunMoves(3), 3);
  EXPECT_EQ(Saved(), QStringList({"lap_0001.bmp", "lap_0002.bmp", "lap_0003.bmp"}));
  EXPECT_EQ(W->Runner().FrameNumber, 4);
  // The picture as shown, with the kart on it, at 24 bits per pixel.
  EXPECT_EQ(QFileInfo(Path("lap_0003.bmp")).size(), 1440054);
  const QImage Frame(Path("lap_0003.bmp"));
  const TKart& K = Kart(0);
  EXPECT_GT(CountRed(Frame, QRect(RoundEven(K.PosX()) - 10, RoundEven(K.PosY()) - 10, 21, 21)), 10);

  for (const QString& Name : Saved()) QFile::remove(Path(Name));
  QTest::mouseClick(Find<QPushButton>("BtnReset"), Qt::LeftButton);
  ASSERT_EQ(RunMoves(2), 2);
  EXPECT_EQ(Saved(), QStringList({"lap_0001.bmp", "lap_0002.bmp"}));
  EXPECT_TRUE(Dialogs.Messages.isEmpty());
}

TEST_F(Frames, NumberingGoesOnAcrossBasesAndPastFourDigits) {
  ClickSaving(Path("a.bmp"));
  ASSERT_EQ(RunMoves(5), 5);
  ClickSaving();  // off, no dialog
  EXPECT_FALSE(Find<QAction>("Saveimagestofolder")->isChecked());
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_EQ(Saved().size(), 5);
  ClickSaving(Path("b"));
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_TRUE(QFileInfo::exists(Path("a_0005.bmp")));  // the name given, less its .bmp
  EXPECT_TRUE(QFileInfo::exists(Path("b_0006.bmp")));

  W->Runner().FrameNumber = 10000;
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_TRUE(QFileInfo::exists(Path("b_10000.bmp")));
}

TEST_F(Frames, ANameEndingInBmpIsTheBaseAndTheStatusBarCountsTheFrames) {
  ClickSaving(Path("race.bmp"));
  ASSERT_EQ(RunMoves(2), 2);
  EXPECT_EQ(Saved(), QStringList({"race_0001.bmp", "race_0002.bmp"}));
  EXPECT_EQ(Find<QLabel>("LbFrames")->text(), "frames: 2 saved, 2.7 MB");
  // Off: the count goes from the status bar; on again, it counts afresh.
  ClickSaving();
  EXPECT_FALSE(Find<QLabel>("LbFrames")->isVisibleTo(W.get()));
  ClickSaving(Path("race"));
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_EQ(Find<QLabel>("LbFrames")->text(), "frames: 1 saved, 1.4 MB");
}

TEST_F(Frames, CancelledDialogLeavesSavingOff) {
  ClickSaving("");
  EXPECT_FALSE(Find<QAction>("Saveimagestofolder")->isChecked());
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_EQ(W->Runner().FrameNumber, 1);
}

TEST_F(Frames, UnwritableFrameEndsTheLoopWithRunReleasedAndKeepsTheNumber) {
  // The folder is there when chosen and gone when the frame is written.
  ASSERT_TRUE(QDir(Dir.path()).mkdir("gone"));
  ClickSaving(Path("gone/lap"));
  ASSERT_TRUE(Find<QAction>("Saveimagestofolder")->isChecked());
  ASSERT_TRUE(QDir(Path("gone")).removeRecursively());
  int Moves = 0;
  QObject::connect(&W->Runner(), &TRaceRunner::MoveFinished, [&] { ++Moves; });
  QTest::mouseClick(Find<QPushButton>("StartBtn"), Qt::LeftButton);
  // The user's folder, not a fault of the program: a plain warning, the move itself counted.
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_TRUE(Dialogs.Messages[0].contains("lap_0001.bmp")) << Dialogs.Messages[0].toStdString();
  EXPECT_TRUE(Dialogs.Reports.isEmpty());
  EXPECT_EQ(Moves, 1);
  EXPECT_FALSE(Find<QPushButton>("StartBtn")->isChecked());
  EXPECT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());
  EXPECT_EQ(W->Runner().FrameNumber, 1);
  EXPECT_TRUE(Saved().isEmpty());

  // With a folder that exists, the same frame number is written.
  ClickSaving();
  ClickSaving(Path("lap"));
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_EQ(Saved(), QStringList({"lap_0001.bmp"}));
}

TEST_F(Frames, TheSaveDialogRefusesAFolderThatCannotTakeFramesAndSavingStaysOff) {
  ClickSaving(Path("lap"));
  ClickSaving();
  QFile Blocker(Path("blocker"));
  ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  Blocker.close();
  for (const QString& Base : {Path("missing/lap"), Path("blocker/lap")}) {
    ClickSaving(Base);
    EXPECT_FALSE(Find<QAction>("Saveimagestofolder")->isChecked()) << Base.toStdString();
    EXPECT_EQ(W->Runner().SaveBaseName, Path("lap"));
  }
  ASSERT_EQ(Dialogs.Messages.size(), 2);
  EXPECT_TRUE(Dialogs.Messages[0].contains("does not exist")) << Dialogs.Messages[0].toStdString();
  EXPECT_TRUE(Dialogs.Messages[1].contains("is not a folder")) << Dialogs.Messages[1].toStdString();
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_TRUE(Saved() == QStringList({"blocker"}));
}

TEST_F(Frames, KeptTrailsStayOnThePictureAndInTheFrames) {
  Find<QAction>("MenuCleanTrack")->trigger();
  ASSERT_TRUE(Track().KeepTrails);
  ClickSaving(Path("trail"));
  const TKart& K = Kart(0);
  ASSERT_EQ(RunMoves(30), 30);
  ASSERT_GT(K.PosY() - 460, 20) << "the kart must have left its own outline behind";

  // The outlines between the start and the kart are still in the last frame.
  const QRect Behind(190, 455, 21, RoundEven(K.PosY()) - 15 - 455);
  EXPECT_GT(CountRed(QImage(Path("trail_0030.bmp")), Behind), 20);

  // Cleaning again: the next redraw starts from the clean circuit.
  Find<QAction>("MenuCleanTrack")->trigger();
  EXPECT_FALSE(Track().KeepTrails);
  Track().Redraw();
  EXPECT_EQ(CountRed(Find<TImageControl>("ImgRoad")->Picture().Image(), Behind), 0);
}
