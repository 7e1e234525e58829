// A race from the starting grid: the menu item that lines the karts up (or says why not), racing
// the lap direction only where the road has a lap line, and the race table's wrong-way seconds
// and places, sorted on request.

#include <QHeaderView>
#include <QMenu>
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
#include "world/URaceSetup.h"
#include "world/UStartGrid.h"

namespace {

class RaceStart : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
  }

  TRaceViews& Views() const { return *W->findChild<TRaceViews*>(); }

  /// Loads an open field (road inside a black frame): the start is on the road, but no road
  /// loops through it, so there is no lap line.
  void LoadOpenField() {
    QImage Field(800, 600, QImage::Format_RGB32);
    Field.fill(Qt::black);
    for (int Y = 20; Y < 580; ++Y)
      for (int X = 20; X < 780; ++X) Field.setPixel(X, Y, qRgb(90, 90, 90));
    const QString Path = Dir.filePath("field.bmp");
    ASSERT_TRUE(Field.save(Path, "BMP"));
    Dialogs.Files << Path;
    Find<QAction>("Loadcircuit800x600BMP1")->trigger();
  }

  /// The grid for Count karts of the default size behind kart #1's start line.
  std::vector<TGridPlace> Grid(int Count) const {
    std::string Problem;
    double X, Y, Angle;
    StartLineOf(Kart(0), X, Y, Angle);
    auto Places = StartingGrid(Track(), X, Y, Angle, Count, 8, Problem);
    EXPECT_EQ(Problem, "");
    return Places;
  }

  void ExpectOnGrid(const std::vector<TGridPlace>& Places) const {
    ASSERT_EQ(Track().PlayerCount(), static_cast<int>(Places.size()));
    for (size_t I = 0; I < Places.size(); ++I) {
      EXPECT_EQ(Kart(I).PosX(), Places[I].X) << "kart #" << I + 1;
      EXPECT_EQ(Kart(I).PosY(), Places[I].Y) << "kart #" << I + 1;
      EXPECT_EQ(Kart(I).Angle(), Places[I].Angle) << "kart #" << I + 1;
      EXPECT_EQ(Kart(I).VelX(), 0);
      EXPECT_EQ(Kart(I).VelY(), 0);
    }
  }

  /// The kart names of the table's rows, top down.
  QStringList RowNames() const {
    QStringList Names;
    const QTableWidget& T = *Views().RaceTable()->Table();
    for (int R = 0; R < T.rowCount(); ++R) Names << T.item(R, 1)->text();
    return Names;
  }

  QTemporaryDir Dir;
  DialogAnswerer Dialogs;
};

}  // namespace

TEST_F(RaceStart, TheMenuItemLinesTheKartsUpPausedOrRunningAndOtherwiseSaysWhy) {
  QAction* Item = Find<QAction>("LineUpOnGrid");
  ASSERT_TRUE(Item);
  EXPECT_TRUE(Find<QMenu>("MenuSimulation")->actions().contains(Item));
  // A shortcut that another item shares would reach neither.
  ASSERT_FALSE(Item->shortcut().isEmpty());
  for (QAction* Other : W->findChildren<QAction*>()) {
    if (Other != Item) {
      EXPECT_NE(Other->shortcut(), Item->shortcut()) << Other->text().toStdString();
    }
  }

  for (int I = 0; I < 5; ++I) Find<QPushButton>("BtnAddKart")->click();
  MakeMovesQuick();
  RunMoves(3);
  QTest::keyClick(W.get(), Qt::Key_G, Qt::ControlModifier);
  ExpectOnGrid(Grid(6));
  // The race begins afresh there, and Reset comes back to it.
  EXPECT_EQ(Views().Log().Records()[0].Moves, 0);
  Find<QPushButton>("BtnReset")->click();
  ExpectOnGrid(Grid(6));
  // "+" still puts a kart on top of the last one.
  Find<QPushButton>("BtnAddKart")->click();
  EXPECT_EQ(Kart(6).PosX(), Kart(5).PosX());
  EXPECT_EQ(Kart(6).PosY(), Kart(5).PosY());

  // While running, between two moves; the race log counts from the grid.
  ASSERT_EQ(RunMoves(3,
                     [&](int Move) {
                       if (Move != 1) return;
                       Item->trigger();
                       ExpectOnGrid(Grid(7));
                     }),
            3);
  EXPECT_EQ(Views().Log().Records()[0].Moves, 2);

  // No lap line: a plain warning with the reason, no error report, and the karts stay.
  LoadOpenField();
  const double X = Kart(3).PosX(), Y = Kart(3).PosY();
  const int Before = Dialogs.Messages.size();
  Item->trigger();
  ASSERT_EQ(Dialogs.Messages.size(), Before + 1);
  EXPECT_TRUE(Dialogs.Messages.back().contains("lap line"))
      << Dialogs.Messages.back().toStdString();
  EXPECT_TRUE(Dialogs.Reports.isEmpty());
  EXPECT_EQ(Kart(3).PosX(), X);
  EXPECT_EQ(Kart(3).PosY(), Y);
}

