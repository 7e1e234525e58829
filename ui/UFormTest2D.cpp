#include "ui/UFormTest2D.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UCircuitFile.h"
#include "io/UDefaultCircuit.h"
#include "ui/UAbout.h"
#include "ui/UAppEvents.h"
#include "ui/UCircuitTools.h"
#include "ui/UColorPanel.h"
#include "ui/UDebugMemo.h"
#include "ui/UFileDialogs.h"
#include "ui/UImageControl.h"
#include "ui/UKartPanels.h"
#include "ui/UOpenPictureDialog.h"
#include "ui/URaceRunner.h"
#include "ui/URaceViews.h"
#include "ui/URunStop.h"
#include "ui/USaveFolder.h"
#include "ui/UStartPanels.h"
#include "ui/UThinkingPanel.h"
#include "ui/UToolTips.h"
#include "ui/UTrackPanel.h"
#include "ui/UWindowReport.h"
#include "world/ULapCounter.h"
#include "world/URaceSetup.h"
#include "world/UStartGrid.h"
#include "world/UTrack2D.h"

TFormTest2D::TFormTest2D(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName(QStringLiteral("FormTest2D"));
  setWindowTitle(QStringLiteral("Kart simulation using \"Causal Entropic Forces\" V0.6"));
  CreateActions();
  CreateMenus();
  CreatePanels();
  CreateDialogs();
  CreateRace();
  ConnectPanels();
  ConnectMenus();
  FormCreate();
  new TCircuitTools(*this, *ImgRoad);  // a child of the window
  new TRaceViews(*this);
  FinishMenus();
  RestoreGeometry();
  // The keys start at Run: Space runs, Tab goes round the controls, the picture among them.
  StartStop->FocusRun();
}

TFormTest2D::~TFormTest2D() { FormDestroy(); }

TTrack2D& TFormTest2D::Track() const { return *FRunner->Track; }

// ---------------------------------------------------------------------------------------------
// Building the window

void TFormTest2D::CreateActions() {
  const auto NewAction = [this](const QString& Caption, const QString& Name, bool Checkable) {
    auto* Action = new QAction(Caption, this);
    Action->setObjectName(Name);
    Action->setCheckable(Checkable);
    return Action;
  };
  // Every caption keeps its text; "&" only underlines the letter that reaches it by keyboard.
  Loadcircuit800x600BMP1 =
      NewAction(QStringLiteral("&Load another circuit (800x600 BMP, pure black is out of track)"),
                QStringLiteral("Loadcircuit800x600BMP1"), false);
  Saveimagestofolder = NewAction(
      QStringLiteral("&Chose folder for saving images (give it a file name before pressing OK)"),
      QStringLiteral("Saveimagestofolder"), true);
  MenuDebug0 = NewAction(QStringLiteral("&Don't show me anything strange."),
                         QStringLiteral("MenuDebug0"), true);
  MenuDebug1 = NewAction(QStringLiteral("&Trace futures"), QStringLiteral("MenuDebug1"), true);
  MenuDebug2 = NewAction(QStringLiteral("Traces futures and &ending points."),
                         QStringLiteral("MenuDebug2"), true);
  DebugLevels = new QActionGroup(this);
  DebugLevels->setExclusive(true);
  for (QAction* Item : {MenuDebug0, MenuDebug1, MenuDebug2}) DebugLevels->addAction(Item);
  MenuDebug0->setChecked(true);
  MenuCleanTrack = NewAction(QStringLiteral("&Clean track image after each move."),
                             QStringLiteral("MenuCleanTrack"), true);
  MenuCleanTrack->setChecked(true);

  RunPause = NewAction(QStringLiteral("&Run or pause"), QStringLiteral("RunPause"), false);
  RunPause->setShortcut(QKeySequence(Qt::Key_Space));
  ResetItem = NewAction(QStringLiteral("R&eset"), QStringLiteral("ResetItem"), false);
  AsFastAsPossible =
      NewAction(QStringLiteral("As &fast as possible"), QStringLiteral("AsFastAsPossible"), true);
  FocusCircuit = NewAction(QStringLiteral("&Keys move the chosen kart"),
                           QStringLiteral("FocusCircuit"), false);
  FocusCircuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  LineUpOnGridItem =
      NewAction(QStringLiteral("Line up on the &grid"), QStringLiteral("LineUpOnGrid"), false);
  LineUpOnGridItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  RacePresetItem = NewAction(QStringLiteral("Race &preset"), QStringLiteral("RacePreset"), false);
  Quit = NewAction(QStringLiteral("&Quit"), QStringLiteral("Quit"), false);
  Quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  About = NewAction(QStringLiteral("&About"), QStringLiteral("About"), false);
  // Only the window's own shortcuts: Space typed into a dialog stays there.
  for (QAction* Item : {RunPause, FocusCircuit, LineUpOnGridItem, Quit})
    Item->setShortcutContext(Qt::WindowShortcut);
}

