#include "ui/stretch_marks.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace korvane {
namespace {

struct Mark {
  bool start;
  const char* clip;
  std::int64_t ms;
};

struct MarksCase {
  const char* name;
  std::vector<Mark> marks;
  // The stretch the last mark completes, if any: from clip/ms, to clip/ms.
  std::optional<std::pair<StretchTime, StretchTime>> saved;
  bool startLeft;  // a start mark still waits for its end after the last mark
};

class StretchMarksRules : public testing::TestWithParam<MarksCase> {};

TEST_P(StretchMarksRules, APairIsSavedOnceAndClearsTheMarks) {
  const MarksCase& c = GetParam();
  CStretchMarks marks;
  std::optional<MarkedStretch> last;
  for (const Mark& m : c.marks)
    last = m.start ? marks.MarkStart(m.clip, m.ms) : marks.MarkEnd(m.clip, m.ms);
  ASSERT_EQ(last.has_value(), c.saved.has_value());
  if (last) {
    EXPECT_EQ(last->from.clip, c.saved->first.clip);
    EXPECT_EQ(last->from.valueMs, c.saved->first.valueMs);
    EXPECT_EQ(last->to.clip, c.saved->second.clip);
    EXPECT_EQ(last->to.valueMs, c.saved->second.valueMs);
    EXPECT_FALSE(marks.end().has_value());
  }
  EXPECT_EQ(marks.start().has_value(), c.startLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, StretchMarksRules,
    testing::Values(
        MarksCase{"StartAloneWaits", {{true, "a.mp4", 5000}}, std::nullopt, true},
        MarksCase{"StartThenEndAcrossClips",
                  {{true, "a.mp4", 50000}, {false, "b.mp4", 12000}},
                  std::pair{StretchTime{"a.mp4", 50000}, StretchTime{"b.mp4", 12000}},
                  false},
        MarksCase{"EndFirstThenStart",
                  {{false, "a.mp4", 9000}, {true, "a.mp4", 2000}},
                  std::pair{StretchTime{"a.mp4", 2000}, StretchTime{"a.mp4", 9000}},
                  false},
        MarksCase{"ALaterStartReplacesTheEarlier",
                  {{true, "a.mp4", 1000}, {true, "a.mp4", 4000}, {false, "a.mp4", 8000}},
                  std::pair{StretchTime{"a.mp4", 4000}, StretchTime{"a.mp4", 8000}},
                  false},
        MarksCase{"AReversedPairIsHandedOnForTheSaveToRefuse",
                  {{true, "a.mp4", 8000}, {false, "a.mp4", 3000}},
                  std::pair{StretchTime{"a.mp4", 8000}, StretchTime{"a.mp4", 3000}},
                  false},
        MarksCase{"AfterASaveANewStartWaitsAgain",
                  {{true, "a.mp4", 1000}, {false, "a.mp4", 2000}, {true, "a.mp4", 3000}},
                  std::nullopt,
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MomentStretch, ReachesBothWaysPastTheClipsEnds) {
  const MarkedStretch moment = MomentStretch("a.mp4", 5000, 15);
  EXPECT_EQ(moment.from.clip, "a.mp4");
  EXPECT_EQ(moment.from.valueMs, -10000);
  EXPECT_EQ(moment.to.valueMs, 20000);
}

TEST(StretchMarksShown, WaitingMarksComeBeforeTheStretchBeingSaved) {
  CStretchMarks marks;
  marks.MarkStart("a.mp4", 1000);
  marks.SaveStarted(*marks.MarkEnd("a.mp4", 5000));
  EXPECT_EQ(marks.Shown().end->valueMs, 5000);  // the spent pair stays up while it is saved
  marks.MarkStart("a.mp4", 7000);               // until the next stretch is being marked
  EXPECT_EQ(marks.Shown().start->valueMs, 7000);
  EXPECT_FALSE(marks.Shown().end);
  marks.MarkEnd("a.mp4", 9000);
  marks.SaveEnded();
  EXPECT_FALSE(marks.Shown().start || marks.Shown().end);
}

// The playlist "a.mp4", "b.mp4", "c.mp4"; "b.mp4" plays, 60 s long.
struct Placing {
  const char* name;
  std::optional<StretchTime> start, end;
  StretchInClip placed;  // durationMs is filled in
};
constexpr std::int64_t kLen = 60000;
const std::optional<std::int64_t> kNo;
StretchTime In(const char* clip, std::int64_t ms) {
  return {clip, ms};
}

class StretchPlacing : public testing::TestWithParam<Placing> {};

TEST_P(StretchPlacing, TicksAndTintOfThePlayingClip) {
  const std::map<std::string, int> order{{"a.mp4", 0}, {"b.mp4", 1}, {"c.mp4", 2}};
  const auto orderOf = [&order](const std::string& clip) -> std::optional<int> {
    const auto found = order.find(clip);
    return found != order.end() ? std::optional{found->second} : std::nullopt;
  };
  StretchInClip expected = GetParam().placed;
  expected.durationMs = kLen;
  EXPECT_EQ(PlaceStretch({GetParam().start, GetParam().end}, "b.mp4", kLen, orderOf), expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Place, StretchPlacing, testing::Values(
    Placing{"StartAloneIsATick", In("b.mp4", 15000), {}, {0, 15000, kNo, kNo, kNo}},
    Placing{"BothHere", In("b.mp4", 15000), In("b.mp4", 45000), {0, 15000, 45000, 15000, 45000}},
    Placing{"FromAnEarlierClip", In("a.mp4", 50000), In("b.mp4", 12000), {0, kNo, 12000, 0, 12000}},
    Placing{"IntoALaterClip", In("b.mp4", 40000), In("c.mp4", 5000), {0, 40000, kNo, 40000, kLen}},
    Placing{"RightAcross", In("a.mp4", 40000), In("c.mp4", 5000), {0, kNo, kNo, 0, kLen}},
    Placing{"WhollyElsewhere", In("a.mp4", 1000), In("a.mp4", 9000), {}},
    Placing{"ReversedTicks", In("b.mp4", 45000), In("b.mp4", 15000), {0, 45000, 15000, kNo, kNo}},
    Placing{"ReversedAcross", In("c.mp4", 1000), In("a.mp4", 9000), {}},
    Placing{"ClipNotListed", In("x.mp4", 1000), In("b.mp4", 9000), {0, kNo, 9000, kNo, kNo}},
    Placing{"MomentPastBothEnds", In("b.mp4", -10000), In("b.mp4", 70000), {0, kNo, kNo, 0, kLen}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(StretchPlacing, AClipOfNoLengthShowsNothingAndFractionsStayInside) {
  const auto none = [](const std::string&) { return std::optional<int>{}; };
  const ShownMarks marks{In("b.mp4", 1000), In("b.mp4", 2000)};
  EXPECT_EQ(PlaceStretch(marks, "b.mp4", 0, none), StretchInClip{});
  const StretchInClip placed = PlaceStretch(marks, "b.mp4", 4000, none);
  EXPECT_DOUBLE_EQ(placed.FractionOf(1000), 0.25);
  EXPECT_DOUBLE_EQ(placed.FractionOf(-5), 0.0);
  EXPECT_DOUBLE_EQ(placed.FractionOf(9000), 1.0);
}

}  // namespace
}  // namespace korvane
