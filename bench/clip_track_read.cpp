// Reading a camera's own telemetry track inside a three-minute clip as the indexer reads it
// (SigmaStar's `ssmd` at one record a second, Vueroid's `mp4s` at twenty): the time of a read,
// and what it costs in bytes. "bytes_read" is what the source read of the file; "needed" is the
// track's samples plus the `moov` (target: bytes_read at most twice needed). With
// KORVANE_BENCH_CLIPS=DIR the two clips are left there for bench/clip_track_figures.sh.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/camera_track_records.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/mp4_track_samples.h"
#include "telemetry/sigmastar_source.h"
#include "telemetry/vueroid_source.h"

namespace {

using namespace korvane;

constexpr int kSeconds = 180;

const std::string& ClipsDir() {
  static const std::string dir = [] {
    const char* keep = std::getenv("KORVANE_BENCH_CLIPS");
    std::string d = keep != nullptr ? keep
                                    : (std::filesystem::temp_directory_path() /
                                       ("korvane_clip_track_" + std::to_string(::getpid())))
                                          .string();
    std::filesystem::create_directories(d);
    const std::string video = d + "/video.mp4";
    // Three minutes of a small test pattern: the video's size is not what is measured.
    const std::string ffmpeg = "ffmpeg -v error -y -f lavfi -i testsrc=size=640x360:rate=25 -t " +
                               std::to_string(kSeconds) +
                               " -c:v libx264 -preset ultrafast -pix_fmt yuv420p '" + video + "'";
    if (std::system(ffmpeg.c_str()) != 0 ||
        !test::WriteSsmdClip(video, d + "/2026_0518_113000_F.mp4", kSeconds) ||
        !test::WriteVueroidClip(video, d + "/INF_20260518_083000_F.mp4", kSeconds)) {
      std::abort();
    }
    return d;
  }();
  return dir;
}

std::uint64_t MoovBytes(const CMp4File& file) {
  std::string problem;
  std::uint64_t size = 0;
  ForEachMp4Box(file.readAt(), 0, file.size(), problem, [&](const Mp4Box& box) {
    if (box.Is("moov")) size = box.size;
    return true;
  });
  return size;
}

template <typename Source>
void Read(benchmark::State& state, const std::string& name, const char* format) {
  const std::string clip = ClipsDir() + "/" + name;
  Source source;
  int records = 0;
  for (auto _ : state) {
    records = 0;
    benchmark::DoNotOptimize(source.Read(clip, [&](const TelemetryRecord&) { ++records; }));
  }
  // The same read once more over a counting file, and what it had to read at the least.
  const CMp4File file(clip);
  std::uint64_t samples = 0;
  ForEachMp4TrackSample(
      file.size(), file.readAt(), [&](const Mp4TrackHeader& h) { return h.FormatIs(format); },
      1 << 16,
      [&](std::span<const std::uint8_t> bytes, std::int64_t, std::int64_t) {
        samples += bytes.size();
      });
  const std::uint64_t read = file.bytesRead();
  const std::uint64_t needed = samples + MoovBytes(file);
  state.counters["records"] = records;
  state.counters["bytes_read"] = static_cast<double>(read);
  state.counters["needed"] = static_cast<double>(needed);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_SigmaStarThreeMinutes(benchmark::State& state) {
  Read<CSigmaStarSource>(state, "2026_0518_113000_F.mp4", "ssmd");
}
void BM_VueroidThreeMinutes(benchmark::State& state) {
  Read<CVueroidSource>(state, "INF_20260518_083000_F.mp4", "mp4s");
}
BENCHMARK(BM_SigmaStarThreeMinutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VueroidThreeMinutes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
