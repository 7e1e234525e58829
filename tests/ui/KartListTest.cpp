// Adding, removing and choosing karts, and which karts the controls act on.

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include "WindowTest.h"
#include "decision/UBase.h"
#include "ui/UColorPanel.h"

using KartList = WindowTest;

TEST_F(KartList, SecondKartStandsOnTheFirstWithItsValuesInYellow) {
  MakeMovesQuick();
  Find<QSlider>("EdMaxPower")->setValue(17);
  Find<QSlider>("EdSize")->setValue(12);
  ASSERT_EQ(RunMoves(3), 3);  // the first kart is now on its way
  TKart& First = Kart(0);
  ASSERT_NE(First.PosY(), 460);

  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);

  ASSERT_EQ(Track().PlayerCount(), 2);
  TKart& Second = Kart(1);
  EXPECT_EQ(W->CurrentKart, &Second);
  EXPECT_EQ(Second.PosX(), First.PosX());
  EXPECT_EQ(Second.PosY(), First.PosY());
  EXPECT_EQ(Second.Angle(), First.Angle());
  EXPECT_EQ(Second.VelX(), First.VelX());
  EXPECT_EQ(Second.VelY(), First.VelY());
  EXPECT_EQ(Second.MaxPower(), 17);
  EXPECT_EQ(Second.GetSize(), 12);
  EXPECT_EQ(Second.Color, clYellow);
  EXPECT_EQ(Find<TColorPanel>("EdColor")->Color(), clYellow);
  ASSERT_EQ(Find<QComboBox>("EdKartId")->count(), 2);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->itemText(0), "Kart #1");
  EXPECT_EQ(Find<QComboBox>("EdKartId")->itemText(1), "Kart #2");
  EXPECT_EQ(Find<QComboBox>("EdKartId")->currentIndex(), 1);

  // Its start is where it was added: Reset sends each kart to its own start.
  QTest::mouseClick(Find<QPushButton>("BtnReset"), Qt::LeftButton);
  EXPECT_EQ(First.PosY(), 460);
  EXPECT_NE(Second.PosY(), 460);
}

TEST_F(KartList, NewKartGetsFreshThinkingSettingsWhateverThePreviousHad) {
  Find<QSlider>("EdMaxPower")->setValue(21);
  Find<QCheckBox>("EdAutoRadio")->setChecked(false);
  Find<QCheckBox>("EdUseRefined")->setChecked(false);
  Find<QSlider>("EdRadio")->setValue(19);
  Find<QAction>("MenuDebug2")->trigger();
  ASSERT_EQ(Kart(0).DebugLevel, TDebugLevel::EndPoints);

  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);

  const TKart& Second = Kart(1);
  EXPECT_TRUE(Find<QCheckBox>("EdAutoRadio")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("EdUseRefined")->isChecked());
  EXPECT_EQ(Find<QSlider>("EdRadio")->value(), 10);
  EXPECT_TRUE(Find<QAction>("MenuDebug0")->isChecked());
  EXPECT_TRUE(Second.AutoGrid);
  EXPECT_TRUE(Second.UseRefined);
  EXPECT_EQ(Second.GetGridSize(), 10);
  EXPECT_EQ(Second.DebugLevel, TDebugLevel::Nothing);
  EXPECT_EQ(Find<QSlider>("EdMaxPower")->value(), 21);
  // The first kart keeps its own settings.
  const TKart& First = Kart(0);
  EXPECT_FALSE(First.AutoGrid);
  EXPECT_FALSE(First.UseRefined);
  EXPECT_EQ(First.GetGridSize(), 19);
  EXPECT_EQ(First.DebugLevel, TDebugLevel::EndPoints);
}

TEST_F(KartList, KartsOneToFiveGetTheTableColoursTheSixthKeepsItsOwn) {
  for (int I = 0; I < 4; ++I) QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  const TColor Table[] = {clRed, clYellow, clLime, clWhite, clFuchsia};
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Kart(I).Color, Table[I]) << "kart " << I + 1;

  // The same seed gives a kart made here the colour the sixth kart is born with.
  RandomSeed(4242);
  const TColor Expected = TKart(0, 0, 0).Color;
  RandomSeed(4242);
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  ASSERT_EQ(Track().PlayerCount(), 6);
  EXPECT_EQ(Kart(5).Color, Expected);
  EXPECT_EQ(Find<TColorPanel>("EdColor")->Color(), Expected);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->itemText(5), "Kart #6");
}

TEST_F(KartList, RemovingKartOneOfTwoLeavesTheSecondAsKartOne) {
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  TKart* Second = &Kart(1);
  Find<QSlider>("EdMaxPower")->setValue(23);  // only the second kart
  ChooseFirstKart();
  ASSERT_EQ(W->CurrentKart, &Kart(0));
  EXPECT_EQ(Find<QSlider>("EdMaxPower")->value(), 10);

  QTest::mouseClick(Find<QPushButton>("BtnSubKart"), Qt::LeftButton);

  ASSERT_EQ(Track().PlayerCount(), 1);
  EXPECT_EQ(&Kart(0), Second);
  EXPECT_EQ(W->CurrentKart, Second);
  ASSERT_EQ(Find<QComboBox>("EdKartId")->count(), 1);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->itemText(0), "Kart #1");
  EXPECT_EQ(Find<QComboBox>("EdKartId")->currentIndex(), 0);
  EXPECT_EQ(Find<QSlider>("EdMaxPower")->value(), 23);
  EXPECT_EQ(Find<TColorPanel>("EdColor")->Color(), clYellow);
}

TEST_F(KartList, MinusWithOneKartDoesNothing) {
  TKart* Only = W->CurrentKart;
  QTest::mouseClick(Find<QPushButton>("BtnSubKart"), Qt::LeftButton);
  ASSERT_EQ(Track().PlayerCount(), 1);
  EXPECT_EQ(&Kart(0), Only);
  EXPECT_EQ(W->CurrentKart, Only);
  EXPECT_EQ(Find<QComboBox>("EdKartId")->count(), 1);
}

TEST_F(KartList, KartControlsActOnTheCurrentKartTrackControlsOnAll) {
  QTest::mouseClick(Find<QPushButton>("BtnAddKart"), Qt::LeftButton);
  Find<QSlider>("EdMaxPower")->setValue(20);
  Find<QCheckBox>("EdAutoRadio")->setChecked(false);
  Find<QSlider>("EdFriction")->setValue(30);
  Find<QCheckBox>("CBTeamScore")->setChecked(true);
  EXPECT_EQ(Kart(1).MaxPower(), 20);
  EXPECT_EQ(Kart(0).MaxPower(), 10);
  EXPECT_FALSE(Kart(1).AutoGrid);
  EXPECT_TRUE(Kart(0).AutoGrid);

  ChooseFirstKart();
  EXPECT_EQ(Find<QSlider>("EdMaxPower")->value(), 10);
  EXPECT_TRUE(Find<QCheckBox>("EdAutoRadio")->isChecked());
  // Track settings stay as they were set, whichever kart is shown.
  EXPECT_EQ(Find<QSlider>("EdFriction")->value(), 30);
  EXPECT_DOUBLE_EQ(Track().Friction, 0.03);
  EXPECT_TRUE(Find<QCheckBox>("CBTeamScore")->isChecked());
  EXPECT_TRUE(Track().TeamScore);
  EXPECT_EQ(Kart(1).MaxPower(), 20);
}
