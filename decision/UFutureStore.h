#pragma once
// The futures of one move as they are stored: grouped into classes of equal futures as they
// arrive, a repeat of an earlier future kept as its scores alone.

#include <cstdint>
#include <memory>
#include <vector>

#include "decision/UState.h"

/// Stores futures and merges each class of equal futures (same initial decision, same end cell)
/// into its earliest member. Memory follows the number of distinct futures, not the number
/// imagined: a repeat keeps only its scores until the merge, which keeps nothing else of it.
class TFutureStore {
 public:
  TFutureStore() = default;
  TFutureStore(const TFutureStore&) = delete;
  TFutureStore& operator=(const TFutureStore&) = delete;

  /// What a stored future keeps when it repeats an earlier one.
  struct TScores {
    double Score;
    double TeamAvgScore;
    double ScoreFactor;
    int32_t FutureCount;
  };

  /// Stores State with its macro parameters snapped to their grid: a copy when it starts a class
  /// of its own, its scores alone when it repeats one (found from State as it stands). Returns
  /// the index of the earliest stored future of its class.
  int32_t Add(const TState& State);
  /// The same for a State already snapped by another store (it is not snapped again).
  int32_t AddSnapped(const TState& State);
  /// The earliest stored future of State's class (State need not be snapped), or -1.
  int32_t FindClass(const TState& State) const;
  /// For a store that keeps classes only: the earliest future of State's class, storing State
  /// snapped as a class of its own (New true) when it has none yet. A repeat is not stored.
  int32_t FindOrAddClass(const TState& State, bool& New);
  /// Stores a repeat of the class whose earliest stored future is First.
  void AddRepeat(int32_t First, const TScores& Scores);
  /// The earliest stored future of the class of future Index, and Index's own scores.
  int32_t ClassOf(int32_t Index) const { return Futures[Index].First; }
  TScores Scores(int32_t Index) const;
  /// Forgets every future; their records are kept for reuse.
  void Clear();
  int32_t Count() const { return Futures.Size(); }
  /// Future number Index in the order stored. A repeat of an earlier future gets a record of
  /// its own on first access: that future's parameters with the repeat's own scores.
  TState& Future(int32_t Index);
  /// Future(Index).Score, without giving a repeat a record.
  double Score(int32_t Index) const;
  /// Future(Index).TeamAvgScore := Value, without giving a repeat a record.
  void SetTeamAvgScore(int32_t Index, double Value);
  /// Merges every future into the earliest of its class: best score, summed then averaged team
  /// score, counted futures. Afterwards the store holds the distinct futures in their order.
  void Merge();

  /// A spare record to fill (reused when one is free), and giving one back for reuse.
  std::unique_ptr<TState> NewRecord();
  void Recycle(std::unique_ptr<TState> Record) { Spare.push_back(std::move(Record)); }

 private:
  struct TStoredFuture {
    TState* Record;  ///< owned by Records; null for a repeat that nobody asked for
    int32_t First;   ///< the earliest stored future of the same class
    int32_t FutureCount;
    // A repeat's own fields while it has no record.
    double Score;
    double TeamAvgScore;
    double ScoreFactor;
  };

  /// Fixed blocks kept between moves: nothing is copied as the list grows, and memory follows
  /// the most futures of any move rather than the next power of two above it.
  class TBlocks {
   public:
    int32_t Size() const { return Count; }
    TStoredFuture& operator[](int32_t Index) const {
      return Blocks[Index >> BlockBits][Index & (BlockSize - 1)];
    }
    void PushBack(const TStoredFuture& F) {
      if ((Count >> BlockBits) == static_cast<int32_t>(Blocks.size()))
        Blocks.push_back(std::make_unique<TStoredFuture[]>(BlockSize));
      (*this)[Count++] = F;
    }
    /// Keeps the first N; N at most Size.
    void Truncate(int32_t N) { Count = N; }

   private:
    static constexpr int32_t BlockBits = 12;
    static constexpr int32_t BlockSize = 1 << BlockBits;
    std::vector<std::unique_ptr<TStoredFuture[]>> Blocks;
    int32_t Count = 0;
  };

  TBlocks Futures;  ///< in the order stored
  /// The records of the earliest futures of their classes, in the order stored.
  std::vector<std::unique_ptr<TState>> Records;
  /// The records that repeats were given on access; the merge drops them.
  std::vector<std::unique_ptr<TState>> RepeatRecords;
  /// Freed records kept for reuse, so that storing a future does not allocate once warm.
  std::vector<std::unique_ptr<TState>> Spare;
  /// Open addressing on the class of a future (initial decision and end cell): the index of
  /// its earliest stored future, or -1. A class is settled when its future is stored.
  std::vector<int32_t> ClassTable;
  /// The futures in ClassTable: every earliest future whose parameter counts match future 0.
  std::vector<int32_t> ClassFirsts;

  /// Records a future: into its class when it repeats one, else as a class of its own.
  void Store(std::unique_ptr<TState> Record);
  /// The index of the earliest stored future of Record's class; Index itself, entered in the
  /// table, when there is none yet.
  int32_t FindOrEnterClass(TState& Record, int32_t Index);
  /// Stores State's scores into an existing class when it has one, else a copy; Snap says
  /// whether the copy is snapped to the grid.
  int32_t AddLive(const TState& State, bool Snap);
  void RebuildClassTable(size_t MinSize);
  /// The merge's check that every future can be compared with future 0 (raises the state's
  /// error for one that cannot).
  void CheckComparable() const;
  /// Keeps the earliest future of each class, in order, with its team score averaged.
  void KeepDistinct();
};
