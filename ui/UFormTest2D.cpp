#include "ui/UFormTest2D.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "ui/UAppEvents.h"
#include "io/UCircuitFile.h"
#include "ui/UCircuitTools.h"
#include "ui/UDebugMemo.h"
#include "io/UDefaultCircuit.h"
#include "ui/UImageControl.h"
#include "ui/UKartPanels.h"
#include "ui/UOpenPictureDialog.h"
#include "ui/URaceRunner.h"
#include "ui/URaceViews.h"
#include "ui/URunStop.h"
#include "ui/USaveFolder.h"
#include "ui/UStartPanels.h"
#include "ui/UThinkingPanel.h"
#include "ui/UTrackPanel.h"
#include "ui/UWindowReport.h"
#include "world/URaceSetup.h"
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
  CenterOnDesktop();
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
  Loadcircuit800x600BMP1 =
      NewAction(QStringLiteral("Load another circuit (800x600 BMP, pure black is out of track)"),
                QStringLiteral("Loadcircuit800x600BMP1"), false);
  Saveimagestofolder = NewAction(
      QStringLiteral("Chose folder for saving images (give it a file name before pressing OK)"),
      QStringLiteral("Saveimagestofolder"), true);
  MenuDebug0 = NewAction(QStringLiteral("Don't show me anything strange."),
                         QStringLiteral("MenuDebug0"), true);
  MenuDebug1 = NewAction(QStringLiteral("Trace futures"), QStringLiteral("MenuDebug1"), true);
  MenuDebug2 = NewAction(QStringLiteral("Traces futures and ending points."),
                         QStringLiteral("MenuDebug2"), true);
  DebugLevels = new QActionGroup(this);
  DebugLevels->setExclusive(true);
  for (QAction* Item : {MenuDebug0, MenuDebug1, MenuDebug2}) DebugLevels->addAction(Item);
  MenuDebug0->setChecked(true);
  MenuCleanTrack = NewAction(QStringLiteral("Clean track image after each move."),
                             QStringLiteral("MenuCleanTrack"), true);
  MenuCleanTrack->setChecked(true);
}

void TFormTest2D::CreateMenus() {
  QMenu* File = menuBar()->addMenu(QStringLiteral("&File"));
  File->addAction(Loadcircuit800x600BMP1);
  File->addAction(Saveimagestofolder);
  QMenu* Debug = menuBar()->addMenu(QStringLiteral("&Graphic debug levels"));
  Debug->addActions({MenuDebug0, MenuDebug1, MenuDebug2});
  Debug->addSeparator();
  Debug->addAction(MenuCleanTrack);
}

void TFormTest2D::CreatePanels() {
  auto* Client = new QWidget(this);
  Client->setFixedSize(1060, 621);
  ImgRoad = new TImageControl(Client);
  ImgRoad->move(9, 9);
  ImgRoad->SetImage(DefaultCircuitImage());
  // The control column, top to bottom; the debug text takes the height left over.
  auto* Column = new QWidget(Client);
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
  Column->setGeometry(818, 0, 240, 621);
  setCentralWidget(Client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormTest2D::CreateDialogs() {
  OpenPictureDialog = new TOpenPictureDialog(this);
  SaveDialog = new QFileDialog(this);
  SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
  SaveDialog->setOption(QFileDialog::DontUseNativeDialog);
  SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog->setFileMode(QFileDialog::AnyFile);
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
}

void TFormTest2D::CenterOnDesktop() {
  adjustSize();
  if (const QScreen* Screen = screen())
    move(Screen->availableGeometry().center() - frameGeometry().center() + pos());
}

// ---------------------------------------------------------------------------------------------
// Start and end

void TFormTest2D::FormCreate() {
  RandomSeedFromClock();
  ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  OpenPictureDialog->setDirectory(ProgramFolder);
  SaveDialog->setDirectory(ProgramFolder);
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
  Event->accept();
}

void TFormTest2D::AppEventsMessage(QEvent& Message, bool& Handled) {
  if (!isActiveWindow()) return;
  const QEvent::Type Type = Message.type();
  if (Type != QEvent::KeyPress && Type != QEvent::KeyRelease) return;
  auto& Key = static_cast<QKeyEvent&>(Message);
  bool* Flag = nullptr;
  switch (Key.key()) {
    case Qt::Key_Up:
      Flag = &UpKeyHeld;
      break;
    case Qt::Key_Down:
      Flag = &DownKeyHeld;
      break;
    case Qt::Key_Left:
      Flag = &LeftKeyHeld;
      break;
    case Qt::Key_Right:
      Flag = &RightKeyHeld;
      break;
    default:
      return;
  }
  // Auto-repeat sends release and press pairs while a key is held: the key stays held.
  if (Type == QEvent::KeyPress)
    *Flag = true;
  else if (!Key.isAutoRepeat())
    *Flag = false;
  Handled = true;
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
}

void TFormTest2D::UpdateRealTimeParams() { Thinking->ShowGridSize(CurrentKart->GetGridSize()); }

// ---------------------------------------------------------------------------------------------
// Circuit, frames, trails, manual moves and colour

void TFormTest2D::Loadcircuit800x600BMP1Click() {
  if (OpenPictureDialog->exec() != QDialog::Accepted) return;
  const QStringList Files = OpenPictureDialog->selectedFiles();
  if (Files.isEmpty()) return;
  // A file that is refused raises here, before anything has changed.
  ImgRoad->SetImage(LoadCircuitPicture(Files.first()));
  CircuitName = Files.first();
  Track().SetImage(&ImgRoad->Picture());
  Track().Redraw();
}

void TFormTest2D::SaveimagestofolderClick() {
  if (!Saveimagestofolder->isChecked()) return;
  if (SaveDialog->exec() == QDialog::Accepted && !SaveDialog->selectedFiles().isEmpty() &&
      AcceptSaveFolder(this, SaveDialog->selectedFiles().first()))
    FRunner->SaveBaseName = SaveDialog->selectedFiles().first();
  else
    Saveimagestofolder->setChecked(false);
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
