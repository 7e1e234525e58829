#pragma once
// The world: the players on it and the think-and-move step that advances them by one move.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "agents/UArena.h"
#include "world/UPlatform.h"
#include "world/USimd.h"

class TPlayer;
class TPassWorkers;

/// Holds the players (not owning them) and runs ThinkAndMove. Abstract: the circuit supplies
/// collision handling and the clean picture.
class TTrack : public TArena {
 public:
  int32_t Seconds = 10;             ///< length of every simulated future, seconds
  bool KeepTrails = false;          ///< Redraw does not clean the picture first
  bool TeamScore = false;           ///< futures weighed by the mean over all players; 500 minimum
  bool Collisions = false;          ///< ResolveCollisions after every sub-step and the real moves
  TDebugText* DebugMemo = nullptr;  ///< not owned; may be absent
  TMessagePump* MessagePump = nullptr;  ///< not owned; may be absent
  TClock* Clock = nullptr;              ///< not owned; absent, the steady clock times the budget
  /// When above 0, each move runs exactly max(FixedPasses, minimum) passes and never reads the
  /// clock, so that a seeded run repeats exactly. 0 (the default) keeps the time budget.
  int32_t FixedPasses = 0;
  /// The run's seed: with the move number, a player's place and the pass it fixes the random
  /// draws of every future, whatever thread or lane simulates it. Set it to repeat a run.
  uint64_t Seed = 0;
  /// The moves made since the run began: ThinkAndMove thinks move MoveNumber and then counts it.
  /// Save and restore it with Seed to carry a run on exactly where it stopped.
  int64_t MoveNumber = 0;
  /// Threads that imagine the futures; 0 (the default) uses every core. The futures, and so
  /// every result, are the same for any count.
  int32_t Threads = 0;
  /// How many futures each thread imagines side by side; every width gives the same futures.
  /// A width this processor lacks is refused (EModelError) at the next move.
  TSimd Simd = TSimd::Best;
  /// The reference passes: one thread, on the players themselves, as a pass is defined.
  /// Also taken whenever a player cannot be copied or lets the window in during a pass.
  bool PlainPasses = false;
  /// Called on the calling thread after the passes of every move, before any decision: every
  /// player's futures are there as stored, in pass order (tests compare them). While it is set,
  /// every future is stored one by one; otherwise the lanes may keep classes only.
  std::function<void()> FuturesImagined;

  TTrack();
  virtual ~TTrack();
  TTrack(const TTrack&) = delete;
  TTrack& operator=(const TTrack&) = delete;

  // Virtual operations, in slot order.
  virtual void ResolveCollisions() = 0;
  void CleanImage() override = 0;

  // Thinking on several threads: a copy of the circuit for each worker.
  /// Whether NewThinkingCopy gives a copy; without one the passes stay on one thread.
  virtual bool CanThinkOnCopies() const { return false; }
  /// An empty track of this kind for one worker's copies of the players.
  virtual std::unique_ptr<TTrack> NewThinkingCopy() const { return nullptr; }
  /// Makes Copy's circuit this one's; what the passes draw goes to Canvas (may be absent).
  virtual void CopyCircuitTo(TTrack& /*Copy*/, TPicture* /*Canvas*/) const {}
  /// The picture the players draw on, or null.
  TPicture* Picture() const override { return nullptr; }
  /// The road, or null on a track that is no circuit picture.
  const TRoad* Road() const override { return nullptr; }

  /// The players in the order added; not owned.
  const std::vector<TPlayer*>& Players() const { return PlayerList; }
  int32_t PlayerCount() const { return static_cast<int32_t>(PlayerList.size()); }
  TPlayer& GetPlayer(int32_t Index) const;
  /// Whether Player is on the list; compares addresses only, so a destroyed player may be asked.
  bool HasPlayer(const TPlayer* Player) const override;
  /// Appends the player and sets its Track, unless it is already on the list.
  void AddPlayer(TPlayer& Player);
  /// Takes the player off the list; FreeIt destroys it first. Unknown players: nothing.
  void RemovePlayer(TPlayer* Player, bool FreeIt);
  /// One move: every player imagines its futures within the budget (at least 200 each, 500 when
  /// thinking as a team), then every player makes its real decision and moves once.
  ///
  /// Re-entrancy: the step ends by letting the desktop process its pending messages, and the
  /// collision pass at debug level Collisions does so after each mark. The window's handlers run
  /// there and may remove players, or destroy the window, its karts and this track. The caller
  /// must keep the track alive until the step returns and check, before it touches anything
  /// again, that its window still exists. Inside the step, nothing of a player is touched after
  /// the final message processing, and the collision pass stops when a pair it is working on
  /// has left the list.
  void ThinkAndMove(int32_t TimeBudgetMs, int32_t TimeStepMs);
  /// Future number Pass for every player, left in its simulation state: SubSteps random
  /// decisions and time steps. The passes of a worker's copy run through here.
  void SimulatePass(int32_t Pass, int32_t SubSteps, int32_t TimeStepMs);
  /// Cleans the picture (unless KeepTrails) and draws every player.
  void Redraw() override;
  /// Lets the desktop process its pending messages, when there is one.
  void ProcessMessages() override {
    if (MessagePump) MessagePump->ProcessMessages();
  }
  /// The budget's clock, milliseconds: Clock, or the steady clock. Any thread may read it.
  double ClockMs() const;
  /// The same in whole milliseconds, as deadlines are kept.
  int64_t NowMs() const;

  /// Figures of the last ThinkAndMove, for the headless runner and tests: the passes run (the
  /// futures each player imagined) and the sub-steps of each future.
  int32_t LastPasses = 0;
  int32_t LastSubSteps = 0;
  /// Milliseconds the last move spent imagining its futures, storing them included.
  double LastImagineMs = 0;
  /// Kart sub-steps the vector lanes simulated in the last move (0 when they did not think):
  /// futures that end early take fewer than LastSubSteps.
  int64_t LastLaneSubSteps = 0;

 protected:
  /// Runs after every change of the player list.
  virtual void PlayersChanged() {}
  /// Runs at the start of every move, before the passes: what the move reads is brought up to
  /// date.
  virtual void PrepareMove() {}

 private:
  std::vector<TPlayer*> PlayerList;
  std::unique_ptr<TPassWorkers> Workers;  ///< made at the first move that can use them

 private:
  /// The passes: every player imagines one future per pass, all side by side, until the
  /// deadline has passed and the minimum is reached (or exactly FixedPasses). Returns the count.
  int32_t ImagineFutures(int32_t TimeBudgetMs, int32_t TimeStepMs, int32_t SubSteps);
  /// Future number Pass for every player: SubSteps random decisions and time steps.
  void RunPass(int32_t Pass, int32_t SubSteps, int32_t TimeStepMs);
  /// Team scoring: future r of every player is weighed by the mean score of all futures r.
  void ShareTeamScores();
  /// Every player decides from its futures and moves once, in list order.
  void MoveForReal(int32_t TimeStepMs, int32_t Passes);
  /// The debug text of one player: its Info, or the listing of its options.
  void ListThinking(TPlayer& Player, int32_t Passes);
};
