// The collision pass finds its pairs by sorting boxes; it must work on exactly the pairs the
// pairwise loop would, in the same order, also while pushes move players into new pairs. A
// player at debug level Collisions (no picture here, so nothing is drawn) keeps the pairwise
// loop, which gives the reference.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "tests/world/WorldTestKit.h"

namespace {

struct TCrowd {
  TTrack2D Track;
  std::vector<std::unique_ptr<TWalker>> Walkers;

  TCrowd(int N, uint64_t Seed, bool Pairwise, double Spread) {
    std::mt19937_64 Random(Seed);
    auto U = [&](double Lo, double Hi) {
      return std::uniform_real_distribution<double>(Lo, Hi)(Random);
    };
    for (int I = 0; I < N; ++I) {
      Walkers.push_back(std::make_unique<TWalker>());
      TWalker& W = *Walkers.back();
      W.SetPosition(U(0, Spread), U(0, Spread), U(-3, 3));
      W.SetVelX(U(-20, 20));
      W.SetVelY(U(-20, 20));
      W.SetSize(U(3, 9));
      Track.AddPlayer(W);
    }
    if (Pairwise) Walkers[0]->DebugLevel = TDebugLevel::Collisions;
    Walkers[0]->BeginFuture();  // a simulated future pays for its hits
  }
  std::vector<uint64_t> Bits() const {
    std::vector<uint64_t> B;
    for (const auto& W : Walkers)
      for (double V : {W->PosX(), W->PosY(), W->VelX(), W->VelY(), W->State().ScoreFactor})
        B.push_back(std::bit_cast<uint64_t>(V));
    return B;
  }
};

TEST(BroadPhase, WorksOnThePairwiseLoopsPairsInItsOrder) {
  for (int N : {2, 5, 20, 40}) {
    for (double Spread : {15.0, 60.0, 400.0}) {
      for (uint64_t Seed = 1; Seed <= 15; ++Seed) {
        TCrowd Sorted(N, Seed, false, Spread), Pairwise(N, Seed, true, Spread);
        if (Seed == 15) {  // a lost player: NaN boxes are never skipped
          Sorted.Walkers[N / 2]->SetPosX(std::numeric_limits<double>::quiet_NaN());
          Pairwise.Walkers[N / 2]->SetPosX(std::numeric_limits<double>::quiet_NaN());
        }
        for (int Round = 0; Round < 4; ++Round) {
          Sorted.Track.ResolveCollisions();
          Pairwise.Track.ResolveCollisions();
          ASSERT_EQ(Sorted.Bits(), Pairwise.Bits())
              << N << " players over " << Spread << " px, seed " << Seed << ", round " << Round;
        }
      }
    }
  }
}

}  // namespace
