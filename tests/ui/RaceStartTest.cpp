// A race from the starting grid: the menu item that lines the karts up or says why not, racing
// the lap direction only where the road loops through kart #1's start, and the race table's
// wrong-way seconds and places, sorted on request.

#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <numbers>

#include "WindowTest.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "ui/UCircuitTools.h"
#include "ui/URaceTable.h"
#include "ui/URaceViews.h"
#include "ui/UWindowReport.h"
#include "world/ULapCounter.h"
#include "world/URaceLog.h"
#include "world/UStartGrid.h"

namespace {

class RaceStart : public WindowTest {
 protected:
  /// A wall across the road just in front of the start: the road no longer loops through it.
  void CutTheLoop() {
    Find<QAction>("DrawBrush2")->trigger();
    Stroke({{100, 491}, {330, 491}});
    Find<QAction>("DrawBrush0")->trigger();
  }

  void ExpectOnGrid() const {
    double X, Y, Angle;
    std::string Problem;
    StartLineOf(Kart(0), X, Y, Angle);
    const auto Places = StartingGrid(Track(), X, Y, Angle, Track().PlayerCount(), 8, Problem);
    ASSERT_EQ(static_cast<int>(Places.size()), Track().PlayerCount()) << Problem;
    for (size_t I = 0; I < Places.size(); ++I) {
      EXPECT_EQ(Kart(I).PosX(), Places[I].X) << "kart #" << I + 1;
      EXPECT_EQ(Kart(I).PosY(), Places[I].Y) << "kart #" << I + 1;
      EXPECT_EQ(Kart(I).VelY(), 0) << "kart #" << I + 1;
    }
  }

  DialogAnswerer Dialogs;
};

}  // namespace

TEST_F(RaceStart, TheMenuItemLinesTheKartsUpPausedOrRunningAndOtherwiseSaysWhy) {
  QAction* Item = Find<QAction>("LineUpOnGrid");
  ASSERT_TRUE(Item);
  // A shortcut that another item shares would reach neither.
  for (QAction* Other : W->findChildren<QAction*>()) {
    if (Other != Item) {
      EXPECT_NE(Other->shortcut(), Item->shortcut()) << Other->text().toStdString();
    }
  }
  for (int I = 0; I < 5; ++I) Find<QPushButton>("BtnAddKart")->click();
  MakeMovesQuick();
  RunMoves(2);
  QTest::keyClick(W.get(), Qt::Key_G, Qt::ControlModifier);
  ExpectOnGrid();
  const TRaceLog& Log = W->findChild<TRaceViews*>()->Log();
  EXPECT_EQ(Log.Records()[0].Moves, 0) << "the race begins afresh on the grid";
  // While running, between two moves.
  RunMoves(3, [&](int Move) {
    if (Move != 1) return;
    Item->trigger();
    ExpectOnGrid();
  });
  EXPECT_EQ(Log.Records()[0].Moves, 2);

  // Without a lap line: a plain warning with the reason, no error report, and the karts stay.
  CutTheLoop();
  const double Y = Kart(3).PosY();
  Item->trigger();
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_TRUE(Dialogs.Messages[0].contains("lap line")) << Dialogs.Messages[0].toStdString();
  EXPECT_TRUE(Dialogs.Reports.isEmpty());
  EXPECT_EQ(Kart(3).PosY(), Y);
}

TEST_F(RaceStart, TheLapDirectionCanBeRacedOnlyWhereTheRoadLoopsThroughKartOnesStart) {
  auto* Box = Find<QCheckBox>("CBRaceDirection");
  ASSERT_TRUE(Box);
  QTest::mouseClick(Box, Qt::LeftButton);
  EXPECT_TRUE(Track().RaceDirection);
  const QString Explained = Box->toolTip();

  CutTheLoop();
  EXPECT_FALSE(Box->isEnabled());
  EXPECT_TRUE(Box->isChecked()) << "the user's setting is kept";
  EXPECT_TRUE(Box->toolTip().contains("no lap line")) << Box->toolTip().toStdString();
  EXPECT_TRUE(DescribeWindow(*W).contains("racing the lap direction yes (no lap line"));
  Find<QAction>("UndoStroke")->trigger();
  EXPECT_TRUE(Box->isEnabled());
  EXPECT_EQ(Box->toolTip(), Explained);

  // Kart #1 given a start off the road, then removed: the next kart's start counts.
  Find<QPushButton>("BtnAddKart")->click();
  ChooseFirstKart();
  Kart(0).SetPosition(30, 30, 0);
  Find<QPushButton>("SpeedButton3")->click();  // a move by hand while stopped: its new start
  EXPECT_FALSE(Box->isEnabled());
  Find<QPushButton>("BtnSubKart")->click();
  EXPECT_TRUE(Box->isEnabled());

  // Opening a scenario shows its setting.
  QTemporaryDir Dir;
  auto* Tools = W->findChild<TCircuitTools*>("CircuitTools");
  Tools->SaveScenario(Dir.filePath("race.json"));
  QTest::mouseClick(Box, Qt::LeftButton);
  Tools->OpenScenario(Dir.filePath("race.json"));
  EXPECT_TRUE(Box->isChecked());
  EXPECT_TRUE(Track().RaceDirection);
  EXPECT_TRUE(Dialogs.Messages.isEmpty()) << Dialogs.Messages.join('\n').toStdString();
}

