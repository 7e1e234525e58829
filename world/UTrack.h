#pragma once
// The world: the players on it and the think-and-move step that advances them by one move.

#include <cstdint>
#include <vector>

#include "world/UPlatform.h"

class TPlayer;

/// Holds the players (not owning them) and runs ThinkAndMove. Abstract: the circuit supplies
/// collision handling and the clean picture.
class TTrack {
 public:
  int32_t Seconds = 10;             ///< length of every simulated future, seconds
  bool KeepTrails = false;          ///< Redraw does not clean the picture first
  bool TeamScore = false;           ///< futures weighed by the mean over all players; 500 minimum
  bool Collisions = false;          ///< ResolveCollisions after every sub-step and the real moves
  std::vector<TPlayer*> Players;    ///< in the order added; not owned
  TDebugText* DebugMemo = nullptr;  ///< not owned; may be absent
  TMessagePump* MessagePump = nullptr;  ///< not owned; may be absent
  /// When above 0, each move runs exactly max(FixedPasses, minimum) passes and never reads the
  /// clock, so that a seeded run repeats exactly. 0 (the default) keeps the time budget.
  int32_t FixedPasses = 0;

  TTrack();
  virtual ~TTrack();
  TTrack(const TTrack&) = delete;
  TTrack& operator=(const TTrack&) = delete;

  // Virtual operations, in slot order.
  virtual void ResolveCollisions() = 0;
  virtual void CleanImage() = 0;

  int32_t PlayerCount() const { return static_cast<int32_t>(Players.size()); }
  TPlayer& GetPlayer(int32_t Index) const;
  /// Appends the player and sets its Track, unless it is already on the list.
  void AddPlayer(TPlayer& Player);
  /// Takes the player off the list; FreeIt destroys it first. Unknown players: nothing.
  void RemovePlayer(TPlayer* Player, bool FreeIt);
  /// One move: every player imagines its futures within the budget, then moves once.
  void ThinkAndMove(int32_t TimeBudgetMs, int32_t TimeStepMs);
  /// Cleans the picture (unless KeepTrails) and draws every player.
  void Redraw();
  /// Lets the desktop process its pending messages, when there is one.
  void ProcessMessages() {
    if (MessagePump) MessagePump->ProcessMessages();
  }

  /// Counters of the last ThinkAndMove, for the headless runner and tests.
  int32_t LastFutureCounter = 0;
  int32_t LastSubSteps = 0;
};
