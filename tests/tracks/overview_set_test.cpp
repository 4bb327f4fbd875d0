// Every route of the folder: which lines a real index gives as the toggle is turned on, as clips
// finish indexing and as it is turned off, and which clip a clicked line names.
#include "tracks/overview_set.h"

#include <gtest/gtest.h>

#include "index/index_writer.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

// The clip numbers of the lines, and how many points they hold in all.
std::pair<std::vector<std::uint32_t>, std::size_t> Numbers(
    const std::vector<NumberedOverview>& lines) {
  std::pair<std::vector<std::uint32_t>, std::size_t> numbers;
  for (const NumberedOverview& line : lines) {
    numbers.first.push_back(line.clip);
    numbers.second += line.points.size();
  }
  return numbers;
}

class OverviewSetTest : public ::testing::Test {
 protected:
  void Store(const std::string& clip, int points) {
    std::vector<IndexPoint> track;
    for (int i = 0; i < points; ++i) {
      track.push_back({i * 100, (1779093000 + i / 10) * 1000LL, 22.5 + i * 1e-5, 113.9, 40.0f});
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
  COverviewSet overview{db};
  const std::vector<std::string> folder = {"/card/a.mp4", "/card/b.mp4", "/card/c.mp4"};
};

TEST_F(OverviewSetTest, LinesAppearAsClipsFinishIndexingEachOnce) {
  Store(folder[0], 1000);
  Store(folder[1], 0);  // read, no telemetry: no line, and never asked for again
  EXPECT_EQ(overview.Start(folder), 1u);
  const auto [first, points] = Numbers(overview.TakeNewLines());
  EXPECT_EQ(first, std::vector<std::uint32_t>{0});
  EXPECT_LE(points, 200u) << "overview lines, not the full track";
  EXPECT_TRUE(overview.TakeNewLines().empty());
  Store(folder[2], 30);
  EXPECT_EQ(Numbers(overview.TakeNewLines()).first, std::vector<std::uint32_t>{2});
  EXPECT_TRUE(overview.TakeNewLines().empty());
  EXPECT_EQ(overview.ClipPath(2), folder[2]);
  EXPECT_EQ(overview.ClipPath(3), "");
}

// The moments of a two-camera card are one line each: the front's while both have telemetry, the
// rear's when only it has, and none for a channel read after its moment has its line.
TEST_F(OverviewSetTest, AMomentOfSeveralChannelsIsOneLine) {
  const std::vector<std::string> card = {"/card/1_F.mp4", "/card/1_R.mp4", "/card/2_F.mp4",
                                         "/card/2_R.mp4"};
  Store(card[0], 50);
  Store(card[1], 50);
  Store(card[2], 0);
  Store(card[3], 50);
  overview.Start(card);
  EXPECT_EQ(Numbers(overview.TakeNewLines()).first, (std::vector<std::uint32_t>{0, 3}));
  overview.Start({"/card/3_R.mp4", "/card/3_F.mp4"});
  Store("/card/3_R.mp4", 40);
  EXPECT_EQ(Numbers(overview.TakeNewLines()).first, std::vector<std::uint32_t>{0});
  Store("/card/3_F.mp4", 40);
  EXPECT_TRUE(overview.TakeNewLines().empty());
}

TEST_F(OverviewSetTest, ClearingEndsTheSetAndItsClicks) {
  Store(folder[0], 100);
  overview.Start(folder);
  overview.Clear();
  EXPECT_EQ(overview.set(), 0u);
  EXPECT_EQ(overview.ClipPath(0), "");
  Store(folder[1], 100);
  EXPECT_TRUE(overview.TakeNewLines().empty());
  // Shown again: a new set, so a click on a line of the old one is told apart.
  EXPECT_EQ(overview.Start({folder[1]}), 2u);
  EXPECT_EQ(Numbers(overview.TakeNewLines()).first, std::vector<std::uint32_t>{0});
}

TEST_F(OverviewSetTest, AFolderNothingOfWhichIsIndexedYetGivesNoLineAndNoIndexIsNoFault) {
  overview.Start(folder);
  EXPECT_TRUE(overview.TakeNewLines().empty());
  COverviewSet missing(dir.str() + "none/index.sqlite");
  EXPECT_EQ(missing.Start(folder), 1u);
  EXPECT_TRUE(missing.TakeNewLines().empty());
  EXPECT_EQ(missing.set(), 1u);
}

}  // namespace
}  // namespace korvane
