// Reading a camera's own telemetry track inside a three-minute clip as the indexer reads it
// (SigmaStar's `ssmd` at one record a second, Vueroid's `mp4s` at twenty, GoPro's `gpmd` with
// ten GPS and 200 ACCL readings a second), on the clips that ClipTrackBytes leaves in
// KORVANE_BENCH_CLIPS (bench/clip_track_figures.sh makes them).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "telemetry/gopro_source.h"
#include "telemetry/sigmastar_source.h"
#include "telemetry/vueroid_source.h"

namespace {

using namespace korvane;

template <typename Source>
void Read(benchmark::State& state, const char* name) {
  const char* dir = std::getenv("KORVANE_BENCH_CLIPS");
  const std::string clip = std::string(dir != nullptr ? dir : "") + "/" + name;
  if (dir == nullptr || !std::filesystem::exists(clip)) {
    state.SkipWithError("no clip: run bench/clip_track_figures.sh");
    return;
  }
  Source source;
  int records = 0;
  for (auto _ : state) {
    records = 0;
    benchmark::DoNotOptimize(source.Read(clip, [&](const TelemetryRecord&) { ++records; }));
  }
  state.counters["records"] = records;
}

void BM_SigmaStarThreeMinutes(benchmark::State& state) {
  Read<CSigmaStarSource>(state, "2026_0518_113000_F.mp4");
}
void BM_VueroidThreeMinutes(benchmark::State& state) {
  Read<CVueroidSource>(state, "INF_20260518_083000_F.mp4");
}
void BM_GoProThreeMinutes(benchmark::State& state) {
  Read<CGoProSource>(state, "GX010001.MP4");
}
BENCHMARK(BM_GoProThreeMinutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SigmaStarThreeMinutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VueroidThreeMinutes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
