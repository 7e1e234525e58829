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

  // Asked by the run loop; all three must be set before it runs.
  std::function<bool()> RunDown;       ///< before every move: go on?
  std::function<void()> AfterMove;     ///< after the step, before messages are handled
  std::function<bool()> SavingFrames;  ///< after messages are handled: save this frame?

 signals:
  /// One move of the run loop is complete, frame included.
  void MoveFinished();

 private:
  /// Writes the picture as the next numbered frame; FrameNumber moves on only once it is written.
  void SaveFrame();

  TImageControl& Image;
  std::unique_ptr<TMessagePump> MessagePump;
  /// Set once a close was asked for: the run loop ends and touches nothing more.
  bool Closing = false;
};
