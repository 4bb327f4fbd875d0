// Reading a three-minute clip's Novatek GPS blocks (one a second, 180, listed by the `gps `
// index after an ffmpeg video) as the indexer reads them: the decoder and walker alone over the
// file's bytes in memory, and the whole source on the file by seeks. The figures set against
// `exiftool -ee -n` on the same clip are in bench/freegps_figures.sh.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/freegps_clip.h"
#include "telemetry/freegps_file.h"
#include "telemetry/freegps_source.h"

namespace {

using namespace korvane;

// The clip, made once per run in the temporary folder.
const std::string& ThreeMinuteClip() {
  static const std::string path = [] {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string video = (dir / "korvane_bench_freegps_video.mp4").string();
    const std::string clip = (dir / "korvane_bench_freegps.mp4").string();
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=320x180:rate=25 "
        "-t 180 -c:v libx264 -preset ultrafast -pix_fmt yuv420p '" +
        video + "'";
    if (std::system(command.c_str()) != 0) return std::string();
    std::vector<test::BlockFix> fixes;
    for (int i = 0; i < 180; ++i) fixes.push_back(test::DriveFix(test::BlockFix{}, i));
    return test::WriteFreeGpsClip(video, clip, fixes) ? clip : std::string();
  }();
  return path;
}

void BM_DecodeBlocksInMemory(benchmark::State& state) {
  std::ifstream in(ThreeMinuteClip(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string file = text.str();
  const ReadAtFn readAt = [&](std::uint64_t at, std::span<std::uint8_t> out) -> std::size_t {
    if (at >= file.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(out.size(), file.size() - at);
    std::memcpy(out.data(), file.data() + at, n);
    return n;
  };
  int fixes = 0;
  for (auto _ : state) {
    fixes = ReadFreeGpsFile(file.size(), readAt, 0).fixes;
    benchmark::DoNotOptimize(fixes);
  }
  state.counters["fixes"] = fixes;
  state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}
BENCHMARK(BM_DecodeBlocksInMemory)->Unit(benchmark::kMicrosecond);

void BM_ReadSourceFromFile(benchmark::State& state) {
  const std::string& clip = ThreeMinuteClip();
  CFreeGpsSource source;
  int records = 0;
  for (auto _ : state) {
    records = source.Read(clip, [](const TelemetryRecord&) {}).records;
    benchmark::DoNotOptimize(records);
  }
  state.counters["fixes"] = records;
}
BENCHMARK(BM_ReadSourceFromFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
