#include "telemetry/extract_cue_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

constexpr std::size_t kKeep = 127;

// Feeds every piece in turn and collects the cues, then ends the stream.
std::vector<std::string> Split(const std::vector<std::string>& pieces, std::size_t keep = kKeep) {
  CueSplitter splitter(keep);
  std::vector<std::string> cues;
  for (const std::string& piece : pieces) {
    std::string_view rest = piece;
    while (!rest.empty()) {
      rest.remove_prefix(splitter.Feed(rest));
      if (splitter.ready()) cues.emplace_back(splitter.cue());
    }
  }
  if (splitter.Finish()) cues.emplace_back(splitter.cue());
  return cues;
}

std::string Cue(int n, const std::string& text) {
  return std::to_string(n) + "\n00:00:00,000 --> 00:00:00,100\n" + text + "\n\n";
}

TEST(CueSplitter, SplitsReadsThatMergeSeveralCues) {
  const std::string a = Cue(1, "2026-05-18 08:30:00/E113 56 21.48/N22 32 8.16/0.0/X:0/Y:12/Z:98");
  const std::string b = Cue(2, "second");
  const std::string c = Cue(3, "third");
  EXPECT_EQ(Split({a + b + c}), (std::vector<std::string>{a, b, c}));
}

TEST(CueSplitter, JoinsACueCutAtAnyByte) {
  const std::string a = Cue(1, "first line");
  const std::string b = Cue(2, "second line");
  const std::string stream = a + b;
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    EXPECT_EQ(Split({stream.substr(0, cut), stream.substr(cut)}), (std::vector<std::string>{a, b}))
        << "cut at " << cut;
  }
  std::vector<std::string> bytes;
  for (char c : stream) bytes.emplace_back(1, c);
  EXPECT_EQ(Split(bytes), (std::vector<std::string>{a, b}));
}

TEST(CueSplitter, ToleratesCarriageReturnsAndBlankLinesBetweenCues) {
  const std::string crlf = "1\r\n00:00:00,000 --> 00:00:00,100\r\ntext\r\n\r\n";
  const std::string b = Cue(2, "b");
  EXPECT_EQ(Split({"\n\r\n" + crlf + "\n\n\n" + b}), (std::vector<std::string>{crlf, b}));
}

TEST(CueSplitter, KeepsOnlyTheHeadOfALongCueAndLosesNothingAfterIt) {
  const std::string longCue = Cue(1, std::string(300, 'x'));
  const std::string next = Cue(2, "next");
  const auto cues = Split({longCue.substr(0, 100), longCue.substr(100) + next});
  ASSERT_EQ(cues.size(), 2u);
  EXPECT_EQ(cues[0], longCue.substr(0, kKeep));
  EXPECT_EQ(cues[1], next);
  // A cue far longer than any read still counts as one message.
  EXPECT_EQ(Split({Cue(1, std::string(5000, 'y')) + next}).size(), 2u);
}

TEST(CueSplitter, EndOfStreamCompletesAnUnterminatedCue) {
  EXPECT_EQ(Split({"1\n00:00:00,000 --> 00:00:00,100\nlast\n"}),
            (std::vector<std::string>{"1\n00:00:00,000 --> 00:00:00,100\nlast\n"}));
  EXPECT_EQ(Split({"tail without line end"}), (std::vector<std::string>{"tail without line end"}));
  EXPECT_EQ(Split({""}), std::vector<std::string>{});
  EXPECT_EQ(Split({"\n\r\n\n"}), std::vector<std::string>{});
}

TEST(CueSplitter, NulBytesAreCueText) {
  const std::string withNul = std::string("\0\0line", 6) + "\n\n";
  EXPECT_EQ(Split({withNul}), (std::vector<std::string>{withNul}));
}

TEST(CueSplitter, ResetDropsAPartialCue) {
  CueSplitter splitter(kKeep);
  splitter.Feed("1\n00:00:00,000 --> half");
  splitter.Reset();
  const std::string b = Cue(2, "b");
  EXPECT_EQ(splitter.Feed(b), b.size());
  ASSERT_TRUE(splitter.ready());
  EXPECT_EQ(splitter.cue(), b);
  EXPECT_FALSE(splitter.Finish());
}

}  // namespace
}  // namespace korvane
