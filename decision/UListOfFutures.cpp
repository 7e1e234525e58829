#include "decision/UListOfFutures.h"

#include <algorithm>

TListOfFutures::TListOfFutures(TFuturesOwner* AOwner) : Owner(AOwner) {}

TListOfFutures::~TListOfFutures() = default;

std::unique_ptr<TState> TListOfFutures::NewRecord() const {
  if (Spare.empty()) return std::make_unique<TState>();
  std::unique_ptr<TState> Record = std::move(Spare.back());
  Spare.pop_back();
  return Record;
}

namespace {

inline uint64_t Mix(uint64_t H, uint64_t V) {
  H ^= V + 0x9E3779B97F4A7C15ull + (H << 6) + (H >> 2);
  return H * 0xFF51AFD7ED558CCDull;
}

// The integers that decide whether two futures are the same: initial decision, end cell.
uint64_t ClassHash(TState& F) {
  uint64_t H = 0;
  for (TStateParam* P : F.FreeParams) H = Mix(H, static_cast<uint32_t>(P->IntValue));
  for (TStateParam* P : F.MacroParams) H = Mix(H, static_cast<uint32_t>(P->GridIndex()));
  return H;
}

bool SameCounts(const TState& A, const TState& B) {
  return A.FreeParamCount() == B.FreeParamCount() && A.ParamCount() == B.ParamCount();
}

}  // namespace

void TListOfFutures::AddFuture(const TState& State) {
  std::unique_ptr<TState> Record = NewRecord();
  Record->CopyFrom(State);
  Record->ConvertToMacro();
  Store(std::move(Record));
}

// Merging compares every future with the earlier ones. Doing it as the futures arrive, with a
// table of the classes seen, finds the same earliest member and lets a repeat drop everything
// but its scores; the scores themselves are combined by MergeFutures in the usual order.
void TListOfFutures::Store(std::unique_ptr<TState> Record) {
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
    Spare.push_back(std::move(Record));
  }
  Futures.PushBack(F);
}

