// How fresh the telemetry line handed to the line callback is, and what the reply reader costs,
// with the real player program playing the sample clip (no picture, no sound).
//
// latency: for every change of the subtitle (a new cue every 100 ms of the clip), the time until
//   the line callback first delivers that cue or a later one. The clip's clock is tied to the
//   wall clock by the freshest delivery seen (a cue delivered right as it started), so the
//   figures are exact up to that one offset.
// reader_cpu_pct: CPU time of this process (the reader thread; the player is a child process and
//   not counted) over the playing time, in percent of one core.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "media/mplayer.h"
#include "platform/tick.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t index =
      std::min(values.size() - 1, static_cast<std::size_t>(p * (values.size() - 1) + 0.5));
  return values[index];
}

struct Delivery {
  double wallSeconds;  // since the start of playback
  int cue;             // index of the delivered cue
};

void BM_SubtitleToCallbackLatency(benchmark::State& state) {
  const std::string clip = std::string(KORVANE_BENCH_SAMPLES_DIR) + "/sample_drive.mp4";
  std::vector<std::string> cues;
  std::ifstream text(std::string(KORVANE_BENCH_SAMPLES_DIR) + "/sample_drive.telemetry.txt");
  for (std::string line; std::getline(text, line);) cues.push_back(line);
  const double cueSeconds = 60.0 / static_cast<double>(cues.size());
  const int playSeconds = static_cast<int>(state.range(0));

  for (auto _ : state) {
    korvane::CMplayer player;
    player.playerPath = std::string(KORVANE_BENCH_PROGRAM_DIR) + "MPlayer/mplayer";
    player.videoOutput = "null";
    player.audioOutput = "null";
    player.extraArguments = "-sid 0 -idx -nokeepaspect";
    player.mediaPath = clip;

    std::mutex mutex;
    std::vector<Delivery> deliveries;
    Clock::time_point start;
    player.lineCallback = [&](const std::string& line, std::uint32_t) {
      const auto now = Clock::now();
      const auto cue = std::find(cues.begin(), cues.end(), line);
      if (cue == cues.end()) return;
      std::lock_guard lock(mutex);
      deliveries.push_back({std::chrono::duration<double>(now - start).count(),
                            static_cast<int>(cue - cues.begin())});
    };

    if (player.Play() != 0) {
      state.SkipWithError("the player program does not start");
      return;
    }
    while (player.state() != korvane::PlayerState::Playing) korvane::SleepMs(1);
    start = Clock::now();
    const double cpuBefore = CpuSeconds();
    korvane::SleepMs(static_cast<unsigned>(playSeconds * 1000));
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    player.Stop();

    std::lock_guard lock(mutex);
    // Wall time at which the clip's time 0 played: the earliest (freshest) delivery.
    double clipStart = 1e9;
    for (const Delivery& d : deliveries) {
      clipStart = std::min(clipStart, d.wallSeconds - d.cue * cueSeconds);
    }
    std::vector<double> latencies;
    const int lastCue = deliveries.empty() ? 0 : deliveries.back().cue;
    for (int cue = 1; cue <= lastCue; ++cue) {
      const double changed = clipStart + cue * cueSeconds;
      for (const Delivery& d : deliveries) {
        if (d.cue >= cue) {
          latencies.push_back((d.wallSeconds - changed) * 1000.0);
          break;
        }
      }
    }
    state.counters["deliveries"] = static_cast<double>(deliveries.size());
    state.counters["changes"] = static_cast<double>(latencies.size());
    state.counters["p50_ms"] = Percentile(latencies, 0.50);
    state.counters["p95_ms"] = Percentile(latencies, 0.95);
    state.counters["max_ms"] = Percentile(latencies, 1.0);
    state.counters["reader_cpu_pct"] = 100.0 * cpu / wall;
  }
}
BENCHMARK(BM_SubtitleToCallbackLatency)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
