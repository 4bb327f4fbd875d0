// Cost of the telemetry core per line: ParseFull on the sample clip's lines (bare, and as the
// pipeline hands them with the cue counter and timing in front), and the track builder per batch
// of 64 lines with each map conversion. Compare items_per_second with ffmpeg's extraction time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/telemetry/fake_pipeline.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/track_store.h"

namespace {

using namespace korvane;

std::vector<std::string> SampleLines() {
  std::ifstream in(std::string(KORVANE_BENCH_SAMPLES_DIR) + "/sample_drive.telemetry.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The line as one kept pipe message: SRT counter, timing line, text and the blank line, cut to 127.
std::string AsCue(const std::string& line, int index) {
  char timing[64];
  std::snprintf(timing, sizeof timing, "%d\n00:00:%02d,%03d --> 00:00:%02d,%03d\n", index + 1,
                index / 10 % 60, index % 10 * 100, (index + 1) / 10 % 60, (index + 1) % 10 * 100);
  return (timing + line + "\n\n").substr(0, kLineSlotSize - 1);
}

void ParseAll(benchmark::State& state, const std::vector<std::string>& lines) {
  if (lines.empty()) {
    state.SkipWithError("sample lines missing: build korvane_samples");
    return;
  }
  CTelemetryParser parser;
  std::size_t valid = 0;
  for (auto _ : state) {
    for (const std::string& line : lines) valid += parser.ParseFull(line.c_str());
    benchmark::DoNotOptimize(parser.record());
  }
  if (valid != lines.size() * state.iterations()) state.SkipWithError("a sample line failed");
  state.SetItemsProcessed(static_cast<std::int64_t>(lines.size() * state.iterations()));
}

void BM_ParseFull(benchmark::State& state) {
  ParseAll(state, SampleLines());
}
BENCHMARK(BM_ParseFull);

void BM_ParseFullCue(benchmark::State& state) {
  std::vector<std::string> cues;
  for (const std::string& line : SampleLines()) cues.push_back(AsCue(line, int(cues.size())));
  ParseAll(state, cues);
}
BENCHMARK(BM_ParseFullCue);

// Arg: map kind (0 none, 1 Baidu, 2 Google China).
void BM_ProcessBatch(benchmark::State& state) {
  const std::vector<std::string> lines = SampleLines();
  if (lines.empty()) {
    state.SkipWithError("sample lines missing: build korvane_samples");
    return;
  }
  // 64 slots filled as the pipe-server thread fills them: every tenth cue.
  std::vector<std::string> kept;
  for (int i = 0; i < kLineSlotCount; ++i)
    kept.push_back(AsCue(lines[i * 10 % lines.size()], i * 10));
  test::FakePipeline pipeline;
  pipeline.SetLines(kept);
  CTrackStore store;
  const auto mapKind = static_cast<std::uint8_t>(state.range(0));
  std::int32_t batch = 0;
  for (auto _ : state) {
    if (batch == CTrackStore::kInitialChunks) {
      state.PauseTiming();
      store.Reset();
      batch = 0;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(ProcessBatch(batch++, pipeline, store, mapKind, "China"));
  }
  state.SetItemsProcessed(state.iterations() * kLineSlotCount);
  state.SetLabel("items = lines");
}
BENCHMARK(BM_ProcessBatch)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
