// The read API on an index of 1 000 three-minute clips at 10 Hz (1.8 million points): the overview
// lines of a 340-clip folder (target: at most 100 ms) and the full-rate points of one clip (target:
// at most 5 ms), with a reader already open and with a fresh one. The index is generated here.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "index/index_writer.h"
#include "index/overview_line.h"
#include "index/track_summary.h"

namespace korvane {
namespace {

constexpr int kClips = 1000;
constexpr int kPointsPerClip = 1800;  // three minutes at 10 Hz
constexpr int kFolder = 340;

std::string ClipPath(int i) {
  return "/media/card/DCIM/Movie/2026_0518_" + std::to_string(100000 + i) + ".MP4";
}

// A drive that goes on from clip to clip, with turns, so overview lines are not trivial.
std::vector<IndexPoint> ClipTrack(int clip) {
  std::vector<IndexPoint> points;
  points.reserve(kPointsPerClip);
  double lat = 22.5 + clip * 0.01, lon = 113.9, heading = clip * 0.7;
  for (int i = 0; i < kPointsPerClip; ++i) {
    if (i % 600 > 580) heading += 0.08;
    lat += 1.2e-5 * std::cos(heading);
    lon += 1.2e-5 * std::sin(heading);
    points.push_back({i * 100, (1779093000 + clip * 180 + i / 10) * 1000LL, lat, lon,
                      static_cast<float>(40 + i % 30), (i % 50) * 3e-3f, 0.0f, 1.0f});
  }
  return points;
}

struct Fixture {
  std::filesystem::path folder;
  std::string db;
  std::vector<std::string> folderClips;
  Fixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder = pattern;
    db = folder.string() + "/index.sqlite";
    CIndexWriter writer(db);
    for (int i = 0; i < kClips; ++i) {
      const std::vector<IndexPoint> points = ClipTrack(i);
      ClipSummary s;
      s.path = ClipPath(i);
      s.size = 300'000'000;
      s.durationMs = kPointsPerClip * 100;
      s.status = ClipStatus::Indexed;
      SummarizeTrack(points, s);
      if (!writer.Store(s, points, SimplifyOverview(points)).empty()) {
        db.clear();
        return;
      }
    }
    for (int i = 500; i < 500 + kFolder; ++i) folderClips.push_back(ClipPath(i));
  }
  ~Fixture() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

Fixture& TheIndex() {
  static Fixture fixture;
  return fixture;
}

void BM_OverviewsOfAFolder(benchmark::State& state) {
  Fixture& f = TheIndex();
  if (f.db.empty()) {
    state.SkipWithError("could not build the index");
    return;
  }
  const bool fresh = state.range(0) != 0;
  CIndexReader warm(f.db);
  std::size_t points = 0;
  for (auto _ : state) {
    std::vector<OverviewLine> lines;
    if (fresh) {
      lines = CIndexReader(f.db).GetOverviews(f.folderClips);
    } else {
      lines = warm.GetOverviews(f.folderClips);
    }
    if (lines.size() != kFolder) state.SkipWithError("lines missing");
    points = 0;
    for (const OverviewLine& line : lines) points += line.points.size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = kFolder;
  state.counters["points"] = static_cast<double>(points);
}

void BM_PointsOfOneClip(benchmark::State& state) {
  Fixture& f = TheIndex();
  if (f.db.empty()) {
    state.SkipWithError("could not build the index");
    return;
  }
  const bool fresh = state.range(0) != 0;
  CIndexReader warm(f.db);
  int i = 0;
  for (auto _ : state) {
    const std::string clip = ClipPath(i++ % kClips);
    const std::vector<IndexPoint> points =
        fresh ? CIndexReader(f.db).GetPoints(clip) : warm.GetPoints(clip);
    if (points.size() != kPointsPerClip) state.SkipWithError("points missing");
    benchmark::DoNotOptimize(points);
  }
}

BENCHMARK(BM_OverviewsOfAFolder)
    ->ArgName("fresh_reader")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointsOfOneClip)
    ->ArgName("fresh_reader")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
