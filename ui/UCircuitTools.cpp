#include "ui/UCircuitTools.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <cmath>

#include "agents/UKart.h"
#include "io/UAtomicFile.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "io/UScenario.h"
#include "ui/UFileDialogs.h"
#include "ui/UFormTest2D.h"
#include "ui/UHandler.h"
#include "ui/UImageControl.h"
#include "ui/URaceRunner.h"
#include "ui/UStartPanels.h"
#include "world/UNearestRoad.h"
#include "world/UTrack2D.h"

TCircuitTools::TCircuitTools(TFormTest2D& AWindow, TImageControl& AImage)
    : QObject(&AWindow), Window(AWindow), Image(AImage), FPainter(AImage, *AWindow.Runner().Track) {
  setObjectName(QStringLiteral("CircuitTools"));
  CreateFileItems();
  CreateDrawMenu();
  CreateZoomMenu();
  Image.installEventFilter(this);
  connect(&Window.Runner(), &TRaceRunner::MoveFinished, this, [this] {
    if (FollowKart->isChecked()) FollowChosenKart();
  });
  // After the window's own handlers: the circuit it loaded, the karts it put back.
  connect(&Window, &TFormTest2D::circuitChanged, this, Guarded([this] { CircuitChanged(true); }));
  if (auto* Start = Window.findChild<TStartStopPanel*>())
    connect(Start, &TStartStopPanel::resetClicked, this,
            HANDLER(this, TCircuitTools::CheckKartsOnRoad));
  CheckedCircuit = Window.Runner().Track->Background.get();
  FStart = {StartX, StartY, StartAngle};
}

QAction* TCircuitTools::Item(QMenu& Menu, const QString& Caption, const QString& Name) {
  auto* Action = Menu.addAction(Caption);
  Action->setObjectName(Name);
  return Action;
}

void TCircuitTools::CreateFileItems() {
  QMenu* File = nullptr;
  for (QAction* Top : Window.menuBar()->actions())
    if (Top->menu() && Top->text().remove(QLatin1Char('&')) == QLatin1String("File"))
      File = Top->menu();
  if (!File) File = Window.menuBar()->addMenu(QStringLiteral("&File"));
  File->addSeparator();
  connect(Item(*File, QStringLiteral("&Built-in circuit"), QStringLiteral("BuiltInCircuit")),
          &QAction::triggered, this, HANDLER(this, TCircuitTools::BuiltInCircuitClick));
  connect(Item(*File, QStringLiteral("Save c&ircuit as..."), QStringLiteral("SaveCircuitAs")),
          &QAction::triggered, this, HANDLER(this, TCircuitTools::SaveCircuitAsClick));
  File->addSeparator();
  connect(Item(*File, QStringLiteral("&Open scenario..."), QStringLiteral("OpenScenario")),
          &QAction::triggered, this, HANDLER(this, TCircuitTools::OpenScenarioClick));
  connect(Item(*File, QStringLiteral("&Save scenario..."), QStringLiteral("SaveScenario")),
          &QAction::triggered, this, HANDLER(this, TCircuitTools::SaveScenarioClick));
}

void TCircuitTools::CreateDrawMenu() {
  QMenu* Draw = Window.menuBar()->addMenu(QStringLiteral("&Draw"));
  auto* Brushes = new QActionGroup(this);
  const std::pair<const char*, TBrush> BrushItems[] = {
      {"&Don't draw", TBrush::None},
      {"&Road brush", TBrush::Road},
      {"&Off-road brush (black)", TBrush::OffRoad}};
  int N = 0;
  for (const auto& [Caption, Brush] : BrushItems) {
    QAction* A = Item(*Draw, QString::fromLatin1(Caption), QStringLiteral("DrawBrush%1").arg(N++));
    A->setCheckable(true);
    A->setChecked(Brush == TBrush::None);
    Brushes->addAction(A);
    connect(A, &QAction::triggered, this, [this, B = Brush] { FPainter.Brush = B; });
  }
  Draw->addSeparator();
  auto* Sizes = new QActionGroup(this);
  for (int Size : {4, 8, 16, 32, 64}) {
    // Its first digit reaches it: 4, 8, 1, 3, 6.
    QAction* A = Item(*Draw, QStringLiteral("Brush &%1 px").arg(Size),
                      QStringLiteral("BrushSize%1").arg(Size));
    A->setCheckable(true);
    A->setChecked(Size == FPainter.Size);
    Sizes->addAction(A);
    connect(A, &QAction::triggered, this, [this, Size] { FPainter.Size = Size; });
  }
  Draw->addSeparator();
  QAction* Undo =
      Item(*Draw, QStringLiteral("&Undo the last stroke"), QStringLiteral("UndoStroke"));
  Undo->setShortcut(QKeySequence::Undo);
  connect(Undo, &QAction::triggered, this, HANDLER(this, TCircuitTools::UndoStrokeClick));
}

