// Background indexing of a card folder of 300 clips with the camera's trip log beside each (an
// Escort .map, a line a second), with nothing playing: two indexers at once at their background
// priority. The target is 10 s for the folder; the "folder_ms" counter is the median. The clips
// are copies of the sample clip without subtitles, so each clip's points come from its log.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "index/background_indexer.h"
#include "index/index_reader.h"
#include "index_progress.h"
#include "telemetry/escort_source.h"

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClips = 300;
constexpr int kLogSeconds = 60;
constexpr WindowHandle kWindow = 1;

// A minute of trip log from `second` of the day, moving north along a meridian.
std::string EscortLog(int second) {
  std::string text;
  char line[128];
  for (int i = 0; i < kLogSeconds; ++i) {
    const int s = (second + i) % 86400;
    std::snprintf(line, sizeof line,
                  "A,110526,%02d%02d%02d,37%02d.%04d,N,12100.0000,W,%.2f,0.10,-0.17,1.01;\n",
                  s / 3600, s / 60 % 60, s % 60, i / 10, i % 10 * 1000, 50.0 + i % 7);
    text += line;
  }
  return text;
}

struct CardFolder {
  std::filesystem::path folder;
  std::vector<std::string> clips;
  CardFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-bench-card-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder = pattern;
    const std::string sample = std::string(KORVANE_BENCH_SAMPLES_DIR) + "/no_subtitles.mp4";
    std::error_code ec;
    for (int i = 0; i < kClips && !ec; ++i) {
      char stem[32];
      std::snprintf(stem, sizeof stem, "/MOVI%04d", i + 1);
      const std::string base = folder.string() + stem;
      std::filesystem::copy_file(sample, base + ".MP4", ec);
      std::ofstream(base + ".map", std::ios::binary) << EscortLog(i * kLogSeconds);
      if (!ec) clips.push_back(base + ".MP4");
    }
  }
  ~CardFolder() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

void BM_IndexCardFolderWithLogsBeside(benchmark::State& state) {
  CardFolder card;
  if (card.clips.size() != kClips) {
    state.SkipWithError("could not make the card folder");
    return;
  }
  ProgressWaiter waiter;
  SetWindowMessageDispatcher(&waiter);
  std::vector<double> took;
  int iteration = 0;
  for (auto _ : state) {
    const std::string database =
        card.folder.string() + "/index-" + std::to_string(iteration++) + ".sqlite";
    const std::optional<double> seconds = IndexClipsOnce(
        waiter, kWindow, std::string(KORVANE_BENCH_PROGRAM_DIR) + kIndexerRelativePath, database,
        card.clips);
    if (!seconds) {
      state.SkipWithError("indexing did not finish");
      break;
    }
    took.push_back(*seconds);
    state.SetIterationTime(took.back());
    CIndexReader reader(database);
    for (const std::string& clip : card.clips) {
      const ClipSummary s = reader.GetClip(clip);
      if (s.status != ClipStatus::Indexed || s.source != kEscortSource) {
        state.SkipWithError(("not read from its log: " + clip + " (" +
                             std::string(ClipStatusText(s.status)) + ", " + s.reason + ")")
                                .c_str());
        break;
      }
    }
  }
  SetWindowMessageDispatcher(nullptr);
  std::sort(took.begin(), took.end());
  state.counters["folder_ms"] = took.empty() ? 0.0 : took[took.size() / 2] * 1000.0;
}

BENCHMARK(BM_IndexCardFolderWithLogsBeside)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
