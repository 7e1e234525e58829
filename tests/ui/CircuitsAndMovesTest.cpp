// Loading circuit pictures, moving and turning the current kart by hand, choosing its colour,
// and what the debug levels show.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <numbers>

#include "WindowTest.h"
#include "decision/UBase.h"
#include "io/UDefaultCircuit.h"
#include "ui/UColorPanel.h"
#include "ui/UDebugMemo.h"
#include "ui/UOpenPictureDialog.h"

class CircuitsAndMoves : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    MakeMovesQuick();
  }

  /// A picture file of road (grey) only, Width x Height.
  QString MakeCircuit(const QString& Name, int Width, int Height) const {
    QImage Road(Width, Height, QImage::Format_RGB32);
    Road.fill(QColor(90, 90, 90));
    const QString Path = Dir.filePath(Name);
    EXPECT_TRUE(Road.save(Path, "BMP"));
    return Path;
  }

  QTemporaryDir Dir;
  DialogAnswerer Dialogs;
};

TEST_F(CircuitsAndMoves, LoadingWhileRunningKeepsTheKartsAndGoesOnWithTheNewCircuit) {
  const QString Path = MakeCircuit("wide.bmp", 900, 700);
  double X = 0, Y = 0;
  ASSERT_EQ(RunMoves(4,
                     [&](int Move) {
                       if (Move != 2) return;
                       X = Kart(0).PosX();
                       Y = Kart(0).PosY();
                       Dialogs.Files << Path;
                       Find<QAction>("Loadcircuit800x600BMP1")->trigger();
                       EXPECT_EQ(Kart(0).PosX(), X);
                       EXPECT_EQ(Kart(0).PosY(), Y);
                     }),
            4);
  EXPECT_TRUE(Dialogs.Messages.isEmpty());
  EXPECT_EQ(Track().Width, 900);
  EXPECT_EQ(Track().Height, 700);
  EXPECT_EQ(Find<TImageControl>("ImgRoad")->Picture().Width(), 900);
  EXPECT_TRUE(Track().IsOnTrack(850, 650));  // black before: road now
  EXPECT_NE(Kart(0).PosY(), Y);              // the moves went on
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 15);
}

TEST_F(CircuitsAndMoves, ACircuitSmallerThanTheStartIsTakenAtItsOwnSize) {
  Dialogs.Files << MakeCircuit("small.bmp", 300, 200);
  Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  EXPECT_EQ(Track().Width, 300);
  EXPECT_FALSE(Track().InBounds(200, 460));
  ASSERT_EQ(RunMoves(2), 2);  // a kart off the picture drives by the off-road rules
  // The window said where the start is; the answer given (not Yes) kept the karts there.
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_TRUE(Dialogs.Messages[0].contains("outside the picture"));
}

TEST_F(CircuitsAndMoves, BadFilesAreRefusedWithAMessageAndChangeNothing) {
  QFile(Dir.filePath("empty.bmp")).open(QIODevice::WriteOnly);
  const QString Whole = MakeCircuit("whole.bmp", 800, 600);
  QFile Cut(Whole);
  ASSERT_TRUE(Cut.open(QIODevice::ReadWrite));
  Cut.resize(Cut.size() / 2);  // pixel data cut short
  Cut.close();
  QImage(20, 20, QImage::Format_RGB32).save(Dir.filePath("png.bmp"), "PNG");

  ASSERT_EQ(RunMoves(2), 2);
  const QImage Shown = Find<TImageControl>("ImgRoad")->Picture().Image().copy();
  const auto Map = Track().OffTrackMap;
  const double X = Kart(0).PosX(), Y = Kart(0).PosY();
  const QStringList Names = {"empty.bmp", "whole.bmp", "png.bmp"};
  for (const QString& Name : Names) {
    Dialogs.Files << Dir.filePath(Name);
    Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  }
  // A plain warning naming the file for each, not a program error: nothing reported or logged.
  ASSERT_EQ(Dialogs.Messages.size(), Names.size());
  for (int I = 0; I < Names.size(); ++I)
    EXPECT_TRUE(Dialogs.Messages[I].contains(Names[I])) << Dialogs.Messages[I].toStdString();
  EXPECT_TRUE(Dialogs.Reports.isEmpty()) << Dialogs.Reports.join('\n').toStdString();
  EXPECT_EQ(Find<TImageControl>("ImgRoad")->Picture().Image(), Shown);
  EXPECT_EQ(Track().OffTrackMap, Map);
  EXPECT_EQ(Track().Width, 800);
  EXPECT_EQ(Kart(0).PosX(), X);
  EXPECT_EQ(Kart(0).PosY(), Y);
}

TEST_F(CircuitsAndMoves, PreviewShowsTheNamedPictureScaledDown) {
  MakeCircuit("wide.bmp", 800, 600);
  TOpenPictureDialog& Dialog = *Find<TOpenPictureDialog>("OpenPictureDialog");
  Dialog.setDirectory(Dir.path());
  auto* Name = Dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(Name, nullptr);
  Name->setText("wide.bmp");
  EXPECT_EQ(Dialog.Preview()->pixmap().size(), QSize(200, 150));
  Name->setText("missing.bmp");
  EXPECT_TRUE(Dialog.Preview()->pixmap().isNull());
}

