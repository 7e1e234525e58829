#pragma once
// The race the window shows: the track on the window's picture, the karts it owns, the run
// loop that moves them while Run is down, and the frames saved on the way.

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "world/UPlatform.h"
#include "world/URaceSetup.h"

class TImageControl;
class TTrack2D;

/// The base of the frames' names for a file chosen in the save dialog: a ".bmp" it ends in goes,
/// so that "lap" and "lap.bmp" both give lap_0001.bmp.
QString FrameBaseName(const QString& Chosen);

/// Owns the track and every kart; the track lists the karts without owning them.
class TRaceRunner : public QObject {
  Q_OBJECT
 public:
  /// The track reads its circuit from Image and draws there; it writes its debug text into Memo
  /// (may be absent). Both must outlive the runner.
  TRaceRunner(TImageControl& Image, TDebugText* Memo);
  ~TRaceRunner() override;

  /// The run loop: moves while RunDown says so. Returns at once, touching nothing more, once the
  /// runner is deleted or closed while messages are handled.
  void StartBtnClick();
  /// Every kart back to its start; frames are numbered from 1 again.
  void ResetToStart();
  /// A close was asked for: a running loop ends after its move.
  void Close() { Closing = true; }
  /// Lets the application handle what is pending, with the picture's changes shown first.
  void ProcessMessages();

  /// Shared only with a move under way, which may outlive a runner deleted during it.
  std::shared_ptr<TTrack2D> Track;
  TKartList Karts;          ///< in the order added, as the track lists them
  int32_t FrameNumber = 1;  ///< number of the next saved frame
  int32_t TimeBudgetMs = MoveBudgetMs;
  /// The base of every saved frame's name.
  QString SaveBaseName;
  bool KeepRandomOnce = false;  ///< the next Run goes on with the random source as it stands
  /// Moves one after another as soon as each is done. Off (the default), a move lasts at least
  /// its budget of wall time, so that the race runs in real time whatever the karts think.
  bool AsFastAsPossible = false;

  /// Frames written since saving was last switched on, and their bytes.
  int32_t FramesSaved = 0;
  int64_t FrameBytes = 0;

  // Asked by the run loop; the first three must be set before it runs.
  std::function<bool()> RunDown;       ///< before every move: go on?
  std::function<void()> AfterMove;     ///< after the step, before messages are handled
  std::function<bool()> SavingFrames;  ///< after messages are handled: save this frame?
  /// A frame could not be written (the message names it and why); the loop then ends, touching
  /// nothing more, and FrameNumber stays.
  std::function<void(const QString& Message)> FrameFailed;

 signals:
  /// One move of the run loop is complete, frame included.
  void MoveFinished();

 private:
  /// Writes the picture as the next numbered frame; FrameNumber moves on only once it is written.
  /// Why it could not be written, else an empty string.
  QString SaveFrame();
  /// Lets the application handle what comes for Ms milliseconds. Touches nothing of the runner,
  /// which may be deleted meanwhile.
  static void WaitFor(qint64 Ms);

  TImageControl& Image;
  std::unique_ptr<TMessagePump> MessagePump;
  /// Set once a close was asked for: the run loop ends and touches nothing more.
  bool Closing = false;
};
