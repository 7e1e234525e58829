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
  W->EdMaxPower->setValue(17);
  W->EdSize->setValue(12);
  ASSERT_EQ(RunMoves(3), 3);  // the first kart is now on its way
  TKart& First = Kart(0);
  ASSERT_NE(First.PosY(), 460);

  QTest::mouseClick(W->BtnAddKart, Qt::LeftButton);

  ASSERT_EQ(W->Track->PlayerCount(), 2);
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
  EXPECT_EQ(W->EdColor->Color(), clYellow);
  ASSERT_EQ(W->EdKartId->count(), 2);
  EXPECT_EQ(W->EdKartId->itemText(0), "Kart #1");
  EXPECT_EQ(W->EdKartId->itemText(1), "Kart #2");
  EXPECT_EQ(W->EdKartId->currentIndex(), 1);

  // Its start is where it was added: Reset sends each kart to its own start.
  QTest::mouseClick(W->BtnReset, Qt::LeftButton);
  EXPECT_EQ(First.PosY(), 460);
  EXPECT_NE(Second.PosY(), 460);
}

TEST_F(KartList, NewKartGetsFreshThinkingSettingsWhateverThePreviousHad) {
  W->EdMaxPower->setValue(21);
  W->EdAutoRadio->setChecked(false);
  W->EdUseRefined->setChecked(false);
  W->EdRadio->setValue(19);
  W->MenuDebug2->trigger();
  ASSERT_EQ(Kart(0).DebugLevel, TDebugLevel::EndPoints);

  QTest::mouseClick(W->BtnAddKart, Qt::LeftButton);

  const TKart& Second = Kart(1);
  EXPECT_TRUE(W->EdAutoRadio->isChecked());
  EXPECT_TRUE(W->EdUseRefined->isChecked());
  EXPECT_EQ(W->EdRadio->value(), 10);
  EXPECT_TRUE(W->MenuDebug0->isChecked());
  EXPECT_TRUE(Second.AutoGrid);
  EXPECT_TRUE(Second.UseRefined);
  EXPECT_EQ(Second.GetGridSize(), 10);
  EXPECT_EQ(Second.DebugLevel, TDebugLevel::Nothing);
  EXPECT_EQ(W->EdMaxPower->value(), 21);
  // The first kart keeps its own settings.
  const TKart& First = Kart(0);
  EXPECT_FALSE(First.AutoGrid);
  EXPECT_FALSE(First.UseRefined);
  EXPECT_EQ(First.GetGridSize(), 19);
  EXPECT_EQ(First.DebugLevel, TDebugLevel::EndPoints);
}

TEST_F(KartList, KartsOneToFiveGetTheTableColoursTheSixthKeepsItsOwn) {
  for (int I = 0; I < 4; ++I) QTest::mouseClick(W->BtnAddKart, Qt::LeftButton);
  const TColor Table[] = {clRed, clYellow, clLime, clWhite, clFuchsia};
  for (int I = 0; I < 5; ++I) EXPECT_EQ(Kart(I).Color, Table[I]) << "kart " << I + 1;

  // The same seed gives a kart made here the colour the sixth kart is born with.
  RandomSeed(4242);
  const TColor Expected = TKart(0, 0, 0).Color;
  RandomSeed(4242);
  QTest::mouseClick(W->BtnAddKart, Qt::LeftButton);
  ASSERT_EQ(W->Track->PlayerCount(), 6);
  EXPECT_EQ(Kart(5).Color, Expected);
  EXPECT_EQ(W->EdColor->Color(), Expected);
  EXPECT_EQ(W->EdKartId->itemText(5), "Kart #6");
}

TEST_F(KartList, RemovingKartOneOfTwoLeavesTheSecondAsKartOne) {
  QTest::mouseClick(W->BtnAddKart, Qt::LeftButton);
  TKart* Second = &Kart(1);
  W->EdMaxPower->setValue(23);  // only the second kart
  ChooseFirstKart();
  ASSERT_EQ(W->CurrentKart, &Kart(0));
  EXPECT_EQ(W->EdMaxPower->value(), 10);

  QTest::mouseClick(W->BtnSubKart, Qt::LeftButton);

  ASSERT_EQ(W->Track->PlayerCount(), 1);
  EXPECT_EQ(&Kart(0), Second);
  EXPECT_EQ(W->CurrentKart, Second);
  ASSERT_EQ(W->EdKartId->count(), 1);
  EXPECT_EQ(W->EdKartId->itemText(0), "Kart #1");
  EXPECT_EQ(W->EdKartId->currentIndex(), 0);
  EXPECT_EQ(W->EdMaxPower->value(), 23);
  EXPECT_EQ(W->EdColor->Color(), clYellow);
}

TEST_F(KartList, MinusWithOneKartDoesNothing) {
  TKart* Only = W->CurrentKart;
  QTest::mouseClick(W->BtnSubKart, Qt::LeftButton);
  ASSERT_EQ(W->Track->PlayerCount(), 1);
  EXPECT_EQ(&Kart(0), Only);
  EXPECT_EQ(W->CurrentKart, Only);
  EXPECT_EQ(W->EdKartId->count(), 1);
}

TEST_F(KartList, KartControlsActOnTheCurrentKartTrackControlsOnAll) {
  QTest::mouseClick(W->BtnAddKart, Qt::LeftButton);
  W->EdMaxPower->setValue(20);
  W->EdAutoRadio->setChecked(false);
  W->EdFriction->setValue(30);
  W->CBTeamScore->setChecked(true);
  EXPECT_EQ(Kart(1).MaxPower(), 20);
  EXPECT_EQ(Kart(0).MaxPower(), 10);
  EXPECT_FALSE(Kart(1).AutoGrid);
  EXPECT_TRUE(Kart(0).AutoGrid);

  ChooseFirstKart();
  EXPECT_EQ(W->EdMaxPower->value(), 10);
  EXPECT_TRUE(W->EdAutoRadio->isChecked());
  // Track settings stay as they were set, whichever kart is shown.
  EXPECT_EQ(W->EdFriction->value(), 30);
  EXPECT_DOUBLE_EQ(W->Track->Friction, 0.03);
  EXPECT_TRUE(W->CBTeamScore->isChecked());
  EXPECT_TRUE(W->Track->TeamScore);
  EXPECT_EQ(Kart(1).MaxPower(), 20);
}
