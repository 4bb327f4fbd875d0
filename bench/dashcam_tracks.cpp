// The Thinkware reader on a generated three-minute clip (ten cues a second written by ffmpeg as
// a tx3g track beside a video of the same length): the bytes it reads through the sample table
// against the cues' bytes and the moov (target at most 2x: "read_ratio"), and `korvane --info` on
// the clip against `exiftool -ee -n` (target at least 5x faster: "exiftool_over_info"), with an
// empty cache and with the index already made.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "telemetry/mp4_sample_table.h"
#include "telemetry/thinkware_cue.h"

namespace {

using namespace korvane;
constexpr int kSeconds = 180;

struct Clip {
  std::string path;
  std::uint64_t cueBytes = 0;
  std::uint64_t moovBytes = 0;
};

// The cues as SubRip, ten a second, an RMC in the sixth of each second: ffmpeg writes them as
// the clip's tx3g track, as a camera would.
std::string ThinkwareCues() {
  std::string srt;
  char cue[512];
  for (int i = 0; i < kSeconds * 10; ++i) {
    const int s = i / 10, ms = i % 10 * 100;
    char rmc[160] = "";
    if (i % 10 == 5) {
      char body[128];
      std::snprintf(body, sizeof body,
                    "GPRMC,04%02d%02d.00,A,5027.%05d,N,03031.%05d,E,14.0,90.0,"
                    "020626,,,A",
                    16 + s / 60, s % 60, s * 6, s * 6);
      unsigned sum = 0;
      for (const char* c = body; *c != '\0'; ++c) sum ^= static_cast<unsigned char>(*c);
      std::snprintf(rmc, sizeof rmc, "%s*%02X\n;", body, sum);
    }
    std::snprintf(
        cue, sizeof cue,
        "%d\n00:%02d:%02d,%03d --> 00:%02d:%02d,%03d\ngsensori,4,512,%d,000,128;%sCAR,0,0,"
        "0,0.0,0,0,0,0,0,0,0,0\n\n",
        i + 1, s / 60, s % 60, ms, (i + 1) / 600, (i + 1) / 10 % 60, (i + 1) % 10 * 100, i % 100,
        rmc);
    srt += cue;
  }
  return srt;
}

const Clip& ThreeMinutes() {
  static const Clip clip = [] {
    Clip c;
    const std::string dir = std::filesystem::temp_directory_path() / "korvane-bench-thinkware";
    std::filesystem::create_directories(dir);
    c.path = dir + "/REC_2026_06_02_04_16_00_F.MP4";
    std::ofstream(dir + "/cues.srt") << ThinkwareCues();
    if (std::system(("ffmpeg -v error -y -f lavfi -i testsrc2=size=320x180:rate=10 -i '" + dir +
                     "/cues.srt' -t " + std::to_string(kSeconds) +
                     " -c:v libx264 -preset ultrafast -c:s mov_text '" + c.path + "'")
                        .c_str()) != 0) {
      return c;
    }
    const CMp4File file(c.path);
    for (const Mp4Track& track : ReadMp4Tracks(file.size(), file.readAt(),
                                               [](const auto& h) { return h.FormatIs("tx3g"); })) {
      for (const Mp4Sample& s : track.samples) c.cueBytes += s.size;
    }
    std::string problem;
    ForEachMp4Box(file.readAt(), 0, file.size(), problem, [&](const Mp4Box& box) {
      if (box.Is("moov")) c.moovBytes = box.size;
      return true;
    });
    return c;
  }();
  return clip;
}

void BM_ThinkwareTrackBytes(benchmark::State& state) {
  const Clip& clip = ThreeMinutes();
  std::uint64_t read = 0;
  int fixes = 0;
  for (auto _ : state) {
    const CMp4File file(clip.path);
    const ThinkwareTrack track = ReadThinkwareTrack(file.size(), file.readAt());
    fixes = track.fixes;
    read = file.bytesRead();
  }
  if (fixes != kSeconds) state.SkipWithError("the clip's fixes were not all read");
  state.counters["bytes_read"] = static_cast<double>(read);
  state.counters["cues_and_moov"] = static_cast<double>(clip.cueBytes + clip.moovBytes);
  state.counters["read_ratio"] = static_cast<double>(read) / (clip.cueBytes + clip.moovBytes);
}
BENCHMARK(BM_ThinkwareTrackBytes)->Unit(benchmark::kMillisecond);

double CommandMs(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return -1.0;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// Arg 0: an empty cache each run, so --info makes the index too; arg 1: the cache kept and a
// copy of the clip under a new name each run, which the index does not know.
void BM_InfoAgainstExiftool(benchmark::State& state) {
  const Clip& clip = ThreeMinutes();
  const bool keepCache = state.range(0) != 0;
  const std::filesystem::path dir = std::filesystem::path(clip.path).parent_path();
  const std::string home = dir / "home";
  std::filesystem::remove_all(home);
  double info = 0, exif = 0;
  int runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!keepCache) std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    const std::string copy =
        dir / ("run" + std::to_string(state.range(0)) + "_" + std::to_string(runs) + ".MP4");
    std::filesystem::copy_file(clip.path, copy, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    info += CommandMs("HOME='" + home + "' XDG_CACHE_HOME='" + home + "/cache' '" +
                      KORVANE_BENCH_PROGRAM_DIR + "korvane' --info '" + copy + "'");
    exif += CommandMs("exiftool -ee -n '" + copy + "'");
    ++runs;
  }
  state.counters["info_ms"] = info / runs;
  state.counters["exiftool_ms"] = exif / runs;
  state.counters["exiftool_over_info"] = exif / info;
}
BENCHMARK(BM_InfoAgainstExiftool)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
