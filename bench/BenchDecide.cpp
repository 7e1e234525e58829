// The real decision of one kart from N stored futures: merge, options, shares, refinement.

#include <benchmark/benchmark.h>

#include <memory>
#include <numbers>
#include <vector>

#include "agents/UKart.h"
#include "decision/UListOfFutures.h"
#include "decision/UState.h"

namespace {

class TBenchOwner final : public TFuturesOwner {
 public:
  bool UsesRefined() const override { return true; }
};

/// A real kart's parameters, end points on a 10-pixel grid.
std::unique_ptr<TState> MakeKartState() {
  const TKart Kart(0, 0, 0);
  auto S = std::make_unique<TState>();
  S->CopyFrom(*Kart.RealState);
  S->ParamByName("PosX").Precision = 10;
  S->ParamByName("PosY").Precision = 10;
  return S;
}

/// The end states of N futures: one of the kart's six initial decisions with later decisions
/// on top, end points spread over some 400 grid cells, scores like distances travelled.
std::vector<std::unique_ptr<TState>> MakeEnds(const TState& Real, int64_t N) {
  RandomSeed(42);
  std::vector<std::unique_ptr<TState>> Ends;
  for (int64_t I = 0; I < N; ++I) {
    auto Sim = std::make_unique<TState>();
    Sim->CopyFrom(Real);
    Sim->Randomize(true);
    Sim->Randomize(false);
    Sim->Param(2).SetValue(100 + 200 * RandomUniform());
    Sim->Param(3).SetValue(100 + 200 * RandomUniform());
    Sim->Score = 50 + 250 * RandomUniform();
    Ends.push_back(std::move(Sim));
  }
  return Ends;
}

void BM_Decide(benchmark::State& St) {
  TBenchOwner Owner;
  TListOfFutures List(&Owner);
  auto Real = MakeKartState();
  const auto Ends = MakeEnds(*Real, St.range(0));
  for (auto _ : St) {
    St.PauseTiming();  // storing the futures belongs to the move, not to the decision
    List.Clear();
    for (const auto& E : Ends) List.AddFuture(*E);
    St.ResumeTiming();
    List.Decide(*Real);
    benchmark::DoNotOptimize(Real->FreeParam(0).Value);
  }
  St.SetItemsProcessed(St.iterations() * St.range(0));
  St.counters["distinct"] = List.Count();
  St.counters["options"] = List.OptionCount();
}

}  // namespace

BENCHMARK(BM_Decide)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