void TFormTest2D::CreateMenus() {
  QMenu* File = menuBar()->addMenu(QStringLiteral("&File"));
  File->setObjectName(QStringLiteral("MenuFile"));
  File->addAction(Loadcircuit800x600BMP1);
  File->addAction(Saveimagestofolder);
  QMenu* Simulation = menuBar()->addMenu(QStringLiteral("&Simulation"));
  Simulation->setObjectName(QStringLiteral("MenuSimulation"));
  Simulation->addActions({RunPause, ResetItem, LineUpOnGridItem, RacePresetItem});
  Simulation->addSeparator();
  Simulation->addAction(AsFastAsPossible);
  Simulation->addSeparator();
  Simulation->addAction(FocusCircuit);
  QMenu* Debug = menuBar()->addMenu(QStringLiteral("&Graphic debug levels"));
  Debug->setObjectName(QStringLiteral("MenuDebug"));
  Debug->addActions({MenuDebug0, MenuDebug1, MenuDebug2});
  Debug->addSeparator();
  Debug->addAction(MenuCleanTrack);
}

void TFormTest2D::FinishMenus() {
  if (auto* File = findChild<QMenu*>(QStringLiteral("MenuFile"))) {
    File->addSeparator();
    File->addAction(Quit);
  }
  QMenu* Help = menuBar()->addMenu(QStringLiteral("&Help"));
  Help->setObjectName(QStringLiteral("MenuHelp"));
  Help->addAction(About);
  // Every control and item is there now: each gets its tooltip.
  ApplyToolTips(*this);
  for (QMenu* Menu : findChildren<QMenu*>()) Menu->setToolTipsVisible(true);
}

void TFormTest2D::CreatePanels() {
  auto* Client = new QWidget(this);
  ImgRoad = new TImageControl;
  ImgRoad->SetImage(DefaultCircuitImage());
  // The picture takes what the window gives beyond the control column, which keeps its width;
  // the debug text takes the column's height left over.
  auto* Column = new QWidget;
  Column->setFixedWidth(240);
  auto* Box = new QVBoxLayout(Column);
  Box->setContentsMargins(0, 4, 0, 6);
  Box->setSpacing(2);
  Box->addWidget(TrackPanel = new TTrackPanel);
  Box->addWidget(KartChoice = new TKartChoicePanel);
  Box->addWidget(KartParams = new TKartParamsPanel);
  Box->addWidget(Thinking = new TThinkingPanel);
  Box->addWidget(ManualMoves = new TManualMovePanel);
  Box->addWidget(DebugMemo = new TDebugMemo, 1);
  Box->addWidget(StartStop = new TStartStopPanel);
  auto* Row = new QHBoxLayout(Client);
  Row->setContentsMargins(9, 0, 2, 0);
  Row->setSpacing(9);
  auto* Picture = new QVBoxLayout;
  Picture->setContentsMargins(0, 9, 0, 12);
  Picture->addWidget(ImgRoad);
  Row->addLayout(Picture, 1);
  Row->addWidget(Column);
  setCentralWidget(Client);
}

