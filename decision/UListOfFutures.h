#pragma once
// The futures a player imagined during one move, and the decision made from them.

#include <cstdint>
#include <memory>
#include <vector>

#include "decision/UFutureStore.h"
#include "decision/UState.h"

/// What a list of futures needs from the player that owns it.
class TFuturesOwner {
 public:
  /// Whether the decision is refined by the curve through the options.
  virtual bool UsesRefined() const = 0;

 protected:
  ~TFuturesOwner() = default;
};

/// The futures of one move (kept by a TFutureStore) and the options built from them: futures
/// grouped by initial decision, weighed, shared, and turned into the real decision.
class TListOfFutures {
 public:
  TFuturesOwner* Owner;                          ///< not owned
  std::vector<std::unique_ptr<TState>> Options;  ///< in order of first appearance

  explicit TListOfFutures(TFuturesOwner* AOwner);
  virtual ~TListOfFutures();
  TListOfFutures(const TListOfFutures&) = delete;
  TListOfFutures& operator=(const TListOfFutures&) = delete;

  /// Stores a copy of State with its macro parameters snapped to their grid.
  void AddFuture(const TState& State) { Store.Add(State); }
  /// The store itself, for those who fill it in their own order (the pass workers).
  TFutureStore& FutureStore() { return Store; }
  /// Frees the futures; the options stay until the next Decide.
  void Clear() { Store.Clear(); }
  int32_t Count() const { return Store.Count(); }
  /// Future number Index in the order stored (see TFutureStore::Future).
  TState& Future(int32_t Index) { return Store.Future(Index); }
  double FutureScore(int32_t Index) const { return Store.Score(Index); }
  void SetFutureTeamAvgScore(int32_t Index, double Value) { Store.SetTeamAvgScore(Index, Value); }
  int32_t OptionCount() const { return static_cast<int32_t>(Options.size()); }
  TState& Option(int32_t Index) const;

  /// Sets the free parameters of State from the futures: merge, options, shares, average,
  /// and the refinement when the owner asks for it.
  void Decide(TState& State);

  // The steps of Decide, public so that each can be checked on its own.
  void MergeFutures() { Store.Merge(); }
  void BuildOptions();
  void NormalizeOptions();
  void AverageDecision(TState& State);
  void RefineDecision(TState& State);

  /// The free parameters as the last Decide averaged them, before any refinement.
  const std::vector<double>& AveragedDecision() const { return Averaged; }

 private:
  TFutureStore Store;
  std::vector<double> Averaged;
};
