// The move's time budget on a clock of the test's own: the time held for drawing traces goes
// back to thinking as soon as they are off.

#include <gtest/gtest.h>

#include "agents/UKart.h"
#include "tests/kart/KartWorld.h"

namespace {

// Every reading costs a millisecond: the budget buys a fixed number of readings, whatever the
// machine.
class TSteppingClock : public TClock {
 public:
  double NowMs() override { return Ms += 1; }

 private:
  double Ms = 1000;
};

}  // namespace

TEST(Budget, TracesOnHoldTimeForDrawingAndOffGiveItBack) {
  // Long enough a budget that its readings, not the minimum of 200, decide the passes.
  constexpr int32_t BudgetMs = 4000;
  TKartWorld W;
  TSteppingClock Clock;
  W.Track.Clock = &Clock;
  W.Track.Threads = 1;  // one reader of the clock: the same readings every time
  W.Track.Seconds = 1;
  const auto Move = [&](TDebugLevel Level) {
    W.Kart.DebugLevel = Level;
    W.Track.ThinkAndMove(BudgetMs, 100);
    return W.Track.LastPasses;
  };
  const int32_t Before = Move(TDebugLevel::Nothing);
  EXPECT_GT(Before, BudgetMs * 8 / 10);  // 90 % of the budget's readings, one per pass

  // The first move with traces learns what drawing a pass costs; the next keeps that free.
  Move(TDebugLevel::Traces);
  const int32_t During = Move(TDebugLevel::Traces);
  EXPECT_LT(During, Before * 3 / 4);
  EXPECT_GE(During, 200);

  // Off again: every reading goes to thinking, as before.
  EXPECT_EQ(Move(TDebugLevel::Nothing), Before);
  EXPECT_EQ(Move(TDebugLevel::Nothing), Before);
}
