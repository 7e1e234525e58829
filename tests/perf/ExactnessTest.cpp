// Speed work must not change a single result. A few seeded moves on the built-in circuit at the
// window's start-up settings, with a fixed number of futures so that the clock plays no part,
// are compared bit for bit with the real states recorded from the plain scalar path on one
// thread (ExactnessRecord.h). Any change to the random draws, the physics, the outline, the
// collisions, the merge or the decision shows up here as the first value that differs.
//
// Setting KARTS_PRINT_EXACTNESS=1 prints the present results in the record's format. Use it
// only when a result is meant to change, never to make this test pass.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "agents/UKart.h"
#include "decision/UBase.h"
#include "decision/USinCos.h"
#include "io/UDefaultCircuit.h"
#include "io/UPicture.h"
#include "tests/perf/ExactnessRecord.h"
#include "tools/UStartUpRace.h"
#include "world/UTrack2D.h"

namespace {

// The window's start-up race with a fixed number of futures, so that the clock plays no part.
struct TStartUpWorld : TStartUpRace {
  TStartUpWorld(int KartCount, uint64_t Seed) : TStartUpRace(KartCount, Seed) {
    Track.FixedPasses = ExactnessFutures;
  }
};

TRecordedKart Observe(const TKart& K) {
  TRecordedKart R{};
  const TState& S = *K.RealState;
  for (int I = 0; I < ExactnessParamCount; ++I) {
    R.Value[I] = S.Param(I).Value;
    R.PrevValue[I] = S.Param(I).PrevValue;
    R.IntValue[I] = S.Param(I).IntValue;
  }
  R.Score = S.Score;
  R.TeamAvgScore = S.TeamAvgScore;
  R.ScoreFactor = S.ScoreFactor;
  R.FutureCount = S.FutureCount;
  R.GridSize = K.GetGridSize();
  R.DistinctFutures = K.Futures->Count();
  return R;
}

// Bit patterns, so that -0 against 0 or one ulp of difference counts.
void ExpectSame(double Want, double Got, const std::string& What) {
  EXPECT_EQ(std::bit_cast<uint64_t>(Want), std::bit_cast<uint64_t>(Got))
      << What << ": recorded " << Want << " (" << std::hexfloat << Want << std::defaultfloat
      << "), now " << Got << " (" << std::hexfloat << Got << std::defaultfloat << ")";
}

void ExpectSame(const TRecordedKart& Want, const TRecordedKart& Got, const TState& Names,
                const std::string& Where) {
  for (int I = 0; I < ExactnessParamCount; ++I) {
    const std::string P = Where + " " + Names.Param(I).Name;
    ExpectSame(Want.Value[I], Got.Value[I], P + ".Value");
    ExpectSame(Want.PrevValue[I], Got.PrevValue[I], P + ".PrevValue");
    EXPECT_EQ(Want.IntValue[I], Got.IntValue[I]) << P << ".IntValue";
  }
  ExpectSame(Want.Score, Got.Score, Where + " Score");
  ExpectSame(Want.TeamAvgScore, Got.TeamAvgScore, Where + " TeamAvgScore");
  ExpectSame(Want.ScoreFactor, Got.ScoreFactor, Where + " ScoreFactor");
  EXPECT_EQ(Want.FutureCount, Got.FutureCount) << Where << " FutureCount";
  EXPECT_EQ(Want.GridSize, Got.GridSize) << Where << " grid size";
  EXPECT_EQ(Want.DistinctFutures, Got.DistinctFutures) << Where << " distinct futures";
}

void Print(const char* Name, const std::vector<TRecordedKart>& Records) {
  std::printf("inline const TRecordedKart %s[] = {\n", Name);
  for (const TRecordedKart& R : Records) {
    std::printf("    {{");
    for (double V : R.Value) std::printf("%a, ", V);
    std::printf("},\n     {");
    for (double V : R.PrevValue) std::printf("%a, ", V);
    std::printf("},\n     {");
    for (int32_t V : R.IntValue) std::printf("%d, ", V);
    std::printf("},\n     %a, %a, %a, %d, %d, %d},\n", R.Score, R.TeamAvgScore, R.ScoreFactor,
                R.FutureCount, R.GridSize, R.DistinctFutures);
  }
  std::printf("};\n");
}

// Runs the moves and compares kart by kart, move by move; after the first move that differs the
// rest is only run (for printing), so that the report names where the results part.
template <size_t N>
void RunAndCompare(const char* Name, int KartCount, const TRecordedKart (&Recorded)[N]) {
  TStartUpWorld World(KartCount, ExactnessSeed);
  ASSERT_EQ(World.Karts.front()->RealState->ParamCount(), ExactnessParamCount);
  EXPECT_EQ(N, static_cast<size_t>(ExactnessMoves * KartCount)) << "record of the wrong length";
  std::vector<TRecordedKart> Seen;
  for (int Move = 1; Move <= ExactnessMoves; ++Move) {
    World.Track.ThinkAndMove(100, 100);
    ASSERT_EQ(World.Track.LastPasses, ExactnessFutures);
    for (int K = 0; K < KartCount; ++K) {
      Seen.push_back(Observe(*World.Karts[K]));
      if (Seen.size() > N || ::testing::Test::HasFailure()) continue;
      ExpectSame(Recorded[Seen.size() - 1], Seen.back(), *World.Karts[K]->RealState,
                 "move " + std::to_string(Move) + " kart " + std::to_string(K + 1));
    }
  }
  if (std::getenv("KARTS_PRINT_EXACTNESS")) Print(Name, Seen);
}

TEST(Exactness, OneKartMovesAsRecorded) { RunAndCompare("OneKartRecord", 1, OneKartRecord); }

TEST(Exactness, ThreeCollidingKartsMoveAsRecorded) {
  RunAndCompare("ThreeKartsRecord", 3, ThreeKartsRecord);
}

// The record must describe moves that exercise the rules it guards: karts that travel, futures
// that merge, and colliding karts pushed apart rather than left on top of each other.
TEST(Exactness, RecordCoversMovingAndCollidingKarts) {
  const TRecordedKart& Last = OneKartRecord[ExactnessMoves - 1];
  EXPECT_GT(Last.Score, 0);
  EXPECT_LT(Last.DistinctFutures, ExactnessFutures);
  const TRecordedKart& A = ThreeKartsRecord[3 * ExactnessMoves - 3];
  const TRecordedKart& B = ThreeKartsRecord[3 * ExactnessMoves - 2];
  EXPECT_TRUE(A.Value[2] != B.Value[2] || A.Value[3] != B.Value[3]);
}

// The outline from the formula as written, the model's cos and sin of each summed angle. The kart's
// outline is worked out faster, from cos and sin of "Angle" that it shares with the time step; it
// must give the same pixels for every pose, also where a point lies (almost) half-way between two.
TEST(Exactness, KartOutlineIsTheFormulaForEveryPose) {
  constexpr double Factors[4] = {-0.1, 0.1, 0.8, -0.8};
  TKart Kart(200, 460, std::numbers::pi / 2);
  std::mt19937_64 Random(11);
  auto Uniform = [&](double Lo, double Hi) {
    return std::uniform_real_distribution<double>(Lo, Hi)(Random);
  };
  int Mismatches = 0;
  for (int Case = 0; Case < 150000 && Mismatches < 5; ++Case) {
    const double Range = Case % 10 == 0 ? 1e7 : Case % 3 == 0 ? 1e3 : 40;
    double A = Uniform(-Range, Range);
    const double Size = Case % 2 ? Uniform(3, 45) : static_cast<double>(4 + Case % 37);
    double X = Uniform(-10, 810), Y = Uniform(-10, 610);
    const int Point = Case % 4;
    if (Case % 5 == 1) {
      // A point put half-way between two pixels, as nearly as doubles allow.
      const double Phi = A + Factors[Point] * std::numbers::pi;
      X = std::floor(X) + 0.5 - KartMath::Cos(Phi) * Size;
      Y = std::floor(Y) + 0.5 - KartMath::Sin(Phi) * Size;
    } else if (Case % 5 == 2) {
      // Angles whose point lies exactly on the axis: cos 1 and sin 0, an exact tie in x.
      A = -(Factors[Point] * std::numbers::pi);
      X = std::floor(X) + 0.5 - Size;
    }
    Kart.SetPosX(X);
    Kart.SetPosY(Y);
    Kart.SetAngle(A);
    Kart.SetSize(Size);
    Kart.UpdateShape();
    ASSERT_EQ(Kart.Shape.size(), 4u);
    for (int I = 0; I < 4; ++I) {
      const double Phi = A + Factors[I] * std::numbers::pi;
      const TPoint Want{RoundEven(KartMath::Cos(Phi) * Size + X),
                        RoundEven(KartMath::Sin(Phi) * Size + Y)};
      if (Kart.Shape[I].x == Want.x && Kart.Shape[I].y == Want.y) continue;
      ++Mismatches;
      ADD_FAILURE() << "point " << I << " of the pose " << std::hexfloat << X << ", " << Y
                    << ", angle " << A << ", size " << Size << std::defaultfloat << ": ("
                    << Kart.Shape[I].x << ", " << Kart.Shape[I].y << ") instead of (" << Want.x
                    << ", " << Want.y << ")";
    }
  }
}

}  // namespace
