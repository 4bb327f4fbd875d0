// A ten-hour GPX track recorded at 1 Hz by another device, matched to the 340 clips of a folder
// (106 s each, back to back): every clip's records at the feed's step. The target is 200 ms for
// the folder; BM_MatchTenHoursTo340Clips's time per iteration is that figure. Reading the file is
// BM_ReadTenHourGpx.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "telemetry/gpx_track.h"
#include "telemetry/track_import.h"

namespace {

using namespace korvane;

constexpr int kPoints = 36'000;
constexpr int kClips = 340;
constexpr std::int64_t kStartMs = 1779062400000;  // 2026-05-18T00:00:00Z

std::string TenHourGpx() {
  std::string text = "<?xml version=\"1.0\"?><gpx version=\"1.1\"><trk><trkseg>\n";
  for (int i = 0; i < kPoints; ++i) {
    char point[160];
    std::snprintf(point, sizeof point,
                  "<trkpt lat=\"%.7f\" lon=\"%.7f\"><time>2026-05-18T%02d:%02d:%02dZ</time>"
                  "</trkpt>\n",
                  38.7 + 0.0001 * std::sin(i / 300.0), -9.1 + 0.00002 * i, i / 3600, i / 60 % 60,
                  i % 60);
    text += point;
  }
  return text + "</trkseg></trk></gpx>\n";
}

const std::string& GpxPath() {
  static const std::string path = [] {
    const std::string p =
        (std::filesystem::temp_directory_path() / "korvane_bench_ten_hours.gpx").string();
    std::ofstream(p, std::ios::binary) << TenHourGpx();
    return p;
  }();
  return path;
}

void BM_ReadTenHourGpx(benchmark::State& state) {
  std::size_t points = 0;
  for (auto _ : state) {
    std::string error;
    const auto track = ReadGpxFile(GpxPath(), error);
    points = track ? track->points.size() : 0;
    benchmark::DoNotOptimize(points);
  }
  if (points != kPoints) state.SkipWithError("the track did not read whole");
}
BENCHMARK(BM_ReadTenHourGpx)->Unit(benchmark::kMillisecond);

void BM_MatchTenHoursTo340Clips(benchmark::State& state) {
  std::string error;
  const auto track = ReadGpxFile(GpxPath(), error);
  if (!track) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::int64_t clipMs = std::int64_t{kPoints} * 1000 / kClips;
  // Half the clips know their camera times, the others only their file name's.
  std::vector<ImportCandidate> clips(kClips);
  for (int c = 0; c < kClips; ++c) {
    clips[c].path = "/clips/clip" + std::to_string(c) + ".mp4";
    clips[c].facts.durationMs = clipMs;
    if (c % 2 == 0) {
      clips[c].facts.cameraStartUtcMs = kStartMs + c * clipMs;
    } else {
      clips[c].facts.fileNameUtcMs = kStartMs + c * clipMs;
    }
  }
  std::size_t records = 0;
  for (auto _ : state) {
    records = 0;
    for (const ImportedClip& clip : MatchTrackToClips(track->points, clips)) {
      records += clip.records.size();
    }
    benchmark::DoNotOptimize(records);
  }
  state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_MatchTenHoursTo340Clips)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
