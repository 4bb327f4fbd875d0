// Media time of the kept cues: read from the SRT cue head, carried with each point into the track
// store, and the navigation track that keeps the timed points of the whole file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_pipeline.h"
#include "telemetry/cue_time.h"
#include "telemetry/navigation_track.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

struct CueCase {
  const char* cue;
  std::int32_t ms;
};

class CueHeads : public testing::TestWithParam<CueCase> {};

TEST_P(CueHeads, GiveTheStartOfTheCueOrMinusOne) {
  EXPECT_EQ(CueStartMs(GetParam().cue), GetParam().ms) << GetParam().cue;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CueHeads,
    testing::Values(CueCase{"1\n00:00:00,000 --> 00:00:00,100\n2026-05-18 08:30:00/E113", 0},
                    CueCase{"12\n00:01:02,345 --> 00:01:02,445\ntext", 62345},
                    CueCase{"7\r\n01:00:00.500 --> 01:00:01.000\r\ntext", 3600500},
                    CueCase{"00:00:03,250-->00:00:04,000", 3250},  // no number line, no blanks
                    CueCase{"3\n123:00:00,000 --> x", 442800000},  // more hour digits
                    CueCase{"3\n596:31:23,647 --> x", 2147483647},
                    CueCase{"3\n596:31:23,648 --> x", -1},  // beyond 32 bits
                    CueCase{"3\n00:60:00,000 --> x", -1},   // minutes of 60
                    CueCase{"3\n00:00:60,000 --> x", -1},
                    CueCase{"3\n00:00:01,00 --> x", -1},  // two digits of ms
                    CueCase{"3\n0:0:01,000 --> x", -1}, CueCase{"3\n00:00:01;000 --> x", -1},
                    CueCase{"3\n-0:00:01,000 --> x", -1}, CueCase{"3\n00:00:01,000 x --> y", -1},
                    CueCase{"2026-05-18 08:30:00/E113 56 21.48/N22 32 8.16", -1},  // no head
                    CueCase{"", -1}, CueCase{"-->", -1}));

// A cue as the pipeline keeps it, for line `i` of a 100 ms track.
std::string Cue(int i, const std::string& head = "") {
  char times[64];
  std::snprintf(times, sizeof times, "%02d:%02d:%02d,%03d --> 99:00:00,000\n", i / 36000,
                i / 600 % 60, i / 10 % 60, i % 10 * 100);
  return std::to_string(i + 1) + "\n" + (head.empty() ? times : head + "\n") +
         "2026-05-18 08:30:00/E113 56 21.48/N22 32 8.16/10/X:" + std::to_string(2000 + i) +
         "/Y:2000/Z:2333";
}

TEST(TrackBuilder, EveryPointCarriesTheStartOfItsCueAndAnUnreadableHeadGivesNone) {
  CTrackStore store;
  test::FakePipeline pipeline;
  pipeline.SetLines({Cue(0), Cue(10), Cue(20, "garbled head"), Cue(36000)});
  ProcessBatch(0, pipeline, store, 0, "");
  const TrackChunk& chunk = *store.chunk(0);
  ASSERT_EQ(chunk.count, 4);
  EXPECT_EQ(chunk.points[0].mediaTimeMs, 0);
  EXPECT_EQ(chunk.points[1].mediaTimeMs, 1000);
  EXPECT_TRUE(chunk.points[2].valid) << "the telemetry line itself still parses";
  EXPECT_EQ(chunk.points[2].mediaTimeMs, -1);
  EXPECT_EQ(chunk.points[3].mediaTimeMs, 3600000);
}

TelemetryRecord Record(std::int32_t ms, std::int32_t accelX = 0, bool valid = true) {
  TelemetryRecord r;
  r.valid = valid;
  r.mediaTimeMs = ms;
  r.accelX = accelX;
  r.longitude = 113.9;
  r.latitude = 22.5;
  r.speedKmh = 50.0f;
  r.hour = 8;
  return r;
}

TEST(NavigationTrack, KeepsOnlyTimedValidPointsInTimeOrder) {
  CNavigationTrack track;
  track.Append(Record(0, 1));
  track.Append(Record(2000, 3));
  track.Append(Record(1000, 2));        // out of order: put in its place
  track.Append(Record(-1, 9));          // no media time
  track.Append(Record(500, 9, false));  // not valid
  track.Append(Record(2000, 4));        // the repeated last message keeps its own time
  const std::vector<NavPoint> points = track.Points();
  ASSERT_EQ(points.size(), 4u);
  std::vector<std::int32_t> accel;
  for (const NavPoint& p : points) accel.push_back(p.accelX);
  EXPECT_EQ(accel, (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(points[1].timeMs, 1000);
  EXPECT_DOUBLE_EQ(points[1].longitude, 113.9);
  EXPECT_FLOAT_EQ(points[1].speedKmh, 50.0f);
  EXPECT_EQ(points[1].hour, 8);
  EXPECT_EQ(track.endMs(), 2000);
}

TEST(NavigationTrack, NearestPointToAMoment) {
  CNavigationTrack track;
  EXPECT_FALSE(track.Nearest(0).has_value());
  EXPECT_EQ(track.endMs(), -1);
  for (int ms : {0, 1000, 2000}) track.Append(Record(ms, ms));
  struct Case {
    std::int64_t at;
    std::int32_t want;
  };
  for (const Case c : {Case{-50, 0}, Case{499, 0}, Case{500, 0}, Case{501, 1000}, Case{1000, 1000},
                       Case{1999, 2000}, Case{99999999, 2000}}) {
    EXPECT_EQ(track.Nearest(c.at)->timeMs, c.want) << c.at;
  }
}

TEST(NavigationTrack, OnlyClearStartsOverWithANewGeneration) {
  CNavigationTrack track;
  const std::uint32_t first = track.generation();
  track.Append(Record(0));
  track.MarkComplete();
  EXPECT_TRUE(track.complete());
  EXPECT_EQ(track.size(), 1u);
  track.Clear();
  EXPECT_NE(track.generation(), first);
  EXPECT_FALSE(track.complete());
  EXPECT_EQ(track.size(), 0u);
}

}  // namespace
}  // namespace korvane