void TFormTest2D::CreateDialogs() {
  OpenPictureDialog = new TOpenPictureDialog(this);
  SaveDialog = new QFileDialog(this);
  SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
  SaveDialog->setOption(QFileDialog::DontUseNativeDialog);
  SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog->setFileMode(QFileDialog::AnyFile);
  // The frames are BMP files named after the base: "lap" and "lap.bmp" both give lap_0001.bmp.
  SaveDialog->setNameFilter(QStringLiteral("Bitmaps (*.bmp)"));
  SaveDialog->setDefaultSuffix(QStringLiteral("bmp"));
  // Frames replace older ones of the same name without asking: a run must not stop for that.
  SaveDialog->setOption(QFileDialog::DontConfirmOverwrite);
  ColorDialog = new QColorDialog(this);
  ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
}

void TFormTest2D::CreateRace() {
  FRunner = std::make_unique<TRaceRunner>(*ImgRoad, DebugMemo);
  // The run loop asks the window whether Run is down, follows the kart on the grid slider and
  // asks whether frames are saved.
  FRunner->RunDown = [this] { return StartStop->IsRunning(); };
  FRunner->AfterMove = [this] { UpdateRealTimeParams(); };
  FRunner->SavingFrames = [this] { return Saveimagestofolder->isChecked(); };
  FRunner->FrameFailed = [this](const QString& Message) { FrameFailed(Message); };
}

void TFormTest2D::ConnectPanels() {
  // The panels run their handlers whenever a control changes, by the user or the program;
  // their signals land here, each in the track or the current kart. An error raised here is
  // shown and the panel's handler goes on.
  TTrack2D* T = FRunner->Track.get();
  connect(TrackPanel, &TTrackPanel::frictionChanged, this,
          Guarded([T](double V) { T->Friction = V; }));
  connect(TrackPanel, &TTrackPanel::sideFrictionChanged, this,
          Guarded([T](double V) { T->SideFriction = V; }));
  connect(TrackPanel, &TTrackPanel::teamScoreChanged, this,
          Guarded([T](bool V) { T->TeamScore = V; }));
  connect(TrackPanel, &TTrackPanel::collisionsChanged, this,
          Guarded([T](bool V) { T->Collisions = V; }));
  connect(TrackPanel, &TTrackPanel::raceDirectionChanged, this,
          Guarded([T](bool V) { T->RaceDirection = V; }));

  connect(KartChoice, &TKartChoicePanel::kartChosen, this,
          HANDLER(this, TFormTest2D::EdKartIdChange));
  connect(KartChoice, &TKartChoicePanel::addClicked, this,
          HANDLER(this, TFormTest2D::BtnAddKartClick));
  connect(KartChoice, &TKartChoicePanel::removeClicked, this,
          HANDLER(this, TFormTest2D::BtnSubKartClick));
  connect(KartChoice, &TKartChoicePanel::colorClicked, this,
          HANDLER(this, TFormTest2D::EdColorClick));

  connect(KartParams, &TKartParamsPanel::maxPowerChanged, this,
          Guarded([this](double V) { CurrentKart->SetMaxPower(V); }));
  connect(KartParams, &TKartParamsPanel::maxTurnChanged, this,
          Guarded([this](double V) { CurrentKart->SetMaxTurn(V); }));
  connect(KartParams, &TKartParamsPanel::sizeChanged, this, Guarded([this, T](double V) {
            CurrentKart->SetSize(V);
            T->Redraw();
          }));

  connect(Thinking, &TThinkingPanel::secondsChanged, this,
          Guarded([T](int32_t V) { T->Seconds = V; }));
  connect(Thinking, &TThinkingPanel::gridSizeChanged, this,
          Guarded([this](int32_t V) { CurrentKart->SetGridSize(V); }));
  connect(Thinking, &TThinkingPanel::autoGridChanged, this,
          Guarded([this](bool V) { CurrentKart->AutoGrid = V; }));
  connect(Thinking, &TThinkingPanel::useRefinedChanged, this,
          Guarded([this](bool V) { CurrentKart->UseRefined = V; }));

  connect(
      ManualMoves, &TManualMovePanel::moveAsked, this,
      Guarded([this](double DX, double DY, double DAngle) { MoveCurrentKart(DX, DY, DAngle); }));
  connect(StartStop, &TStartStopPanel::runClicked, this, HANDLER(this, TFormTest2D::StartBtnClick));
  connect(StartStop, &TStartStopPanel::resetClicked, this,
          HANDLER(this, TFormTest2D::ResetBtnClick));
}

