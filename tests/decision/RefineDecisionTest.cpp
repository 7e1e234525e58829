// The refinement: a Catmull-Rom curve through the options' (decision, share) points.

#include <gtest/gtest.h>

#include "DecisionFixtures.h"
#include "decision/USplineScan.h"

namespace {

using TPoints = std::vector<std::pair<double, double>>;

void AddAll(TListOfFutures& List, std::initializer_list<TFutureDraft> Drafts) {
  for (const TFutureDraft& Draft : Drafts) List.AddFuture(*MakeFuture(Draft));
}

}  // namespace

TEST(RefineDecision, ScanFollowsTheCurveThroughThePoints) {
  // Two points: the curve is the straight line between them.
  auto Scan = ScanSpline({{-5, 0.2}, {5, 0.6}}, 2);
  EXPECT_DOUBLE_EQ(Scan.XAtMax, 5);
  EXPECT_DOUBLE_EQ(Scan.MaxY, 0.6);
  EXPECT_NEAR(Scan.YAtR, 0.5392, 1e-12);  // the sample at x = 3.48, the first past R

  EXPECT_EQ(ScanSpline({{-5, 0.2}, {5, 0.6}}, 6).YAtR, -9999);
  // R on a sample: the later of the two samples around it counts.
  EXPECT_NEAR(ScanSpline({{-5, 0.2}, {5, 0.6}}, -5).YAtR, 0.2608, 1e-12);
  Scan = ScanSpline({{5, 0.7}}, 2);
  EXPECT_EQ(Scan.XAtMax, 0);
  EXPECT_EQ(Scan.YAtR, -9999);
  EXPECT_EQ(Scan.MaxY, 0);

  // Evenly spaced points of the parabola y = 1 - x^2 / 16: with Catmull-Rom tangents the
  // middle segment is the parabola itself, peaking between its samples at x = -0.2 and 0.2.
  const TPoints Parabola = {{-3, 0.4375}, {-1, 0.9375}, {1, 0.9375}, {3, 0.4375}};
  Scan = ScanSpline(Parabola, 0.5);
  EXPECT_NEAR(Scan.MaxY, 1 - 0.04 / 16, 1e-12);
  EXPECT_NEAR(std::abs(Scan.XAtMax), 0.2, 1e-12);
  EXPECT_NEAR(Scan.YAtR, 1 - 0.36 / 16, 1e-12);  // at x = 0.6
}

TEST(RefineDecision, TwoOptionsMoveTowardsTheBetterOne) {
  TFakeOwner Owner;
  Owner.Refined = true;
  TListOfFutures List(&Owner);
  // Shares 0.6 for +5 and 0.2 for -5 (weights 0.3 and 0.1 of a total 0.5), listed out of
  // x order so the points must be sorted; the average is 2.
  AddAll(List, {{.Turn = 5, .Score = 1, .Factor = 0.3}, {.Turn = -5, .Score = 1, .Factor = 0.1}});
  auto Real = MakeDecider();
  List.Decide(*Real);
  EXPECT_NEAR(List.Option(0).Score, 0.6, 1e-12);
  EXPECT_NEAR(List.Option(1).Score, 0.2, 1e-12);
  const double W = 0.5392 / 0.6;
  EXPECT_NEAR(Real->FreeParam(0).Value, W * 2 + (1 - W) * 5, 1e-9);
  EXPECT_NEAR(Real->FreeParam(0).Value, 2.304, 1e-6);
  // No option changed "PushPower": no point, and the averaged 0 stands.
  EXPECT_EQ(Real->FreeParam(1).Value, 0);

  Owner.Refined = false;
  List.Clear();
  AddAll(List, {{.Turn = 5, .Score = 1, .Factor = 0.3}, {.Turn = -5, .Score = 1, .Factor = 0.1}});
  List.Decide(*Real);
  EXPECT_NEAR(Real->FreeParam(0).Value, 2, 1e-12);
}

TEST(RefineDecision, SinglePointGivesATenthOfTheAverage) {
  TFakeOwner Owner;
  Owner.Refined = true;
  TListOfFutures List(&Owner);
  auto Real = MakeDecider();
  AddAll(List, {{.Turn = 5, .Score = 2}});
  List.Decide(*Real);
  EXPECT_NEAR(Real->FreeParam(0).Value, 0.1 * (5 * 4 / 4.1), 1e-12);

  List.Clear();
  AddAll(List, {{.Turn = -5, .Score = 2}});
  List.Decide(*Real);
  EXPECT_NEAR(Real->FreeParam(0).Value, 0.1 * 0.1, 1e-12);  // R is at least 0.1
}

// When the averaged value lies outside the points, the curve has no height there and the
// decision is thrown to the bound beyond the curve's peak.
TEST(RefineDecision, AverageOutsideThePointsEndsAtTheFarBound) {
  TFakeOwner Owner;
  Owner.Refined = true;
  TListOfFutures List(&Owner);
  auto Real = MakeDecider();
  // A strong turn keeps the power average (about 9.2) below both power points, 50 and 180.
  AddAll(List, {{.Turn = 5, .Score = 3}, {.Power = 50, .Score = 1}, {.Power = 180, .Score = 0.5}});
  List.Decide(*Real);
  EXPECT_EQ(Real->FreeParam(1).Value, 180);
  EXPECT_NEAR(Real->FreeParam(0).Value, 0.1 * (5 * 9 / 10.35), 1e-12);

  // Both power points negative: R = 0.1 lies above them, the peak is at -50.
  List.Clear();
  AddAll(List,
         {{.Turn = 5, .Score = 3}, {.Power = -180, .Score = 0.5}, {.Power = -50, .Score = 1}});
  List.Decide(*Real);
  EXPECT_EQ(Real->FreeParam(1).Value, -180);
}
