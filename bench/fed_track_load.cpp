// What the UI thread pays when a clip that plays from the index's points starts: a three-minute
// track at 10 Hz (1 800 points) read from a real index and turned into the track store and the
// navigation track (CTrackFeed::Load; target: at most 20 ms). The clip is a generated sample, its
// row and points written here as the indexer writes them.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "index/clip_file.h"
#include "index/index_writer.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "tracks/track_feed.h"

namespace korvane {
namespace {

constexpr int kPoints = 1800;

struct Fixture {
  std::filesystem::path folder;
  std::string db, clip;
  Fixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder = pattern;
    db = folder.string() + "/index.sqlite";
    clip = folder.string() + "/drive.mp4";
    std::filesystem::copy_file(KORVANE_BENCH_SAMPLES_DIR "/mixed/sidecar_only.mp4", clip);
    std::vector<IndexPoint> points;
    for (int i = 0; i < kPoints; ++i) {
      points.push_back({i * 100, 1779093000000LL + i * 100, 38.72 + i * 1e-5,
                        -9.14 + 1e-5 * std::sin(i / 50.0), 50.0f, 0.0f, 0.0f, 1.0f});
    }
    ClipSummary row;
    row.path = clip;
    row.status = ClipStatus::Indexed;
    row.source = kNmeaSource;
    row.traits = TraitsOf(kNmeaSource);
    row.durationMs = kPoints * 100;
    std::string reason;
    ReadFileFacts(clip, row, reason);
    SummarizeTrack(points, row);
    if (!CIndexWriter(db).Store(row, points, SimplifyOverview(points)).empty()) db.clear();
  }
  ~Fixture() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

void BM_LoadAThreeMinuteFedTrack(benchmark::State& state) {
  static Fixture fixture;
  if (fixture.db.empty()) {
    state.SkipWithError("no index");
    return;
  }
  CTrackStore store;
  CNavigationTrack navigation;
  Settings settings;
  CTrackFeed feed(fixture.db, fixture.folder.string() + "/data", store, navigation, settings);
  for (auto _ : state) {
    if (!feed.Load(fixture.clip)) state.SkipWithError("not fed");
    benchmark::DoNotOptimize(store.totalPoints());
  }
  state.counters["points"] = static_cast<double>(store.totalPoints());
}
BENCHMARK(BM_LoadAThreeMinuteFedTrack)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