void TFormTest2D::ConnectMenus() {
  // A menu check set by the program runs no handler: the debug items answer only to the user.
  connect(DebugLevels, &QActionGroup::triggered, this, HANDLER(this, TFormTest2D::EdDebugChange));
  connect(Loadcircuit800x600BMP1, &QAction::triggered, this,
          HANDLER(this, TFormTest2D::Loadcircuit800x600BMP1Click));
  connect(Saveimagestofolder, &QAction::triggered, this,
          HANDLER(this, TFormTest2D::SaveimagestofolderClick));
  connect(MenuCleanTrack, &QAction::triggered, this,
          HANDLER(this, TFormTest2D::MenuCleanTrackClick));
  connect(RunPause, &QAction::triggered, this, HANDLER(this, TFormTest2D::RunPauseClick));
  connect(ResetItem, &QAction::triggered, this, [this] { StartStop->Reset(); });
  connect(LineUpOnGridItem, &QAction::triggered, this,
          HANDLER(this, TFormTest2D::LineUpOnGridClick));
  connect(RacePresetItem, &QAction::triggered, this, HANDLER(this, TFormTest2D::RacePresetClick));
  // Another circuit may loop through the start where the last did not, or the other way round.
  connect(this, &TFormTest2D::circuitChanged, this, Guarded([this] { FollowLapLine(true); }));
  connect(AsFastAsPossible, &QAction::triggered, this,
          HANDLER(this, TFormTest2D::AsFastAsPossibleClick));
  connect(FocusCircuit, &QAction::triggered, this, HANDLER(this, TFormTest2D::FocusCircuitClick));
  connect(Quit, &QAction::triggered, this, &QWidget::close);
  connect(About, &QAction::triggered, this, HANDLER(this, TFormTest2D::AboutClick));
}

void TFormTest2D::RestoreGeometry() {
  const QByteArray Kept = WindowSettings()->value(QStringLiteral("window/geometry")).toByteArray();
  if (Kept.isEmpty() || !restoreGeometry(Kept)) CenterOnDesktop();
}

void TFormTest2D::CenterOnDesktop() {
  // The picture at the circuit's own size beside the column (adjustSize would keep to a part of
  // a small screen).
  resize(sizeHint());
  if (const QScreen* Screen = screen())
    move(Screen->availableGeometry().center() - frameGeometry().center() + pos());
}

// ---------------------------------------------------------------------------------------------
// Start and end

void TFormTest2D::FormCreate() {
  RandomSeedFromClock();
  // The dialogs open where the user last chose a file (UFileDialogs), not in the program's folder.
  FRunner->FrameNumber = 1;
  UpKeyHeld = DownKeyHeld = LeftKeyHeld = RightKeyHeld = false;
  AddKart();
  FRunner->TimeBudgetMs = MoveBudgetMs;
  Track().Redraw();
  AppEvents = new TAppEvents(this);
  AppEvents->OnMessage = [this](QEvent& Message, bool& Handled) {
    AppEventsMessage(Message, Handled);
  };
  TApplication::SetReportSource(this, [this] { return DescribeWindow(*this); });
}

bool TFormTest2D::IsRunning() const { return StartStop->IsRunning(); }

bool TFormTest2D::IsSavingFrames() const { return Saveimagestofolder->isChecked(); }

void TFormTest2D::StartBtnClick() {
  // Should the window go during the loop, the guard finds its button gone and leaves it.
  const TReleaseRunOnError ShowStopped(StartStop->PauseButton());
  FRunner->StartBtnClick();
}

