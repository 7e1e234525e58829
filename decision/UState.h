#pragma once
// A player's state: an ordered list of named, bounded, quantised parameters.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decision/UBase.h"

/// What a parameter is to the futures machinery.
enum TParamKind : uint8_t {
  pkPlain = 0,  ///< carried with the state, never decided, never gridded
  pkMacro = 1,  ///< an end-point coordinate while Precision > 0
  pkFree = 2,   ///< a decision of the player
};

/// How a parameter is declared. The bounds apply only when Bounded (then Min < Max); an
/// unbounded parameter takes any value.
struct TParamDecl {
  const char* Name = "";
  TParamKind Kind = pkPlain;
  double Value = 0;
  bool Bounded = false;
  double Min = 0;
  double Max = 0;
  double Precision = 0;  ///< grid step of a macro parameter, random range of a free one
};

/// One named double with bounds, a grid step (or random range) and two derived integers:
/// IntValue (thousandths at the last Quantize) and a cached grid index.
class TStateParam {
 public:
  std::string Name;  ///< trimmed, a..z upper-cased
  double Value = 0;
  double PrevValue = 0;  ///< Value before the last SetValue, unless KeepPrevious
  int32_t IntValue = 0;  ///< Value in thousandths, rounded, as of the last Quantize
  TParamKind Kind = pkPlain;
  bool KeepPrevious = false;
  double MaxValue = 0;  ///< bounds apply only while MaxValue > MinValue
  double MinValue = 0;
  double Precision = 0;  ///< grid step of a macro parameter, random range of a free one
  int32_t GridIndexCache = 0;
  bool GridIndexValid = false;

  /// Empty name, pkPlain, all numbers 0 (used to grow a copy of a state).
  TStateParam();
  /// Note the order: the upper bound comes before the lower bound. Prefer the declaration.
  TStateParam(const std::string& AName, TParamKind AKind, double AValue, double AMaxValue,
              double AMinValue, double APrecision);
  /// Raises for a bounded declaration whose Min is not below its Max.
  explicit TStateParam(const TParamDecl& Decl);

  void SetName(const std::string& AName);

  /// Clamps when the bounds allow it; records PrevValue unless KeepPrevious.
  void SetValue(double X) {
    if (!KeepPrevious) PrevValue = Value;
    Value = WithinBounds(X);
    GridIndexValid = false;
  }
  /// X clamped to the bounds while they apply (MaxValue > MinValue), else X itself.
  double WithinBounds(double X) const {
    return LaneMath::TPlain::WithinBounds(X, MinValue, MaxValue);
  }

  int32_t Quantize() {
    IntValue = RoundEven(Value * ThousandthsPerUnit);
    return IntValue;
  }
  double RoundedValue() const { return IntValue / ThousandthsPerUnit; }

  /// RoundEven(Value / Precision), 0 when Precision is 0; cached until the next SetValue.
  int32_t GridIndex() {
    if (!GridIndexValid) {
      GridIndexCache = Precision == 0 ? 0 : RoundEven(Value / Precision);
      GridIndexValid = true;
    }
    return GridIndexCache;
  }

  /// The grid index this parameter has once ConvertToMacro has snapped it, without snapping:
  /// the same operations, bounds included. Snapping twice changes nothing, so a snapped
  /// parameter gives its GridIndex.
  int32_t SnappedGridIndex() const {
    if (Precision == 0) return 0;
    return RoundEven(WithinBounds(RoundEven(Value / Precision) * Precision) / Precision);
  }

  /// Copies name, kind, bounds, precision, Value, PrevValue and IntValue as they are;
  /// not KeepPrevious and not the grid cache.
  void Assign(const TStateParam& Source);

  bool IsFree() const { return Kind == pkFree; }
  bool IsMacro() const { return Kind == pkMacro && Precision > 0; }

