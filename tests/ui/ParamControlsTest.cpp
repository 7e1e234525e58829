// What each parameter control writes into the model, and when the program's own settings of a
// control run its handler.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <numbers>

#include "WindowTest.h"
#include "ui/USliderUnits.h"
#include "world/URaceSetup.h"

using ParamControls = WindowTest;

TEST(SliderUnits, EveryPositionComesBackFromTheValueItGives) {
  // A value shown and applied back must land on the same position, or choosing a kart would
  // move its sliders.
  for (int32_t P = 1; P <= 300; ++P) EXPECT_EQ(FrictionToSlider(FrictionFromSlider(P)), P);
  for (int32_t P = 0; P <= 100; ++P) EXPECT_EQ(SideFrictionToSlider(SideFrictionFromSlider(P)), P);
  for (int32_t D = 10; D <= 90; ++D) EXPECT_EQ(TurnRadiansToSlider(TurnDegreesToRadians(D)), D);
  EXPECT_EQ(FrictionFromSlider(15), 0.015);
  EXPECT_EQ(TurnDegreesToRadians(45), std::numbers::pi / 4);
}

TEST_F(ParamControls, SlidersConvertTheirPositionsAndLabelThem) {
  Find<QSlider>("EdFriction")->setValue(1);
  EXPECT_EQ(Track().Friction, 0.001);
  EXPECT_EQ(Find<QLabel>("LbFriction")->text(), "0.001");
  Find<QSlider>("EdSideFriction")->setValue(0);
  EXPECT_EQ(Track().SideFriction, 0);
  EXPECT_EQ(Find<QLabel>("LbSideFriction")->text(), "0");
  Find<QSlider>("EdMax_Turn")->setValue(90);
  EXPECT_EQ(Kart(0).MaxTurn(), std::numbers::pi / 2);
  EXPECT_EQ(Find<QLabel>("LbMax_Turn")->text(),
            QString("90") + QChar(0x00BA));  // not a degree sign
  Find<QSlider>("EdSize")->setValue(40);
  EXPECT_EQ(Kart(0).GetSize(), 40);
  EXPECT_EQ(Find<QLabel>("LbSize")->text(), "40px");
  Find<QSlider>("EdSeconds")->setValue(20);
  EXPECT_EQ(Track().Seconds, 20);
  EXPECT_EQ(Find<QLabel>("LbSeconds")->text(), "20 s.");
}

TEST_F(ParamControls, GridSliderFollowsTheKartOnlyWithinItsRange) {
  TKart& K = Kart(0);
  Find<QSlider>("EdRadio")->setValue(24);
  K.SetGridSize(28);
  W->UpdateRealTimeParams();
  EXPECT_EQ(Find<QSlider>("EdRadio")->value(), 25);
  EXPECT_EQ(K.GetGridSize(), 25);
  EXPECT_EQ(Find<QLabel>("LbRadio")->text(), "25px");

  // With the slider already at its end, nothing changes and the kart keeps its grid.
  K.SetGridSize(28);
  W->UpdateRealTimeParams();
  EXPECT_EQ(Find<QSlider>("EdRadio")->value(), 25);
  EXPECT_EQ(K.GetGridSize(), 28);

  // Showing the kart's values applies the controls back: the grid snaps into range.
  W->CopyParamsFromKart();
  EXPECT_EQ(K.GetGridSize(), 25);
}

TEST_F(ParamControls, OnlyTheSizeSliderRedraws) {
  MakeMovesQuick();
  ASSERT_EQ(RunMoves(1), 1);
  ASSERT_TRUE(Find<QPushButton>("PauseBtn")->isChecked());
  TKart& K = Kart(0);
  const int X = RoundEven(K.PosX()), Y = RoundEven(K.PosY());
  // A mark of our own shows whether the picture was redrawn from the clean circuit.
  TPicture& P = Find<TImageControl>("ImgRoad")->Picture();
  P.SetPenColor(clBlue);
  P.Line(5, 5, 60, 5);

  Find<QSlider>("EdMaxPower")->setValue(3);
  Find<QSlider>("EdRadio")->setValue(15);
  Find<QSlider>("EdSeconds")->setValue(4);
  EXPECT_EQ(P.Pixel(30, 5), clBlue);

  const int Before = CountColor(clRed, X, Y, 30);
  Find<QSlider>("EdSize")->setValue(20);
  EXPECT_NE(P.Pixel(30, 5), clBlue);
  EXPECT_GT(CountColor(clRed, X, Y, 30), 2 * Before);
}

TEST_F(ParamControls, CheckBoxesRunTheirHandlersMenuChecksSetByTheProgramDoNot) {
  // A check box set by the program runs its handler, as a click does.
  Find<QCheckBox>("EdCollisions")->setChecked(false);
  EXPECT_FALSE(Track().Collisions);
  QTest::mouseClick(Find<QCheckBox>("CBTeamScore"), Qt::LeftButton);
  EXPECT_TRUE(Track().TeamScore);
  Find<QCheckBox>("EdUseRefined")->setChecked(false);
  EXPECT_FALSE(Kart(0).UseRefined);

  TKart& K = Kart(0);
  Find<QAction>("MenuDebug2")->trigger();
  EXPECT_EQ(K.DebugLevel, TDebugLevel::EndPoints);
  Find<QAction>("MenuDebug1")->trigger();
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Traces);
  Find<QAction>("MenuDebug0")->setChecked(true);
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Traces);
  // Showing the kart puts the check mark back on its level.
  W->CopyParamsFromKart();
  EXPECT_TRUE(Find<QAction>("MenuDebug1")->isChecked());
  EXPECT_FALSE(Find<QAction>("MenuDebug0")->isChecked());
  EXPECT_EQ(K.DebugLevel, TDebugLevel::Traces);
}