void TCircuitTools::CreateZoomMenu() {
  QMenu* Zoom = Window.menuBar()->addMenu(QStringLiteral("&Zoom"));
  auto* Levels = new QActionGroup(this);
  for (int Level = 0; Level <= 4; ++Level) {
    QAction* A = Item(
        *Zoom,
        Level == 0 ? QStringLiteral("&Fit the whole circuit") : QStringLiteral("&%1x").arg(Level),
        QStringLiteral("Zoom%1").arg(Level));
    A->setCheckable(true);
    A->setChecked(Level == 1);
    Levels->addAction(A);
    connect(A, &QAction::triggered, this, [this, Level] { SetZoom(Level); });
  }
  Zoom->addSeparator();
  FollowKart = Item(*Zoom, QStringLiteral("Follow the &chosen kart"), QStringLiteral("FollowKart"));
  FollowKart->setCheckable(true);
  connect(FollowKart, &QAction::triggered, this, [this](bool On) { SetFollow(On); });
}

void TCircuitTools::BuiltInCircuitClick() {
  SetCircuit(DefaultCircuitImage(), QStringLiteral("built-in circuit"));
}

void TCircuitTools::SaveCircuitAsClick() {
  const QString Path = AskSaveFile(&Window, QStringLiteral("Save circuit as"),
                                   QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("bmp"));
  if (!Path.isEmpty()) SaveCircuitAs(Path);
}

void TCircuitTools::OpenScenarioClick() {
  const QString Path =
      AskOpenFile(&Window, QStringLiteral("Open scenario"), QStringLiteral("Scenarios (*.json)"));
  if (!Path.isEmpty()) OpenScenario(Path);
}

void TCircuitTools::SaveScenarioClick() {
  const QString Path = AskSaveFile(&Window, QStringLiteral("Save scenario"),
                                   QStringLiteral("Scenarios (*.json)"), QStringLiteral("json"));
  if (!Path.isEmpty()) SaveScenario(Path);
}

void TCircuitTools::UndoStrokeClick() {
  if (!FPainter.Undo()) return;
  Window.FollowLapLine(true);
  RedrawWhenIdle();
}

void TCircuitTools::SaveCircuitAs(const QString& Path) {
  const TTrack2D& T = *Window.Runner().Track;
  const QByteArray Bmp = CircuitToBmp(dynamic_cast<const TQtPicture&>(*T.Background).Image());
  TAtomicFile File;
  if (!File.Open(QFile::encodeName(Path).toStdString()) ||
      !File.Write(Bmp.constData(), Bmp.size()) || !File.Commit())
    WarnAboutFile(
        &Window, QStringLiteral("Save circuit as"),
        QStringLiteral("Cannot save the circuit \"%1\": %2.")
            .arg(QDir::toNativeSeparators(Path), QString::fromLocal8Bit(File.Error().c_str())));
}

void TCircuitTools::SaveScenario(const QString& Path) {
  TRaceRunner& R = Window.Runner();
  TScenario S =
      CaptureScenario(*R.Track, R.Karts, R.Track->Seed, R.Track->MoveNumber, R.TimeBudgetMs);
  for (size_t I = 0; I < R.Karts.size(); ++I)
    if (R.Karts[I].get() == Window.CurrentKart) S.ChosenKart = static_cast<int32_t>(I);
  if (const QString Error = WriteScenarioFile(Path, S); !Error.isEmpty())
    WarnAboutFile(&Window, QStringLiteral("Save scenario"), Error);
}

