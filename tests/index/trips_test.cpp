// Real camera dates and the trips rule.
#include "index/trips.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "index/track_summary.h"

namespace korvane {
namespace {

struct DateCase {
  int year, month, day, hour, minute, second;
  bool real;
};

class CameraDate : public testing::TestWithParam<DateCase> {};

TEST_P(CameraDate, IsRealOnlyForADateTheCalendarHas) {
  const DateCase& c = GetParam();
  TelemetryRecord r;
  r.year = c.year;
  r.month = static_cast<std::uint8_t>(c.month);
  r.day = static_cast<std::uint8_t>(c.day);
  r.hour = static_cast<std::uint8_t>(c.hour);
  r.minute = static_cast<std::uint8_t>(c.minute);
  r.second = static_cast<std::uint8_t>(c.second);
  EXPECT_EQ(IsRealCameraDate(r), c.real);
  EXPECT_EQ(ToIndexPoint(r, 0).timeMs == kNoTime, !c.real);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, CameraDate,
    testing::Values(DateCase{2026, 5, 18, 8, 30, 0, true}, DateCase{2024, 2, 29, 23, 59, 59, true},
                    DateCase{2000, 2, 29, 0, 0, 0, true}, DateCase{1900, 2, 29, 0, 0, 0, false},
                    DateCase{2026, 2, 29, 0, 0, 0, false}, DateCase{2026, 4, 31, 0, 0, 0, false},
                    DateCase{2026, 13, 1, 0, 0, 0, false}, DateCase{2026, 0, 1, 0, 0, 0, false},
                    DateCase{2026, 5, 0, 0, 0, 0, false}, DateCase{2026, 5, 18, 24, 0, 0, false},
                    DateCase{2026, 5, 18, 8, 60, 0, false}, DateCase{2026, 5, 18, 8, 0, 60, false},
                    DateCase{0, 5, 18, 8, 0, 0, false}));

TEST(CameraDate, ASummarysTimesComeFromPointsThatHaveOne) {
  std::vector<IndexPoint> points = {{0, kNoTime}, {100, 50'000}, {200, 60'000}, {300, kNoTime}};
  ClipSummary s;
  SummarizeTrack(points, s);
  EXPECT_EQ(s.firstCameraTime, 50);
  EXPECT_EQ(s.lastCameraTime, 60);
}

ClipSummary Clip(const std::string& path, std::int64_t first, std::int64_t last, int points = 10) {
  ClipSummary s;
  s.path = path;
  s.firstCameraTime = first;
  s.lastCameraTime = last;
  s.pointCount = points;
  s.status = ClipStatus::Indexed;
  return s;
}

// A moment counts once whatever its channels: its telemetry comes from the front when several
// channels have it, else from the one that has.
TEST(Trips, ClipsWithinTenSecondsOfEachOtherFormATripEachMomentOnce) {
  const auto trips = GroupTrips({
      Clip("/c/0003_F.mp4", 1130, 1190),  // out of order; 10 s after the one before
      Clip("/c/0001_R.mp4", 1000, 1070),  // the rear of 0001, with telemetry of its own
      Clip("/c/0001_F.mp4", 1000, 1060), Clip("/c/0002_F.mp4", 1060, 1120),  // equal times
      Clip("/c/0004_F.mp4", 1201, 1260),                                     // 11 s: a new trip
      Clip("/c/0005_F.mp4", 0, 0, 0),           // no telemetry in the front …
      Clip("/c/0005_R.mp4", 1270, 1300),        // … the rear has it
      Clip("/c/0009_F.mp4", 0, 0, 0),           // no telemetry: in no trip
      Clip("/c/other/0001_F.mp4", 1000, 1060),  // another card's folder: a camera of its own
  });
  ASSERT_EQ(trips.size(), 3u);
  EXPECT_NE(trips[0].camera, trips[1].camera);
  const Trip& first = trips[0].clips.size() == 3 ? trips[0] : trips[1];
  ASSERT_EQ(first.clips.size(), 3u);
  EXPECT_EQ(first.clips[0].path, "/c/0001_F.mp4");
  EXPECT_EQ(first.clips[2].path, "/c/0003_F.mp4");
  EXPECT_EQ(first.lastCameraTime, 1190);
  ASSERT_EQ(trips[2].clips.size(), 2u);
  EXPECT_EQ(trips[2].firstCameraTime, 1201);
  EXPECT_EQ(trips[2].clips[1].path, "/c/0005_R.mp4");
  EXPECT_EQ(trips[2].camera, first.camera);
}

// Clips of one channel, each 1 km a minute (60 km/h) at 70 km/h at most, overlapping in time as a
// camera that keeps an event copy of a stretch leaves them: every moment counts once, so the trip's
// average speed stays the clips' own, below their maximum.
struct OverlapCase {
  const char* name;
  std::vector<ClipSummary> clips;
  double distanceM;
};

void PrintTo(const OverlapCase& c, std::ostream* os) {
  *os << c.name;
}

class TripOverlap : public testing::TestWithParam<OverlapCase> {};

TEST_P(TripOverlap, CountsTheTimeAClipSharesWithTheOnesBeforeItOnce) {
  std::vector<ClipSummary> clips = GetParam().clips;
  for (ClipSummary& clip : clips) {
    clip.distanceM = 1000.0 * static_cast<double>(clip.lastCameraTime - clip.firstCameraTime) / 60;
    clip.maxSpeedKmh = 70;
  }
  const auto trips = GroupTrips(clips);
  ASSERT_EQ(trips.size(), 1u);
  const Trip& trip = trips[0];
  EXPECT_EQ(trip.clips.size(), clips.size());
  EXPECT_NEAR(trip.distanceM, GetParam().distanceM, 1e-6);
  const double hours = static_cast<double>(trip.lastCameraTime - trip.firstCameraTime) / 3600;
  EXPECT_LE(trip.distanceM / 1000 / hours, 70.0);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, TripOverlap,
    testing::Values(
        OverlapCase{"Following", {Clip("/c/1_F.mp4", 0, 60), Clip("/c/2_F.mp4", 60, 120)}, 2000},
        OverlapCase{"Partly", {Clip("/c/1_F.mp4", 0, 60), Clip("/c/2_F.mp4", 30, 90)}, 1500},
        OverlapCase{"Wholly", {Clip("/c/1_F.mp4", 0, 60), Clip("/c/2_F.mp4", 10, 40)}, 1000},
        OverlapCase{"SameStretch", {Clip("/c/1_F.mp4", 0, 60), Clip("/c/2_F.mp4", 0, 60)}, 1000},
        // The copy inside the first clip does not move the end the third one is measured from.
        OverlapCase{
            "WhollyThenPartly",
            {Clip("/c/1_F.mp4", 0, 60), Clip("/c/2_F.mp4", 20, 50), Clip("/c/3_F.mp4", 45, 105)},
            1750},
        // A longer clip that starts with a shorter one: only its part after the shorter's end.
        OverlapCase{
            "SameStartLonger", {Clip("/c/1_F.mp4", 0, 30), Clip("/c/2_F.mp4", 0, 60)}, 1000}),
    [](const testing::TestParamInfo<OverlapCase>& info) { return std::string(info.param.name); });

TEST(TripOverlap, ReversedTimesAndNoDistanceAddNothing) {
  std::vector<ClipSummary> clips = {Clip("/c/1_F.mp4", 0, 60), Clip("/c/2_F.mp4", 40, 30),
                                    Clip("/c/3_F.mp4", 50, 70)};
  clips[0].distanceM = 1000;
  clips[1].distanceM = 500;  // its last time before its first: no part after the first's end
  clips[2].distanceM = std::numeric_limits<double>::quiet_NaN();
  const auto trips = GroupTrips(clips);
  ASSERT_EQ(trips.size(), 1u);
  EXPECT_DOUBLE_EQ(trips[0].distanceM, 1000);
}

}  // namespace
}  // namespace korvane
