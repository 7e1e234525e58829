#include "decision/UFutureStore.h"

#include <algorithm>

namespace {

inline uint64_t Mix(uint64_t H, uint64_t V) {
  H ^= V + 0x9E3779B97F4A7C15ull + (H << 6) + (H >> 2);
  return H * 0xFF51AFD7ED558CCDull;
}

// The integers that decide whether two futures are the same: initial decision, end cell. A
// future's end cell is known from its live state, before it is copied and snapped.
uint64_t ClassHash(const TState& F) {
  uint64_t H = 0;
  for (const TStateParam* P : F.FreeParams) H = Mix(H, static_cast<uint32_t>(P->IntValue));
  for (const TStateParam* P : F.MacroParams)
    H = Mix(H, static_cast<uint32_t>(P->SnappedGridIndex()));
  return H;
}

// Whether the live State falls in the class of the stored (snapped) Record; counts match.
bool SameClass(TState& Record, const TState& State) {
  for (int32_t I = 0; I < State.FreeParamCount(); ++I)
    if (Record.FreeParams[I]->IntValue != State.FreeParams[I]->IntValue) return false;
  for (int32_t I = 0; I < State.MacroParamCount(); ++I)
    if (Record.MacroParams[I]->GridIndex() != State.MacroParams[I]->SnappedGridIndex())
      return false;
  return true;
}

bool SameCounts(const TState& A, const TState& B) {
  return A.FreeParamCount() == B.FreeParamCount() && A.ParamCount() == B.ParamCount();
}

}  // namespace

std::unique_ptr<TState> TFutureStore::NewRecord() {
  if (Spare.empty()) return std::make_unique<TState>();
  std::unique_ptr<TState> Record = std::move(Spare.back());
  Spare.pop_back();
  return Record;
}

int32_t TFutureStore::Add(const TState& State) { return AddLive(State, true); }

int32_t TFutureStore::AddSnapped(const TState& State) { return AddLive(State, false); }

int32_t TFutureStore::AddLive(const TState& State, bool Snap) {
  // Most futures repeat an earlier one: those are never copied.
  if (Count() > 0 && SameCounts(State, *Futures[0].Record) &&
      State.MacroParamCount() == Futures[0].Record->MacroParamCount()) {
    const int32_t First = FindClass(State);
    if (First >= 0) {
      AddRepeat(First, {State.Score, State.TeamAvgScore, State.ScoreFactor, State.FutureCount});
      return First;
    }
  }
  std::unique_ptr<TState> Record = NewRecord();
  Record->CopyFrom(State);
  if (Snap) Record->ConvertToMacro();
  Store(std::move(Record));
  return Futures[Count() - 1].First;
}

int32_t TFutureStore::FindOrAddClass(const TState& State, bool& New) {
  const int32_t Before = Count();
  New = false;
  if (Before > 0 && SameCounts(State, *Futures[0].Record) &&
      State.MacroParamCount() == Futures[0].Record->MacroParamCount()) {
    const int32_t First = FindClass(State);
    if (First >= 0) return First;
  }
  std::unique_ptr<TState> Record = NewRecord();
  Record->CopyFrom(State);
  Record->ConvertToMacro();
  Store(std::move(Record));
  const int32_t First = Futures[Count() - 1].First;
  // A record that cannot be compared with the first one stays whole, as in AddLive.
  New = First == Before;
  return First;
}

void TFutureStore::AddRepeat(int32_t First, const TScores& S) {
  Futures.PushBack({nullptr, First, S.FutureCount, S.Score, S.TeamAvgScore, S.ScoreFactor});
}

TFutureStore::TScores TFutureStore::Scores(int32_t Index) const {
  const TStoredFuture& F = Futures[Index];
  if (F.Record)
    return {F.Record->Score, F.Record->TeamAvgScore, F.Record->ScoreFactor, F.FutureCount};
  return {F.Score, F.TeamAvgScore, F.ScoreFactor, F.FutureCount};
}

int32_t TFutureStore::FindClass(const TState& State) const {
  if (ClassTable.empty()) return -1;
  const size_t Mask = ClassTable.size() - 1;
  for (size_t Slot = ClassHash(State) & Mask;; Slot = (Slot + 1) & Mask) {
    const int32_t First = ClassTable[Slot];
    if (First < 0) return -1;
    if (SameClass(*Futures[First].Record, State)) return First;
  }
}

// Merging compares every future with the earlier ones. Doing it as the futures arrive, with a
// table of the classes seen, finds the same earliest member and lets a repeat drop everything
// but its scores; the scores themselves are combined by Merge in the usual order.
void TFutureStore::Store(std::unique_ptr<TState> Record) {
  const int32_t Index = Count();
  // A future that does not match future 0 cannot be compared; it stays whole so that the
  // merge raises the state's error, as it would for any mismatched pair.
  const int32_t First = Index == 0 || SameCounts(*Record, *Futures[0].Record)
                            ? FindOrEnterClass(*Record, Index)
                            : Index;
  TStoredFuture F{nullptr, First, Record->FutureCount, 0, 0, 0};
  if (First == Index) {
    F.Record = Record.get();
    Records.push_back(std::move(Record));
  } else {
    F.Score = Record->Score;
    F.TeamAvgScore = Record->TeamAvgScore;
    F.ScoreFactor = Record->ScoreFactor;
    Recycle(std::move(Record));
  }
  Futures.PushBack(F);
}