TEST_F(RaceStart, TheLapDirectionCanBeRacedOnlyWhereTheRoadLoopsThroughKartOnesStart) {
  auto* Box = Find<QCheckBox>("CBRaceDirection");
  ASSERT_TRUE(Box);
  EXPECT_TRUE(Box->isEnabled());
  EXPECT_FALSE(Track().RaceDirection);
  QTest::mouseClick(Box, Qt::LeftButton);
  EXPECT_TRUE(Track().RaceDirection);
  EXPECT_TRUE(DescribeWindow(*W).contains("racing the lap direction yes\n"));
  const QString Explained = Box->toolTip();

  // A wall across the road in front of the start cuts the loop; taken back, the loop is there.
  Find<QAction>("BrushSize16")->trigger();
  Find<QAction>("DrawBrush2")->trigger();
  Stroke({{100, 491}, {330, 491}});
  EXPECT_FALSE(Box->isEnabled());
  EXPECT_TRUE(Box->isChecked()) << "the user's setting is kept";
  EXPECT_NE(Box->toolTip(), Explained);
  EXPECT_TRUE(Box->toolTip().contains("no lap line")) << Box->toolTip().toStdString();
  EXPECT_TRUE(DescribeWindow(*W).contains("(no lap line: not in effect)"));
  Find<QAction>("UndoStroke")->trigger();
  EXPECT_TRUE(Box->isEnabled());
  EXPECT_EQ(Box->toolTip(), Explained);
  Find<QAction>("DrawBrush0")->trigger();

  // Another circuit, and the built-in one back.
  LoadOpenField();
  EXPECT_FALSE(Box->isEnabled());
  Find<QAction>("BuiltInCircuit")->trigger();
  EXPECT_TRUE(Box->isEnabled());

  // Kart #1 given a start off the road, then removed: the next kart's start counts.
  Find<QPushButton>("BtnAddKart")->click();
  ChooseFirstKart();
  Kart(0).SetPosition(30, 30, 0);
  Find<QPushButton>("SpeedButton3")->click();  // a move by hand while stopped: its new start
  EXPECT_FALSE(Box->isEnabled());
  Find<QPushButton>("BtnSubKart")->click();
  EXPECT_TRUE(Box->isEnabled());

  // A scenario keeps it, and opening one shows it.
  auto* Tools = W->findChild<TCircuitTools*>("CircuitTools");
  Tools->SaveScenario(Dir.filePath("race.json"));
  QTest::mouseClick(Box, Qt::LeftButton);
  EXPECT_FALSE(Track().RaceDirection);
  Tools->OpenScenario(Dir.filePath("race.json"));
  EXPECT_TRUE(Box->isChecked());
  EXPECT_TRUE(Track().RaceDirection);
  EXPECT_TRUE(Dialogs.Reports.isEmpty()) << Dialogs.Reports.join('\n').toStdString();
}

