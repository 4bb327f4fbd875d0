// Reading a camera's telemetry track inside a three-minute clip as the indexer does, against
// ExifTool's read of the same clip (`exiftool -ee -n`, the reference reader): `korvane --info`
// with its start-up (target ≥ 5× faster), the decoder in process (target ≥ 50× faster), and the
// bytes read against the track's samples and the `moov` (target ≤ 2 × samples + moov). The
// clip is made once per run: ffmpeg's test video at 30 fps, with the track added.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/gpmf_payload.h"
#include "support/mp4_data_track.h"
#include "telemetry/gpmf_file.h"

namespace {

using namespace korvane;
using Clock = std::chrono::steady_clock;

constexpr int kSeconds = 180;

std::string Folder() {
  static const std::string folder = [] {
    const auto dir = std::filesystem::temp_directory_path() / "korvane_bench_track_read";
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
  }();
  return folder;
}

// ffmpeg's test video of three minutes; empty when ffmpeg cannot make it.
std::string Video() {
  static const std::string video = [] {
    const std::string path = Folder() + "video.mp4";
    const std::string command = "ffmpeg -v error -y -f lavfi -i testsrc=size=320x180:rate=30 -t " +
                                std::to_string(kSeconds) +
                                " -c:v libx264 -preset ultrafast -g 30 '" + path + "'";
    return std::system(command.c_str()) == 0 ? path : std::string();
  }();
  return video;
}

std::string GoProClip() {
  static const std::string clip = [] {
    test::DataTrack track;
    for (int i = 0; i < kSeconds; ++i) {
      track.samples.push_back({test::GpmfCameraSample(test::GpmfDriveSecond(i)), 1000});
    }
    const std::string path = Folder() + "GX010001.MP4";
    return !Video().empty() && test::WriteClipWithDataTrack(Video(), path, track) ? path
                                                                                  : std::string();
  }();
  return clip;
}

double SecondsOf(const std::string& command) {
  const auto start = Clock::now();
  if (std::system((command + " > /dev/null 2>&1").c_str()) != 0) return -1;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// ExifTool's time for the clip, the best of three runs; < 0 without ExifTool.
double ExifToolSeconds(const std::string& clip) {
  static double best = [&] {
    double b = -1;
    for (int i = 0; i < 3; ++i) {
      const double s = SecondsOf("exiftool -ee -n '" + clip + "'");
      if (s >= 0 && (b < 0 || s < b)) b = s;
    }
    return b;
  }();
  return best;
}

std::uint64_t MoovSize(const CMp4File& file) {
  std::uint64_t moov = 0;
  std::string ignored;
  ForEachMp4Box(file.readAt(), 0, file.size(), ignored, [&](const Mp4Box& box) {
    if (box.Is("moov")) moov = box.size;
    return true;
  });
  return moov;
}

void BM_InfoOfGoProClip(benchmark::State& state) {
  const std::string clip = GoProClip();
  if (clip.empty()) return state.SkipWithError("ffmpeg cannot make the clip");
  const std::string command =
      std::string(KORVANE_BENCH_PROGRAM_DIR) + "korvane --info '" + clip + "'";
  double seconds = 0;
  for (auto _ : state) {
    const double s = SecondsOf(command);
    if (s < 0) return state.SkipWithError("korvane --info failed");
    seconds += s;
  }
  const double mean = seconds / static_cast<double>(state.iterations());
  if (const double exif = ExifToolSeconds(clip); exif > 0) {
    state.counters["exiftool_ms"] = exif * 1000;
    state.counters["x_faster"] = exif / mean;
  }
}
BENCHMARK(BM_InfoOfGoProClip)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_DecodeGoProClip(benchmark::State& state) {
  const std::string clip = GoProClip();
  if (clip.empty()) return state.SkipWithError("ffmpeg cannot make the clip");
  double seconds = 0;
  std::uint64_t read = 0, samples = 0, moov = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const CMp4File file(clip);
    const GpmfFile gpmf = ReadGpmfFile(file.size(), file.readAt());
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    if (gpmf.track.fixes != kSeconds * 10) return state.SkipWithError("the track did not read");
    read = file.bytesRead();
    samples = gpmf.sampleBytes;
    moov = MoovSize(file);
  }
  const double mean = seconds / static_cast<double>(state.iterations());
  state.counters["read_per_2x_track_and_moov"] =
      static_cast<double>(read) / static_cast<double>(2 * samples + moov);
  if (const double exif = ExifToolSeconds(clip); exif > 0) state.counters["x_faster"] = exif / mean;
}
BENCHMARK(BM_DecodeGoProClip)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
