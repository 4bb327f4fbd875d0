#include "chart/chart_painter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "chart/chart_binding.h"
#include "recording_canvas.h"
#include "telemetry/track_store.h"

namespace DuiLib {
namespace {

using test::RecordingCanvas;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

// The set-up chart on a plot of 160 x 40 pixels at (100, 50): x ticks every 50 px (minor every
// 10), y ticks every 10 px, so every position below is a whole pixel.
struct PaintedChart : ::testing::Test {
  PaintedChart() {
    binding.InitAccChart(&chart);
    chart.inset = {30, 10, 20, 5};
  }
  void PaintAll() {
    PaintChartBackground(chart, pos, 0xFF111111, 0xFF222222, canvas);
    PaintChartContent(chart, PlotRect(pos, chart.inset), canvas);
  }
  CChartModel chart;
  korvane::ChartBinding binding;
  const RECT pos{70, 40, 280, 95};  // plot: 100,50 .. 260,90
  RecordingCanvas canvas;
};

TEST(ChartPainter, BeforeTheSetUpNothingAtAllIsDrawn) {
  CChartModel chart;
  chart.AddCurve("c", 0);
  chart.curves[0].AddPoint(0, 0);
  chart.curves[0].AddPoint(1, 1);
  RecordingCanvas canvas;
  PaintChartBackground(chart, {0, 0, 100, 100}, 1, 2, canvas);
  PaintChartContent(chart, {0, 0, 100, 100}, canvas);
  EXPECT_THAT(canvas.ops, IsEmpty());
}

TEST(ChartPainter, PlotRectTakesTheInsetOffEachSide) {
  EXPECT_EQ(PlotRect({0, 0, 200, 100}, {10, 5, 10, 20}), (RECT{10, 5, 190, 80}));
}

TEST_F(PaintedChart, FillsTheControlThenThePlotArea) {
  PaintAll();
  EXPECT_THAT(canvas.Only("fill"),
              ElementsAre("fill 70,40,280,95 FF111111", "fill 100,50,260,90 FF222222"));
}

TEST_F(PaintedChart, DrawsFrameTicksAndAxisInOrderAfterLiftingTheClip) {
  PaintAll();
  const std::vector<std::string> want = {
      "save", "font Arial 16", "noclip", "pen FFFFFF w2 s0", "textcolor FFFFFF",
      "line 100,90 260,90", "line 100,50 260,50",
      // x ticks: major every 50 px (6 px long), minor every 10 px (3 px), both edges included
      "line 100,90 100,84", "line 100,50 100,56", "line 110,90 110,87", "line 110,50 110,53"};
  ASSERT_GE(canvas.ops.size(), want.size() + 2);
  EXPECT_EQ(std::vector<std::string>(canvas.ops.begin() + 2, canvas.ops.begin() + 2 + want.size()),
            want);
  EXPECT_THAT(canvas.ops, Contains("line 260,90 260,87"));  // minor tick on the right edge
  EXPECT_THAT(canvas.ops, Contains("line 250,90 250,84"));
  EXPECT_EQ(canvas.ops.back(), "restore");
}

TEST_F(PaintedChart, AxisZeroCarriesLabelsMinusSixToSixG) {
  canvas.textHeight = 15;
  PaintAll();
  EXPECT_THAT(canvas.Only("text "),
              ElementsAre("text 76,83 '-6G'", "text 76,73 '-3G'", "text 76,63 ' 0G'",
                          "text 76,53 ' 3G'", "text 76,43 ' 6G'"));
  // The axis line with its two end strokes towards the plot, then tick + label per major tick.
  const auto& ops = canvas.ops;
  const auto axis = std::find(ops.begin(), ops.end(), "pen FFFFFF w0 s0");
  ASSERT_NE(axis, ops.end());
  EXPECT_EQ(
      std::vector<std::string>(axis + 1, axis + 7),
      (std::vector<std::string>{"line 100,90 100,50", "line 100,90 106,90", "line 100,50 106,50",
                                "textcolor FFFFFF", "line 100,90 106,90", "text 76,83 '-6G'"}));
}

// A clip without G values: the notice in a box in the middle of the plot, and no curve from the
// store's zeros however many chunks come.
TEST_F(PaintedChart, ANoGValuesNoticeStandsInTheMiddleInsteadOfCurves) {
  korvane::CTrackStore store;
  std::vector<korvane::TelemetryRecord> zeros(100);
  for (std::size_t i = 0; i < zeros.size(); ++i) {
    zeros[i].valid = true;
    zeros[i].mediaTimeMs = static_cast<std::int32_t>(i) * 100;
  }
  korvane::LoadWholeTrack(zeros, store, 0, "");
  binding.ShowNoGValues("No G");
  binding.AppendAccData(&store, store.readyChunks());
  PaintAll();
  EXPECT_THAT(canvas.Only("text 164"), ElementsAre("text 164,62 'No G'"));
  EXPECT_THAT(canvas.ops, Contains("fill 160,61,200,79 D0202020"));
  EXPECT_EQ(chart.curves[0].PointCount(), 0u);

  binding.ResetAccChart();
  EXPECT_EQ(chart.notice, "");
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(chart.curves[0].PointCount(), 100u) << "the next clip has G values again";
}

TEST_F(PaintedChart, GridLinesSkipTheEdgesAndUseADottedPen) {
  chart.verticalGrid = 1;
  chart.horizontalGrid = 1;
  PaintAll();
  const auto& ops = canvas.ops;
  const auto grid = std::find(ops.begin(), ops.end(), "pen 808040 w1 s2");
  ASSERT_NE(grid, ops.end());
  EXPECT_EQ(
      std::vector<std::string>(grid + 1, grid + 7),
      (std::vector<std::string>{"line 150,90 150,50", "line 200,90 200,50", "line 250,90 250,50",
                                "line 100,80 260,80", "line 100,70 260,70", "line 100,60 260,60"}));
  EXPECT_EQ(*(grid + 7), "noclip");  // no more grid lines, and the curves are empty
}

TEST_F(PaintedChart, CurvesAreClippedPerSegmentBeforeTheClipIsLifted) {
  CCurve& x = *chart.FindCurve("XAcceleration");
  x.AddPoint(0, 2000);   // (100, 70)
  x.AddPoint(8, 6000);   // leaves at the top at x = 4 -> (140, 50)
  x.AddPoint(10, 7000);  // wholly above: skipped
  x.AddPoint(12, 3000);  // comes back in at x = 11.5 -> (215, 50) .. (220, 60)
  chart.FindCurve("YAcceleration")->AddPoint(1, 1000);  // one point: nothing
  PaintAll();
  const auto& ops = canvas.ops;
  const auto curve = std::find(ops.begin(), ops.end(), "pen 0000FF w1 s0");
  ASSERT_NE(curve, ops.end());
  EXPECT_EQ(std::vector<std::string>(curve + 1, curve + 4),
            (std::vector<std::string>{"line 100,70 140,50", "line 215,50 220,60", "noclip"}));
  EXPECT_THAT(ops, Not(Contains("pen 00FF00 w1 s0")));
}

TEST_F(PaintedChart, SegmentsRunningBackwardsAreDrawnLeftToRightLikeClippedOnes) {
  CCurve& x = *chart.FindCurve("XAcceleration");
  x.AddPoint(8, 2000);   // (180, 70)
  x.AddPoint(4, 1000);   // (140, 80), inside: whole
  x.AddPoint(-4, 3000);  // enters at x = 0, y = 2 -> (100, 70)
  PaintAll();
  const auto& ops = canvas.ops;
  const auto curve = std::find(ops.begin(), ops.end(), "pen 0000FF w1 s0");
  ASSERT_NE(curve, ops.end());
  EXPECT_EQ(std::vector<std::string>(curve + 1, curve + 3),
            (std::vector<std::string>{"line 140,80 180,70", "line 100,70 140,80"}));
}

TEST_F(PaintedChart, DegenerateRangesAndPlotsPaintWithoutTicks) {
  chart.SetXRange(5, 5);
  chart.SetYRange(2000, 2000);
  chart.FindCurve("XAcceleration")->AddPoint(5, 2000);
  chart.FindCurve("XAcceleration")->AddPoint(5, 2000);
  PaintChartContent(chart, {10, 10, 10, 10}, canvas);
  EXPECT_THAT(canvas.Only("text "), IsEmpty());
  chart.inset = {300, 300, 300, 300};  // larger than the control: an inside-out plot
  binding.InitAccChart(&chart);
  PaintAll();
  EXPECT_EQ(canvas.ops.back(), "restore");
}

}  // namespace
}  // namespace DuiLib
