// Every route of the folder: what the map is given from a real index as the toggle is turned on,
// as clips finish indexing and as it is turned off, and which clip a clicked line names.
#include "ui/route_overview.h"

#include <gtest/gtest.h>

#include "index/index_writer.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "null_map_loader.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

// Records each SetOverviewLines as the set, the clip numbers of its lines and whether it replaced.
class LineRecorder : public test::NullMapLoader {
 public:
  struct Call {
    std::uint32_t set;
    std::vector<std::uint32_t> clips;
    bool replace;
    bool operator==(const Call&) const = default;
  };
  void SetOverviewLines(DuiLib::CWebBrowserUI*, std::uint32_t set,
                        std::span<const ClipOverview> lines, bool replace) override {
    Call call{set, {}, replace};
    for (const ClipOverview& line : lines) {
      call.clips.push_back(line.clip);
      points += line.points.size();
    }
    calls.push_back(call);
  }
  std::vector<Call> calls;
  std::size_t points = 0;
};

class RouteOverviewTest : public ::testing::Test {
 protected:
  void Store(const std::string& clip, int points) {
    std::vector<IndexPoint> track;
    for (int i = 0; i < points; ++i) {
      track.push_back(
          {i * 100, 1779093000 + i / 10, 22.5 + i * 1e-5, 113.9, 40.0f, 2000, 2000, 2333});
    }
    ClipSummary summary;
    summary.path = clip;
    summary.durationMs = points * 100;
    summary.status = points > 0 ? ClipStatus::Indexed : ClipStatus::NoTelemetry;
    SummarizeTrack(track, summary);
    ASSERT_EQ(writer.Store(summary, track, SimplifyOverview(track)), "");
  }

  test::TempDir dir;
  std::string db = dir.str() + "index.sqlite";
  CIndexWriter writer{db};
  LineRecorder map;
  CRouteOverview overview{db, map, [] { return nullptr; }};
  const std::vector<std::string> folder = {"/card/a.mp4", "/card/b.mp4", "/card/c.mp4"};
};

TEST_F(RouteOverviewTest, LinesAppearAsClipsFinishIndexingEachOnce) {
  Store(folder[0], 1000);
  Store(folder[1], 0);  // read, no telemetry: no line, and never asked for again
  overview.Show(folder);
  using Call = LineRecorder::Call;
  EXPECT_EQ(map.calls, (std::vector<Call>{{1, {}, true}, {1, {0}, false}}));
  EXPECT_LE(map.points, 200u) << "overview lines, not the full track";
  EXPECT_EQ(overview.Refresh(), 0);
  Store(folder[2], 30);
  EXPECT_EQ(overview.Refresh(), 1);
  EXPECT_EQ(map.calls.back(), (Call{1, {2}, false}));
  EXPECT_EQ(overview.Refresh(), 0);
  EXPECT_EQ(map.calls.size(), 3u);
  EXPECT_EQ(overview.ClipPath(2), folder[2]);
  EXPECT_EQ(overview.ClipPath(3), "");
}

TEST_F(RouteOverviewTest, HidingRemovesTheLinesAndEndsTheSetsClicks) {
  Store(folder[0], 100);
  overview.Show(folder);
  overview.Hide();
  EXPECT_EQ(map.calls.back(), (LineRecorder::Call{0, {}, true}));
  EXPECT_EQ(overview.set(), 0u);
  EXPECT_FALSE(overview.shown());
  EXPECT_EQ(overview.ClipPath(0), "");
  Store(folder[1], 100);
  EXPECT_EQ(overview.Refresh(), 0);
  // Shown again: a new set, so a click on a line of the old one is told apart.
  overview.Show({folder[1]});
  EXPECT_EQ(overview.set(), 2u);
  EXPECT_EQ(map.calls.back(), (LineRecorder::Call{2, {0}, false}));
}

TEST_F(RouteOverviewTest, AFolderNothingOfWhichIsIndexedYetShowsNoLineAndNoIndexIsNoFault) {
  overview.Show(folder);
  EXPECT_EQ(map.calls, (std::vector<LineRecorder::Call>{{1, {}, true}}));
  CRouteOverview missing(dir.str() + "none/index.sqlite", map, [] { return nullptr; });
  missing.Show(folder);
  EXPECT_EQ(missing.Refresh(), 0);
  EXPECT_TRUE(missing.shown());
}

}  // namespace
}  // namespace korvane
