// Futures imagined on any number of threads are the futures of the plain passes: every stored
// future's end state, move by move, hashes the same as on the reference path (one thread, the
// players themselves), and the traces drawn during the passes land on the same pixels. An error
// on a worker comes back to the caller.

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "agents/UKart.h"
#include "tests/perf/ExactnessRecord.h"
#include "tools/UStartUpRace.h"

namespace {

// The bits of a double; every NaN alike, as the processor lets the order of a sum's operands,
// which the compiler picks, decide which of two NaNs comes out.
uint64_t Bits(double X) { return X == X ? std::bit_cast<uint64_t>(X) : 0x7FF8000000000000ull; }

// FNV-1a over the bits of every stored future of every kart, in the order stored.
uint64_t HashFutures(const TKartList& Karts) {
  uint64_t H = 0xcbf29ce484222325ull;
  auto Add = [&H](uint64_t V) {
    for (int B = 0; B < 64; B += 8) H = (H ^ ((V >> B) & 0xFF)) * 0x100000001b3ull;
  };
  for (const auto& K : Karts) {
    Add(static_cast<uint64_t>(K->Futures->Count()));
    for (int32_t I = 0; I < K->Futures->Count(); ++I) {
      const TState& F = K->Futures->Future(I);
      for (const auto& P : F.Params) {
        Add(Bits(P->Value));
        Add(Bits(P->PrevValue));
        Add(static_cast<uint32_t>(P->IntValue));
      }
      Add(Bits(F.Score));
      Add(Bits(F.ScoreFactor));
    }
  }
  return H;
}

struct TRun {
  std::vector<uint64_t> Hashes;  ///< one per move
  std::vector<uint32_t> Pixels;  ///< the picture after the last move
};

// Threads 0 means the reference path. Setup may place the karts before the first move.
TRun RunMoves(int KartCount, int Threads, TDebugLevel Level, int Futures, TSimd Simd = TSimd::Best,
              const std::function<void(TKartList&)>& Setup = {}, bool RaceDirection = false) {
  TStartUpRace World(KartCount, ExactnessSeed);
  if (Setup) Setup(World.Karts);
  World.Track.RaceDirection = RaceDirection;
  World.Track.FixedPasses = Futures;
  World.Track.PlainPasses = Threads == 0;
  World.Track.Threads = Threads;
  World.Track.Simd = Simd;
  for (auto& K : World.Karts) K->DebugLevel = Level;
  TRun R;
  World.Track.FuturesImagined = [&] { R.Hashes.push_back(HashFutures(World.Karts)); };
  for (int Move = 0; Move < 6; ++Move) {
    World.Track.Redraw();
    World.Track.ThinkAndMove(100, 100);
  }
  for (int X = 0; X < World.Picture.Width(); ++X)
    for (int Y = 0; Y < World.Picture.Height(); ++Y) R.Pixels.push_back(World.Picture.Pixel(X, Y));
  return R;
}

// Every vector width this processor runs, on one thread and on several, against the plain
// passes; 8 karts bunched at the start collide in many of their futures.
TEST(ThreadsExactness, EveryWidthAndThreadCountStoresTheReferenceFutures) {
  for (int Karts : {1, 5, 8}) {
    const TRun Reference = RunMoves(Karts, 0, TDebugLevel::Nothing, 250);
    ASSERT_EQ(Reference.Hashes.size(), 6u);
    for (TSimd Simd : {TSimd::Scalar, TSimd::Sse2, TSimd::Avx2, TSimd::Avx512}) {
      if (!SimdSupported(Simd)) continue;
      for (int Threads : {1, 2, 4})
        EXPECT_EQ(RunMoves(Karts, Threads, TDebugLevel::Nothing, 250, Simd).Hashes,
                  Reference.Hashes)
            << Karts << " karts, " << SimdName(Simd) << " on " << Threads << " threads";
    }
  }
}

// Poses the lanes handle apart: corners beyond 2^30 pixels and NaN (the outline the direct way),
// a kart allowed to run off the road, and a pile of karts heading -0 (a push turns the angle to
// +0, whose sine has the other sign).
TEST(ThreadsExactness, ExtremePosesThinkInLanesAsInThePlainPasses) {
  const auto Setup = [](TKartList& Karts) {
    Karts[0]->SetPosition(3e9, -3e9, 1);
    Karts[0]->SetCanRunOut(true);
    Karts[1]->SetPosition(std::numeric_limits<double>::quiet_NaN(), 300, 0);
    for (int I = 2; I < 5; ++I) Karts[I]->SetPosition(200, 460, -0.0);
    Karts[4]->SetSize(4);
  };
  const TRun Reference = RunMoves(5, 0, TDebugLevel::Nothing, 200, TSimd::Best, Setup);
  for (TSimd Simd : {TSimd::Scalar, TSimd::Sse2, TSimd::Avx2, TSimd::Avx512}) {
    if (!SimdSupported(Simd)) continue;
    EXPECT_EQ(RunMoves(5, 2, TDebugLevel::Nothing, 200, Simd, Setup).Hashes, Reference.Hashes)
        << SimdName(Simd);
  }
}

// Racing the lap direction, futures score their progress round the road: karts facing either
// way, one astride the start line (its futures cross it both ways), one off the road.
TEST(ThreadsExactness, RacingTheLapDirectionThinksInLanesAsInThePlainPasses) {
  const auto Setup = [](TKartList& Karts) {
    Karts[1]->SetPosition(200, 480, -std::numbers::pi / 2);  // backwards, behind kart #1
    Karts[2]->SetPosition(230, 462, std::numbers::pi / 2);   // on the line
    Karts[3]->SetPosition(5, 5, 0);
    Karts[3]->SetCanRunOut(true);
  };
  const TRun Reference = RunMoves(5, 0, TDebugLevel::Nothing, 200, TSimd::Best, Setup, true);
  // The progress is counted: the futures are not those scored by their path.
  EXPECT_NE(RunMoves(5, 0, TDebugLevel::Nothing, 200, TSimd::Best, Setup).Hashes, Reference.Hashes);
  for (TSimd Simd : {TSimd::Scalar, TSimd::Sse2, TSimd::Avx2, TSimd::Avx512}) {
    if (!SimdSupported(Simd)) continue;
    EXPECT_EQ(RunMoves(5, 2, TDebugLevel::Nothing, 200, Simd, Setup, true).Hashes, Reference.Hashes)
        << SimdName(Simd);
  }
}

// Nobody reads the futures one by one here, so the lanes keep classes only (a repeat counted,
// not stored): every kart's real state after every move is still that of the plain passes,
// with karts piled up, far off the picture and NaN among them.
TEST(ThreadsExactness, ClassesOnlyMoveTheKartsAsThePlainPasses) {
  const auto RealStates = [](bool Plain, int KartCount, bool Extreme) {
    TStartUpRace World(KartCount, ExactnessSeed);
    if (Extreme) {
      World.Karts[0]->SetPosition(3e9, -3e9, 1);
      World.Karts[1]->SetPosition(std::numeric_limits<double>::quiet_NaN(), 300, 0);
    }
    World.Track.FixedPasses = 400;
    World.Track.PlainPasses = Plain;
    World.Track.Threads = 2;
    std::vector<uint64_t> Hashes;
    for (int Move = 0; Move < 8; ++Move) {
      World.Track.ThinkAndMove(100, 100);
      uint64_t H = 0xcbf29ce484222325ull;
      for (const auto& K : World.Karts) {
        for (const auto& P : K->RealState->Params) H = (H ^ Bits(P->Value)) * 0x100000001b3ull;
        H = (H ^ static_cast<uint64_t>(K->Futures->Count())) * 0x100000001b3ull;
      }
      Hashes.push_back(H);
    }
    return Hashes;
  };
  EXPECT_EQ(RealStates(false, 1, false), RealStates(true, 1, false)) << "1 kart";
  EXPECT_EQ(RealStates(false, 8, false), RealStates(true, 8, false)) << "8 karts";
  EXPECT_EQ(RealStates(false, 8, true), RealStates(true, 8, true)) << "8 karts, extreme poses";
}

// Traces are drawn by the calling thread after the passes, pass by pass, whatever the width: the
// picture matches. A lone kart's futures often end early; the third kart starts off the road.
TEST(ThreadsExactness, TracesDrawnOnThreadsMatchThePlainPasses) {
  const auto Setup = [](TKartList& Karts) {
    if (Karts.size() > 2) Karts[2]->SetPosition(30, 30, 0);
  };
  for (int Karts : {1, 3}) {
    const TRun Reference = RunMoves(Karts, 0, TDebugLevel::Traces, 60, TSimd::Best, Setup);
    for (TSimd Simd : {TSimd::Scalar, TSimd::Avx2, TSimd::Avx512}) {
      if (!SimdSupported(Simd)) continue;
      const TRun Threaded = RunMoves(Karts, 3, TDebugLevel::Traces, 60, Simd, Setup);
      EXPECT_EQ(Threaded.Hashes, Reference.Hashes) << Karts << " karts, " << SimdName(Simd);
      ASSERT_EQ(Threaded.Pixels.size(), Reference.Pixels.size());
      EXPECT_TRUE(Threaded.Pixels == Reference.Pixels)
          << "trace pixels differ, " << Karts << " karts, " << SimdName(Simd);
    }
  }
}

// Under the clock the threads take passes until the deadline, never fewer than the minimum.
TEST(ThreadsExactness, BudgetedMovesKeepTheMinimum) {
  TStartUpRace World(3, 5);
  World.Track.Threads = 2;
  World.Track.ThinkAndMove(1, 100);
  EXPECT_GE(World.Track.LastPasses, 200);
  for (const auto& K : World.Karts) EXPECT_GT(K->Futures->Count(), 0);
}

// A pass that fails on a worker thread raises its error on the calling thread, leaves every
// player in real mode, and the next move thinks as usual.
struct TFailingKart : TKart {
  static inline std::atomic<bool> Broken{false};
  using TKart::TKart;
  bool CanThinkOnCopies() const override { return true; }
  std::unique_ptr<TPlayer> NewThinkingCopy() const override {
    return std::make_unique<TFailingKart>(0, 0, 0);
  }
  void Advance(int32_t TimeStepMs) override {
    if (Simulating && Broken) throw EModelError("broken pass");
    TKart::Advance(TimeStepMs);
  }
};

TEST(ThreadsExactness, AnErrorOnAWorkerReachesTheCaller) {
  TStartUpRace World(0, 3);
  TFailingKart Kart(200, 460, 1.5);
  World.Track.AddPlayer(Kart);
  World.Track.Threads = 2;
  World.Track.FixedPasses = 300;
  TFailingKart::Broken = true;
  EXPECT_THROW(World.Track.ThinkAndMove(100, 100), EModelError);
  EXPECT_FALSE(Kart.Simulating);
  TFailingKart::Broken = false;
  World.Track.ThinkAndMove(100, 100);
  EXPECT_EQ(World.Track.LastPasses, 300);
  EXPECT_GT(Kart.Futures->Count(), 0);
}

}  // namespace