TEST_F(RaceStart, TheRacePresetRacesTheLapDirectionWithEveryKartsGridHeld) {
  Find<QPushButton>("BtnAddKart")->click();
  MakeMovesQuick();
  RunMoves(2);
  Kart(1).SetGridSize(24);  // where an adapting grid might have taken it
  Find<QAction>("RacePreset")->trigger();
  EXPECT_TRUE(Track().RaceDirection);
  EXPECT_TRUE(Find<QCheckBox>("CBRaceDirection")->isChecked());
  for (int I = 0; I < 2; ++I) {
    EXPECT_FALSE(Kart(I).AutoGrid) << "kart #" << I + 1;
    EXPECT_EQ(Kart(I).GetGridSize(), 10) << "kart #" << I + 1;
  }
  RunMoves(2);
  EXPECT_EQ(Kart(1).GetGridSize(), 10) << "held, not adapted";

  // Without a lap line it says why and changes nothing.
  Find<QCheckBox>("CBRaceDirection")->setChecked(false);
  CutTheLoop();
  Kart(0).AutoGrid = true;
  Find<QAction>("RacePreset")->trigger();
  ASSERT_EQ(Dialogs.Messages.size(), 1);
  EXPECT_TRUE(Dialogs.Messages[0].contains("lap line")) << Dialogs.Messages[0].toStdString();
  EXPECT_FALSE(Track().RaceDirection);
  EXPECT_TRUE(Kart(0).AutoGrid);
}

TEST(RaceTableRows, ShowWrongWaySecondsAndPlacesAndStaySortedByPlaceOnRequest) {
  const double Down = std::numbers::pi / 2;
  TQtPicture Picture(DefaultCircuitImage());
  TTrack2D Track;
  Track.SetImage(&Picture);
  TKart A(200, 460, Down), B(200, 440, Down);
  Track.AddPlayer(A);
  Track.AddPlayer(B);
  TRaceLog Log;
  Log.Begin(Track, 200, 460, Down);
  Log.Follow({&A, &B});
  const QStringList Columns = RaceColumns();
  const int Wrong = Columns.indexOf("wrong way (s)"), Place = Columns.indexOf("place");
  EXPECT_EQ(RaceRows(Log, {})[1].Fields[Place], "-") << "placed before it moved";
  // A drives on down the road; B backs away up it for two seconds.
  for (int Move = 1; Move <= 20; ++Move) {
    A.SetPosY(460 + 2 * Move);
    B.SetPosY(440 - 3 * Move);
    Log.Record({&A, &B}, 200);
  }
  ASSERT_GT(Log.Records()[1].WrongWaySeconds, 0);
  std::vector<TRaceRow> Rows = RaceRows(Log, {});
  EXPECT_EQ(Rows[1].Fields[Wrong], QString::number(Log.Records()[1].WrongWaySeconds, 'f', 1));
  EXPECT_EQ(Rows[0].Fields[Wrong], "0.0");
  EXPECT_EQ(Rows[0].Fields[Place], "1");
  EXPECT_EQ(Rows[1].Fields[Place], "2");

  // A click on the place header sorts, and the next lines shown keep to it.
  TRaceTable Table;
  Table.show();
  Table.Show(Rows, true);
  QHeaderView& Header = *Table.Table()->horizontalHeader();
  const int Column = 2 + Place;
  Table.Table()->scrollToItem(Table.Table()->item(0, Column));
  QTest::mouseClick(Header.viewport(), Qt::LeftButton, {},
                    QPoint(Header.sectionViewportPosition(Column) + Header.sectionSize(Column) / 2,
                           Header.height() / 2));
  ASSERT_TRUE(Table.SortsByPlace());
  std::swap(Rows[0], Rows[1]);
  Table.Show(Rows, true);
  EXPECT_EQ(Table.Table()->item(0, 1)->text(), "Kart #1");
  // Without a lap line nobody has a place, and the karts keep their order.
  Log.Begin(Track, 5, 5, Down);
  Log.Record({&A, &B}, 200);
  Rows = RaceRows(Log, {});
  EXPECT_EQ(Rows[0].Fields[Place], "-");
  std::swap(Rows[0], Rows[1]);
  Table.Show(Rows, false);
  EXPECT_EQ(Table.Table()->item(0, 1)->text(), "Kart #2");
}
