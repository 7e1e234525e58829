// What each parameter control writes into the model, and when the program's own settings of a
// control run its handler.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <numbers>

#include "WindowTest.h"

using ParamControls = WindowTest;

TEST_F(ParamControls, SlidersConvertTheirPositionsAndLabelThem) {
  W->EdFriction->setValue(1);
  EXPECT_EQ(W->Track->Friction, 0.001);
  EXPECT_EQ(W->LbFriction->text(), "0.001");
  W->EdSideFriction->setValue(0);
  EXPECT_EQ(W->Track->SideFriction, 0);
  EXPECT_EQ(W->LbSideFriction->text(), "0");
  W->EdMax_Turn->setValue(90);
  EXPECT_EQ(Kart(0).MaxTurn(), std::numbers::pi / 2);
  EXPECT_EQ(W->LbMax_Turn->text(), QString("90") + QChar(0x00BA));  // not a degree sign
  W->EdSize->setValue(40);
  EXPECT_EQ(Kart(0).GetSize(), 40);
  EXPECT_EQ(W->LbSize->text(), "40px");
  W->EdSeconds->setValue(20);
  EXPECT_EQ(W->Track->Seconds, 20);
  EXPECT_EQ(W->LbSeconds->text(), "20 s.");
}

TEST_F(ParamControls, GridSliderFollowsTheKartOnlyWithinItsRange) {
  TKart& K = Kart(0);
  W->EdRadio->setValue(24);
  K.SetGridSize(28);
  W->UpdateRealTimeParams();
  EXPECT_EQ(W->EdRadio->value(), 25);
  EXPECT_EQ(K.GetGridSize(), 25);
  EXPECT_EQ(W->LbRadio->text(), "25px");

  // With the slider already at its end, nothing changes and the kart keeps its grid.
  K.SetGridSize(28);
  W->UpdateRealTimeParams();
  EXPECT_EQ(W->EdRadio->value(), 25);
  EXPECT_EQ(K.GetGridSize(), 28);

  // Showing the kart's values applies the controls back: the grid snaps into range.
  W->CopyParamsFromKart();
  EXPECT_EQ(K.GetGridSize(), 25);
}

TEST_F(ParamControls, OnlyTheSizeSliderRedraws) {
  MakeMovesQuick();
  ASSERT_EQ(RunMoves(1), 1);
  ASSERT_TRUE(W->PauseBtn->isChecked());
  TKart& K = Kart(0);
  const int X = RoundEven(K.PosX()), Y = RoundEven(K.PosY());
  // A mark of our own shows whether the picture was redrawn from the clean circuit.
  TPicture& P = W->ImgRoad->Picture();
  P.SetPenColor(clBlue);
  P.Line(5, 5, 60, 5);

  W->EdMaxPower->setValue(3);
  W->EdRadio->setValue(15);
  W->EdSeconds->setValue(4);
  EXPECT_EQ(P.Pixel(30, 5), clBlue);

  const int Before = CountColor(clRed, X, Y, 30);
  W->EdSize->setValue(20);
  EXPECT_NE(P.Pixel(30, 5), clBlue);
  EXPECT_GT(CountColor(clRed, X, Y, 30), 2 * Before);
}

TEST_F(ParamControls, CheckBoxesRunTheirHandlersMenuChecksSetByTheProgramDoNot) {
  // A check box set by the program runs its handler, as a click does.
  W->EdCollisions->setChecked(false);
  EXPECT_FALSE(W->Track->Collisions);
  QTest::mouseClick(W->CBTeamScore, Qt::LeftButton);
  EXPECT_TRUE(W->Track->TeamScore);
  W->EdUseRefined->setChecked(false);
  EXPECT_FALSE(Kart(0).UseRefined);

  TKart& K = Kart(0);
  W->MenuDebug2->trigger();
  EXPECT_EQ(K.DebugLevel, TDebugLevel::EndPoints);
  W->MenuDebug1->trigger();
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Traces);
  W->MenuDebug0->setChecked(true);
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Traces);
  // Showing the kart puts the check mark back on its level.
  W->CopyParamsFromKart();
  EXPECT_TRUE(W->MenuDebug1->isChecked());
  EXPECT_FALSE(W->MenuDebug0->isChecked());
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Traces);
}
