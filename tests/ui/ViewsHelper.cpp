// By hand, under a real display (Xvfb): runs the window with several karts, a fixed seed and a
// fixed number of futures, with the thinking view and the race table open, saves pictures of the
// screen at chosen moves, and prints the race table at the end, to be compared with
// `kartrun --seed S --futures F --karts K --moves M --laps FILE`.
// Usage: views_helper KARTS SEED FUTURES MOVES FOLDER SHOT_MOVE...

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <cstdio>
#include <set>

#include "decision/UBase.h"
#include "ui/UApplication.h"
#include "ui/UFormTest2D.h"
#include "ui/URaceRunner.h"
#include "ui/URaceTable.h"
#include "ui/URaceViews.h"
#include "ui/UThinkingView.h"
#include "world/UTrack2D.h"

int main(int Argc, char** Argv) {
  if (Argc < 6) {
    std::fprintf(stderr, "usage: views_helper KARTS SEED FUTURES MOVES FOLDER SHOT_MOVE...\n");
    return 2;
  }
  TApplication App(Argc, Argv);
  const int Karts = std::atoi(Argv[1]);
  const uint64_t Seed = std::strtoull(Argv[2], nullptr, 10);
  const int Futures = std::atoi(Argv[3]);
  const int Moves = std::atoi(Argv[4]);
  const QString Folder = QString::fromLocal8Bit(Argv[5]);
  std::set<int> Shots;
  for (int I = 6; I < Argc; ++I) Shots.insert(std::atoi(Argv[I]));

  TFormTest2D W;
  W.move(0, 0);
  W.show();
  if (!QTest::qWaitForWindowExposed(&W)) {
    std::fprintf(stderr, "views_helper: the window was never shown (no display?)\n");
    return 1;
  }
  auto* Add = W.findChild<QPushButton*>(QStringLiteral("BtnAddKart"));
  for (int I = 1; I < Karts; ++I) Add->click();
  W.Runner().Track->FixedPasses = Futures;
  auto* Views = W.findChild<TRaceViews*>();
  Views->ShowThinking();
  Views->ShowRaceTable();
  Views->ThinkingView()->setGeometry(1075, 30, 640, 600);
  Views->RaceTable()->setGeometry(10, 740, 1060, 260);

  // The moves start from the seed itself, as kartrun's do.
  int Done = 0;
  bool Seeded = false;
  const auto RunDown = W.Runner().RunDown;
  W.Runner().RunDown = [&] {
    if (!Seeded) RandomSeed(Seed);
    Seeded = true;
    return Done < Moves && RunDown();
  };
  QObject::connect(&W.Runner(), &TRaceRunner::MoveFinished, [&] {
    ++Done;
    if (!Shots.count(Done)) return;
    QApplication::processEvents();
    QScreen* Screen = QGuiApplication::primaryScreen();
    Screen->grabWindow(0).save(Folder + QStringLiteral("/screen-%1.png").arg(Done));
    Views->ThinkingView()->grab().save(Folder + QStringLiteral("/thinking-%1.png").arg(Done));
    Views->RaceTable()->grab().save(Folder + QStringLiteral("/table-%1.png").arg(Done));
  });
  W.findChild<QPushButton*>(QStringLiteral("StartBtn"))->click();

  const QTableWidget* Table = Views->RaceTable()->Table();
  for (int R = 0; R < Table->rowCount(); ++R) {
    QStringList Cells;
    for (int C = 1; C < Table->columnCount(); ++C) Cells << Table->item(R, C)->text();
    std::printf("%s\n", qPrintable(Cells.join(QStringLiteral(" | "))));
  }
  std::printf("moves %d\n", Done);
  return 0;
}
