// Driving-event detection over a one-hour track at 10 Hz (36 000 full-rate points), as the indexer
// runs it per clip and the program runs it again when its rules differ from the stored ones
// (target: at most 20 ms). The track is a drive with sensor noise and a hard event every minute.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "index/event_detector.h"

namespace korvane {
namespace {

constexpr int kPoints = 36'000;

std::vector<IndexPoint> HourTrack() {
  std::vector<IndexPoint> points;
  points.reserve(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const double t = i / 10.0;
    const bool event = i % 600 == 300;
    // Readings in g, as the index keeps them (a camera's raw units are 1/333 g).
    points.push_back(
        {i * 100, (1779093000 + i / 10) * 1000LL, 22.5 + i * 1e-5, 113.9, 50.0f,
         static_cast<float>((120 * std::sin(t * 0.7) + 25 * std::sin(t * 3.1)) / 333.3),
         static_cast<float>((90 * std::sin(t * 0.3 + 1) - (event ? 300 : 0)) / 333.3),
         static_cast<float>(1.0 + 40 * std::sin(t * 2.0) / 333.3)});
  }
  return points;
}

void BM_DetectEventsOneHour(benchmark::State& state) {
  const std::vector<IndexPoint> points = HourTrack();
  std::size_t found = 0;
  for (auto _ : state) {
    const std::vector<DriveEvent> events = DetectEvents(points, {});
    found = events.size();
    benchmark::DoNotOptimize(events.data());
  }
  state.counters["events"] = static_cast<double>(found);
  state.counters["points"] = kPoints;
}
BENCHMARK(BM_DetectEventsOneHour)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
