// Background indexing of a folder of 60 one-minute clips of 600 cues each (two indexers at once,
// at their background priority), against ffmpeg converting the same clips' tracks to SRT into
// /dev/null one after another. Both run in the same iteration so machine load hits them alike;
// the counters give their medians and the ratio (target: at most 0.3). The clips are generated
// here, never in CI.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "../tests/telemetry/extract_clip_maker.h"
#include "index/background_indexer.h"
#include "index/index_reader.h"
#include "index_progress.h"
#include "platform/process.h"

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClips = 60;
constexpr int kCues = 600;
constexpr WindowHandle kWindow = 1;

struct Fixture {
  std::filesystem::path folder;
  std::vector<std::string> clips;
  Fixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder = pattern;
    const std::string first = test::MakeTelemetryClip(KORVANE_SOURCE_DIR, folder.string() + "/",
                                                      "clip_00", kCues, /*faststart=*/false);
    if (first.empty()) return;
    clips.push_back(first);
    for (int i = 1; i < kClips; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/clip_%02d.mp4", i);
      clips.push_back(folder.string() + name);
      std::filesystem::copy_file(first, clips.back());
    }
  }
  ~Fixture() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_IndexFolderAgainstSequentialFfmpeg(benchmark::State& state) {
  Fixture fixture;
  if (fixture.clips.size() != kClips) {
    state.SkipWithError("could not make the clips");
    return;
  }
  ProgressWaiter waiter;
  SetWindowMessageDispatcher(&waiter);
  std::vector<double> indexing;
  std::vector<double> ffmpeg;
  int iteration = 0;
  for (auto _ : state) {
    // The task's reference command, with -y: without it ffmpeg refuses to write /dev/null.
    const Clock::time_point bareStart = Clock::now();
    for (const std::string& clip : fixture.clips) {
      ChildProcess bare;
      ProcessOptions options;
      options.program = "/usr/bin/ffmpeg";
      options.args = {"-nostdin", "-y",  "-i", clip,  "-vn",      "-an",
                      "-scodec",  "srt", "-f", "srt", "/dev/null"};
      bare.Start(options);
      bare.WaitForExit(-1);
    }
    ffmpeg.push_back(MillisecondsSince(bareStart));

    const std::string database =
        fixture.folder.string() + "/index-" + std::to_string(iteration++) + ".sqlite";
    const std::optional<double> seconds =
        IndexClipsOnce(waiter, kWindow, std::string(KORVANE_BENCH_PROGRAM_DIR) + "korvane-indexer",
                       database, fixture.clips);
    if (!seconds) {
      state.SkipWithError("indexing did not finish");
      break;
    }
    const double took = *seconds * 1000.0;
    indexing.push_back(took);
    state.SetIterationTime(took / 1000.0);
    CIndexReader reader(database);
    std::string missing;
    for (const std::string& clip : fixture.clips) {
      const ClipSummary s = reader.GetClip(clip);
      if (s.pointCount != kCues && missing.empty()) {
        missing = clip + " (" + std::string(ClipStatusText(s.status)) + ", " + s.reason + ")";
      }
    }
    if (!missing.empty()) {
      state.SkipWithError(("not indexed at full rate: " + missing).c_str());
      break;
    }
  }
  SetWindowMessageDispatcher(nullptr);
  const double indexMs = Median(indexing);
  const double bareMs = Median(ffmpeg);
  state.counters["index_ms"] = indexMs;
  state.counters["ffmpeg_seq_ms"] = bareMs;
  state.counters["ratio"] = bareMs > 0 ? indexMs / bareMs : 0;
}

BENCHMARK(BM_IndexFolderAgainstSequentialFfmpeg)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
