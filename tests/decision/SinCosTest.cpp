// The model's own sine and cosine against the C library's, and the random streams of futures.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "decision/UBase.h"
#include "decision/USinCos.h"

namespace {

// Within a few units of the last place of the library's value, over the angles a kart meets
// and far beyond, quadrant boundaries included; sin^2 + cos^2 stays 1.
TEST(SinCos, AgreesWithTheLibraryOverEveryQuadrant) {
  std::mt19937_64 Random(5);
  double Worst = 0;
  for (int Case = 0; Case < 200000; ++Case) {
    const double Range = Case % 4 == 0 ? 1e6 : Case % 4 == 1 ? 100 : 4;
    double X = std::uniform_real_distribution<double>(-Range, Range)(Random);
    if (Case % 7 == 0) X = (Case % 41 - 20) * (M_PI / 4);  // on and near quadrant edges
    double C, S;
    KartMath::SinCos(X, C, S);
    Worst = std::max({Worst, std::fabs(C - std::cos(X)), std::fabs(S - std::sin(X))});
    ASSERT_NEAR(C * C + S * S, 1.0, 1e-15) << X;
  }
  EXPECT_LT(Worst, 5e-16);
}

TEST(SinCos, ExactWhereTheKartStartsAndUndefinedOnlyForNonFinite) {
  double C, S;
  KartMath::SinCos(0.0, C, S);
  EXPECT_EQ(C, 1.0);
  EXPECT_EQ(S, 0.0);
  KartMath::SinCos(-0.0, C, S);
  EXPECT_TRUE(std::signbit(S)) << "sin(-0) is -0";
  KartMath::SinCos(std::numeric_limits<double>::infinity(), C, S);
  EXPECT_TRUE(std::isnan(C) && std::isnan(S));
  KartMath::SinCos(4e12, C, S);  // far out: less accurate, but still a sine and a cosine
  EXPECT_NEAR(C * C + S * S, 1.0, 1e-12);
  KartMath::SinCos(-1e300, C, S);
  EXPECT_TRUE(std::isnan(C) && std::isnan(S));
}

// Every future draws from its own stream: the same (seed, move, player, pass) repeats its
// draws, any other one of them gives another stream; the draws lie on the 2^-53 grid in [0, 1).
TEST(FutureStreams, DependOnEveryPartOfTheirSeedAndStayOnTheGrid) {
  std::set<uint64_t> Seeds;
  for (uint64_t Run : {0ull, 1ull})
    for (int64_t Move : {0, 1, 1000})
      for (int32_t Player : {0, 1, 19})
        for (int32_t Pass : {0, 1, 65535}) Seeds.insert(FutureSeed(Run, Move, Player, Pass));
  EXPECT_EQ(Seeds.size(), 2u * 3 * 3 * 3);

  TRandomStream A, B;
  A.Seed(FutureSeed(7, 3, 2, 41));
  B.Seed(FutureSeed(7, 3, 2, 41));
  for (int I = 0; I < 1000; ++I) {
    const double U = A.Next();
    ASSERT_EQ(U, B.Next());
    ASSERT_TRUE(U >= 0 && U < 1);
    ASSERT_EQ(U * 0x1p53, std::floor(U * 0x1p53));
  }
}

}  // namespace