TEST_F(RaceStart, TheRaceTableSortsByPlaceOnRequestAndStaysSortedAsTheKartsMove) {
  // Karts #2 to #4 on the grid in reverse: #4 is ahead of #3, #3 of #2.
  for (int I = 0; I < 3; ++I) Find<QPushButton>("BtnAddKart")->click();
  const auto Places = Grid(4);
  for (int I = 1; I < 4; ++I)
    Kart(I).SetPosition(Places[4 - I].X, Places[4 - I].Y, Places[4 - I].Angle);
  Find<QPushButton>("BtnReset")->click();
  MakeMovesQuick();
  Find<QAction>("MenuRaceTable")->trigger();
  QTableWidget& Table = *Views().RaceTable()->Table();
  const QStringList Columns = RaceColumns();
  const int Place = 2 + Columns.indexOf("place"), Wrong = 2 + Columns.indexOf("wrong way (s)");
  ASSERT_GT(Place, 2);
  ASSERT_GT(Wrong, 2);
  EXPECT_EQ(Table.horizontalHeaderItem(Place)->text(), "place");

  RunMoves(1);
  EXPECT_EQ(RowNames(), (QStringList{"Kart #1", "Kart #2", "Kart #3", "Kart #4"}));
  // A click on the place header sorts; every move keeps the order.
  QHeaderView& Header = *Table.horizontalHeader();
  Table.scrollToItem(Table.item(0, Place));
  ASSERT_LT(Header.sectionViewportPosition(Place), Header.viewport()->width());
  QTest::mouseClick(Header.viewport(), Qt::LeftButton, {},
                    QPoint(Header.sectionViewportPosition(Place) + Header.sectionSize(Place) / 2,
                           Header.height() / 2));
  EXPECT_TRUE(Views().RaceTable()->SortsByPlace());
  RunMoves(2, [&](int) {
    EXPECT_EQ(RowNames(), (QStringList{"Kart #1", "Kart #4", "Kart #3", "Kart #2"}));
    for (int R = 0; R < 4; ++R) EXPECT_EQ(Table.item(R, Place)->text(), QString::number(R + 1));
  });
  Views().RaceTable()->SetSortByPlace(false);
  EXPECT_EQ(RowNames(), (QStringList{"Kart #1", "Kart #2", "Kart #3", "Kart #4"}));
}

// The figures behind the table's new columns: seconds against the lap direction, and places
// only where there is a lap line.
TEST(RaceTableRows, ShowTheWrongWaySecondsAndThePlacesWhereThereIsALapLine) {
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
  const int Place = RaceColumns().indexOf("place");
  EXPECT_EQ(RaceRows(Log, {})[1].Fields[Place], "-") << "placed before it moved";
  // A drives on down the road; B backs away up it for two seconds.
  for (int Move = 1; Move <= 20; ++Move) {
    A.SetPosY(460 + 2 * Move);
    B.SetPosY(440 - 3 * Move);
    Log.Record({&A, &B}, 200);
  }
  const double Against = Log.Records()[1].WrongWaySeconds;
  ASSERT_GT(Against, 0);
  const QStringList Columns = RaceColumns();
  const int Wrong = Columns.indexOf("wrong way (s)");
  std::vector<TRaceRow> Rows = RaceRows(Log, {clRed, clYellow});
  EXPECT_EQ(Rows[1].Fields[Wrong], QString::number(Against, 'f', 1));
  EXPECT_EQ(Rows[0].Fields[Wrong], "0.0");
  EXPECT_EQ(Rows[0].Fields[Place], "1");
  EXPECT_EQ(Rows[1].Fields[Place], "2");

  // Sorted, the leader comes first; without a lap line nobody has a place and the order stays.
  TRaceTable Table;
  Table.SetSortByPlace(true);
  std::swap(Rows[0], Rows[1]);
  Table.Show(Rows, true);
  EXPECT_EQ(Table.Table()->item(0, 1)->text(), "Kart #1");
  Log.Begin(Track, 5, 5, Down);
  Log.Record({&A, &B}, 200);
  Rows = RaceRows(Log, {});
  EXPECT_EQ(Rows[0].Fields[Place], "-");
  std::swap(Rows[0], Rows[1]);
  Table.Show(Rows, false);
  EXPECT_EQ(Table.Table()->item(0, 1)->text(), "Kart #2");
}
