// Scenarios in the window: a race kept while running and opened again goes on exactly as the
// original did; a refused file changes nothing in the window.

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "WindowTest.h"
#include "decision/UBase.h"
#include "io/UPicture.h"
#include "ui/UCircuitTools.h"

class ScenarioWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    Tools = W->findChild<TCircuitTools*>("CircuitTools");
    ASSERT_TRUE(Tools);
    // The races here are about their figures, not their pace.
    Find<QAction>("AsFastAsPossible")->trigger();
  }

  /// Every kart's real state, one CSV row each, every number exact.
  QString Rows(int Move) const {
    QString Text;
    char Field[40];
    for (int I = 0; I < Track().PlayerCount(); ++I) {
      const TState& S = *Kart(I).RealState;
      std::snprintf(Field, sizeof Field, "%d,%d,%.17g", Move, I + 1, S.Score);
      Text += Field;
      for (const auto& P : S.Params) {
        std::snprintf(Field, sizeof Field, ",%.17g", P->Value);
        Text += Field;
      }
      Text += '\n';
    }
    return Text;
  }

  QImage Clean() const { return dynamic_cast<TQtPicture&>(*Track().Background).Image(); }

  QTemporaryDir Dir;
  DialogAnswerer Dialogs;
  TCircuitTools* Tools = nullptr;
};

TEST_F(ScenarioWindow, KeptAtMove100AndOpenedAgainTheNext50MovesAreTheSame) {
  Find<QSlider>("EdSeconds")->setValue(2);
  Track().FixedPasses = 200;
  W->BtnAddKartClick();
  ChooseFirstKart();
  // A seeded run: the first Run goes on with this random source.
  RandomSeed(2024);
  W->Runner().KeepRandomOnce = true;
  const QString Kept = Dir.filePath("at100.json");
  QString Original;
  ASSERT_EQ(RunMoves(150,
                     [&](int Move) {
                       if (Move == 100) {
                         Dialogs.Files << Kept;
                         Find<QAction>("SaveScenario")->trigger();
                       }
                       if (Move >= 100) Original += Rows(Move);
                     }),
            150);
  ASSERT_TRUE(QFile::exists(Kept));

  // Something else first, so that opening has to put everything back.
  Find<QSlider>("EdSeconds")->setValue(5);
  W->BtnSubKartClick();
  Dialogs.Files << Kept;
  Find<QAction>("OpenScenario")->trigger();
  ASSERT_TRUE(Dialogs.Messages.isEmpty()) << Dialogs.Messages.join('\n').toStdString();
  EXPECT_EQ(Track().PlayerCount(), 2);
  EXPECT_EQ(Track().MoveNumber, 100);
  QString Again = Rows(100);
  ASSERT_EQ(RunMoves(50, [&](int Move) { Again += Rows(100 + Move); }), 50);
  EXPECT_EQ(Track().MoveNumber, 150);
  EXPECT_EQ(Again, Original);
}

TEST_F(ScenarioWindow, EveryRefusedFileNamesItsFieldAndChangesNothing) {
  Find<QAction>("DrawBrush2")->trigger();
  QTest::mouseClick(Find<TImageControl>("ImgRoad"), Qt::LeftButton, Qt::NoModifier, {150, 500});
  W->BtnAddKartClick();
  ASSERT_EQ(RunMoves(1), 1);
  const QImage Circuit = Clean();
  const QString Before = Rows(0);
  const QString Name = W->CircuitName;

  QFile List(QStringLiteral(KARTS_SCENARIOS) + "/expected.txt");
  ASSERT_TRUE(List.open(QIODevice::ReadOnly));
  QTextStream Lines(&List);
  int Kinds = 0;
  while (!Lines.atEnd()) {
    const QStringList Line = Lines.readLine().split('\t');
    if (Line.size() != 2) continue;
    Dialogs.Messages.clear();
    Dialogs.Files << QStringLiteral(KARTS_SCENARIOS) + '/' + Line[0];
    Find<QAction>("OpenScenario")->trigger();
    ASSERT_EQ(Dialogs.Messages.size(), 1) << Line[0].toStdString();
    EXPECT_TRUE(Dialogs.Messages[0].contains(Line[1]))
        << Line[0].toStdString() << ": " << Dialogs.Messages[0].toStdString();
    EXPECT_EQ(Rows(0), Before) << Line[0].toStdString();
    EXPECT_EQ(Clean(), Circuit) << Line[0].toStdString();
    EXPECT_EQ(W->CircuitName, Name);
    ++Kinds;
  }
  EXPECT_GE(Kinds, 10);
  // The sound file of the same corpus opens.
  Dialogs.Messages.clear();
  Dialogs.Files << QStringLiteral(KARTS_SCENARIOS) + "/sound.json";
  Find<QAction>("OpenScenario")->trigger();
  EXPECT_TRUE(Dialogs.Messages.isEmpty());
  EXPECT_EQ(Track().Width, 24);
}

TEST_F(ScenarioWindow, SaveDialogsAddTheirSuffixAndTheNextDialogOpensWhereTheLastWas) {
  Dialogs.Files << Dir.filePath("race1") << Dir.filePath("drawn");
  Find<QAction>("SaveScenario")->trigger();
  Find<QAction>("SaveCircuitAs")->trigger();
  EXPECT_TRUE(QFile::exists(Dir.filePath("race1.json")));
  EXPECT_TRUE(QFile::exists(Dir.filePath("drawn.bmp")));
  // A bare name is found in the folder the dialog opens in: the one chosen last.
  W->BtnAddKartClick();
  Dialogs.Files << "race1.json";
  Find<QAction>("OpenScenario")->trigger();
  EXPECT_TRUE(Dialogs.Messages.isEmpty()) << Dialogs.Messages.join('\n').toStdString();
  EXPECT_EQ(Track().PlayerCount(), 1);
}
