#include "ui/UFormTest2D.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "ui/UAppEvents.h"
#include "ui/UCircuitFile.h"
#include "ui/UColorPanel.h"
#include "ui/UDebugMemo.h"
#include "ui/UDefaultCircuit.h"
#include "ui/UFrameFile.h"
#include "ui/UImageControl.h"
#include "ui/UOpenPictureDialog.h"
#include "ui/URunStop.h"
#include "ui/USaveFolder.h"
#include "ui/UWindowReport.h"
#include "world/URaceSetup.h"
#include "world/UTrack2D.h"

namespace {

/// The shortest decimal with at most 15 significant digits: 0.015, 0.2, 0.
QString GeneralNumber(double X) { return QString::number(X, 'g', 15); }

/// Shows the picture's changes, then lets the application handle what is pending.
class TWindowPump : public TMessagePump {
 public:
  explicit TWindowPump(TImageControl& AImage) : Image(AImage) {}
  void ProcessMessages() override {
    Image.FlushChanges();
    QCoreApplication::processEvents();
  }

 private:
  TImageControl& Image;
};

}  // namespace

TFormTest2D::TFormTest2D(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName(QStringLiteral("FormTest2D"));
  setWindowTitle(QStringLiteral("Kart simulation using \"Causal Entropic Forces\" V0.6"));
  CreateMenu();

  auto* Client = new QWidget(this);
  Client->setFixedSize(1060, 621);
  ImgRoad = new TImageControl(Client);
  ImgRoad->move(9, 9);
  ImgRoad->SetImage(DefaultCircuitImage());
  QWidget* Column = CreateControlColumn(Client);
  Column->setGeometry(818, 0, 240, 621);
  setCentralWidget(Client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  CreateDialogs();
  ConnectControls();
  FormCreate();
  CenterOnDesktop();
}

TFormTest2D::~TFormTest2D() {
  FormDestroy();
  if (!Track) return;
  // The karts are the track's players; the track does not own them.
  while (!Karts.empty()) RemoveKart(*Track, Karts, Karts.back().get());
  // A move under way keeps the track to its end: leave it nothing of the window's.
  Track->Image = nullptr;
  Track->DebugMemo = nullptr;
  Track->MessagePump = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Building the window

void TFormTest2D::CreateMenu() {
  QMenu* File = menuBar()->addMenu(QStringLiteral("File"));
  Loadcircuit800x600BMP1 = File->addAction(
      QStringLiteral("Load another circuit (800x600 BMP, pure black is out of track)"));
  Loadcircuit800x600BMP1->setObjectName(QStringLiteral("Loadcircuit800x600BMP1"));
  Saveimagestofolder = File->addAction(
      QStringLiteral("Chose folder for saving images (give it a file name before pressing OK)"));
  Saveimagestofolder->setObjectName(QStringLiteral("Saveimagestofolder"));
  Saveimagestofolder->setCheckable(true);

  QMenu* Debug = menuBar()->addMenu(QStringLiteral("Graphic debug levels"));
  DebugLevels = new QActionGroup(this);
  DebugLevels->setExclusive(true);
  const QString Captions[] = {QStringLiteral("Don't show me anything strange."),
                              QStringLiteral("Trace futures"),
                              QStringLiteral("Traces futures and ending points.")};
  QAction** Items[] = {&MenuDebug0, &MenuDebug1, &MenuDebug2};
  for (int I = 0; I < 3; ++I) {
    QAction* Item = Debug->addAction(Captions[I]);
    Item->setObjectName(QStringLiteral("MenuDebug%1").arg(I));
    Item->setCheckable(true);
    DebugLevels->addAction(Item);
    *Items[I] = Item;
  }
  MenuDebug0->setChecked(true);
  Debug->addSeparator();
  MenuCleanTrack = Debug->addAction(QStringLiteral("Clean track image after each move."));
  MenuCleanTrack->setObjectName(QStringLiteral("MenuCleanTrack"));
  MenuCleanTrack->setCheckable(true);
  MenuCleanTrack->setChecked(true);
}

QWidget* TFormTest2D::CreateControlColumn(QWidget* Parent) {
  auto* Column = new QWidget(Parent);
  auto* Box = new QVBoxLayout(Column);
  Box->setContentsMargins(0, 4, 0, 6);
  Box->setSpacing(2);
  Box->addWidget(CreateTrackParams());
  Box->addWidget(CreateKartChoice());
  Box->addWidget(CreateKartParams());
  Box->addWidget(CreateThinkingParams());
  Box->addWidget(CreateManualMoves());
  DebugMemo = new TDebugMemo;
  Box->addWidget(DebugMemo, 1);
  Box->addWidget(CreateStartStop());
  return Column;
}

namespace {

QGroupBox* NewGroup(const QString& Caption, const QString& Name, QVBoxLayout*& Box) {
  auto* Group = new QGroupBox(Caption);
  Group->setObjectName(Name);
  Box = new QVBoxLayout(Group);
  Box->setContentsMargins(6, 2, 6, 4);
  Box->setSpacing(0);
  return Group;
}

QCheckBox* NewCheckBox(const QString& Caption, const QString& Name, bool Checked) {
  auto* Check = new QCheckBox(Caption);
  Check->setObjectName(Name);
  Check->setChecked(Checked);
  return Check;
}

QPushButton* NewButton(const QString& Caption, const QString& Name) {
  auto* Button = new QPushButton(Caption);
  Button->setObjectName(Name);
  return Button;
}

}  // namespace

QSlider* TFormTest2D::AddSlider(QVBoxLayout& Box, const QString& Caption, const QString& Name,
                                QLabel*& Value, int Min, int Max, int LayoutPosition, int LineStep,
                                int PageStep) {
  Box.addWidget(new QLabel(Caption));
  auto* Line = new QHBoxLayout;
  auto* Slider = new QSlider(Qt::Horizontal);
  Slider->setObjectName(Name);
  Slider->setRange(Min, Max);
  Slider->setValue(LayoutPosition);
  Slider->setSingleStep(LineStep);
  Slider->setPageStep(PageStep);
  Line->addWidget(Slider, 1);
  Value = new QLabel;
  Value->setObjectName(QStringLiteral("Lb") + Name.mid(2));
  Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Value->setFixedWidth(40);
  Line->addWidget(Value);
  Box.addLayout(Line);
  return Slider;
}

QGroupBox* TFormTest2D::CreateTrackParams() {
  QVBoxLayout* Box;
  GroupTrack = NewGroup(QStringLiteral("Track params."), QStringLiteral("GroupTrack"), Box);
  EdFriction = AddSlider(*Box, QStringLiteral("Track friction coef."), QStringLiteral("EdFriction"),
                         LbFriction, 1, 300, 20, 1, 2);
  EdSideFriction = AddSlider(*Box, QStringLiteral("Slide friction coeficient"),
                             QStringLiteral("EdSideFriction"), LbSideFriction, 0, 100, 50, 1, 2);
  CBTeamScore = NewCheckBox(QStringLiteral("Think as a team, not individuals"),
                            QStringLiteral("CBTeamScore"), false);
  EdCollisions =
      NewCheckBox(QStringLiteral("Detect collisions"), QStringLiteral("EdCollisions"), true);
  Box->addWidget(CBTeamScore);
  Box->addWidget(EdCollisions);
  return GroupTrack;
}

QGroupBox* TFormTest2D::CreateKartChoice() {
  QVBoxLayout* Box;
  GroupKart = NewGroup(QStringLiteral("Chose a kart"), QStringLiteral("GroupKart"), Box);
  auto* Line = new QHBoxLayout;
  EdColor = new TColorPanel(QStringLiteral("Color"));
  EdColor->setObjectName(QStringLiteral("EdColor"));
  EdColor->setFixedWidth(44);
  EdKartId = new QComboBox;
  EdKartId->setObjectName(QStringLiteral("EdKartId"));
  BtnAddKart = NewButton(QStringLiteral("+"), QStringLiteral("BtnAddKart"));
  BtnSubKart = NewButton(QStringLiteral("-"), QStringLiteral("BtnSubKart"));
  for (QPushButton* Button : {BtnAddKart, BtnSubKart}) Button->setFixedWidth(28);
  Line->addWidget(EdColor);
  Line->addWidget(EdKartId, 1);
  Line->addWidget(BtnAddKart);
  Line->addWidget(BtnSubKart);
  Box->addLayout(Line);
  return GroupKart;
}

QGroupBox* TFormTest2D::CreateKartParams() {
  QVBoxLayout* Box;
  GroupKartParams = NewGroup(QStringLiteral("Kart params"), QStringLiteral("GroupKartParams"), Box);
  EdMaxPower = AddSlider(*Box, QStringLiteral("Engine max. power"), QStringLiteral("EdMaxPower"),
                         LbMaxPower, 1, 25, 10, 1, 2);
  EdMax_Turn = AddSlider(*Box, QStringLiteral("Max. turning (wheels angle)"),
                         QStringLiteral("EdMax_Turn"), LbMax_Turn, 10, 90, 40, 1, 2);
  EdSize = AddSlider(*Box, QStringLiteral("Kart size"), QStringLiteral("EdSize"), LbSize, 4, 40, 8,
                     1, 1);
  return GroupKartParams;
}

QGroupBox* TFormTest2D::CreateThinkingParams() {
  QVBoxLayout* Box;
  GroupThinking =
      NewGroup(QStringLiteral("Thinking params."), QStringLiteral("GroupThinking"), Box);
  EdSeconds = AddSlider(*Box, QStringLiteral("Seconds in the future to simulate"),
                        QStringLiteral("EdSeconds"), LbSeconds, 1, 20, 10, 1, 2);
  EdRadio = AddSlider(*Box, QStringLiteral("End points grid size"), QStringLiteral("EdRadio"),
                      LbRadio, 5, 25, 15, 2, 2);
  EdAutoRadio =
      NewCheckBox(QStringLiteral("Auto adjust grid size."), QStringLiteral("EdAutoRadio"), true);
  EdUseRefined =
      NewCheckBox(QStringLiteral("Use refined decisions"), QStringLiteral("EdUseRefined"), true);
  Box->addWidget(EdAutoRadio);
  Box->addWidget(EdUseRefined);
  return GroupThinking;
}

QGroupBox* TFormTest2D::CreateManualMoves() {
  QVBoxLayout* Box;
  GroupMove =
      NewGroup(QStringLiteral("Move and rotate kart manually"), QStringLiteral("GroupMove"), Box);
  SpeedButton1 = NewButton(QStringLiteral("<"), QStringLiteral("SpeedButton1"));
  SpeedButton2 = NewButton(QStringLiteral("^"), QStringLiteral("SpeedButton2"));
  SpeedButton3 = NewButton(QStringLiteral(">"), QStringLiteral("SpeedButton3"));
  SpeedButton4 = NewButton(QStringLiteral("v"), QStringLiteral("SpeedButton4"));
  SpeedButton6 = NewButton(QStringLiteral("Turn left"), QStringLiteral("SpeedButton6"));
  SpeedButton5 = NewButton(QStringLiteral("Turn right"), QStringLiteral("SpeedButton5"));
  // The four shifts as a cross, the two turns beside it.
  auto* Line = new QHBoxLayout;
  auto* Cross = new QGridLayout;
  Cross->setSpacing(0);
  for (QPushButton* Button : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
    Button->setFixedSize(24, 20);
  Cross->addWidget(SpeedButton2, 0, 1);
  Cross->addWidget(SpeedButton1, 1, 0);
  Cross->addWidget(SpeedButton3, 1, 2);
  Cross->addWidget(SpeedButton4, 2, 1);
  auto* Turns = new QVBoxLayout;
  Turns->addWidget(SpeedButton6);
  Turns->addWidget(SpeedButton5);
  Line->addLayout(Cross);
  Line->addSpacing(16);
  Line->addLayout(Turns, 1);
  Box->addLayout(Line);
  return GroupMove;
}

QGroupBox* TFormTest2D::CreateStartStop() {
  QVBoxLayout* Box;
  GroupStartStop =
      NewGroup(QStringLiteral("Start/Stop sim."), QStringLiteral("GroupStartStop"), Box);
  StartBtn = NewButton(QStringLiteral("Run"), QStringLiteral("StartBtn"));
  PauseBtn = NewButton(QStringLiteral("Pause"), QStringLiteral("PauseBtn"));
  BtnReset = NewButton(QStringLiteral("Reset"), QStringLiteral("BtnReset"));
  StartBtn->setCheckable(true);
  PauseBtn->setCheckable(true);
  // Pressing one releases the other; once one is down, one of them stays down.
  StartStopGroup = new QButtonGroup(this);
  StartStopGroup->setExclusive(true);
  StartStopGroup->addButton(StartBtn);
  StartStopGroup->addButton(PauseBtn);
  auto* Line = new QHBoxLayout;
  Line->addWidget(StartBtn);
  Line->addWidget(PauseBtn);
  Line->addWidget(BtnReset);
  Box->addLayout(Line);
  return GroupStartStop;
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

void TFormTest2D::ConnectControls() {
  // A slider's handler runs whenever its position changes and a check box's whenever its state
  // changes, whether the user or the program changed it; a menu check set by the program runs
  // none, so the debug items answer only to the user. An error raised by a handler ends that
  // handler and is shown; one raised by a handler that a program's setting ran is shown there
  // and the handler that made the setting goes on.
  connect(EdFriction, &QSlider::valueChanged, this, Handler(&TFormTest2D::EdFrictionChange));
  connect(EdSideFriction, &QSlider::valueChanged, this,
          Handler(&TFormTest2D::EdSideFrictionChange));
  connect(EdMaxPower, &QSlider::valueChanged, this, Handler(&TFormTest2D::EdMaxPowerChange));
  connect(EdMax_Turn, &QSlider::valueChanged, this, Handler(&TFormTest2D::EdMax_TurnChange));
  connect(EdSize, &QSlider::valueChanged, this, Handler(&TFormTest2D::EdSizeChange));
  connect(EdSeconds, &QSlider::valueChanged, this, Handler(&TFormTest2D::EdSecondsChange));
  connect(EdRadio, &QSlider::valueChanged, this, Handler(&TFormTest2D::EdRadioChange));
  connect(CBTeamScore, &QCheckBox::toggled, this, Handler(&TFormTest2D::CBTeamScoreClick));
  connect(EdCollisions, &QCheckBox::toggled, this, Handler(&TFormTest2D::EdCollisionsClick));
  connect(EdAutoRadio, &QCheckBox::toggled, this, Handler(&TFormTest2D::EdAutoRadioClick));
  connect(EdUseRefined, &QCheckBox::toggled, this, Handler(&TFormTest2D::EdUseRefinedClick));
  connect(DebugLevels, &QActionGroup::triggered, this, Handler(&TFormTest2D::EdDebugChange));

  connect(EdKartId, &QComboBox::activated, this, Handler(&TFormTest2D::EdKartIdChange));
  connect(BtnAddKart, &QPushButton::clicked, this, Handler(&TFormTest2D::BtnAddKartClick));
  connect(BtnSubKart, &QPushButton::clicked, this, Handler(&TFormTest2D::BtnSubKartClick));
  connect(StartBtn, &QPushButton::clicked, this, Handler(&TFormTest2D::StartBtnClick));
  connect(BtnReset, &QPushButton::clicked, this, Handler(&TFormTest2D::ResetBtnClick));

  connect(Loadcircuit800x600BMP1, &QAction::triggered, this,
          Handler(&TFormTest2D::Loadcircuit800x600BMP1Click));
  connect(Saveimagestofolder, &QAction::triggered, this,
          Handler(&TFormTest2D::SaveimagestofolderClick));
  connect(MenuCleanTrack, &QAction::triggered, this, Handler(&TFormTest2D::MenuCleanTrackClick));
  connect(SpeedButton1, &QPushButton::clicked, this, Handler(&TFormTest2D::SpeedButton1Click));
  connect(SpeedButton2, &QPushButton::clicked, this, Handler(&TFormTest2D::SpeedButton2Click));
  connect(SpeedButton3, &QPushButton::clicked, this, Handler(&TFormTest2D::SpeedButton3Click));
  connect(SpeedButton4, &QPushButton::clicked, this, Handler(&TFormTest2D::SpeedButton4Click));
  connect(SpeedButton5, &QPushButton::clicked, this, Handler(&TFormTest2D::SpeedButton5Click));
  connect(SpeedButton6, &QPushButton::clicked, this, Handler(&TFormTest2D::SpeedButton6Click));
  connect(EdColor, &TColorPanel::clicked, this, Handler(&TFormTest2D::EdColorClick));
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
  FrameNumber = 1;
  UpKeyHeld = DownKeyHeld = LeftKeyHeld = RightKeyHeld = false;
  Track = std::make_shared<TTrack2D>();
  Track->SetImage(&ImgRoad->Picture());
  Track->DebugMemo = DebugMemo;
  MessagePump = std::make_unique<TWindowPump>(*ImgRoad);
  Track->MessagePump = MessagePump.get();
  AddKart();
  TimeBudgetMs = MoveBudgetMs;
  Track->Redraw();
  AppEvents = new TAppEvents(this);
  AppEvents->OnMessage = [this](QEvent& Message, bool& Handled) {
    AppEventsMessage(Message, Handled);
  };
  // Error reports carry this window's picture and settings.
  TApplication::SetReportSource(this, [this] { return DescribeWindow(*this); });
}

void TFormTest2D::FormDestroy() {
  if (AppEvents) AppEvents->OnMessage = nullptr;
}

void TFormTest2D::closeEvent(QCloseEvent* Event) {
  // A running loop sees the flag after its move and ends without touching the window again.
  Closing = true;
  if (StartBtn->isChecked()) PauseBtn->setChecked(true);
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
  TKart& Kart = ::AddKart(*Track, Karts, [this](TKart& New) {
    CurrentKart = &New;
    CopyParamsFromKart();
  });
  EdColor->SetColor(Kart.Color);
  EdKartId->addItem(QStringLiteral("Kart #%1").arg(Track->PlayerCount()));
  EdKartId->setCurrentIndex(EdKartId->count() - 1);
}

void TFormTest2D::BtnAddKartClick() {
  AddKart();
  Track->Redraw();
}

void TFormTest2D::BtnSubKartClick() {
  if (Track->PlayerCount() < 2) return;
  RemoveKart(*Track, Karts, CurrentKart);
  CurrentKart = nullptr;
  // Lines are numbered by position: the last one goes, whichever kart was removed.
  EdKartId->removeItem(EdKartId->count() - 1);
  EdKartId->setCurrentIndex(0);
  EdKartIdChange();
  Track->CleanImage();
  Track->Redraw();
}

void TFormTest2D::EdKartIdChange() {
  CurrentKart = &dynamic_cast<TKart&>(Track->GetPlayer(EdKartId->currentIndex()));
  CopyParamsFromKart();
}

// ---------------------------------------------------------------------------------------------
// Run, Pause, Reset

void TFormTest2D::StartBtnClick() {
  RandomSeedFromClock();
  // Anything may happen while messages are processed, the window's end included: after each
  // chance, go on only while the window is there and no close was asked for.
  const QPointer<TFormTest2D> Self(this);
  const TReleaseRunOnError ShowStopped(*PauseBtn);  // an error that ends the run releases Run
  while (StartBtn->isChecked()) {
    Track->Redraw();
    // The step lets messages through at its end; should they delete the window, the track
    // must still be there for the step to return through.
    const std::shared_ptr<TTrack2D> Moving = Track;
    Moving->ThinkAndMove(TimeBudgetMs, TimeStepMs);
    if (!Self || Closing) return;
    UpdateRealTimeParams();
    ProcessMessages();
    if (!Self || Closing) return;
    if (Saveimagestofolder->isChecked()) SaveFrame();
    emit MoveFinished();
  }
}

void TFormTest2D::ResetBtnClick() {
  FrameNumber = 1;
  for (TPlayer* Player : Track->Players) Player->ResetToStart();
  CopyParamsFromScreen();
  Track->Redraw();
}

void TFormTest2D::ProcessMessages() { MessagePump->ProcessMessages(); }

void TFormTest2D::SaveFrame() {
  ::SaveFrame(ImgRoad->Picture().Image(), FrameFileName(SaveBaseName, FrameNumber));
  ++FrameNumber;
}

// ---------------------------------------------------------------------------------------------
// Parameter controls

void TFormTest2D::EdFrictionChange() {
  const double Value = FrictionFromSlider(EdFriction->value());
  LbFriction->setText(GeneralNumber(Value));
  Track->Friction = Value;
}

void TFormTest2D::EdSideFrictionChange() {
  const double Value = SideFrictionFromSlider(EdSideFriction->value());
  LbSideFriction->setText(GeneralNumber(Value));
  Track->SideFriction = Value;
}

void TFormTest2D::EdMaxPowerChange() {
  LbMaxPower->setText(QString::number(EdMaxPower->value()));
  CurrentKart->SetMaxPower(EdMaxPower->value());
}

void TFormTest2D::EdMax_TurnChange() {
  LbMax_Turn->setText(QString::number(EdMax_Turn->value()) + QChar(0x00BA));
  CurrentKart->SetMaxTurn(TurnDegreesToRadians(EdMax_Turn->value()));
}

void TFormTest2D::EdSizeChange() {
  CurrentKart->SetSize(EdSize->value());
  LbSize->setText(QString::number(EdSize->value()) + QStringLiteral("px"));
  Track->Redraw();
}

void TFormTest2D::EdSecondsChange() {
  Track->Seconds = EdSeconds->value();
  LbSeconds->setText(QString::number(EdSeconds->value()) + QStringLiteral(" s."));
}

void TFormTest2D::EdRadioChange() {
  CurrentKart->SetGridSize(EdRadio->value());
  LbRadio->setText(QString::number(EdRadio->value()) + QStringLiteral("px"));
}

void TFormTest2D::CBTeamScoreClick() { Track->TeamScore = CBTeamScore->isChecked(); }

void TFormTest2D::EdCollisionsClick() { Track->Collisions = EdCollisions->isChecked(); }

void TFormTest2D::EdAutoRadioClick() { CurrentKart->AutoGrid = EdAutoRadio->isChecked(); }

void TFormTest2D::EdUseRefinedClick() { CurrentKart->UseRefined = EdUseRefined->isChecked(); }

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
  EdSeconds->setValue(Track->Seconds);
  EdMaxPower->setValue(RoundEven(CurrentKart->MaxPower()));
  EdMax_Turn->setValue(TurnRadiansToSlider(CurrentKart->MaxTurn()));
  EdSize->setValue(RoundEven(CurrentKart->GetSize()));
  EdFriction->setValue(FrictionToSlider(Track->Friction));
  EdSideFriction->setValue(SideFrictionToSlider(Track->SideFriction));
  EdColor->SetColor(CurrentKart->Color);
  EdAutoRadio->setChecked(CurrentKart->AutoGrid);
  CBTeamScore->setChecked(Track->TeamScore);
  EdUseRefined->setChecked(CurrentKart->UseRefined);
  UpdateRealTimeParams();
  MenuDebug0->setChecked(CurrentKart->DebugLevel == TDebugLevel::Nothing);
  MenuDebug1->setChecked(CurrentKart->DebugLevel == TDebugLevel::Traces);
  MenuDebug2->setChecked(CurrentKart->DebugLevel == TDebugLevel::EndPoints);
  // Applying every control back snaps each value to the slider's grid and range.
  CopyParamsFromScreen();
}

void TFormTest2D::CopyParamsFromScreen() {
  EdMaxPowerChange();
  EdMax_TurnChange();
  EdSizeChange();
  EdFrictionChange();
  EdSideFrictionChange();
  CBTeamScoreClick();
  EdSecondsChange();
  EdRadioChange();
  EdAutoRadioClick();
  EdCollisionsClick();
  EdDebugChange();
}

void TFormTest2D::UpdateRealTimeParams() { EdRadio->setValue(CurrentKart->GetGridSize()); }

// ---------------------------------------------------------------------------------------------
// Circuit, frames, trails, manual moves and colour

void TFormTest2D::Loadcircuit800x600BMP1Click() {
  if (OpenPictureDialog->exec() != QDialog::Accepted) return;
  const QStringList Files = OpenPictureDialog->selectedFiles();
  if (Files.isEmpty()) return;
  // A file that is refused raises here, before anything has changed.
  ImgRoad->SetImage(LoadCircuitPicture(Files.first()));
  CircuitName = Files.first();
  Track->SetImage(&ImgRoad->Picture());
  Track->Redraw();
}

void TFormTest2D::SaveimagestofolderClick() {
  if (!Saveimagestofolder->isChecked()) return;
  if (SaveDialog->exec() == QDialog::Accepted && !SaveDialog->selectedFiles().isEmpty() &&
      AcceptSaveFolder(this, SaveDialog->selectedFiles().first()))
    SaveBaseName = SaveDialog->selectedFiles().first();
  else
    Saveimagestofolder->setChecked(false);
}

void TFormTest2D::MenuCleanTrackClick() { Track->KeepTrails = !MenuCleanTrack->isChecked(); }

void TFormTest2D::MoveCurrentKart(double DX, double DY, double DAngle) {
  CurrentKart->MoveBy(true, false, DX, DY, DAngle);
  if (!StartBtn->isChecked()) CurrentKart->MarkStart();
}

void TFormTest2D::EdColorClick() {
  ColorDialog->setCurrentColor(TQtPicture::ToQColor(EdColor->Color()));
  if (ColorDialog->exec() != QDialog::Accepted) return;
  EdColor->SetColor(TQtPicture::FromQRgb(ColorDialog->selectedColor().rgb()));
  CurrentKart->Color = EdColor->Color();
  Track->Redraw();
}
