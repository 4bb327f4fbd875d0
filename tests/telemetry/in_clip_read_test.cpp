// The one wording of an in-clip track's read: presence, the records handed over and the reason
// from what the reader counted, for a track absent, without a fix, with parts unread or another
// maker's.
#include "telemetry/in_clip_read.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane::test {
namespace {

struct HandOverCase {
  const char* name;
  int fixes, noFix, skipped;
  const char* problem;
  const char* note;
  bool absentWhenNoneRead;
  bool present;
  const char* reason;
};

class InClipHandOver : public testing::TestWithParam<HandOverCase> {};

TEST_P(InClipHandOver, SaysEachThingOnceAfterTheTracksName) {
  const HandOverCase& c = GetParam();
  const std::vector<TelemetryRecord> records(c.fixes + c.noFix);
  int handed = 0;
  const TelemetryRead read =
      HandOverInClipTrack({records, c.fixes, c.noFix, c.skipped, c.problem},
                          {"Cam track", "block", c.note, c.absentWhenNoneRead},
                          [&](const TelemetryRecord&) { ++handed; });
  EXPECT_EQ(read.present, c.present);
  EXPECT_EQ(read.records, c.present ? c.fixes : 0);
  EXPECT_EQ(handed, c.present ? c.fixes + c.noFix : 0);
  EXPECT_EQ(read.reason, c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InClipHandOver,
    testing::Values(
        HandOverCase{"FixesNothingToSay", 3, 0, 0, "", "", false, true, ""},
        HandOverCase{"NoteOnlyWithFixes", 3, 0, 0, "", "a note", false, true, "Cam track: a note"},
        HandOverCase{"NoFixHidesTheNote", 0, 2, 0, "", "a note", false, true, "Cam track: no fix"},
        HandOverCase{"NoFixStillCountsUnread", 0, 2, 1, "", "", false, true,
                     "Cam track: no fix; 1 block unread"},
        HandOverCase{"EverythingInOrder", 3, 0, 4, "bad table", "a note", false, true,
                     "Cam track: a note; 4 blocks unread; bad table"},
        HandOverCase{"NothingReadIsStillTheTrack", 0, 0, 5, "", "", false, true,
                     "Cam track: no fix; 5 blocks unread"},
        HandOverCase{"NothingReadIsAnotherMakers", 0, 0, 5, "bad table", "", true, false,
                     "a track of the Cam track's format that does not read (5 blocks unread; "
                     "bad table)"},
        HandOverCase{"AnotherMakersRuleKeepsNoFixMarks", 0, 2, 0, "", "", true, true,
                     "Cam track: no fix"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InClipAbsent, NamesTheTrackAndTheProblem) {
  EXPECT_EQ(NoInClipTrack("Cam track", "").reason, "no Cam track");
  const TelemetryRead read = NoInClipTrack("Cam track", "the moov box is cut");
  EXPECT_FALSE(read.present);
  EXPECT_EQ(read.reason, "no Cam track (the moov box is cut)");
}

}  // namespace
}  // namespace korvane::test
