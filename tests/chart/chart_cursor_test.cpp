// The chart and the clip's time: which point a moment or a mouse column falls on, the binding's
// cursor, hover values and click time, and how the marks are painted.
#include "chart/chart_cursor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "chart/chart_binding.h"
#include "chart/chart_math.h"
#include "chart/chart_painter.h"
#include "recording_canvas.h"
#include "telemetry/track_store.h"

namespace DuiLib {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Points at x 0, 0.2, 0.4 … with the times given (−1: none).
CCurve CurveWithTimes(const std::vector<std::int32_t>& times) {
  CCurve curve("XAcceleration", 0, nullptr);
  for (std::size_t i = 0; i < times.size(); ++i) curve.AddPoint(0.2 * i, 2000, times[i]);
  return curve;
}

TEST(ChartCursor, NearestTimedPointToAnX) {
  const CCurve curve = CurveWithTimes({0, -1, 2000, 3000});
  struct Case {
    double x;
    int index;
  };
  for (const Case c : {Case{-5, 0}, Case{0.09, 0}, Case{0.19, 0}, Case{0.21, 2}, Case{0.5, 2},
                       Case{0.51, 3}, Case{100, 3}}) {
    EXPECT_EQ(NearestTimedPoint(curve, c.x), c.index) << c.x;
  }
  EXPECT_EQ(NearestTimedPoint(curve, std::nan("")), -1);
  EXPECT_EQ(NearestTimedPoint(CurveWithTimes({-1, -1}), 0.2), -1) << "no timed point to offer";
  EXPECT_EQ(NearestTimedPoint(CurveWithTimes({}), 0), -1);
}

TEST(ChartCursor, PointShownAtAMomentReachesOneStepPastTheLast) {
  const CCurve curve = CurveWithTimes({1000, 2000, -1, 3000});
  struct Case {
    std::int64_t ms;
    int index;
  };
  for (const Case c : {Case{0, -1}, Case{999, -1}, Case{1000, 0}, Case{1999, 0}, Case{2500, 1},
                       Case{3000, 3}, Case{4000, 3}, Case{4001, -1}}) {
    EXPECT_EQ(PointShownAt(curve, c.ms), c.index) << c.ms;
  }
  const CCurve single = CurveWithTimes({5000});
  EXPECT_EQ(PointShownAt(single, 6000), 0);
  EXPECT_EQ(PointShownAt(single, 6001), -1);
  EXPECT_EQ(PointShownAt(CurveWithTimes({-1}), 0), -1);
}

TEST(ChartCursor, RawXAtPixelInvertsThePaintersMapping) {
  const RECT plot{100, 50, 260, 90};
  const PixelMap map(plot, 0, 16, 0, 1);
  for (const double x : {0.0, 3.2, 8.0, 16.0}) {
    const int px = map.DataToPixel(x, 0).x;
    EXPECT_NEAR(RawXAtPixel(plot, 0, 16, 0, px), x, 0.1) << x;
  }
  EXPECT_DOUBLE_EQ(RawXAtPixel(plot, 1, 4, 3, 100), 1000.0) << "scaled by 10^3";
  EXPECT_DOUBLE_EQ(RawXAtPixel({5, 0, 5, 10}, 2, 9, 0, 7), 2.0) << "a plot of no width";
  EXPECT_DOUBLE_EQ(AccelerationInG(2000), 0.0);
  EXPECT_DOUBLE_EQ(AccelerationInG(3000), 3.0);
}

// A chart model that counts the repaints it is asked for.
struct CountingChart : CChartModel {
  void RequestRepaint() override { ++repaints; }
  int repaints = 0;
};

// The set-up chart with 20 track points, one a second, point 5 without a media time; plot
// 100..260 for x 0 … 16 (10 px a unit, 2 px a point).
struct TimedChart : ::testing::Test {
  TimedChart() {
    binding.InitAccChart(&chart);
    for (int i = 0; i < 20; ++i) {
      korvane::TelemetryRecord r;
      r.valid = true;
      r.accelX = 2000 + 100 * i;
      r.accelY = 2000;
      r.accelZ = 2333;
      r.mediaTimeMs = i == 5 ? -1 : i * 1000;
      store.AppendNext(r);
    }
    store.MarkReady(1);
    binding.AppendAccData(&store, store.readyChunks());
    chart.plotRect = {100, 50, 260, 90};
  }
  CountingChart chart;
  korvane::ChartBinding binding;
  korvane::CTrackStore store;
};

TEST_F(TimedChart, CurvePointsCarryTheirMediaTime) {
  for (const CCurve& curve : chart.curves) {
    ASSERT_EQ(curve.ts.size(), 20u);
    EXPECT_EQ(curve.ts[4], 4000);
    EXPECT_EQ(curve.ts[5], -1);
  }
}

TEST_F(TimedChart, TheCursorStandsOnThePointShownAndRepaintsOnlyWhenItMoves) {
  binding.SetCursor(7.4);  // point 7, x 1.4
  EXPECT_DOUBLE_EQ(chart.cursorX, 7 * 0.2);
  const int repaints = chart.repaints;
  binding.SetCursor(7.9);
  EXPECT_EQ(chart.repaints, repaints) << "still point 7";
  binding.SetCursor(5.5);  // point 5 has no time: point 4 is still shown
  EXPECT_DOUBLE_EQ(chart.cursorX, 4 * 0.2);
  for (const double none : {-1.0, 0.0 - 0.001, 30.0, std::nan("")}) {
    binding.SetCursor(none);
    EXPECT_TRUE(std::isnan(chart.cursorX)) << none;
  }
}

TEST_F(TimedChart, HoverShowsTheValuesInGAndAClickGivesTheTimeOfThePointUnderTheMouse) {
  // Column 100 + 10 × 1.4 = 114: point 7, x 2700 raw = +2.10 G.
  binding.HoverAt(114);
  EXPECT_DOUBLE_EQ(chart.hoverX, 1.4);
  EXPECT_EQ(chart.hoverText, "X +2.10 G  Y +0.00 G  Z +1.00 G");
  EXPECT_EQ(binding.TimeAtPixel(114), 7000);
  // Column 110 is point 5, which has no moment: its timed neighbour is taken.
  EXPECT_EQ(binding.TimeAtPixel(110), 4000);
  // Outside the plot, nothing.
  binding.HoverAt(99);
  EXPECT_TRUE(std::isnan(chart.hoverX));
  EXPECT_EQ(chart.hoverText, "");
  EXPECT_EQ(binding.TimeAtPixel(261), -1);
  binding.HoverAt(114);
  binding.EndHover();
  EXPECT_TRUE(std::isnan(chart.hoverX));
}

TEST_F(TimedChart, AResetTakesTheMarksAwayWithTheCurves) {
  binding.SetCursor(3);
  binding.HoverAt(114);
  binding.ResetAccChart();
  EXPECT_TRUE(std::isnan(chart.cursorX));
  EXPECT_TRUE(std::isnan(chart.hoverX));
  EXPECT_EQ(chart.hoverText, "");
  binding.SetCursor(3);
  EXPECT_TRUE(std::isnan(chart.cursorX)) << "an empty chart has no point to stand on";
  EXPECT_EQ(binding.TimeAtPixel(114), -1);
}

TEST_F(TimedChart, EventMarksShowTheirTextUnderTheMouseGiveTheirMomentAndOutliveResets) {
  using korvane::DriveEventKind;
  binding.SetEventMarks({{7000, DriveEventKind::Braking, "Hard braking · 0.80 G · 00:00:07"},
                         {15000, DriveEventKind::Impact, "Impact · 2.50 G · 00:00:15"}});
  // Three pixels beside the braking mark (column 114): its text, and a click goes to its moment.
  binding.HoverAt(117);
  EXPECT_DOUBLE_EQ(chart.hoverX, 1.4);
  EXPECT_EQ(chart.hoverText, "Hard braking · 0.80 G · 00:00:07");
  EXPECT_EQ(binding.TimeAtPixel(117), 7000);
  // Away from the marks the point's own values and moment.
  binding.HoverAt(124);
  EXPECT_EQ(chart.hoverText, "X +3.60 G  Y +0.00 G  Z +1.00 G");
  EXPECT_EQ(binding.TimeAtPixel(124), 12000);

  test::RecordingCanvas canvas;
  chart.hoverX = std::nan("");
  PaintMarks(chart, chart.plotRect, canvas);
  EXPECT_THAT(canvas.Only("line"), ElementsAre("line 114,90 114,50", "line 130,90 130,50"));
  EXPECT_THAT(canvas.Only("fill"),
              ElementsAre("fill 110,50,118,58 FFD93025", "fill 126,50,134,58 FF8E24AA"));

  // The resets between moments of one file keep the marks; only new marks replace them.
  binding.ResetAccChart();
  EXPECT_EQ(chart.eventMarks.size(), 2u);
  binding.SetEventMarks({});
  EXPECT_TRUE(chart.eventMarks.empty());
}

TEST_F(TimedChart, AStretchIsABandOverThePointsItHoldsBehindTheCurves) {
  // Points are 2 px apart from column 100, one a second; the curve reaches 19 s.
  for (const auto& [from, to, fill] : std::initializer_list<std::tuple<int, int, std::string>>{
           {3000, 12000, "fill 106,50,124,90 50E8B04A"},
           {18000, 60000, "fill 136,50,138,90 50E8B04A"},  // as far as the curve has come
           {19000, 19000, "fill 138,50,139,90 50E8B04A"},  // one point: a column
           {3500, 3900, ""},                               // no point inside
           {-1, -1, ""}}) {
    binding.SetStretch(from, to);
    test::RecordingCanvas canvas;
    PaintChartContent(chart, chart.plotRect, canvas);
    // Behind the curves: the band is the first thing drawn after the font.
    EXPECT_EQ(canvas.Only("fill").empty() ? "" : canvas.ops.at(2), fill) << from;
  }
}

TEST(ChartMarks, CursorIsASolidLineAndHoverADottedOneWithItsBox) {
  CChartModel chart;
  korvane::ChartBinding binding;
  binding.InitAccChart(&chart);
  const RECT plot{100, 50, 260, 90};
  test::RecordingCanvas canvas;
  PaintMarks(chart, plot, canvas);
  EXPECT_THAT(canvas.ops, IsEmpty()) << "no marks: nothing";

  chart.cursorX = 8;  // x range 0 … 16: the middle
  chart.hoverX = 15;
  chart.hoverText = "X +0.10 G";
  PaintMarks(chart, plot, canvas);
  EXPECT_THAT(canvas.Only("line"), ElementsAre("line 180,90 180,50", "line 250,90 250,50"));
  EXPECT_THAT(canvas.Only("pen"), ElementsAre("pen 00A5FF w2 s0", "pen FFFFFF w1 s2"));
  // The box would leave the plot on the right of the line, so it goes on its left.
  const int width = canvas.TextWidth(chart.hoverText) + 8;
  EXPECT_THAT(canvas.Only("text "),
              ElementsAre("text " + std::to_string(250 - 6 - width + 4) + ",57 'X +0.10 G'"));

  canvas.ops.clear();
  chart.cursorX = 17;  // beyond the visible range
  chart.hoverX = std::nan("");
  PaintMarks(chart, plot, canvas);
  EXPECT_THAT(canvas.ops, IsEmpty());
}

}  // namespace
}  // namespace DuiLib