int32_t TListOfFutures::FindOrEnterClass(TState& Record, int32_t Index) {
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

void TListOfFutures::RebuildClassTable(size_t MinSize) {
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

void TListOfFutures::Clear() {
  for (auto& R : Records) Spare.push_back(std::move(R));
  for (auto& R : RepeatRecords) Spare.push_back(std::move(R));
  Records.clear();
  RepeatRecords.clear();
  Futures.Truncate(0);
  ClassFirsts.clear();
  std::fill(ClassTable.begin(), ClassTable.end(), -1);
}

TState& TListOfFutures::Future(int32_t Index) const {
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

double TListOfFutures::FutureScore(int32_t Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  const TStoredFuture& F = Futures[Index];
  return F.Record ? F.Record->Score : F.Score;
}

void TListOfFutures::SetFutureTeamAvgScore(int32_t Index, double Value) {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  TStoredFuture& F = Futures[Index];
  (F.Record ? F.Record->TeamAvgScore : F.TeamAvgScore) = Value;
}

TState& TListOfFutures::Option(int32_t Index) const {
  if (Index < 0 || Index >= OptionCount()) RaiseListIndexError(Index);
  return *Options[Index];
}

void TListOfFutures::Decide(TState& State) {
  MergeFutures();
  BuildOptions();
  NormalizeOptions();
  AverageDecision(State);
  if (Owner && Owner->UsesRefined()) RefineDecision(State);
}

void TListOfFutures::DrawAll() {
  if (!Owner) return;
  for (int32_t I = 0; I < Count(); ++I) Owner->DrawFuture(I);
}

// Each future is merged into the earliest future of its class, found when it was stored. The
// merges run from the last future down, so the team scores are summed in the same order as
// by a scan that compares every future with every earlier one.
void TListOfFutures::MergeFutures() {
  const int32_t N = Count();
  if (N < 2) return;
  TState& First = *Futures[0].Record;
  for (int32_t I = 1; I < N; ++I) {
    const TState* F = Futures[I].Record;
    if (!F) continue;  // a repeat matches its class
    if (F->FreeParamCount() != First.FreeParamCount()) First.HaveSameInitialDecision(*F);
    if (F->ParamCount() != First.ParamCount()) First.HaveSameFinalMacro(*F);
  }

  for (int32_t I = N - 1; I >= 1; --I) {
    const TStoredFuture& From = Futures[I];
    if (From.First == I) continue;
    TState& Into = *Futures[From.First].Record;
    Into.Score = std::max(Into.Score, From.Record ? From.Record->Score : From.Score);
    Into.TeamAvgScore =
        Into.TeamAvgScore + (From.Record ? From.Record->TeamAvgScore : From.TeamAvgScore);
    Into.FutureCount = Into.FutureCount + 1;
  }

  int32_t Kept = 0;
  ClassFirsts.clear();
  for (int32_t I = 0; I < N; ++I) {
    if (Futures[I].First != I) continue;
    TState& F = *Futures[I].Record;
    F.TeamAvgScore = F.TeamAvgScore / F.FutureCount;
    if (SameCounts(F, First)) ClassFirsts.push_back(Kept);
    Futures[Kept] = Futures[I];
    Futures[Kept].First = Kept;
    ++Kept;
  }
  Futures.Truncate(Kept);
  for (auto& R : RepeatRecords) Spare.push_back(std::move(R));
  RepeatRecords.clear();
  RebuildClassTable(ClassTable.size());
}

void TListOfFutures::BuildOptions() {
  for (auto& O : Options) Spare.push_back(std::move(O));
  Options.clear();
  for (int32_t I = 0; I < Count(); ++I) {
    TState& F = Future(I);
    TState* Opt = nullptr;
    for (auto& O : Options)
      if (F.HaveSameInitialDecision(*O)) {
        Opt = O.get();
        break;
      }
    if (!Opt) {
      std::unique_ptr<TState> Record = NewRecord();
      Record->CopyFrom(F);
      Record->ResetScore();
      Opt = Record.get();
      Options.push_back(std::move(Record));
    }
    Opt->AddScore(F.Weight());
    Opt->FutureCount = Opt->FutureCount + F.FutureCount;
  }
}

void TListOfFutures::NormalizeOptions() {
  // Starting at 0.1 keeps the total above 0, so the shares add up to a little less than 1.
  double Total = 0.1;
  for (auto& O : Options) Total += O->Score;
  for (auto& O : Options) O->Score = O->Score / Total;
}

void TListOfFutures::AverageDecision(TState& State) {
  for (int32_t I = 0; I < State.FreeParamCount(); ++I) {
    TStateParam& P = State.FreeParam(I);
    P.SetValue(0);
    for (auto& O : Options) P.SetValue(P.Value + O->FreeParam(I).RoundedValue() * O->Score);
  }
}

void TListOfFutures::RefineDecision(TState& State) {
  std::vector<std::pair<double, double>> Points;
  for (int32_t P = 0; P < State.FreeParamCount(); ++P) {
    Points.clear();
    for (auto& O : Options) {
      const double V = O->FreeParam(P).RoundedValue();
      if (V != 0) Points.emplace_back(V, O->Score);
    }
    // No option gives a point: there is no curve to follow, so the averaged decision stands.
    if (Points.empty()) continue;
    std::stable_sort(Points.begin(), Points.end(),
                     [](const auto& A, const auto& B) { return A.first < B.first; });
    TStateParam& Param = State.FreeParam(P);
    const double R = std::max(Param.Value, 0.1);
    const TSplineScan Scan = ScanSpline(Points, R);
    const double W = Scan.MaxY < 0.001 ? 0.1 : Scan.YAtR / Scan.MaxY;
    Param.SetValue(W * R + (1 - W) * Scan.XAtMax);
  }
}

TListOfFutures::TSplineScan TListOfFutures::ScanSpline(
    const std::vector<std::pair<double, double>>& Points, double R) {
  TSplineScan Result{0, -9999, 0};
  if (Points.size() < 2) return Result;
  const size_t Last = Points.size() - 1;
  double PrevX = Points[0].first;
  for (size_t K = 0; K < Last; ++K) {
    const auto& P0 = Points[K];
    const auto& P1 = Points[K + 1];
    const auto& Before = Points[K == 0 ? 0 : K - 1];
    const auto& After = Points[std::min(K + 2, Last)];
    const double T0x = (P1.first - Before.first) * 0.5;
    const double T0y = (P1.second - Before.second) * 0.5;
    const double T1x = (After.first - P0.first) * 0.5;
    const double T1y = (After.second - P0.second) * 0.5;
    for (int I = 0; I <= 5; ++I) {
      const double T = I / 5.0;
      const double T2 = T * T;
      const double T3 = T2 * T;
      const double H00 = 2 * T3 - 3 * T2 + 1;
      const double H10 = T3 - 2 * T2 + T;
      const double H01 = -2 * T3 + 3 * T2;
      const double H11 = T3 - T2;
      const double X = H00 * P0.first + H10 * T0x + H01 * P1.first + H11 * T1x;
      const double Y = H00 * P0.second + H10 * T0y + H01 * P1.second + H11 * T1y;
      if (Y > Result.MaxY) {
        Result.MaxY = Y;
        Result.XAtMax = X;
      }
      if (PrevX <= R && R <= X) Result.YAtR = Y;
      PrevX = X;
    }
  }
  return Result;
}
