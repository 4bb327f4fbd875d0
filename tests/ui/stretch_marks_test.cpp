#include "ui/stretch_marks.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace korvane