void TFormTest2D::FormDestroy() {
  if (AppEvents) AppEvents->OnMessage = nullptr;
}

void TFormTest2D::closeEvent(QCloseEvent* Event) {
  // A running loop sees the close after its move and ends without touching the window again.
  FRunner->Close();
  if (StartStop->IsRunning()) StartStop->Pause();
  WindowSettings()->setValue(QStringLiteral("window/geometry"), saveGeometry());
  Event->accept();
}

bool TFormTest2D::FocusTakesSpace() const {
  const QWidget* Focus = QApplication::focusWidget();
  if (!Focus || Focus->window() != this) return false;
  // Run and Pause answer Space as Run/Pause does: pressing Run again would start a second loop.
  if (const auto* Button = qobject_cast<const QAbstractButton*>(Focus))
    return Button->objectName() != QLatin1String("StartBtn") &&
           Button->objectName() != QLatin1String("PauseBtn");
  return qobject_cast<const QComboBox*>(Focus) || qobject_cast<const TColorPanel*>(Focus) ||
         qobject_cast<const QLineEdit*>(Focus);
}

void TFormTest2D::AppEventsMessage(QEvent& Message, bool& Handled) {
  if (!isActiveWindow()) return;
  const QEvent::Type Type = Message.type();
  auto& Key = static_cast<QKeyEvent&>(Message);
  // Space runs and pauses, except where the focused control has a use for it.
  if (Type == QEvent::ShortcutOverride) {
    if (Key.key() == Qt::Key_Space && Key.modifiers() == Qt::NoModifier && FocusTakesSpace()) {
      Message.accept();
      Handled = true;
    }
    return;
  }
  if (Type != QEvent::KeyPress && Type != QEvent::KeyRelease) return;
  // The arrow keys belong to the focused control, unless that is the picture: then they move
  // the chosen kart by hand, as the buttons do (with Shift, left and right turn it). An open
  // menu keeps its arrows.
  if (QApplication::focusWidget() != ImgRoad || QApplication::activePopupWidget()) return;
  bool* Flag = nullptr;
  int Button = 0;  // the manual move button the key stands for
  const bool Turn = Key.modifiers() & Qt::ShiftModifier;
  switch (Key.key()) {
    case Qt::Key_Up:
      Flag = &UpKeyHeld;
      Button = 2;
      break;
    case Qt::Key_Down:
      Flag = &DownKeyHeld;
      Button = 4;
      break;
    case Qt::Key_Left:
      Flag = &LeftKeyHeld;
      Button = Turn ? 6 : 1;
      break;
    case Qt::Key_Right:
      Flag = &RightKeyHeld;
      Button = Turn ? 5 : 3;
      break;
    default:
      return;
  }
  // Auto-repeat sends release and press pairs while a key is held: the key stays held, and
  // every press moves the kart once more.
  if (Type == QEvent::KeyPress) {
    *Flag = true;
    RunHandler([this, Button] { ManualMoves->Press(Button); },
               QStringLiteral("TFormTest2D::AppEventsMessage"));
  } else if (!Key.isAutoRepeat()) {
    *Flag = false;
  }
  Handled = true;
}

void TFormTest2D::RunPauseClick() {
  if (StartStop->IsRunning())
    StartStop->Pause();
  else
    StartStop->Run();
}

void TFormTest2D::FocusCircuitClick() { ImgRoad->setFocus(Qt::ShortcutFocusReason); }

void TFormTest2D::AsFastAsPossibleClick() {
  FRunner->AsFastAsPossible = AsFastAsPossible->isChecked();
}

void TFormTest2D::AboutClick() { ShowAbout(this); }

void TFormTest2D::FrameFailed(const QString& Message) {
  StartStop->Pause();
  WarnAboutFile(this, QStringLiteral("Saving images"),
                Message + QStringLiteral(" The run is paused; Run goes on saving frames, or switch "
                                         "saving off in the File menu."));
}