void TCircuitTools::OpenScenario(const QString& Path) {
  // Read and checked whole before anything changes.
  const TScenarioRead Read = ReadScenarioFile(Path);
  if (!Read.Ok())
    return WarnAboutFile(&Window, QStringLiteral("Open scenario"),
                         Read.Error + QStringLiteral(" The race stays as it was."));
  const TScenario& S = Read.Scenario;
  SetCircuit(S.Circuit, Path);
  ShowScenario(S);
  TRaceRunner& R = Window.Runner();
  R.TimeBudgetMs = S.BudgetMs;
  R.KeepRandomOnce = true;
  R.Track->Redraw();
}

void TCircuitTools::ShowScenario(const TScenario& S) {
  TRaceRunner& R = Window.Runner();
  TTrack2D& T = *R.Track;
  // The window's own "-" and "+" keep its kart list in step with the karts.
  while (T.PlayerCount() > 1) Window.BtnSubKartClick();
  while (T.PlayerCount() < static_cast<int32_t>(S.Karts.size())) Window.AddKart();
  RestoreRace(S, T, R.Karts);
  if (auto* Box = Window.findChild<QCheckBox*>(QStringLiteral("EdCollisions")))
    Box->setChecked(S.Track.Collisions);
  if (auto* Clean = Window.findChild<QAction*>(QStringLiteral("MenuCleanTrack")))
    Clean->setChecked(!S.Track.KeepTrails);
  if (auto* List = Window.findChild<QComboBox*>(QStringLiteral("EdKartId")))
    List->setCurrentIndex(S.ChosenKart);
  // Showing the values on the controls writes them back snapped to the sliders' steps; the
  // race takes up the file's own values again afterwards, the random source last of all.
  Window.EdKartIdChange();
  RestoreRace(S, T, R.Karts);
}

void TCircuitTools::SetCircuit(const QImage& Circuit, const QString& Name) {
  Image.SetImage(Circuit);
  TTrack2D& T = *Window.Runner().Track;
  T.SetImage(&Image.Picture());
  Window.CircuitName = Name;
  T.Redraw();
  // Not offered: the built-in start is on its road, and a scenario's karts bring their starts.
  CircuitChanged(false);
  emit Window.circuitChanged();
}

namespace {

// A kart's start mark is the rounded value of each of its parameters, kept when it was marked
// (TState::StoreStart); Reset puts the kart back there.
bool StartsAt(const TKart& K, const TStartPose& P) {
  const TState& S = *K.RealState;
  return S.Params[K.PosXIndex]->IntValue == RoundEven(P.X * 1000) &&
         S.Params[K.PosYIndex]->IntValue == RoundEven(P.Y * 1000) &&
         S.Params[K.AngleIndex]->IntValue == RoundEven(P.Angle * 1000);
}

// Moves the start mark's pose, not the kart.
void MoveStart(TKart& K, const TStartPose& P) {
  const TState& S = *K.RealState;
  S.Params[K.PosXIndex]->IntValue = RoundEven(P.X * 1000);
  S.Params[K.PosYIndex]->IntValue = RoundEven(P.Y * 1000);
  S.Params[K.AngleIndex]->IntValue = RoundEven(P.Angle * 1000);
}

}  // namespace

void TCircuitTools::CircuitChanged(bool Offer) {
  TRaceRunner& R = Window.Runner();
  if (R.Track->Background.get() == CheckedCircuit) return;  // the same circuit
  CheckedCircuit = R.Track->Background.get();
  const TStartPose Old = FStart;
  FStart = {StartX, StartY, StartAngle};
  for (const auto& K : R.Karts)
    if (StartsAt(*K, Old)) MoveStart(*K, FStart);
  if (Offer) CheckStartPoint();
}

bool TCircuitTools::OfferMoveToRoad(const QString& Why, bool OnlyOffRoad) {
  QMessageBox Ask(QMessageBox::Question, QStringLiteral("Start off the road"),
                  Why + QStringLiteral(" Move the karts to the nearest road point? No keeps them "
                                       "where they are."),
                  QMessageBox::Yes | QMessageBox::No, &Window);
  Ask.setObjectName(QStringLiteral("StartOffRoadBox"));
  if (Ask.exec() != QMessageBox::Yes) return false;
  if (MoveKartsToRoad(OnlyOffRoad)) return true;
  WarnAboutFile(&Window, QStringLiteral("Start off the road"),
                QStringLiteral("This circuit has no road: the karts stay where they are."));
  return false;
}

