#include "chart/chart_binding.h"

#include <gtest/gtest.h>

#include "sample_track.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

using DuiLib::CChartModel;

TelemetryRecord Point(bool valid, int x, int y, int z) {
  TelemetryRecord r;
  r.valid = valid;
  r.accelX = x;
  r.accelY = y;
  r.accelZ = z;
  return r;
}

struct BoundChart : ::testing::Test {
  BoundChart() { binding.InitAccChart(&chart); }
  const DuiLib::CCurve& Curve(int i) const { return chart.curves[i]; }
  CChartModel chart;
  ChartBinding binding;
  CTrackStore store;
};

TEST_F(BoundChart, InvalidPointsAddNothingButMoveXOn) {
  for (int i = 0; i < 64; ++i) store.AppendNext(Point(i % 2 == 0, i, 2 * i, 3 * i));
  store.MarkReady(1);
  binding.AppendAccData(&store, store.readyChunks());
  ASSERT_EQ(Curve(0).PointCount(), 32u);
  EXPECT_DOUBLE_EQ(Curve(0).xs[1], 0.4);
  EXPECT_EQ(Curve(0).ys[1], 2);
  EXPECT_EQ(Curve(1).ys[1], 4);
  EXPECT_EQ(Curve(2).ys[1], 6);
  EXPECT_NEAR(binding.nextX, 12.8, 1e-9);
}

TEST_F(BoundChart, TakesOnlyTheChunksBetweenConsumedAndReady) {
  for (int i = 0; i < 64 * 3; ++i) store.AppendNext(Point(true, 100, 100, 100));
  store.MarkReady(2);
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(Curve(0).PointCount(), 128u);
  store.SetConsumedChunks(store.readyChunks());
  binding.AppendAccData(&store, store.readyChunks());  // a second 516 with nothing new
  EXPECT_EQ(Curve(0).PointCount(), 128u);
  store.MarkReady(3);
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(Curve(0).PointCount(), 192u);
  EXPECT_NEAR(Curve(0).xs.back(), 191 * 0.2, 1e-9);
  EXPECT_NEAR(chart.xHi, 38.2, 1e-9);
}

TEST_F(BoundChart, AChunkFullOfInvalidPointsOnlyMovesX) {
  for (int i = 0; i < 64; ++i) store.AppendNext(Point(false, 9999, 9999, 9999));
  store.MarkReady(1);
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(Curve(0).PointCount(), 0u);
  EXPECT_NEAR(binding.nextX, 12.8, 1e-9);
  EXPECT_EQ(chart.yDataHi[0], 4000);
}

TEST_F(BoundChart, ResetStartsXAtZeroAgainAndKeepsTheRanges) {
  for (int i = 0; i < 64 * 2; ++i) store.AppendNext(Point(true, 0, 5000, 0));
  store.MarkReady(2);
  binding.AppendAccData(&store, store.readyChunks());
  const double xHi = chart.xHi;
  const double yHi = chart.yHi[0];
  binding.ResetAccChart();
  store.Reset();
  for (int i = 0; i < 64; ++i) store.AppendNext(Point(true, 1, 1, 1));
  store.MarkReady(1);
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(Curve(0).xs.front(), 0);
  EXPECT_EQ(chart.xHi, xHi);  // the short file is drawn against the long file's ranges
  EXPECT_EQ(chart.yHi[0], yHi);
}

TEST(ChartBinding, BeforeTheSetUpOrWithoutCurvesAppendTakesNothing) {
  CTrackStore store;
  for (int i = 0; i < 64; ++i) store.AppendNext(Point(true, 1, 1, 1));
  store.MarkReady(1);
  ChartBinding binding;
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(binding.nextX, 0);
  CChartModel bare;
  binding.chart = &bare;
  bare.AddCurve("XAcceleration", 0);
  binding.AppendAccData(&store, store.readyChunks());
  EXPECT_EQ(bare.curves[0].PointCount(), 0u);
  EXPECT_EQ(binding.nextX, 0);
  binding.AppendAccData(nullptr, 0);
}

TEST_F(BoundChart, SampleClipFillsAllThreeCurvesWithinTheSetUpRange) {
  const int lines = test::FillStoreFromClip(store, test::DefaultClip());
  ASSERT_EQ(lines, 600);
  binding.AppendAccData(&store, store.readyChunks());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Curve(i).PointCount(), 600u);
  EXPECT_NEAR(chart.xHi, 119.8, 1e-9);
  // The clip's readings (raw 1855 .. 2373) lie inside the set-up range, which therefore stays.
  EXPECT_DOUBLE_EQ(chart.yLo[0], 0.0);
  EXPECT_DOUBLE_EQ(chart.yHi[0], 4.0);
  EXPECT_EQ(chart.yExp[0], 3);
}

}  // namespace
}  // namespace korvane
