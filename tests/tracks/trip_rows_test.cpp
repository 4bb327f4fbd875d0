// The trips of a folder: the rows and counts built from the index's summaries (bad input
// included), and the camera clock offset applied before grouping.
#include "tracks/trip_rows.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvane {
namespace {

// 2021-01-05 10:15:00 on the camera's clock.
constexpr std::int64_t kMorning = 1609841700;

ClipSummary Clip(std::string path, std::int64_t first, std::int64_t last, double metres = 1000,
                 float maxKmh = 50, ClipStatus status = ClipStatus::Indexed, int points = 10) {
  ClipSummary clip;
  clip.path = std::move(path);
  clip.firstCameraTime = first;
  clip.lastCameraTime = last;
  clip.distanceM = metres;
  clip.maxSpeedKmh = maxKmh;
  clip.status = status;
  clip.pointCount = points;
  return clip;
}

std::vector<std::string> Paths(const std::vector<ClipSummary>& clips) {
  std::vector<std::string> paths;
  for (const ClipSummary& clip : clips) paths.push_back(clip.path);
  return paths;
}

TEST(TripList, NothingIndexedYetListsNoTripAndCountsEveryClip) {
  const std::vector<std::string> folder = {"/c/1_F.mp4", "/c/2_F.mp4", "/c/3_F.mp4"};
  const std::vector<ClipSummary> unknown = {Clip("/c/2_F.mp4", 0, 0, 0, 0, ClipStatus::Unknown)};
  const TripList list = BuildTripList(folder, unknown);
  EXPECT_TRUE(list.trips.empty());
  EXPECT_EQ(list.notIndexed, 3);
  EXPECT_EQ(list.withoutTelemetry, 0);
  EXPECT_TRUE(BuildTripList({}, {}).trips.empty());
}

TEST(TripList, ClipsWithoutUsableTelemetryAreInNoTripAndCounted) {
  const std::vector<ClipSummary> clips = {
      Clip("/c/a_F.mp4", 0, 0, 0, 0, ClipStatus::NoTelemetry, 0),
      Clip("/c/b_F.mp4", 0, 0, 0, 0, ClipStatus::Failed, 0),
      Clip("/c/c_F.mp4", 0, 0, 0, 0, ClipStatus::Indexed, 0),
      Clip("/c/d_F.mp4", 0, 0, 0, 0, ClipStatus::Indexed, 5),  // points, but no real date
      Clip("/c/e_F.mp4", kMorning, kMorning + 60),
  };
  const TripList list = BuildTripList(Paths(clips), clips);
  ASSERT_EQ(list.trips.size(), 1u);
  EXPECT_EQ(list.trips[0].clips, std::vector<std::string>{"/c/e_F.mp4"});
  EXPECT_EQ(list.withoutTelemetry, 4);
  EXPECT_EQ(list.notIndexed, 0);
}

// Summaries come in any order, some with equal or reversed times; a rear camera's clip is its
// moment's other channel and adds no trip; a summary of a clip outside the folder is not listed.
TEST(TripList, TripsFollowCameraTimeWhateverTheOrderOfTheSummaries) {
  const std::vector<ClipSummary> clips = {
      Clip("/c/0103_F.mp4", kMorning + 130, kMorning + 120, 700, 80),  // last before first
      Clip("/c/0102_F.mp4", kMorning + 65, kMorning + 125, 900, 60),
      Clip("/c/0101_F.mp4", kMorning, kMorning + 60, 1000, 40),
      Clip("/c/0100_F.mp4", kMorning, kMorning + 30, 400, 30),  // same start
      Clip("/c/0101_R.mp4", kMorning, kMorning + 60, 990, 41),
      Clip("/c/0200_F.mp4", kMorning + 3600, kMorning + 3600, 0, 0),  // a trip of one point
  };
  std::vector<std::string> folder = Paths(clips);
  const TripList list = BuildTripList(folder, [&] {
    auto withStranger = clips;
    // Each clip's source, in the order above.
    const char* sources[] = {"nmea", "novatek", "novatek", "subtitle", "gpx", "novatek"};
    for (std::size_t i = 0; i < std::size(sources); ++i) withStranger[i].source = sources[i];
    withStranger.push_back(Clip("/elsewhere/0101_F.mp4", kMorning, kMorning + 60));
    return withStranger;
  }());
  ASSERT_EQ(list.trips.size(), 2u);
  const TripRow& front = list.trips[0];
  EXPECT_EQ(front.clips, (std::vector<std::string>{"/c/0100_F.mp4", "/c/0101_F.mp4",
                                                   "/c/0102_F.mp4", "/c/0103_F.mp4"}));
  // Each clip's source goes with it, the rear camera's with its clip.
  EXPECT_EQ(front.sources, (std::vector<std::string>{"subtitle", "novatek", "novatek", "nmea"}));
  EXPECT_EQ(front.start, kMorning);
  EXPECT_EQ(front.end, kMorning + 125);
  // 0101 shares its first half with 0100 and adds only its second.
  EXPECT_DOUBLE_EQ(front.distanceM, 2500);
  EXPECT_FLOAT_EQ(front.maxSpeedKmh, 80);
  EXPECT_EQ(list.trips[1].clips, std::vector<std::string>{"/c/0200_F.mp4"});
  EXPECT_EQ(list.withoutTelemetry + list.notIndexed, 0);
}

// A moment counts once in the summary too: a rear clip without GPS beside a front with it is
// neither a trip nor "without telemetry", and a moment waits while any channel is unread.
TEST(TripList, ARearClipWithoutTelemetryCountsWithItsMoment) {
  const std::vector<ClipSummary> clips = {
      Clip("/c/0001_F.mp4", kMorning, kMorning + 60),
      Clip("/c/0001_R.mp4", 0, 0, 0, 0, ClipStatus::NoTelemetry, 0),
      Clip("/c/0002_F.mp4", 0, 0, 0, 0, ClipStatus::NoTelemetry, 0),
      Clip("/c/0002_R.mp4", 0, 0, 0, 0, ClipStatus::Failed, 0),
      Clip("/c/0003_R.mp4", 0, 0, 0, 0, ClipStatus::NoTelemetry, 0),  // 0003_F not read yet
  };
  std::vector<std::string> folder = Paths(clips);
  folder.push_back("/c/0003_F.mp4");
  const TripList list = BuildTripList(folder, clips);
  ASSERT_EQ(list.trips.size(), 1u);
  EXPECT_EQ(list.trips[0].clips, std::vector<std::string>{"/c/0001_F.mp4"});
  EXPECT_EQ(list.withoutTelemetry, 1);
  EXPECT_EQ(list.notIndexed, 1);
}

// The folder's offset moves the camera's times, over midnight and the year's end both ways; a GPS
// log's receiver times stay as they are, and so do the trips.
TEST(TripList, TheClockOffsetMovesCameraTimesOnlyAndKeepsTheTrips) {
  constexpr std::int64_t kNewYearsEve = 1798759800;  // 2026-12-31 23:30:00
  std::vector<ClipSummary> clips = {Clip("/c/2330_F.mp4", kNewYearsEve, kNewYearsEve + 60),
                                    Clip("/c/2331_F.mp4", kNewYearsEve + 65, kNewYearsEve + 125),
                                    Clip("/c/2330_L.mp4", kNewYearsEve, kNewYearsEve + 60)};
  clips[2].source = kNmeaSource;
  clips[2].traits = TraitsOf(kNmeaSource);
  // 2027-01-01 13:30:00 and 2026-12-31 09:30:00.
  for (const int seconds : {14 * 3600, -14 * 3600}) {
    ClockOffsets offsets;
    offsets.Set("/c", seconds);
    const TripList list = BuildTripList(Paths(clips), clips, offsets);
    ASSERT_EQ(list.trips.size(), 2u);
    const bool cameraFirst = list.trips[0].clips.size() == 2;
    const TripRow& camera = list.trips[cameraFirst ? 0 : 1];
    EXPECT_EQ(camera.clips, (std::vector<std::string>{"/c/2330_F.mp4", "/c/2331_F.mp4"}));
    EXPECT_EQ(camera.start, kNewYearsEve + seconds);
    EXPECT_EQ(camera.end, kNewYearsEve + 125 + seconds);
    const TripRow& log = list.trips[cameraFirst ? 1 : 0];
    EXPECT_EQ(std::tuple(log.start, log.end), std::tuple(kNewYearsEve, kNewYearsEve + 60));
  }
}

}  // namespace
}  // namespace korvane