// ---------------------------------------------------------------------------------------------
// Karts

void TFormTest2D::AddKart() {
  TKart& Kart = ::AddKart(Track(), FRunner->Karts, [this](TKart& New) {
    CurrentKart = &New;
    CopyParamsFromKart();
  });
  KartChoice->SetColor(Kart.Color);
  KartChoice->AppendLine(Track().PlayerCount());
}

void TFormTest2D::BtnAddKartClick() {
  AddKart();
  Track().Redraw();
}

void TFormTest2D::BtnSubKartClick() {
  if (Track().PlayerCount() < 2) return;
  RemoveKart(Track(), FRunner->Karts, CurrentKart);
  CurrentKart = nullptr;
  KartChoice->RemoveLastLine();
  KartChoice->SelectLine(0);
  EdKartIdChange();
  Track().CleanImage();
  Track().Redraw();
}

void TFormTest2D::EdKartIdChange() {
  CurrentKart = &dynamic_cast<TKart&>(Track().GetPlayer(KartChoice->SelectedLine()));
  CopyParamsFromKart();
}

void TFormTest2D::ResetBtnClick() {
  FRunner->ResetToStart();
  CopyParamsFromScreen();
  Track().Redraw();
}

void TFormTest2D::LineUpOnGridClick() {
  std::string Problem;
  if (!LineUpOnGrid(Track(), FRunner->Karts, Problem)) {
    // The circuit's shape, not a fault of the program: a plain warning, nothing logged.
    QMessageBox Box(QMessageBox::Warning, QStringLiteral("Line up on the grid"),
                    QString::fromStdString(Problem), QMessageBox::Ok, this);
    Box.setObjectName(QStringLiteral("GridWarning"));
    Box.exec();
    return;
  }
  emit kartsLinedUp();
}

void TFormTest2D::RacePresetClick() {
  if (!HasLapLine()) {
    QMessageBox Box(QMessageBox::Warning, QStringLiteral("Race preset"),
                    QStringLiteral("The race preset races the lap direction, and this circuit has "
                                   "no lap line: its road does not loop through kart #1's start."),
                    QMessageBox::Ok, this);
    Box.setObjectName(QStringLiteral("PresetWarning"));
    Box.exec();
    return;
  }
  // Racing the lap direction with every kart's grid held at the start-up size: in the study of
  // docs/driving.md, the fastest laps from a few thousand futures up.
  Track().RaceDirection = true;
  for (const auto& Kart : FRunner->Karts) {
    Kart->AutoGrid = false;
    Kart->SetGridSize(TKartSettings{}.Grid);
  }
  CopyParamsFromKart();
}

void TFormTest2D::FollowLapLine(bool RoadChanged) {
  if (FRunner->Karts.empty()) return;
  double X, Y, Angle;
  StartLineOf(*FRunner->Karts.front(), X, Y, Angle);
  const void* Road = Track().Background.get();
  if (!RoadChanged && LapLine.Known && LapLine.Road == Road && LapLine.X == X && LapLine.Y == Y &&
      LapLine.Angle == Angle)
    return;
  // Measuring the road takes a few milliseconds: only when something it depends on changed.
  TLapCounter Line;
  Line.Build(Track(), X, Y, Angle);
  LapLine = {Road, X, Y, Angle, true, Line.HasLine()};
  TrackPanel->SetLapLine(LapLine.Found);
}

// ---------------------------------------------------------------------------------------------
// Parameters

void TFormTest2D::EdDebugChange() {
  if (MenuDebug0->isChecked())
    CurrentKart->DebugLevel = TDebugLevel::Nothing;
  else if (MenuDebug1->isChecked())
    CurrentKart->DebugLevel = TDebugLevel::Traces;
  else if (MenuDebug2->isChecked())
    CurrentKart->DebugLevel = TDebugLevel::EndPoints;
}

