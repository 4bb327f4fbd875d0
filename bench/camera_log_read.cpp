// Reading the cameras' own logs beside a clip as the indexer reads them (the bounded line reader
// and each format's decoder): an hour of DJI subtitles at a cue a frame (30 fps, about 40 MB)
// and 10 MB each of Escort trip log and 70mai folder log. The target is 50 ms per 10 MB; the
// "ms_per_10MB" counter is that figure.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "telemetry/bounded_file.h"
#include "telemetry/dji_srt.h"
#include "telemetry/escort_map.h"
#include "telemetry/nmea_track.h"
#include "telemetry/seventymai_gps.h"

namespace {

using namespace korvane;

std::string DjiHour() {
  std::string text;
  char cue[512];
  for (int i = 0; i < 108'000; ++i) {
    const int ms = i * 1000 / 30;
    const int s = ms / 1000;
    std::snprintf(
        cue, sizeof cue,
        "%d\n%02d:%02d:%02d,%03d --> %02d:%02d:%02d,%03d\n<font size=\"28\">FrameCnt: %d, "
        "DiffTime: 33ms\n2021-12-25 %02d:%02d:%02d.%03d\n[iso: 220] [shutter: 1/8000.0] "
        "[fnum: 3.2] [ev: 0] [ct: 5115] [color_md : default] [focal_len: 24.00] "
        "[latitude: %.5f] [longitude: -3.37440] [rel_alt: -2.400 abs_alt: 0.401] "
        "</font>\n\n",
        i + 1, s / 3600, s / 60 % 60, s % 60, ms % 1000, s / 3600, s / 60 % 60, s % 60,
        (ms + 33) % 1000, i + 1, 12 + s / 3600, s / 60 % 60, s % 60, ms % 1000, 3.41531 + i * 1e-6);
    text += cue;
  }
  return text;
}

std::string Lines(const std::function<std::string(int)>& line) {
  std::string text;
  for (int i = 0; text.size() < 10'000'000; ++i) text += line(i);
  return text;
}

std::string EscortTenMb() {
  return Lines([](int i) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "A,%02d0526,%02d%02d%02d,3700.0000,N,12100.0000,W,117.36,0.10,-0.17,1.59;\n",
                  1 + i / 86400 % 28, i / 3600 % 24, i / 60 % 60, i % 60);
    return std::string(line);
  });
}

std::string SeventyMaiTenMb() {
  return "$V02\n" + Lines([](int i) {
           return std::to_string(1783850132 + i) +
                  ",A,50.000000,9.000000,36,90,100,-5,-12,NO20260712-195504-000000F.MP4,0,0,0\n";
         });
}

// Writes `text`, reads it back through `read` per iteration; reports ms per 10 MB.
void ReadBack(benchmark::State& state, const std::string& text,
              const std::function<std::size_t(const std::string&)>& read, std::size_t want) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "korvane_bench_camera_log").string();
  std::ofstream(path, std::ios::binary) << text;
  std::size_t fixes = 0;
  double seconds = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    fixes = read(path);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(fixes);
  }
  std::filesystem::remove(path);
  const double mb = static_cast<double>(text.size()) / 1e6;
  state.counters["MB"] = mb;
  state.counters["ms_per_10MB"] =
      seconds * 1000.0 / static_cast<double>(state.iterations()) / (mb / 10.0);
  if (fixes < want) state.SkipWithError("the log did not read whole");
}

void BM_ReadHourOfDjiSubtitles(benchmark::State& state) {
  ReadBack(
      state, DjiHour(),
      [](const std::string& path) {
        CDjiSrtDecoder decoder;
        ReadFileLines(path, kMaxNmeaBytes, 1 << 14, [&](std::string_view l) { decoder.Line(l); });
        return decoder.Finish().fixes.size();
      },
      108'000);
}
BENCHMARK(BM_ReadHourOfDjiSubtitles)->Unit(benchmark::kMillisecond);

void BM_ReadEscortTripLog(benchmark::State& state) {
  ReadBack(
      state, EscortTenMb(),
      [](const std::string& path) {
        CEscortMapDecoder decoder;
        ReadFileLines(path, kMaxNmeaBytes, 1024, [&](std::string_view l) { decoder.Line(l); });
        return decoder.Finish().fixes.size();
      },
      100'000);
}
BENCHMARK(BM_ReadEscortTripLog)->Unit(benchmark::kMillisecond);

void BM_ReadSeventyMaiLog(benchmark::State& state) {
  ReadBack(
      state, SeventyMaiTenMb(),
      [](const std::string& path) {
        CSeventyMaiDecoder decoder("NO20260712-195504-000000F.MP4");
        ReadFileLines(path, kMaxNmeaBytes, 1024, [&](std::string_view l) { decoder.Line(l); });
        return decoder.Finish().fixes.size();
      },
      100'000);
}
BENCHMARK(BM_ReadSeventyMaiLog)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