TEST_F(CircuitsAndMoves, ManualMovesWhilePausedMakeTheNewStart) {
  TKart& K = Kart(0);
  QTest::mouseClick(Find<QPushButton>("SpeedButton1"), Qt::LeftButton);
  EXPECT_EQ(K.PosX(), 195);
  QTest::mouseClick(Find<QPushButton>("SpeedButton2"), Qt::LeftButton);
  EXPECT_EQ(K.PosY(), 455);
  QTest::mouseClick(Find<QPushButton>("SpeedButton4"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>("SpeedButton4"), Qt::LeftButton);
  EXPECT_EQ(K.PosY(), 465);
  QTest::mouseClick(Find<QPushButton>("SpeedButton5"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>("SpeedButton5"), Qt::LeftButton);
  EXPECT_NEAR(K.Angle(), std::numbers::pi / 2 + std::numbers::pi / 6, 1e-12);
  QTest::mouseClick(Find<QPushButton>("SpeedButton6"), Qt::LeftButton);
  EXPECT_NEAR(K.Angle(), std::numbers::pi / 2 + std::numbers::pi / 12, 1e-12);
  // The picture follows at once.
  EXPECT_GT(CountColor(clRed, 195, 465, 10), 10);
  EXPECT_EQ(CountColor(clRed, 220, 440, 5), 0);

  ASSERT_EQ(RunMoves(2), 2);
  QTest::mouseClick(Find<QPushButton>("BtnReset"), Qt::LeftButton);
  EXPECT_EQ(K.PosX(), 195);
  EXPECT_EQ(K.PosY(), 465);
}

TEST_F(CircuitsAndMoves, ManualMovesWhileRunningKeepTheStart) {
  TKart& K = Kart(0);
  ASSERT_EQ(RunMoves(3,
                     [&](int Move) {
                       if (Move == 1)
                         QTest::mouseClick(Find<QPushButton>("SpeedButton3"), Qt::LeftButton);
                     }),
            3);
  QTest::mouseClick(Find<QPushButton>("BtnReset"), Qt::LeftButton);
  EXPECT_EQ(K.PosX(), 200);
  EXPECT_EQ(K.PosY(), 460);
}

TEST_F(CircuitsAndMoves, ColourDialogColoursTheCurrentKart) {
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  Dialogs.Colors << QColor(10, 20, 30) << QColor();
  QTest::mouseClick(Find<TColorPanel>("EdColor"), Qt::LeftButton);
  const TColor Chosen = 10 + 20 * 256 + 30 * 65536;
  EXPECT_EQ(Kart(1).Color, Chosen);
  EXPECT_EQ(Find<TColorPanel>("EdColor")->Color(), Chosen);
  EXPECT_EQ(Kart(0).Color, clRed);
  EXPECT_GT(CountColor(Chosen, 200, 460, 10), 10);

  QTest::mouseClick(Find<TColorPanel>("EdColor"), Qt::LeftButton);  // cancelled
  EXPECT_EQ(Kart(1).Color, Chosen);
}

TEST_F(CircuitsAndMoves, DebugLevelsShowTracesAndListings) {
  // Pixels that differ from the circuit, other than where the kart is drawn.
  const QImage Circuit = DefaultCircuitImage();
  const auto MarksAwayFromKart = [&] {
    const QImage& Shown = Find<TImageControl>("ImgRoad")->Picture().Image();
    const QPoint At(RoundEven(Kart(0).PosX()), RoundEven(Kart(0).PosY()));
    int N = 0;
    for (int X = 100; X < 300; ++X)
      for (int Y = 380; Y < 600; ++Y)
        N += (std::abs(X - At.x()) > 20 || std::abs(Y - At.y()) > 20) &&
             Shown.pixel(X, Y) != Circuit.pixel(X, Y);
    return N;
  };

  Find<QSlider>("EdSeconds")->setValue(10);  // futures long enough to reach beyond the kart
  Find<QAction>("MenuDebug2")->trigger();
  ASSERT_EQ(RunMoves(1), 1);
  const QString Listing = Find<QPlainTextEdit>("DebugMemo")->toPlainText();
  EXPECT_TRUE(Listing.startsWith("Futures: ")) << Listing.toStdString();
  EXPECT_TRUE(Listing.contains("\nOptions: "));
  EXPECT_TRUE(Listing.contains("%"));
  EXPECT_GT(MarksAwayFromKart(), 20);

  Find<QAction>("MenuDebug1")->trigger();
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_FALSE(Find<QPlainTextEdit>("DebugMemo")->toPlainText().startsWith("Futures: "));
  EXPECT_FALSE(Find<QPlainTextEdit>("DebugMemo")->toPlainText().isEmpty());
  EXPECT_GT(MarksAwayFromKart(), 20);

  Find<QAction>("MenuDebug0")->trigger();
  ASSERT_EQ(RunMoves(1), 1);
  EXPECT_TRUE(Find<QPlainTextEdit>("DebugMemo")->toPlainText().isEmpty());
  EXPECT_EQ(MarksAwayFromKart(), 0);
}
