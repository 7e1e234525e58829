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

/// One record per stored future; one option per distinct initial decision.
class TListOfFutures {
 public:
  TFuturesOwner* Owner;                          ///< not owned
  std::vector<std::unique_ptr<TState>> Futures;  ///< in the order stored
  std::vector<std::unique_ptr<TState>> Options;  ///< in order of first appearance

  explicit TListOfFutures(TFuturesOwner* AOwner);
  virtual ~TListOfFutures();
  TListOfFutures(const TListOfFutures&) = delete;
  TListOfFutures& operator=(const TListOfFutures&) = delete;

  /// Stores a copy of State with its macro parameters snapped to their grid.
  void AddFuture(const TState& State);
  /// Frees the futures; the options stay until the next Decide.
  void Clear();
  int32_t Count() const { return static_cast<int32_t>(Futures.size()); }
  TState& Future(int32_t Index) const;
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
  /// Freed records kept for reuse, so that storing a future does not allocate once warm.
  std::vector<std::unique_ptr<TState>> Spare;
  /// Scratch of MergeFutures, kept between moves.
  std::vector<int32_t> MergeTable;
  std::vector<int32_t> ClassOf;

  std::unique_ptr<TState> NewRecord();
};
