#include "ui/URaceViews.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include "agents/UKart.h"
#include "ui/UFormTest2D.h"
#include "ui/UImageControl.h"
#include "ui/UKartPanels.h"
#include "ui/URaceRunner.h"
#include "ui/URaceTable.h"
#include "ui/UStartPanels.h"
#include "ui/UThinkingView.h"
#include "world/UTrack2D.h"

namespace {
// Moves per second are measured over this many latest moves.
constexpr size_t RateMoves = 10;
}  // namespace

TRaceViews::TRaceViews(TFormTest2D& AForm) : QObject(&AForm), Form(AForm) {
  setObjectName(QStringLiteral("RaceViews"));
  Clock.start();
  Thinking = new TThinkingView(&Form);
  Table = new TRaceTable(&Form);
  CreateMenu();
  CreateStatusBar();
  ConnectWindow();
  Restart();
}

void TRaceViews::CreateMenu() {
  QMenu* View = Form.menuBar()->addMenu(QStringLiteral("&View"));
  View->setObjectName(QStringLiteral("MenuView"));
  const auto Add = [&](const QString& Caption, const QString& Name, const QKeySequence& Keys,
                       auto Slot) {
    QAction* Action = View->addAction(Caption);
    Action->setObjectName(Name);
    Action->setShortcut(Keys);
    Action->setShortcutContext(Qt::ApplicationShortcut);
    connect(Action, &QAction::triggered, this, Guarded([this, Slot](bool) { (this->*Slot)(); }));
    return Action;
  };
  Add(QStringLiteral("&Thinking of the chosen kart"), QStringLiteral("MenuThinkingView"),
      QKeySequence(Qt::CTRL | Qt::Key_T), &TRaceViews::ShowThinking);
  Add(QStringLiteral("&Race table"), QStringLiteral("MenuRaceTable"),
      QKeySequence(Qt::CTRL | Qt::Key_R), &TRaceViews::ShowRaceTable);
  View->addSeparator();
  // Page keys, not arrows: the arrow keys belong to the focused control.
  QAction* Next = View->addAction(QStringLiteral("&Next kart"));
  Next->setObjectName(QStringLiteral("MenuNextKart"));
  Next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
  Next->setShortcutContext(Qt::ApplicationShortcut);
  connect(Next, &QAction::triggered, this, Guarded([this](bool) { ChooseKart(1); }));
  QAction* Prev = View->addAction(QStringLiteral("&Previous kart"));
  Prev->setObjectName(QStringLiteral("MenuPreviousKart"));
  Prev->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
  Prev->setShortcutContext(Qt::ApplicationShortcut);
  connect(Prev, &QAction::triggered, this, Guarded([this](bool) { ChooseKart(-1); }));
  // F10 opens the menu bar at its first menu, as on other desktops.
  auto* F10 = new QShortcut(QKeySequence(Qt::Key_F10), &Form);
  connect(F10, &QShortcut::activated, this, [this] {
    QMenuBar* Bar = Form.menuBar();
    if (!Bar->actions().isEmpty()) {
      Bar->setFocus(Qt::ShortcutFocusReason);
      Bar->setActiveAction(Bar->actions().first());
    }
  });
}

void TRaceViews::CreateStatusBar() {
  QStatusBar* Bar = Form.statusBar();
  Bar->setSizeGripEnabled(false);
  const auto Add = [Bar](const QString& Name) {
    auto* Label = new QLabel;
    Label->setObjectName(Name);
    Bar->addPermanentWidget(Label);
    return Label;
  };
  RunState = Add(QStringLiteral("LbRunState"));
  MovesPerSecond = Add(QStringLiteral("LbMovesPerSecond"));
  FuturesPerMove = Add(QStringLiteral("LbFuturesPerMove"));
  Frames = Add(QStringLiteral("LbFrames"));
}

void TRaceViews::ConnectWindow() {
  connect(&Form.Runner(), &TRaceRunner::MoveFinished, this, Guarded([this] { AfterMove(); }));
  // After the window's own handlers, which were connected first.
  if (auto* Choice = Form.findChild<TKartChoicePanel*>()) {
    for (auto Signal : {&TKartChoicePanel::kartChosen, &TKartChoicePanel::addClicked,
                        &TKartChoicePanel::removeClicked})
      connect(Choice, Signal, this, Guarded([this] { Refresh(); }));
  }
  if (auto* Moves = Form.findChild<TManualMovePanel*>())
    connect(Moves, &TManualMovePanel::moveAsked, this,
            Guarded([this](double, double, double) { Refresh(); }));
  // The marks on the picture follow the kart's colour and size.
  if (auto* Choice = Form.findChild<TKartChoicePanel*>())
    connect(Choice, &TKartChoicePanel::colorClicked, this, Guarded([this] { Refresh(); }));
  if (auto* Params = Form.findChild<TKartParamsPanel*>())
    connect(Params, &TKartParamsPanel::sizeChanged, this, Guarded([this](double) { Refresh(); }));
  if (auto* Start = Form.findChild<TStartStopPanel*>()) {
    connect(Start, &TStartStopPanel::resetClicked, this, Guarded([this] { Restart(); }));
  }
  for (const char* Name : {"StartBtn", "PauseBtn"})
    if (auto* Button = Form.findChild<QPushButton*>(QString::fromLatin1(Name)))
      connect(Button, &QPushButton::toggled, this, [this] { ShowStatus(); });
  connect(&Form, &TFormTest2D::circuitChanged, this, Guarded([this] { Restart(); }));
  connect(&Form, &TFormTest2D::kartsLinedUp, this, Guarded([this] { Restart(); }));
  if (auto* Saving = Form.findChild<QAction*>(QStringLiteral("Saveimagestofolder")))
    connect(Saving, &QAction::triggered, this, [this] { ShowStatus(); });
}

