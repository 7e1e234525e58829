#include "ui/URaceRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <utility>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "io/UFrameFile.h"
#include "ui/UImageControl.h"
#include "world/UTrack2D.h"

namespace {

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

TRaceRunner::TRaceRunner(TImageControl& AImage, TDebugText* Memo)
    : Image(AImage), MessagePump(std::make_unique<TWindowPump>(AImage)) {
  setObjectName(QStringLiteral("RaceRunner"));
  Track = std::make_shared<TTrack2D>();
  Track->SetImage(&Image.Picture());
  Track->DebugMemo = Memo;
  Track->MessagePump = MessagePump.get();
}

TRaceRunner::~TRaceRunner() {
  // The karts are the track's players; the track does not own them.
  while (!Karts.empty()) RemoveKart(*Track, Karts, Karts.back().get());
  // A move under way keeps the track to its end: leave it nothing of the window's.
  Track->Image = nullptr;
  Track->DebugMemo = nullptr;
  Track->MessagePump = nullptr;
}

void TRaceRunner::StartBtnClick() {
  // An opened scenario goes on with its own random source and futures.
  if (!std::exchange(KeepRandomOnce, false)) Track->Seed = RandomSeedFromClock();
  // Anything may happen while messages are processed, the window's end included: after each
  // chance, go on only while the runner is there and no close was asked for.
  const QPointer<TRaceRunner> Self(this);
  QElapsedTimer MoveClock;
  while (RunDown()) {
    MoveClock.start();
    Track->Redraw();
    // The step lets messages through at its end; should they delete the runner, the track
    // must still be there for the step to return through.
    const std::shared_ptr<TTrack2D> Moving = Track;
    Moving->ThinkAndMove(TimeBudgetMs, TimeStepMs);
    if (!Self || Closing) return;
    AfterMove();
    ProcessMessages();
    if (!Self || Closing) return;
    if (SavingFrames()) {
      if (const QString Error = SaveFrame(); !Error.isEmpty()) {
        emit MoveFinished();
        if (FrameFailed) FrameFailed(Error);
        return;
      }
    }
    emit MoveFinished();
    // The rest of the budget, when the move took less, goes to the window.
    if (!AsFastAsPossible) {
      WaitFor(TimeBudgetMs - MoveClock.elapsed());
      if (!Self || Closing) return;
    }
  }
}

void TRaceRunner::WaitFor(qint64 Ms) {
  if (Ms <= 0) return;
  QEventLoop Wait;
  QTimer::singleShot(std::chrono::milliseconds(Ms), Qt::PreciseTimer, &Wait, &QEventLoop::quit);
  Wait.exec();
}

void TRaceRunner::ResetToStart() {
  FrameNumber = 1;
  for (TPlayer* Player : Track->Players()) Player->ResetToStart();
}

void TRaceRunner::ProcessMessages() { MessagePump->ProcessMessages(); }

QString TRaceRunner::SaveFrame() {
  const QString Name = FrameFileName(SaveBaseName, FrameNumber);
  try {
    ::SaveFrame(Image.Picture().Image(), Name);
  } catch (const EModelError& E) {
    // A full disk or a folder gone: the user's to mend, not a fault of the program.
    return QString::fromStdString(E.what());
  }
  ++FrameNumber;
  ++FramesSaved;
  FrameBytes += QFileInfo(Name).size();
  return {};
}

QString FrameBaseName(const QString& Chosen) {
  return Chosen.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive) ? Chosen.chopped(4) : Chosen;
}