void TCircuitTools::CheckStartPoint() {
  const TTrack2D& T = *Window.Runner().Track;
  const int32_t X = RoundEven(FStart.X), Y = RoundEven(FStart.Y);
  if (T.IsOnTrack(X, Y)) return;
  OfferMoveToRoad(QStringLiteral("The karts' start point (%1, %2) is %3 of this circuit.")
                      .arg(FStart.X)
                      .arg(FStart.Y)
                      .arg(T.InBounds(X, Y) ? QStringLiteral("off the road")
                                            : QStringLiteral("outside the picture")),
                  false);
}

void TCircuitTools::CheckKartsOnRoad() {
  TRaceRunner& R = Window.Runner();
  QStringList Off;
  for (size_t I = 0; I < R.Karts.size(); ++I)
    if (!R.Track->IsOnTrack(RoundEven(R.Karts[I]->PosX()), RoundEven(R.Karts[I]->PosY())))
      Off << QStringLiteral("#%1").arg(I + 1);
  if (Off.isEmpty()) return;
  OfferMoveToRoad(QStringLiteral("Reset put kart %1 off the road of this circuit.")
                      .arg(Off.join(QStringLiteral(", "))),
                  true);
}

bool TCircuitTools::MoveKartsToRoad(bool OnlyOffRoad) {
  TRaceRunner& R = Window.Runner();
  double Size = 0;
  for (const auto& K : R.Karts) Size = std::max(Size, K->GetSize());
  const auto Point = NearestRoadPoint(*R.Track, RoundEven(FStart.X), RoundEven(FStart.Y),
                                      static_cast<int32_t>(std::ceil(Size)) + 2);
  if (!Point) return false;
  FStart = {static_cast<double>(Point->X), static_cast<double>(Point->Y), FStart.Angle};
  for (const auto& K : R.Karts)
    if (!OnlyOffRoad || !R.Track->IsOnTrack(RoundEven(K->PosX()), RoundEven(K->PosY())))
      K->SetPosition(FStart.X, FStart.Y, FStart.Angle);
  R.Track->Redraw();
  return true;
}

void TCircuitTools::SetZoom(int Zoom) {
  Image.SetZoom(Zoom);
  if (FollowKart->isChecked()) FollowChosenKart();
}

void TCircuitTools::SetFollow(bool On) {
  FollowKart->setChecked(On);
  if (On) FollowChosenKart();
}

void TCircuitTools::FollowChosenKart() {
  if (Window.CurrentKart)
    Image.CenterOn(QPointF(Window.CurrentKart->PosX(), Window.CurrentKart->PosY()));
}

void TCircuitTools::RedrawWhenIdle() {
  if (!Window.IsRunning()) Window.Runner().Track->Redraw();
}

bool TCircuitTools::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != &Image || FPainter.Brush == TBrush::None) return false;
  const QEvent::Type Type = Event->type();
  if (Type != QEvent::MouseButtonPress && Type != QEvent::MouseMove &&
      Type != QEvent::MouseButtonRelease)
    return false;
  auto* Mouse = static_cast<QMouseEvent*>(Event);
  const QPointF At = Image.ToPicture(Mouse->position());
  const QPoint Pixel(static_cast<int>(std::floor(At.x())), static_cast<int>(std::floor(At.y())));
  RunHandler(
      [&] {
        if (Type == QEvent::MouseButtonPress && Mouse->button() == Qt::LeftButton)
          FPainter.BeginStroke(Pixel);
        else if (Type == QEvent::MouseMove)
          FPainter.StrokeTo(Pixel);
        else if (Type == QEvent::MouseButtonRelease && FPainter.Stroking()) {
          FPainter.StrokeTo(Pixel);
          FPainter.EndStroke();
          // A stroke may close the road's loop through the start or cut it.
          Window.FollowLapLine(true);
          RedrawWhenIdle();
        }
      },
      QStringLiteral("TCircuitTools::eventFilter"));
  return true;
}
