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
  EXPECT_FALSE(marks.Shown().start || marks.Shown().end);
  marks.MarkStart("a.mp4", 1000);
  const std::optional<MarkedStretch> pair = marks.MarkEnd("a.mp4", 5000);
  ASSERT_TRUE(pair);
  marks.SaveStarted(*pair);
  EXPECT_EQ(marks.Shown().start->valueMs, 1000);  // the spent pair stays up while it is saved
  EXPECT_EQ(marks.Shown().end->valueMs, 5000);
  marks.MarkStart("a.mp4", 7000);  // the next stretch being marked replaces it
  EXPECT_EQ(marks.Shown().start->valueMs, 7000);
  EXPECT_FALSE(marks.Shown().end);
  marks = CStretchMarks{};
  marks.SaveStarted(*pair);
  marks.SaveEnded();
  EXPECT_FALSE(marks.Shown().start || marks.Shown().end);
}

// The playlist "a.mp4", "b.mp4", "c.mp4"; "b.mp4" plays, 60 s long.
struct PlaceCase {
  const char* name;
  std::optional<StretchTime> start;
  std::optional<StretchTime> end;
  StretchInClip placed;  // durationMs is filled in
};

constexpr std::int64_t kLength = 60000;
const std::optional<std::int64_t> kNone;

class StretchPlacing : public testing::TestWithParam<PlaceCase> {};

TEST_P(StretchPlacing, TicksAndTintOfThePlayingClip) {
  const PlaceCase& c = GetParam();
  const std::map<std::string, int> order{{"a.mp4", 0}, {"b.mp4", 1}, {"c.mp4", 2}};
  const auto orderOf = [&order](const std::string& clip) -> std::optional<int> {
    const auto found = order.find(clip);
    return found != order.end() ? std::optional{found->second} : std::nullopt;
  };
  StretchInClip expected = c.placed;
  expected.durationMs = kLength;
  EXPECT_EQ(PlaceStretch({c.start, c.end}, "b.mp4", kLength, orderOf), expected);
}

INSTANTIATE_TEST_SUITE_P(Place, StretchPlacing,
                         testing::Values(PlaceCase{"NoMarks", std::nullopt, std::nullopt, {}},
                                         PlaceCase{"StartAloneIsATick",
                                                   StretchTime{"b.mp4", 15000},
                                                   std::nullopt,
                                                   {0, 15000, kNone, kNone, kNone}},
                                         PlaceCase{"BothInThisClip",
                                                   StretchTime{"b.mp4", 15000},
                                                   StretchTime{"b.mp4", 45000},
                                                   {0, 15000, 45000, 15000, 45000}},
                                         PlaceCase{"StartInAnEarlierClipTintsFromTheStart",
                                                   StretchTime{"a.mp4", 50000},
                                                   StretchTime{"b.mp4", 12000},
                                                   {0, kNone, 12000, 0, 12000}},
                                         PlaceCase{"EndInALaterClipTintsToTheEnd",
                                                   StretchTime{"b.mp4", 40000},
                                                   StretchTime{"c.mp4", 5000},
                                                   {0, 40000, kNone, 40000, kLength}},
                                         PlaceCase{"RunningRightAcross",
                                                   StretchTime{"a.mp4", 40000},
                                                   StretchTime{"c.mp4", 5000},
                                                   {0, kNone, kNone, 0, kLength}},
                                         PlaceCase{"WhollyInAnotherClip",
                                                   StretchTime{"a.mp4", 1000},
                                                   StretchTime{"a.mp4", 9000},
                                                   {}},
                                         PlaceCase{"ReversedKeepsItsTicksButNoTint",
                                                   StretchTime{"b.mp4", 45000},
                                                   StretchTime{"b.mp4", 15000},
                                                   {0, 45000, 15000, kNone, kNone}},
                                         PlaceCase{"ReversedAcrossClips",
                                                   StretchTime{"c.mp4", 1000},
                                                   StretchTime{"a.mp4", 9000},
                                                   {}},
                                         PlaceCase{"AMarkOfAClipNotInTheListIsMissing",
                                                   StretchTime{"elsewhere.mp4", 1000},
                                                   StretchTime{"b.mp4", 9000},
                                                   {0, kNone, 9000, kNone, kNone}},
                                         PlaceCase{"AMomentReachingIntoTheClipsAround",
                                                   StretchTime{"b.mp4", -10000},
                                                   StretchTime{"b.mp4", 70000},
                                                   {0, kNone, kNone, 0, kLength}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StretchPlacing, AClipOfNoLengthShowsNothingAndFractionsStayInside) {
  const auto none = [](const std::string&) { return std::optional<int>{}; };
  const ShownMarks marks{StretchTime{"b.mp4", 1000}, StretchTime{"b.mp4", 2000}};
  EXPECT_EQ(PlaceStretch(marks, "b.mp4", 0, none), StretchInClip{});
  const StretchInClip placed = PlaceStretch(marks, "b.mp4", 4000, none);
  EXPECT_DOUBLE_EQ(placed.FractionOf(1000), 0.25);
  EXPECT_DOUBLE_EQ(placed.FractionOf(-5), 0.0);
  EXPECT_DOUBLE_EQ(placed.FractionOf(9000), 1.0);
}

}  // namespace
}  // namespace korvane
