// The hand-over of a 516 while the pipeline's thread keeps raising readyChunks: every chunk reaches
// the map and the chart exactly once, in order, whatever moment the count moves.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "chart/chart_binding.h"
#include "null_map_loader.h"
#include "telemetry/track_store.h"
#include "ui/controller_adapters.h"

namespace korvane {
namespace {

// Records the chunk range each hand-over gives the map.
class RangeLoader : public test::NullMapLoader {
 public:
  void UpdateRoute(DuiLib::CWebBrowserUI*, const CTrackStore& store,
                   std::int32_t readyChunks) override {
    if (store.consumedChunks() < readyChunks)
      ranges->emplace_back(store.consumedChunks(), readyChunks);
  }
  std::vector<std::pair<int, int>>* ranges = nullptr;
};

TEST(ConsumeReadyChunks, EveryChunkIsHandedOverOnceWhileThePipelineRaisesTheCount) {
  constexpr int kChunks = 3000;
  CTrackStore store;
  // One valid point per chunk, so the chart's curve length counts the chunks it was given.
  for (int c = 0; c < kChunks; ++c) {
    for (int i = 0; i < TrackChunk::kCapacity; ++i) {
      TelemetryRecord record;
      record.valid = i == 0;
      record.accelX = c;
      ASSERT_GE(store.AppendNext(record), 0);
    }
  }
  DuiLib::CChartModel chart;
  ChartBinding binding;
  binding.InitAccChart(&chart);
  std::vector<std::pair<int, int>> ranges;
  auto loader = std::make_unique<RangeLoader>();
  loader->ranges = &ranges;
  CMapDisplay map;
  map.SetLoader(std::move(loader));

  std::thread pipe([&store] {
    for (int c = 1; c <= kChunks; ++c) {
      store.MarkReady(c);
      const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
      while (std::chrono::steady_clock::now() < until) {
      }
    }
  });
  int handOvers = 0;
  while (store.consumedChunks() < kChunks) {
    ConsumeReadyChunks(map, nullptr, binding, store);
    ++handOvers;
  }
  pipe.join();

  const DuiLib::CCurve& x = chart.curves[0];
  ASSERT_EQ(x.PointCount(), static_cast<std::size_t>(kChunks))
      << "chunks lost: " << handOvers << " hand-overs";
  for (int c = 0; c < kChunks; ++c) ASSERT_EQ(x.ys[c], c) << "chunk " << c << " out of order";
  int next = 0;
  for (const auto& [first, end] : ranges) {
    ASSERT_EQ(first, next) << "the map skipped chunks";
    next = end;
  }
  EXPECT_EQ(next, kChunks);
}

}  // namespace
}  // namespace korvane
