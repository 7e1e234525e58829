// The window's parts on their own: a panel tells its values in the model's units, and the race
// runner moves, saves and lets go of its track without any window around it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <numbers>

#include "agents/UKart.h"
#include "io/UDefaultCircuit.h"
#include "ui/UImageControl.h"
#include "ui/UKartPanels.h"
#include "ui/URaceRunner.h"
#include "ui/UTrackPanel.h"
#include "world/UTrack2D.h"

TEST(Panels, ShownValuesSnapToTheSlidersAndComeBackInModelUnits) {
  TTrackPanel Track;
  QSignalSpy Friction(&Track, &TTrackPanel::frictionChanged);
  QSignalSpy Side(&Track, &TTrackPanel::sideFrictionChanged);
  Track.ShowFriction(0.0154);
  ASSERT_EQ(Friction.count(), 1);
  EXPECT_EQ(Friction[0][0].toDouble(), 0.015);
  EXPECT_EQ(Track.findChild<QLabel*>("LbFriction")->text(), "0.015");
  Track.ShowFriction(0.015);  // the same position runs no handler
  EXPECT_EQ(Friction.count(), 1);
  Track.ShowSideFriction(5);  // beyond the range: its end
  ASSERT_EQ(Side.count(), 1);
  EXPECT_EQ(Side[0][0].toDouble(), 1);

  TKartParamsPanel Kart;
  QSignalSpy Turn(&Kart, &TKartParamsPanel::maxTurnChanged);
  Kart.ShowMaxTurn(std::numbers::pi / 2);
  ASSERT_EQ(Turn.count(), 1);
  EXPECT_EQ(Turn[0][0].toDouble(), std::numbers::pi / 2);
  // A resize reaches the kart, and its redraw, before the label follows.
  QLabel* Size = Kart.findChild<QLabel*>("LbSize");
  QString LabelWhenResized;
  QObject::connect(&Kart, &TKartParamsPanel::sizeChanged, [&] { LabelWhenResized = Size->text(); });
  Kart.ShowSize(12.4);
  EXPECT_EQ(LabelWhenResized, "");
  EXPECT_EQ(Size->text(), "12px");
}

class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    Image.SetImage(DefaultCircuitImage());
    Race = std::make_unique<TRaceRunner>(Image, nullptr);
    AddKart(*Race->Track, Race->Karts, TKartSettings{});
    Race->Track->FixedPasses = 1;
    Race->Track->Seconds = 1;
    Race->RunDown = [this] { return Moves < Planned; };
    Race->AfterMove = [this] { Steps << "after"; };
    Race->SavingFrames = [this] { return Saving; };
    QObject::connect(Race.get(), &TRaceRunner::MoveFinished, [this] {
      ++Moves;
      Steps << "finished";
    });
  }

  TImageControl Image;
  std::unique_ptr<TRaceRunner> Race;
  int Moves = 0, Planned = 3;
  bool Saving = false;
  QStringList Steps;
};

TEST_F(Runner, MovesWhileRunIsDownAndSavesOnlyWhenAsked) {
  Race->StartBtnClick();
  EXPECT_EQ(Steps, QStringList({"after", "finished", "after", "finished", "after", "finished"}));
  EXPECT_EQ(Race->FrameNumber, 1);
  const TKart& K = *Race->Karts[0];
  EXPECT_GT(K.PosY(), StartY);

  QTemporaryDir Dir;
  Race->SaveBaseName = Dir.filePath("lap");
  Saving = true;
  Planned = 5;
  Race->StartBtnClick();
  EXPECT_EQ(Race->FrameNumber, 3);
  EXPECT_TRUE(QFile::exists(Dir.filePath("lap_0002.bmp")));
  Race->ResetToStart();
  EXPECT_EQ(Race->FrameNumber, 1);
  EXPECT_EQ(K.PosY(), StartY);
}

TEST_F(Runner, ATrackThatOutlivesItsRunnerKeepsNothingOfIt) {
  const std::shared_ptr<TTrack2D> Track = Race->Track;
  ASSERT_EQ(Track->PlayerCount(), 1);
  Race.reset();
  EXPECT_EQ(Track->PlayerCount(), 0);
  EXPECT_EQ(Track->Image, nullptr);
  EXPECT_EQ(Track->MessagePump, nullptr);
}
