#include "decision/UListOfFutures.h"

#include <algorithm>

TListOfFutures::TListOfFutures(TFuturesOwner* AOwner) : Owner(AOwner) {}

TListOfFutures::~TListOfFutures() = default;

std::unique_ptr<TState> TListOfFutures::NewRecord() {
  if (Spare.empty()) return std::make_unique<TState>();
  std::unique_ptr<TState> Record = std::move(Spare.back());
  Spare.pop_back();
  return Record;
}

void TListOfFutures::AddFuture(const TState& State) {
  std::unique_ptr<TState> Record = NewRecord();
  Record->CopyFrom(State);
  Record->ConvertToMacro();
  Futures.push_back(std::move(Record));
}

void TListOfFutures::Clear() {
  for (auto& F : Futures) Spare.push_back(std::move(F));
  Futures.clear();
}

TState& TListOfFutures::Future(int32_t Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  return *Futures[Index];
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

}  // namespace

// Each future is merged into the earliest future of its class (same initial decision, same end
// cell). Comparing every future with every earlier one would cost Count^2; a hash table keyed on
// the compared integers finds the earliest member in one probe, with the same result: merges
// are applied from the last future down, so the team scores are summed in the same order.
void TListOfFutures::MergeFutures() {
  const int32_t N = Count();
  if (N < 2) return;
  TState& First = *Futures[0];
  for (int32_t I = 1; I < N; ++I) {
    if (Futures[I]->FreeParamCount() != First.FreeParamCount())
      First.HaveSameInitialDecision(*Futures[I]);  // raises the count error
    if (Futures[I]->ParamCount() != First.ParamCount()) First.HaveSameFinalMacro(*Futures[I]);
  }

  size_t Size = 16;
  while (Size < static_cast<size_t>(N) * 2) Size *= 2;
  MergeTable.assign(Size, -1);
  ClassOf.resize(N);
  for (int32_t I = 0; I < N; ++I) {
    TState& F = *Futures[I];
    size_t Slot = ClassHash(F) & (Size - 1);
    for (;;) {
      const int32_t Rep = MergeTable[Slot];
      if (Rep < 0) {
        MergeTable[Slot] = I;
        ClassOf[I] = I;
        break;
      }
      TState& R = *Futures[Rep];
      if (R.HaveSameInitialDecision(F) && R.HaveSameFinalMacro(F)) {
        ClassOf[I] = Rep;
        break;
      }
      Slot = (Slot + 1) & (Size - 1);
    }
  }

  for (int32_t I = N - 1; I >= 1; --I) {
    if (ClassOf[I] == I) continue;
    TState& Into = *Futures[ClassOf[I]];
    const TState& From = *Futures[I];
    Into.Score = std::max(Into.Score, From.Score);
    Into.TeamAvgScore = Into.TeamAvgScore + From.TeamAvgScore;
    Into.FutureCount = Into.FutureCount + 1;
  }

  int32_t Kept = 0;
  for (int32_t I = 0; I < N; ++I) {
    if (ClassOf[I] == I)
      Futures[Kept++] = std::move(Futures[I]);
    else
      Spare.push_back(std::move(Futures[I]));
  }
  Futures.resize(Kept);
  for (auto& F : Futures) F->TeamAvgScore = F->TeamAvgScore / F->FutureCount;
}

void TListOfFutures::BuildOptions() {
  for (auto& O : Options) Spare.push_back(std::move(O));
  Options.clear();
  for (auto& FPtr : Futures) {
    TState& F = *FPtr;
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
