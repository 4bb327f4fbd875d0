// Going from driving event to driving event: the mark's tooltip text, which event the previous and
// next keys reach (within the clip, then across the playlist), and the controller playing another
// clip from an event's moment.
#include "ui/event_jump.h"

#include <gtest/gtest.h>

#include <map>

#include "controller_fakes.h"

namespace korvane {
namespace {

TEST(EventTip, ShowsTheKindThePeakAndTheClipTime) {
  const EventKindNames names = {"Hard braking", "Hard acceleration", "Cornering", "Impact"};
  EXPECT_EQ(EventTipText({DriveEventKind::Braking, 0.804f, 20000, 0, 0}, names),
            "Hard braking \xC2\xB7 0.80 G \xC2\xB7 00:00:20");
  EXPECT_EQ(EventTipText({DriveEventKind::Impact, 2.5f, 3'725'900, 0, 0}, names),
            "Impact \xC2\xB7 2.50 G \xC2\xB7 01:02:05");
}

// A playlist of five clips: 0 has events at 20, 35 and 50 s, 1 none, 2 is not indexed yet,
// 3 has one at 12 s, 4 none.
struct JumpCase {
  const char* name;
  int current;
  std::int32_t nowMs;
  bool forward;
  std::optional<EventTarget> expected;
};

void PrintTo(const JumpCase& c, std::ostream* os) {
  *os << c.name;
}

class EventJump : public testing::TestWithParam<JumpCase> {};

TEST_P(EventJump, GoesToTheNearestEventThatWayInThePlaylist) {
  const std::map<int, std::vector<DriveEvent>> known = {
      {0,
       {{DriveEventKind::Braking, 0.8f, 20000, 0, 0},
        {DriveEventKind::Cornering, 0.7f, 35000, 0, 0},
        {DriveEventKind::Impact, 2.5f, 50000, 0, 0}}},
      {1, {}},
      {3, {{DriveEventKind::Braking, 0.6f, 12000, 0, 0}}},
      {4, {}}};
  const auto eventsOf = [&](int clip) -> const std::vector<DriveEvent>* {
    const auto it = known.find(clip);
    return it == known.end() ? nullptr : &it->second;
  };
  const JumpCase& c = GetParam();
  EXPECT_EQ(FindEventTarget(c.current, c.nowMs, c.forward, 5, eventsOf), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Playlist, EventJump,
    testing::Values(
        JumpCase{"NextFromTheStart", 0, 0, true, EventTarget{0, 20000}},
        JumpCase{"NextFromAnEventsOwnMomentMovesOn", 0, 20000, true, EventTarget{0, 35000}},
        JumpCase{"NextFromJustBeforeAnEventCountsAsOnIt", 0, 19700, true, EventTarget{0, 35000}},
        JumpCase{"NextAfterTheLastSkipsClipsWithoutOrUnknown", 0, 50000, true,
                 EventTarget{3, 12000}},
        JumpCase{"NothingAfterTheLastClipWithEvents", 3, 12000, true, std::nullopt},
        JumpCase{"PreviousGoesBack", 0, 40000, false, EventTarget{0, 35000}},
        JumpCase{"PreviousJustAfterAnEventGoesToTheOneBefore", 0, 36000, false,
                 EventTarget{0, 20000}},
        JumpCase{"PreviousBeforeTheFirstGoesToTheLastOfAnEarlierClip", 3, 5000, false,
                 EventTarget{0, 50000}},
        JumpCase{"AClipOfItsOwnWithoutEventsLooksFurther", 1, 0, true, EventTarget{3, 12000}},
        JumpCase{"NoCurrentClip", -1, 0, true, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

class PlayEntryAt : public ::testing::Test, public test::ControllerWorld {};

TEST_F(PlayEntryAt, PlaysTheEntryAndSeeksOnceThePlayerHasStarted) {
  DropClip("a.mp4");
  player.log.clear();
  controller.PlayEntryAt(2, 35.0);
  ASSERT_FALSE(player.log.empty());
  EXPECT_EQ(player.log.back(), "play " + Clip("c.mp4"));
  controller.OnPlayerMessage(kPlayerStarted);
  EXPECT_EQ(player.log.back(), "seek 35");
  // Only once: the next start of a file begins at its start.
  player.log.clear();
  controller.OnPlayerMessage(kPlayerStarted);
  EXPECT_TRUE(player.log.empty());
  controller.PlayEntryAt(3, 1.0);
  controller.PlayEntryAt(-1, 1.0);
  EXPECT_TRUE(player.log.empty()) << "no such entry";
}

}  // namespace
}  // namespace korvane
