// Real camera dates and the trips rule.
#include "index/trips.h"

#include <gtest/gtest.h>

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

TEST(Trips, ChannelIsTheFolderAndTheNameWithoutDigits) {
  EXPECT_EQ(TripChannel("/card/20210105_101500_F.mp4"), "/card/_F.mp4");
  EXPECT_EQ(TripChannel("/card 2/x.mp4"), "/card 2/x.mp4");
  EXPECT_EQ(TripChannel("123.mp4"), ".mp4");
  EXPECT_EQ(TripChannel("/c/v1.2/A-001--002.MOV"), "/c/v1.2/A-.MOV");
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

TEST(Trips, ClipsWithinTenSecondsOfEachOtherPerChannelFormATrip) {
  const auto trips = GroupTrips({
      Clip("/c/0003_F.mp4", 1130, 1190),  // out of order; 10 s after the one before
      Clip("/c/0001_F.mp4", 1000, 1060), Clip("/c/0002_F.mp4", 1060, 1120),  // equal times
      Clip("/c/0004_F.mp4", 1201, 1260),                                     // 11 s: a new trip
      Clip("/c/0001_R.mp4", 1000, 1060),  // another camera at the same moments
      Clip("/c/0009_F.mp4", 0, 0, 0),     // no telemetry: in no trip
  });
  ASSERT_EQ(trips.size(), 3u);
  EXPECT_EQ(trips[0].channel, "/c/_F.mp4");
  ASSERT_EQ(trips[0].clips.size(), 3u);
  EXPECT_EQ(trips[0].clips[0].path, "/c/0001_F.mp4");
  EXPECT_EQ(trips[0].clips[2].path, "/c/0003_F.mp4");
  EXPECT_EQ(trips[0].lastCameraTime, 1190);
  EXPECT_EQ(trips[1].channel, "/c/_R.mp4");
  EXPECT_EQ(trips[2].clips.size(), 1u);
  EXPECT_EQ(trips[2].firstCameraTime, 1201);
}

}  // namespace
}  // namespace korvane
