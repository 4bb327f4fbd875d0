#include "media/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

using Lines = std::vector<std::string>;

Lines FeedAll(LineSplitter& splitter, const std::vector<std::string>& blocks) {
  Lines lines;
  for (const std::string& block : blocks) {
    splitter.Feed(block, [&](std::string_view line) { lines.emplace_back(line); });
  }
  return lines;
}

TEST(LineSplitter, ReplyCutBetweenTwoReadsArrivesWhole) {
  LineSplitter splitter;
  EXPECT_EQ(FeedAll(splitter, {"ID_LENGTH=60.00\nStarting pla", "yback...\nANS_TIME_POSITION=1"}),
            (Lines{"ID_LENGTH=60.00", "Starting playback..."}));
  EXPECT_EQ(splitter.pending(), std::string("ANS_TIME_POSITION=1").size());
  EXPECT_EQ(FeedAll(splitter, {".5\n"}), Lines{"ANS_TIME_POSITION=1.5"});
}

TEST(LineSplitter, EveryCutPointOfABlockGivesTheSameLines) {
  const std::string output = "a=1\r\nbb=2\n\n\rccc=3\r";
  const Lines expected = {"a=1", "bb=2", "ccc=3"};
  for (std::size_t cut = 0; cut <= output.size(); ++cut) {
    LineSplitter splitter;
    EXPECT_EQ(FeedAll(splitter, {output.substr(0, cut), output.substr(cut)}), expected)
        << "cut at " << cut;
    EXPECT_EQ(splitter.pending(), 0u);
  }
}

TEST(LineSplitter, FlushHandsOnTheUnfinishedLineOnce) {
  LineSplitter splitter;
  Lines lines = FeedAll(splitter, {"ID_EXIT=EOF"});
  EXPECT_TRUE(lines.empty());
  splitter.Flush([&](std::string_view line) { lines.emplace_back(line); });
  splitter.Flush([&](std::string_view line) { lines.emplace_back(line); });
  EXPECT_EQ(lines, Lines{"ID_EXIT=EOF"});
}

TEST(LineSplitter, EndlessOutputWithoutBreaksStaysBounded) {
  LineSplitter splitter;
  const std::string block(4096, 'x');
  std::size_t handed = 0;
  for (int i = 0; i < 100; ++i) {
    splitter.Feed(block, [&](std::string_view line) { handed += line.size(); });
    ASSERT_LT(splitter.pending(), LineSplitter::kMaxLine);
  }
  EXPECT_EQ(handed + splitter.pending(), 100u * 4096u);
}

}  // namespace
}  // namespace korvane