std::vector<TPlayer2D*> TRaceViews::Karts() const {
  std::vector<TPlayer2D*> List;
  for (const auto& K : Form.Runner().Karts) List.push_back(K.get());
  return List;
}

void TRaceViews::Restart() {
  const TRaceRunner& R = Form.Runner();
  if (R.Karts.empty()) return;
  FLog.BeginAt(*R.Track, *R.Karts.front());
  FLog.Follow(Karts());
  MoveTimes.clear();
  Refresh();
}

void TRaceViews::AfterMove() {
  FLog.Record(Karts(), Form.Runner().Track->LastPasses);
  MoveTimes.push_back(Clock.elapsed());
  if (MoveTimes.size() > RateMoves) MoveTimes.pop_front();
  Refresh();
}

void TRaceViews::Refresh() {
  const TRaceRunner& R = Form.Runner();
  // Kart #1 given another start (moved by hand while paused): the line moves with it.
  if (!R.Karts.empty() && !FLog.StartsAt(*R.Karts.front())) return Restart();
  FLog.Follow(Karts());
  Form.FollowLapLine();
  if (Thinking->isVisible() && Form.CurrentKart) {
    int Number = 0;
    for (size_t I = 0; I < R.Karts.size(); ++I)
      if (R.Karts[I].get() == Form.CurrentKart) Number = static_cast<int>(I) + 1;
    Thinking->Show(TakeSnapshot(*Form.CurrentKart, Number, FLog.Find(Form.CurrentKart)));
  }
  if (Table->isVisible()) {
    std::vector<TColor> Colors;
    for (const auto& K : R.Karts) Colors.push_back(K->Color);
    Table->Show(RaceRows(FLog, Colors), FLog.Laps().HasLine());
  }
  ShowMarks();
  ShowStatus();
}

void TRaceViews::ShowMarks() {
  TViewMarks Marks;
  const TLapCounter& Laps = FLog.Laps();
  Marks.HasLine = Laps.HasLine();
  Marks.Line = QLineF(Laps.EndX(false), Laps.EndY(false), Laps.EndX(true), Laps.EndY(true));
  const TRaceRunner& R = Form.Runner();
  for (size_t I = 0; I < R.Karts.size(); ++I) {
    const TKart& K = *R.Karts[I];
    Marks.Karts.push_back({QPointF(K.PosX(), K.PosY()), K.GetSize(), static_cast<int>(I) + 1,
                           K.Color, &K == Form.CurrentKart});
  }
  if (auto* Image = Form.findChild<TImageControl*>()) Image->SetMarks(std::move(Marks));
}

void TRaceViews::ShowStatus() {
  const TRaceRunner& R = Form.Runner();
  const bool Running = Form.IsRunning();
  const auto* Pause = Form.findChild<QPushButton*>(QStringLiteral("PauseBtn"));
  RunState->setText(Running                       ? QStringLiteral("Running")
                    : Pause && Pause->isChecked() ? QStringLiteral("Paused")
                                                  : QStringLiteral("Stopped"));
  const bool Fresh = Running && MoveTimes.size() >= 2 && Clock.elapsed() - MoveTimes.back() < 2000;
  MovesPerSecond->setText(
      Fresh ? QStringLiteral("%1 moves/s")
                  .arg((MoveTimes.size() - 1) * 1000.0 /
                           std::max<qint64>(1, MoveTimes.back() - MoveTimes.front()),
                       0, 'f', 1)
            : QStringLiteral("- moves/s"));
  const TKartRecord* Rec = Form.CurrentKart ? FLog.Find(Form.CurrentKart) : nullptr;
  FuturesPerMove->setText(Rec && !Rec->History.empty()
                              ? QStringLiteral("chosen kart: %1 futures/move, %2 distinct")
                                    .arg(Rec->History.back().Futures)
                                    .arg(Rec->History.back().Distinct)
                              : QStringLiteral("chosen kart: no move yet"));
  // What saving frames has written since it was switched on: a run can fill a disk.
  const bool Saving = Form.IsSavingFrames();
  Frames->setVisible(Saving);
  if (Saving)
    Frames->setText(QStringLiteral("frames: %1 saved, %2 MB")
                        .arg(R.FramesSaved)
                        .arg(R.FrameBytes / 1048576.0, 0, 'f', 1));
}

void TRaceViews::ShowThinking() {
  Thinking->show();
  Thinking->raise();
  // Keys go there now: the views are reached by keyboard as well.
  Thinking->activateWindow();
  Refresh();
}

void TRaceViews::ShowRaceTable() {
  Table->show();
  Table->raise();
  Table->activateWindow();
  Refresh();
}

void TRaceViews::ChooseKart(int Step) {
  auto* Combo = Form.findChild<QComboBox*>(QStringLiteral("EdKartId"));
  if (!Combo || Combo->count() == 0) return;
  const int N = Combo->count();
  Combo->setCurrentIndex(((Combo->currentIndex() + Step) % N + N) % N);
  Form.EdKartIdChange();
  Refresh();
}
