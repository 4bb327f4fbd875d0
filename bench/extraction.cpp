// Extraction of a 10-minute track (6000 cues): the time from ExtractFile to the last chunk message,
// against a bare ffmpeg converting the same track to SRT into /dev/null. Both run alternately in
// the same iteration so machine load hits them alike; the counters give their medians and the
// ratio (target: at most 1.10).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "../tests/telemetry/extract_clip_maker.h"
#include "platform/process.h"
#include "platform/window_message.h"
#include "telemetry/extract_command.h"
#include "telemetry/subtitle_extractor.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCues = 6000;
// 600 kept lines: 9 full batches and a partial one.
constexpr int kChunkMessages = 10;
constexpr WindowHandle kWindow = 1;

// Counts 516 posts and lets the benchmark wait for the n-th.
class ChunkCounter : public IWindowMessageDispatcher {
 public:
  bool Post(WindowHandle, std::uint32_t, WPARAM wParam, LPARAM) override {
    if (wParam != kExtractorChunkReady) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    ++chunks_;
    arrived_.notify_all();
    return true;
  }
  LRESULT Send(WindowHandle, std::uint32_t, WPARAM, LPARAM) override { return 0; }
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    chunks_ = 0;
  }
  bool WaitFor(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::seconds(60), [&] { return chunks_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  int chunks_ = 0;
};

struct Fixture {
  std::filesystem::path folder;
  std::string clip;
  Fixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder = pattern;
    clip = test::MakeTelemetryClip(KORVANE_SOURCE_DIR, folder.string() + "/", "drive", kCues,
                                   /*faststart=*/false);
  }
  ~Fixture() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

// The configured arguments, and the same without output buffering: ffmpeg then writes every cue
// by itself, which is what the configured "-flush_packets 0" avoids.
const char* const kArgumentSets[] = {kExtractorArguments, "-y -vn -an -scodec srt -f srt"};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_ExtractionAgainstBareFfmpeg(benchmark::State& state) {
  Fixture fixture;
  if (fixture.clip.empty()) {
    state.SkipWithError("could not make the 6000-cue clip");
    return;
  }
  const std::string ffmpeg = std::string(KORVANE_BENCH_PROGRAM_DIR) + kExtractorRelativePath;
  ProcessOptions bareOptions;
  bareOptions.program = ffmpeg;
  bareOptions.args = {"-i",  fixture.clip, "-vn", "-an", "-scodec",
                      "srt", "-f",         "srt", "-y",  "/dev/null"};
  ChunkCounter counter;
  SetWindowMessageDispatcher(&counter);
  CTrackStore store;
  std::vector<double> extraction;
  std::vector<double> bare;
  {
    CSubtitleExtractor extractor(store);
    ExtractorConfig config;
    config.extractorPath = ffmpeg;
    config.extraArguments = kArgumentSets[state.range(0)];
    config.notifyWindow = kWindow;
    config.notifyMessage = WM_EXTRACTOR_NOTIFY;
    config.socketPath = fixture.folder.string() + "/" + kExtractorSocketName;
    extractor.Configure(config);

    for (auto _ : state) {
      ChildProcess plain;
      const Clock::time_point bareStart = Clock::now();
      plain.Start(bareOptions);
      plain.WaitForExit(-1);
      bare.push_back(MillisecondsSince(bareStart));

      counter.Reset();
      const Clock::time_point start = Clock::now();
      extractor.ExtractFile(fixture.clip);
      if (!counter.WaitFor(kChunkMessages)) {
        state.SkipWithError("the extraction did not post all its chunks");
        break;
      }
      const double took = MillisecondsSince(start);
      extraction.push_back(took);
      state.SetIterationTime(took / 1000.0);
    }
  }
  SetWindowMessageDispatcher(nullptr);
  if (store.totalPoints() != kCues / 10 + 1) state.SkipWithError("unexpected track length");
  const double extractionMs = Median(extraction);
  const double bareMs = Median(bare);
  state.counters["extract_ms"] = extractionMs;
  state.counters["bare_ffmpeg_ms"] = bareMs;
  state.counters["ratio"] = bareMs > 0 ? extractionMs / bareMs : 0;
}

BENCHMARK(BM_ExtractionAgainstBareFfmpeg)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
