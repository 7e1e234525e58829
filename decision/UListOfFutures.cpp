#include "decision/UListOfFutures.h"

#include <algorithm>
#include <utility>

#include "decision/USplineScan.h"

TListOfFutures::TListOfFutures(TFuturesOwner* AOwner) : Owner(AOwner) {}

TListOfFutures::~TListOfFutures() = default;

TState& TListOfFutures::Option(int32_t Index) const {
  if (Index < 0 || Index >= OptionCount()) RaiseListIndexError(Index);
  return *Options[Index];
}

void TListOfFutures::Decide(TState& State) {
  MergeFutures();
  BuildOptions();
  NormalizeOptions();
  AverageDecision(State);
  Averaged.clear();
  for (int32_t I = 0; I < State.FreeParamCount(); ++I) Averaged.push_back(State.FreeParam(I).Value);
  if (Owner && Owner->UsesRefined()) RefineDecision(State);
}

void TListOfFutures::BuildOptions() {
  for (auto& O : Options) Store.Recycle(std::move(O));
  Options.clear();
  // Scores below 0 (futures that went backwards round the road) are counted from the lowest, so
  // that squaring keeps their order: one that went backwards weighs less than one that stood.
  double Floor = 0;
  for (int32_t I = 0; I < Count(); ++I) {
    const TFutureStore::TScores S = Store.Scores(I);
    Floor = std::min(Floor, TState::WeighedScore(S.Score, S.TeamAvgScore));
  }
  for (int32_t I = 0; I < Count(); ++I) {
    TState& F = Future(I);
    TState* Opt = nullptr;
    for (auto& O : Options)
      if (F.HaveSameInitialDecision(*O)) {
        Opt = O.get();
        break;
      }
    if (!Opt) {
      std::unique_ptr<TState> Record = Store.NewRecord();
      Record->CopyFrom(F);
      Record->ResetScore();
      Opt = Record.get();
      Options.push_back(std::move(Record));
    }
    Opt->AddScore(F.Weight(Floor));
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
