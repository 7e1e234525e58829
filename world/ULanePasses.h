#pragma once
// One worker's side of the lane kernels: the karts as every future of the move starts them, and
// each ended pass stored into the worker's futures in pass order.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <new>
#include <vector>

#include "decision/UFutureStore.h"
#include "world/ULaneJob.h"
#include "world/UPassCanvas.h"
#include "world/USimd.h"

class TKart;
class TTrack;
class TTrack2D;

/// Imagines a worker's passes in vector lanes. The futures it stores are those the plain passes
/// store, bit for bit, at every width.
class TLaneWorker {
 public:
  TLaneWorker() = default;
  ~TLaneWorker();
  TLaneWorker(const TLaneWorker&) = delete;
  TLaneWorker& operator=(const TLaneWorker&) = delete;

  /// Whether the lanes can imagine Track's passes: a plain circuit with plain karts on it, none
  /// of which lets the window in during the passes.
  static bool CanRun(const TTrack& Track);
  /// Takes this move's start: the karts' real states and the road. The traces of karts that
  /// draw them are recorded on Canvas (none when it is null).
  void Prepare(const TTrack2D& Track, const std::vector<TKart*>& Karts, int32_t SubSteps,
               int32_t TimeStepMs, TPassCanvas* Canvas);
  /// Whether the stores keep classes only (when nobody reads the futures one by one): a
  /// repeat then counts in its class's tally instead of being stored.
  bool ClassesOnly = false;
  /// The best of some scores as the merge takes them: NaN left out, and as a score is never
  /// -0, the order does not matter.
  struct TBestScore {
    double Best = 0;  ///< while Any
    bool Any = false;
    void Add(double Score) {
      if (Score != Score) return;
      Best = Any && !(Best < Score) ? Best : Score;
      Any = true;
    }
  };
  /// What a store that keeps classes only knows of each class, by the class's index there.
  struct TTally {
    int32_t FirstPass;   ///< the pass of its earliest future, whose record the store holds
    int32_t Count;       ///< futures of the class
    TBestScore Repeats;  ///< the scores of the others
  };
  /// Per kart, the tallies of its store's classes (ClassesOnly).
  std::vector<std::vector<TTally>> Tallies;
  /// Runs the passes ClaimPass hands out (false: none left) in Width's kernel, each future's
  /// random stream seeded from (Seed, Move, kart, pass); stores every kart's futures into
  /// Stores, in the order of the passes, and appends each pass to Done as it stores it.
  void Run(TSimd Width, const std::function<bool(int32_t&)>& ClaimPass, uint64_t Seed, int64_t Move,
           std::vector<std::unique_ptr<TFutureStore>>& Stores, std::vector<TPassDone>& Done);
  /// Kart sub-steps the last Run simulated.
  int64_t SubStepsRun() const { return Job.SubStepsRun; }

 private:
  struct TAlignedFree {
    void operator()(void* P) const { ::operator delete (P, std::align_val_t{64}); }
  };
  /// A pass handed out and not yet stored; Slot is where its ends wait (-1 while it runs).
  struct TClaimed {
    int32_t Pass;
    int32_t Slot;
  };

  TLaneJob Job{};
  std::vector<TLaneKart> Karts;
  /// Per kart, the parameter index of each lane slot, and of the two decisions' IntValue.
  std::vector<int32_t> SlotIndex;
  /// Per kart, the state a future is stored from: its real state with the ended pass written in.
  std::vector<std::unique_ptr<TState>> Records;
  std::vector<uint8_t> Map;
  std::unique_ptr<void, TAlignedFree> Scratch;
  size_t ScratchBytes = 0;
  std::vector<TLaneEnd> Ends;
  std::vector<uint64_t> Streams;
  std::vector<double> Bodies;
  std::vector<uint64_t> PairRoom;  ///< the kernel's room for its pairs
  std::vector<TLaneTrace> Traces;  ///< the kernel's room for the traces of its lanes
  TPassCanvas* Canvas = nullptr;

  // While running.
  const std::function<bool(int32_t&)>* ClaimPass = nullptr;
  std::vector<std::unique_ptr<TFutureStore>>* Stores = nullptr;
  std::vector<TPassDone>* Done = nullptr;
  uint64_t Seed = 0;
  int64_t Move = 0;
  std::deque<TClaimed> Claimed;           ///< in the order handed out, which is pass order
  std::vector<TLaneEnd> Waiting;          ///< KartCount records per slot
  std::vector<TLaneTrace> WaitingTraces;  ///< Job.TraceRoom pieces per slot
  std::vector<int32_t> WaitingTraceCount;
  std::vector<int32_t> FreeSlots;

  static bool Claim(void* Context, int32_t* Pass, uint64_t* Streams);
  static void Finish(void* Context, int32_t Pass, const TLaneEnd* Ends, const TLaneTrace* Traces,
                     int32_t TraceCount);
  /// Stores the ends of one pass into every kart's futures and draws its traces.
  void Store(int32_t Pass, const TLaneEnd* PassEnds, const TLaneTrace* PassTraces,
             int32_t TraceCount);
};