void TFormTest2D::CopyParamsFromKart() {
  // Each position or state set here runs its control's handler when it changes.
  const TTrack2D& T = Track();
  Thinking->ShowSeconds(T.Seconds);
  KartParams->ShowMaxPower(CurrentKart->MaxPower());
  KartParams->ShowMaxTurn(CurrentKart->MaxTurn());
  KartParams->ShowSize(CurrentKart->GetSize());
  TrackPanel->ShowFriction(T.Friction);
  TrackPanel->ShowSideFriction(T.SideFriction);
  KartChoice->SetColor(CurrentKart->Color);
  Thinking->ShowAutoGrid(CurrentKart->AutoGrid);
  TrackPanel->ShowTeamScore(T.TeamScore);
  TrackPanel->ShowRaceDirection(T.RaceDirection);
  FollowLapLine();
  Thinking->ShowUseRefined(CurrentKart->UseRefined);
  UpdateRealTimeParams();
  MenuDebug0->setChecked(CurrentKart->DebugLevel == TDebugLevel::Nothing);
  MenuDebug1->setChecked(CurrentKart->DebugLevel == TDebugLevel::Traces);
  MenuDebug2->setChecked(CurrentKart->DebugLevel == TDebugLevel::EndPoints);
  // Applying every control back snaps each value to the slider's grid and range.
  CopyParamsFromScreen();
}

void TFormTest2D::CopyParamsFromScreen() {
  KartParams->EdMaxPowerChange();
  KartParams->EdMax_TurnChange();
  KartParams->EdSizeChange();
  TrackPanel->EdFrictionChange();
  TrackPanel->EdSideFrictionChange();
  TrackPanel->CBTeamScoreClick();
  Thinking->EdSecondsChange();
  Thinking->EdRadioChange();
  Thinking->EdAutoRadioClick();
  TrackPanel->EdCollisionsClick();
  EdDebugChange();
  TrackPanel->CBRaceDirectionClick();
}

void TFormTest2D::UpdateRealTimeParams() { Thinking->ShowGridSize(CurrentKart->GetGridSize()); }

// ---------------------------------------------------------------------------------------------
// Circuit, frames, trails, manual moves and colour

void TFormTest2D::Loadcircuit800x600BMP1Click() {
  const QString File = RunFileDialog(*OpenPictureDialog);
  if (File.isEmpty()) return;
  // A file that is refused is the user's to mend: a plain warning, and nothing has changed.
  const TCircuitPicture Read = ReadCircuitPicture(File);
  if (!Read.Ok())
    return WarnAboutFile(this, QStringLiteral("Load another circuit"),
                         Read.Error + QStringLiteral(" The circuit stays as it was."));
  ImgRoad->SetImage(Read.Picture);
  CircuitName = File;
  Track().SetImage(&ImgRoad->Picture());
  Track().Redraw();
  emit circuitChanged();
}

void TFormTest2D::SaveimagestofolderClick() {
  if (!Saveimagestofolder->isChecked()) return;
  const QString File = RunFileDialog(*SaveDialog);
  if (File.isEmpty() || !AcceptSaveFolder(this, File)) {
    Saveimagestofolder->setChecked(false);
    return;
  }
  FRunner->SaveBaseName = FrameBaseName(File);
  FRunner->FramesSaved = 0;
  FRunner->FrameBytes = 0;
}

void TFormTest2D::MenuCleanTrackClick() { Track().KeepTrails = !MenuCleanTrack->isChecked(); }

void TFormTest2D::MoveCurrentKart(double DX, double DY, double DAngle) {
  CurrentKart->MoveBy(true, false, DX, DY, DAngle);
  if (!StartStop->IsRunning()) CurrentKart->MarkStart();
}

void TFormTest2D::EdColorClick() {
  ColorDialog->setCurrentColor(TQtPicture::ToQColor(KartChoice->Color()));
  if (ColorDialog->exec() != QDialog::Accepted) return;
  KartChoice->SetColor(TQtPicture::FromQRgb(ColorDialog->selectedColor().rgb()));
  CurrentKart->Color = KartChoice->Color();
  Track().Redraw();
}
