#pragma once
// The futures a player imagined during one move, and the decision made from them.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "decision/UState.h"

/// What a list of futures needs from the player that owns it.
class TFuturesOwner {
 public:
  /// Whether the decision is refined by the curve through the options.
  virtual bool UsesRefined() const = 0;
  /// Marks the end point of future number Index on the picture.
  virtual void DrawFuture(int32_t Index) = 0;

 protected:
  ~TFuturesOwner() = default;
};

/// The futures of one move and the options built from them. A future that repeats an earlier one
/// (same initial decision, same end cell) keeps only its scores until the merge: the merge keeps
/// nothing else of it, and so memory follows the number of distinct futures, not the number
/// imagined.
class TListOfFutures {
 public:
  TFuturesOwner* Owner;                          ///< not owned
  std::vector<std::unique_ptr<TState>> Options;  ///< in order of first appearance

  explicit TListOfFutures(TFuturesOwner* AOwner);
  virtual ~TListOfFutures();
  TListOfFutures(const TListOfFutures&) = delete;
  TListOfFutures& operator=(const TListOfFutures&) = delete;

  /// Stores a copy of State with its macro parameters snapped to their grid.
  void AddFuture(const TState& State);
  /// Frees the futures; the options stay until the next Decide.
  void Clear();
  int32_t Count() const { return Futures.Size(); }
  /// Future number Index in the order stored. A repeat of an earlier future gets a record of
  /// its own on first access: that future's parameters with the repeat's own scores.
  TState& Future(int32_t Index) const;
  /// Future(Index).Score, without giving a repeat a record.
  double FutureScore(int32_t Index) const;
  /// Future(Index).TeamAvgScore := Value, without giving a repeat a record.
  void SetFutureTeamAvgScore(int32_t Index, double Value);
  int32_t OptionCount() const { return static_cast<int32_t>(Options.size()); }
  TState& Option(int32_t Index) const;

  /// Sets the free parameters of State from the futures: merge, options, shares, average,
  /// and the refinement when the owner asks for it.
  void Decide(TState& State);
  /// Owner->DrawFuture for every stored future, in order.
  void DrawAll();

  // The steps of Decide, public so that each can be checked on its own.
  void MergeFutures();
  void BuildOptions();
  void NormalizeOptions();
  void AverageDecision(TState& State);
  void RefineDecision(TState& State);

  struct TSplineScan {
    double XAtMax;
    double YAtR;
    double MaxY;
  };
  /// Samples the Catmull-Rom curve through Points (sorted by x) six times per segment.
  static TSplineScan ScanSpline(const std::vector<std::pair<double, double>>& Points, double R);

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
  class TStoredFutures {
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

  TStoredFutures Futures;  ///< in the order stored
  /// The records of the earliest futures of their classes, in the order stored.
  std::vector<std::unique_ptr<TState>> Records;
  /// The records that repeats were given on access; the merge drops them.
  mutable std::vector<std::unique_ptr<TState>> RepeatRecords;
  /// Freed records kept for reuse, so that storing a future does not allocate once warm.
  mutable std::vector<std::unique_ptr<TState>> Spare;
  /// Open addressing on the class of a future (initial decision and end cell): the index of
  /// its earliest stored future, or -1. A class is settled when its future is stored.
  std::vector<int32_t> ClassTable;
  /// The futures in ClassTable: every earliest future whose parameter counts match future 0.
  std::vector<int32_t> ClassFirsts;

  std::unique_ptr<TState> NewRecord() const;
  /// Records a future: into its class when it repeats one, else as a class of its own.
  void Store(std::unique_ptr<TState> Record);
  /// The index of the earliest stored future of Record's class; Index itself, entered in the
  /// table, when there is none yet.
  int32_t FindOrEnterClass(TState& Record, int32_t Index);
  void RebuildClassTable(size_t MinSize);
};
