#pragma once
// The abstract agent: a real state, a simulation state, and the futures between them.

#include <cstdint>
#include <memory>
#include <string>

#include "agents/UCanvas.h"
#include "agents/UDebugLevel.h"
#include "decision/UListOfFutures.h"
#include "decision/UState.h"

class TArena;
class TPlayer2D;

/// A player on a track. Owns its two states and its futures; knows its track, not owning it.
class TPlayer : public TFuturesOwner {
 public:
  TColor Color = 0;  ///< fill colour of the outline; random at creation
  TDebugLevel DebugLevel = TDebugLevel::Nothing;
  bool Simulating = false;  ///< true while running through one imagined future
  bool NewFuture = false;   ///< true from the start of a future until its first decision
  bool UseRefined = true;   ///< refine the decision by the curve through the options
  std::unique_ptr<TState> RealState;
  std::unique_ptr<TState> SimState;
  int32_t SizeIndex = 0;
  int32_t DeadIndex = 0;
  int32_t GridSize = 10;  ///< pixels
  int32_t MaxGridSize = 30;
  int32_t MinGridSize = 5;
  bool AutoGrid = true;  ///< when false the grid stays as the user set it
  int32_t TargetFutures = 100;
  bool ShapeUnallocated = true;
  bool ShapeDirty = true;
  TArena* Track = nullptr;  ///< the track it is on; not owned
  std::unique_ptr<TListOfFutures> Futures;
  /// The current future's own random source; the track seeds it for every future it begins.
  TRandomStream FutureRandom;

  /// Real and simulation states, the parameters "Size" and "Dead", a random colour, a start mark.
  TPlayer();
  virtual ~TPlayer();
  TPlayer(const TPlayer&) = delete;
  TPlayer& operator=(const TPlayer&) = delete;

  // The twelve virtual operations, in slot order.
  virtual void UpdateShape() = 0;
  /// Appends this class's parameters (each override first runs the inherited one).
  virtual void DefineParams();
  virtual void ResetToStart();
  virtual void AssignFrom(TPlayer& Source);
  virtual void Draw();
  virtual TColor StateColor(TState& S);
  virtual void DrawTrace() = 0;
  /// Marks the end point of future number Index on the picture.
  virtual void DrawFuture(int32_t Index) = 0;
  virtual void AdaptGrid();
  virtual void MarkStart();
  /// Moves the active state on by one time step and scores it.
  virtual void Advance(int32_t TimeStepMs) = 0;
  virtual bool CollidesWith(TPlayer& Other) = 0;

  /// This player as a planar body, or null: a virtual call, cheaper than a cast, for the
  /// collision pass that asks on every sub-step.
  virtual TPlayer2D* AsPlanar() { return nullptr; }

  bool UsesRefined() const override { return UseRefined; }

  // Thinking on several threads: each worker simulates on copies of the players.
  /// Whether NewThinkingCopy gives a copy; a player without one keeps the passes on one thread.
  virtual bool CanThinkOnCopies() const { return false; }
  /// A new player of this kind, to be made a copy by CopyForThinking.
  virtual std::unique_ptr<TPlayer> NewThinkingCopy() const { return nullptr; }
  /// Takes what a pass reads from Source: its real state and debug level.
  void CopyForThinking(const TPlayer& Source) {
    RealState->CopyFrom(*Source.RealState);
    DebugLevel = Source.DebugLevel;
  }

  /// The active state: SimState while simulating, else RealState.
  TState& State() const { return Simulating ? *SimState : *RealState; }

  // A future's life. SetSimulating and Decide only dispatch to these steps.
  /// Enters a future: the simulation state becomes a copy of the real state with no score, and
  /// the next decision is the future's first. Nothing while already simulating.
  void BeginFuture();
  /// Leaves the future and stores it, end cell snapped, in Futures. Nothing in real mode.
  void EndFuture();
  /// Leaves the future without storing it (a pass broken off by an error). Nothing in real mode.
  void AbandonFuture();
  /// One simulated decision: an extreme value for one free parameter at a future's first step,
  /// random values for all of them later. A dead player decides nothing.
  void DrawRandomDecision();
  /// The real decision from the stored futures, then the grid follows the number of distinct
  /// futures (unless AutoGrid is off). A dead player decides nothing.
  void DecideFromFutures();

  /// DrawRandomDecision while simulating, else DecideFromFutures.
  void Decide() { Simulating ? DrawRandomDecision() : DecideFromFutures(); }
  /// BeginFuture or EndFuture.
  void SetSimulating(bool Value) { Value ? BeginFuture() : EndFuture(); }
  void ClearFutures() { Futures->Clear(); }
  /// DrawFuture for every stored future, in order.
  void DrawFutures();
  int32_t GetGridSize() const;
  void SetGridSize(int32_t Value);
  double GetSize() const { return State().Params[SizeIndex]->Value; }
  void SetSize(double Value);
  bool IsDead() const { return State().Params[DeadIndex]->Value > 0.5; }
  void SetDead(bool Value) { State().Params[DeadIndex]->SetValue(Value ? 1.0 : 0.0); }

  /// One line of status text.
  std::string GetInfo() const;
  void SetInfo(const std::string& Text);

 protected:
  /// Sets Info to a number shown as "%4.4f"; formatted only when Info is read.
  void SetInfoNumber(double X) {
    InfoNumber = X;
    InfoIsNumber = true;
  }

 private:
  void DefineOwnParams();

  std::string Info;
  double InfoNumber = 0;
  bool InfoIsNumber = false;
};