  /// A random decision: uniform in [-Precision, Precision), or (Extremes) one of
  /// MinValue, MaxValue, +Precision, -Precision, then Quantize. Draws from the global source.
  void Randomize(bool Extremes) { Randomize(Extremes, KartRandom::Global); }
  /// The same, drawing from Random.
  void Randomize(bool Extremes, TRandomStream& Random);

  /// Snaps Value to the centre of its grid cell; fails when Precision is 0.
  void ConvertToMacro();
};

/// The complete state of one player at one moment, or a stored future, or an option.
class TState {
 public:
  std::vector<std::unique_ptr<TStateParam>> Params;  ///< owns its parameters
  std::vector<TStateParam*> FreeParams;   ///< decided when added or copied, in Params order
  std::vector<TStateParam*> MacroParams;  ///< decided when added or copied, in Params order
  double Score = 0;
  double TeamAvgScore = 0;  ///< 0 means not set
  double ScoreFactor = 1;
  int32_t FutureCount = 1;
  bool KeepPrevious = false;

  TState();
  virtual ~TState();
  TState(const TState&) = delete;
  TState& operator=(const TState&) = delete;

  /// Takes ownership.
  void AddParam(std::unique_ptr<TStateParam> Param);
  /// Adds a parameter as declared; returns the index of the first parameter of its name.
  int32_t AddParam(const TParamDecl& Decl);

  int32_t ParamCount() const { return static_cast<int32_t>(Params.size()); }
  int32_t FreeParamCount() const { return static_cast<int32_t>(FreeParams.size()); }
  int32_t MacroParamCount() const { return static_cast<int32_t>(MacroParams.size()); }
  bool HasFreeParams() const { return !FreeParams.empty(); }

  TStateParam& Param(int32_t Index) const {
    if (Index < 0 || Index >= ParamCount()) RaiseIndex("Param", Index);
    return *Params[Index];
  }
  TStateParam& FreeParam(int32_t Index) const {
    if (Index < 0 || Index >= FreeParamCount()) RaiseIndex("FreeParam", Index);
    return *FreeParams[Index];
  }
  TStateParam& MacroParam(int32_t Index) const {
    if (Index < 0 || Index >= MacroParamCount()) RaiseIndex("MacroParam", Index);
    return *MacroParams[Index];
  }

  int32_t IndexOfName(const std::string& Name) const;
  TStateParam& ParamByName(const std::string& Name) const { return Param(IndexOfName(Name)); }

  /// Makes this state an independent copy of Source, reusing this state's parameter objects.
  void CopyFrom(const TState& Source);
  void SetKeepPrevious(bool Value);
  void RestoreStart();
  void StoreStart();
  void ConvertToMacro();
  /// One simulated decision: one free parameter to an extreme (Extremes) or all at random.
  /// Draws from the global source.
  void Randomize(bool Extremes) { Randomize(Extremes, KartRandom::Global); }
  /// The same, drawing from Random.
  void Randomize(bool Extremes, TRandomStream& Random);
  void ResetScore() {
    Score = 0;
    TeamAvgScore = 0;
    ScoreFactor = 1;
    FutureCount = 1;
  }
  void AddScore(double X) { Score += X; }
  /// The score a future is weighed by: the team score when set, else the own score.
  static double WeighedScore(double Score, double TeamAvgScore) {
    return TeamAvgScore != 0 ? TeamAvgScore : Score;
  }
  /// S * S * ScoreFactor, S the weighed score counted from Floor (0, or the lowest score of the
  /// move when some are below 0: then a lower score always weighs less).
  double Weight(double Floor = 0) const {
    double S = WeighedScore(Score, TeamAvgScore);
    if (Floor < 0) S -= Floor;
    return S * S * ScoreFactor;
  }
  /// "(5, 0) #13": the initial decision in whole numbers and the future count.
  std::string DecisionText() const;
  bool HaveSameInitialDecision(const TState& Other) const;
  bool HaveSameFinalMacro(const TState& Other) const;

 private:
  [[noreturn]] static void RaiseIndex(const char* List, int32_t Index);
};