int32_t TFutureStore::FindOrEnterClass(TState& Record, int32_t Index) {
  if (ClassTable.size() < 2 * (ClassFirsts.size() + 1)) RebuildClassTable(2 * ClassTable.size());
  const size_t Mask = ClassTable.size() - 1;
  for (size_t Slot = ClassHash(Record) & Mask;; Slot = (Slot + 1) & Mask) {
    const int32_t First = ClassTable[Slot];
    if (First < 0) {
      ClassTable[Slot] = Index;
      ClassFirsts.push_back(Index);
      return Index;
    }
    TState& R = *Futures[First].Record;
    if (R.HaveSameInitialDecision(Record) && R.HaveSameFinalMacro(Record)) return First;
  }
}

void TFutureStore::RebuildClassTable(size_t MinSize) {
  // A power of two at least half empty.
  size_t Size = 64;
  while (Size < MinSize || Size < 2 * (ClassFirsts.size() + 1)) Size *= 2;
  ClassTable.assign(Size, -1);
  const size_t Mask = Size - 1;
  for (int32_t First : ClassFirsts) {
    size_t Slot = ClassHash(*Futures[First].Record) & Mask;
    while (ClassTable[Slot] >= 0) Slot = (Slot + 1) & Mask;
    ClassTable[Slot] = First;
  }
}

void TFutureStore::Clear() {
  for (auto& R : Records) Recycle(std::move(R));
  for (auto& R : RepeatRecords) Recycle(std::move(R));
  Records.clear();
  RepeatRecords.clear();
  Futures.Truncate(0);
  ClassFirsts.clear();
  std::fill(ClassTable.begin(), ClassTable.end(), -1);
}

TState& TFutureStore::Future(int32_t Index) {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  TStoredFuture& F = Futures[Index];
  if (!F.Record) {
    std::unique_ptr<TState> Record = NewRecord();
    Record->CopyFrom(*Futures[F.First].Record);
    Record->Score = F.Score;
    Record->TeamAvgScore = F.TeamAvgScore;
    Record->ScoreFactor = F.ScoreFactor;
    Record->FutureCount = F.FutureCount;
    F.Record = Record.get();
    RepeatRecords.push_back(std::move(Record));
  }
  return *F.Record;
}

double TFutureStore::Score(int32_t Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  const TStoredFuture& F = Futures[Index];
  return F.Record ? F.Record->Score : F.Score;
}

void TFutureStore::SetTeamAvgScore(int32_t Index, double Value) {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  TStoredFuture& F = Futures[Index];
  (F.Record ? F.Record->TeamAvgScore : F.TeamAvgScore) = Value;
}

// Each future is merged into the earliest future of its class, found when it was stored. The
// merges run from the last future down, so the team scores are summed in the same order as
// by a scan that compares every future with every earlier one.
void TFutureStore::Merge() {
  const int32_t N = Count();
  if (N < 2) return;
  CheckComparable();
  for (int32_t I = N - 1; I >= 1; --I) {
    const TStoredFuture& From = Futures[I];
    if (From.First == I) continue;
    TState& Into = *Futures[From.First].Record;
    Into.Score = std::max(Into.Score, From.Record ? From.Record->Score : From.Score);
    Into.TeamAvgScore =
        Into.TeamAvgScore + (From.Record ? From.Record->TeamAvgScore : From.TeamAvgScore);
    Into.FutureCount = Into.FutureCount + 1;
  }
  KeepDistinct();
}

void TFutureStore::CheckComparable() const {
  TState& First = *Futures[0].Record;
  for (int32_t I = 1; I < Count(); ++I) {
    const TState* F = Futures[I].Record;
    if (!F) continue;  // a repeat matches its class
    if (F->FreeParamCount() != First.FreeParamCount()) First.HaveSameInitialDecision(*F);
    if (F->ParamCount() != First.ParamCount()) First.HaveSameFinalMacro(*F);
  }
}

void TFutureStore::KeepDistinct() {
  const TState& First = *Futures[0].Record;
  int32_t Kept = 0;
  ClassFirsts.clear();
  for (int32_t I = 0; I < Count(); ++I) {
    if (Futures[I].First != I) continue;
    TState& F = *Futures[I].Record;
    F.TeamAvgScore = F.TeamAvgScore / F.FutureCount;
    if (SameCounts(F, First)) ClassFirsts.push_back(Kept);
    Futures[Kept] = Futures[I];
    Futures[Kept].First = Kept;
    ++Kept;
  }
  Futures.Truncate(Kept);
  for (auto& R : RepeatRecords) Recycle(std::move(R));
  RepeatRecords.clear();
  RebuildClassTable(ClassTable.size());
}
