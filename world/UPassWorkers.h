#pragma once
// The passes of a move on several threads: each worker simulates whole passes on its own copy of
// the players and the circuit; the futures and the traces drawn come back in pass order.

#include <cstdint>
#include <memory>
#include <typeinfo>
#include <vector>

#include "decision/UFutureStore.h"
#include "decision/UState.h"
#include "world/ULanePasses.h"
#include "world/UPassCanvas.h"
#include "world/UPlatform.h"
#include "world/UThinkPool.h"

class TPlayer;
class TTrack;

/// Runs the passes of a move on a pool of threads. Results are those of the plain passes: every
/// pass starts from the same real states and draws from its own random streams, and the futures
/// are stored, and the traces drawn, in pass order by the calling thread.
class TPassWorkers {
 public:
  explicit TPassWorkers(TTrack& AOwner) : Owner(AOwner) {}
  ~TPassWorkers();

  /// Whether the owner's passes can run here: every player has a thinking copy, and no player
  /// lets the window in during a pass (debug level Collisions).
  bool CanRun() const;
  /// Passes 0, 1, ... on Threads threads: exactly Target when Fixed, else passes until the
  /// deadline has passed and at least Minimum have run. Plain karts that draw nothing think in
  /// vector lanes of the owner's width; other players pass by pass on their copies. Stores each
  /// player's futures in pass order and returns the count.
  int32_t Imagine(int32_t Threads, bool Fixed, int32_t Target, int32_t Minimum, int64_t DeadlineMs,
                  int32_t SubSteps, int32_t TimeStepMs);

 private:
  /// One worker's world and what it brought back.
  struct TWorld {
    std::unique_ptr<TTrack> Track;
    std::vector<std::unique_ptr<TPlayer>> Players;
    TPassCanvas Canvas;
    /// Per player, the futures of this worker's passes in the order run: each class of equal
    /// futures once, a repeat by its scores alone.
    std::vector<std::unique_ptr<TFutureStore>> Stores;
    /// Per player, the class in the player's own store of each class of Stores (-1: not yet).
    std::vector<std::vector<int32_t>> ClassMap;
    /// The passes run, in order: the k-th is the k-th future of every store.
    std::vector<TPassDone> Done;
    /// The lanes that imagine this worker's passes when the karts allow it.
    std::unique_ptr<TLaneWorker> Lanes;
  };

  TTrack& Owner;
  TThinkPool Pool;
  std::vector<std::unique_ptr<TWorld>> Worlds;
  std::vector<const TPlayer*> CopiedFrom;  ///< the players the copies were made for
  /// Milliseconds per pass that drawing the last move's traces took.
  double ReplayMsPerPass = 0;
  std::vector<const std::type_info*> CopiedTypes;

  /// Brings every world up to the owner's players, circuit and settings.
  void Prepare(int32_t Threads);
  void Rebuild(TWorld& W);
  /// Simulates pass Pass in W and stores its futures and drawing in W.
  void RunPass(TWorld& W, int32_t Pass, int32_t SubSteps, int32_t TimeStepMs);
  /// Stores passes 0 .. Passes-1 into the owner's players and draws their traces, in order.
  void Collect(int32_t Passes);
  /// The same from stores that keep classes only: each player's store gets every class, its
  /// earliest future first, with the count and best score of all its futures.
  void CollectClasses();
};
