#include "chart/chart_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chart/chart_binding.h"

namespace DuiLib {
namespace {

// Counts the repaints the model asks for.
class CountingChart : public CChartModel {
 public:
  void RequestRepaint() override { ++repaints; }
  int repaints = 0;
};

// A chart as the start-up worker leaves it: x 0..16, y 0..4000 raw, three empty curves.
struct SetUpChart : ::testing::Test {
  SetUpChart() {
    binding.InitAccChart(&chart);
    chart.repaints = 0;
  }
  CCurve& X() { return *chart.FindCurve("XAcceleration"); }
  CountingChart chart;
  korvane::ChartBinding binding;
};

TEST(CChartModel, AddCurveRejectsAxesOutsideZeroToThree) {
  CChartModel chart;
  EXPECT_EQ(chart.AddCurve("a", -1), -1);
  EXPECT_EQ(chart.AddCurve("a", 4), -1);
  EXPECT_EQ(chart.AddCurve("a", 0), 0);
  EXPECT_EQ(chart.AddCurve("b", 3), 1);
  ASSERT_EQ(chart.curves.size(), 2u);
  const CCurve& b = chart.curves[1];
  EXPECT_EQ(b.axis, 3);
  EXPECT_EQ(b.chart, &chart);
  EXPECT_EQ(b.color, 0xFF0000u);
  EXPECT_EQ(b.width, 1);
  EXPECT_EQ(b.style, 0);
}

TEST(CChartModel, FindCurveMatchesTheExactNameAndTheFirstOfTwins) {
  CChartModel chart;
  chart.AddCurve("Speed", 0);
  chart.AddCurve("Speed", 1);
  ASSERT_NE(chart.FindCurve("Speed"), nullptr);
  EXPECT_EQ(chart.FindCurve("Speed")->axis, 0);
  EXPECT_EQ(chart.FindCurve("speed"), nullptr);
  EXPECT_EQ(chart.FindCurve("Spee"), nullptr);
  EXPECT_EQ(chart.FindCurve(std::string("Speed\0x", 7)), nullptr);
}

TEST_F(SetUpChart, StartsWithXZeroToSixteenAndYZeroToFourThousandAsZeroToFour) {
  EXPECT_EQ(chart.ready, 1);
  EXPECT_EQ(chart.xLo, 0);
  EXPECT_EQ(chart.xHi, 16);
  EXPECT_EQ(chart.xExp, 0);
  EXPECT_EQ(chart.yLo[0], 0);
  EXPECT_EQ(chart.yHi[0], 4);
  EXPECT_EQ(chart.yExp[0], 3);
  ASSERT_EQ(chart.curves.size(), 3u);
  EXPECT_EQ(chart.curves[0].name, "XAcceleration");
  EXPECT_EQ(chart.curves[0].color, 0x0000FFu);
  EXPECT_EQ(chart.curves[1].color, 0x00FF00u);
  EXPECT_EQ(chart.curves[2].color, 0x00FFFFu);
  EXPECT_EQ(ComputeTickStep(chart.xLo, chart.xHi).step, 5);
}

TEST_F(SetUpChart, DataWithinTheRangeKeepTheYRange) {
  X().AddPoint(0, 0);
  X().AddPoint(1, 4000);
  chart.FitYRange(0.8);
  EXPECT_EQ(chart.yDataLo[0], 0);
  EXPECT_EQ(chart.yDataHi[0], 4000);
  EXPECT_EQ(chart.repaints, 1);
}

TEST_F(SetUpChart, DataAboveTheRangeWidenItByAnEighthOfTheCoveredSpanEachSide) {
  X().AddPoint(0, 1800);
  X().AddPoint(1, 4400);
  chart.FitYRange(0.8);
  EXPECT_DOUBLE_EQ(chart.yDataLo[0], -550);
  EXPECT_DOUBLE_EQ(chart.yDataHi[0], 4950);
  EXPECT_DOUBLE_EQ(chart.yLo[0], -0.55);
  EXPECT_DOUBLE_EQ(chart.yHi[0], 4.95);
  EXPECT_EQ(chart.yExp[0], 3);
  EXPECT_EQ(chart.repaints, 1);
}

TEST_F(SetUpChart, DataBelowTheRangeWidenItDownwards) {
  X().AddPoint(0, -1000);
  X().AddPoint(1, 100);
  chart.FitYRange(0.8);
  EXPECT_DOUBLE_EQ(chart.yDataLo[0], -1625);  // centre 1500, half-width 5000 * 1.25 / 2
  EXPECT_DOUBLE_EQ(chart.yDataHi[0], 4625);
}

TEST_F(SetUpChart, OnlyAxisZeroCurvesWidenTheYRange) {
  chart.curves.push_back(CCurve("other", 1, &chart));
  chart.curves.back().AddPoint(0, 0);
  chart.curves.back().AddPoint(1, 99999);
  chart.FitYRange(0.8);
  EXPECT_EQ(chart.yDataHi[0], 4000);
  EXPECT_EQ(chart.repaints, 0);  // no axis-0 points at all
}

TEST_F(SetUpChart, FlatDataOrABadFillOnlyRepaintOrDoNothing) {
  X().AddPoint(0, 9000);
  X().AddPoint(1, 9000);
  chart.FitYRange(0.8);
  EXPECT_EQ(chart.yDataHi[0], 4000);
  EXPECT_EQ(chart.repaints, 1);
  X().AddPoint(2, 10000);
  chart.FitYRange(0);
  chart.FitYRange(-1);
  chart.FitYRange(std::nan(""));
  EXPECT_EQ(chart.yDataHi[0], 4000);
  EXPECT_EQ(chart.repaints, 1);
}

TEST_F(SetUpChart, XRangeGrowsExactlyToTheDataOnceItPassesSixteen) {
  X().AddPoint(0, 1);
  X().AddPoint(15.8, 1);
  chart.FitXRange();
  EXPECT_EQ(chart.xHi, 16);
  X().AddPoint(16.2, 1);
  chart.FitXRange();
  EXPECT_DOUBLE_EQ(chart.xHi, 16.2);
  EXPECT_EQ(chart.xLo, 0);
  EXPECT_EQ(chart.repaints, 2);
}

TEST_F(SetUpChart, XRangeScalesOnceTheDataPassAThousand) {
  X().AddPoint(0, 1);
  X().AddPoint(7200, 1);
  chart.FitXRange();
  EXPECT_DOUBLE_EQ(chart.xHi, 7.2);
  EXPECT_EQ(chart.xExp, 3);
}

TEST_F(SetUpChart, OnePointChangesNoRangeButRepaints) {
  X().AddPoint(30, 9000);
  chart.FitXRange();
  chart.FitYRange(0.8);
  EXPECT_EQ(chart.xHi, 16);
  EXPECT_EQ(chart.yDataHi[0], 4000);
  EXPECT_EQ(chart.repaints, 2);
}

TEST(CChartModel, FittingWithoutPointsDoesNotEvenRepaint) {
  CountingChart chart;
  chart.FitXRange();
  chart.FitYRange(0.8);
  chart.AddCurve("empty", 0);
  chart.FitXRange();
  chart.FitYRange(0.8);
  EXPECT_EQ(chart.repaints, 0);
}

TEST(CChartModel, LinkedAxesFollowAxisZero) {
  CChartModel chart;
  chart.yDataLo[0] = 0;
  chart.yDataHi[0] = 4000;
  chart.yDataLo[1] = 10;
  chart.yDataHi[1] = 110;
  chart.UpdateAxisLinks();
  EXPECT_DOUBLE_EQ(chart.linkFactor[1], 0.025);
  EXPECT_DOUBLE_EQ(chart.linkOffset[1], 10);
  EXPECT_EQ(chart.linkFactor[0], 1);
  chart.SetYRange(0, 4000);
  EXPECT_DOUBLE_EQ(chart.yLo[1], 10);
  EXPECT_DOUBLE_EQ(chart.yHi[1], 110);
  EXPECT_EQ(chart.yExp[1], 0);
}

TEST(CChartModel, AZeroAxisZeroSpanKeepsTheLinks) {
  CChartModel chart;
  chart.yDataLo[0] = chart.yDataHi[0] = 5;
  chart.UpdateAxisLinks();
  for (int k = 1; k < kChartAxes; ++k) {
    EXPECT_EQ(chart.linkFactor[k], 1);
    EXPECT_EQ(chart.linkOffset[k], 0);
  }
}

TEST_F(SetUpChart, ClearAccCurveEmptiesOnlyThatCurve) {
  X().AddPoint(0, 1);
  chart.FindCurve("YAcceleration")->AddPoint(0, 1);
  binding.ClearAccCurve("XAcceleration");
  binding.ClearAccCurve("NoSuchCurve");
  EXPECT_EQ(X().PointCount(), 0u);
  EXPECT_EQ(chart.FindCurve("YAcceleration")->PointCount(), 1u);
}

TEST_F(SetUpChart, ResetEmptiesTheCurvesKeepsTheRangesAndRepaints) {
  for (CCurve& c : chart.curves) {
    c.AddPoint(0, 100);
    c.AddPoint(40, 8000);
  }
  chart.FitXRange();
  chart.FitYRange(0.8);
  binding.nextX = 40.2;
  binding.ResetAccChart();
  EXPECT_EQ(binding.nextX, 0);
  for (const CCurve& c : chart.curves) EXPECT_EQ(c.PointCount(), 0u);
  EXPECT_EQ(chart.xHi, 40);
  EXPECT_GT(chart.yHi[0], 4);
  EXPECT_EQ(chart.repaints, 3);
}

TEST(ChartBinding, WithoutAChartEveryOperationDoesNothing) {
  korvane::ChartBinding binding;
  binding.InitAccChart(nullptr);
  binding.ResetAccChart();
  binding.ClearAccCurve("XAcceleration");
  EXPECT_EQ(binding.chart, nullptr);
}

}  // namespace
}  // namespace DuiLib
