// Driving events: the detector's rules on made-up tracks (kinds, merging, the flip switch, bad
// input), the threshold setting's text, events through the index (stored or found again for other
// rules), and the events sample clip through the real indexer program.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "index/clip_events.h"
#include "index/event_detector.h"
#include "index/index_reader.h"
#include "index/index_writer.h"
#include "index/track_summary.h"
#include "indexer_run.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

// A quiet track of `seconds` at 10 Hz: every axis at rest (Z carries 1 G), so its median is rest.
std::vector<IndexPoint> Quiet(int seconds) {
  std::vector<IndexPoint> points;
  for (int i = 0; i < seconds * 10; ++i) {
    points.push_back({.mediaMs = i * 100,
                      .timeMs = (1779093000 + i / 10) * 1000LL,
                      .latitude = 22.5 + i * 1e-5,
                      .longitude = 113.9,
                      .speedKmh = 40.0f,
                      .gZ = 1.0f});
  }
  return points;
}

struct Bump {
  char axis;  // 'x', 'y', 'z'
  int atMs;
  double g;  // at the peak; the points 100 ms either side have half of it
};

std::vector<IndexPoint> WithBumps(std::vector<IndexPoint> points, const std::vector<Bump>& bumps) {
  for (const Bump& b : bumps) {
    for (int d = -100; d <= 100; d += 100) {
      IndexPoint& p = points.at(static_cast<std::size_t>((b.atMs + d) / 100));
      float& v = b.axis == 'x' ? p.gX : b.axis == 'y' ? p.gY : p.gZ;
      v += static_cast<float>(d == 0 ? b.g : b.g / 2);
    }
  }
  return points;
}

struct Found {
  DriveEventKind kind;
  int atMs;
  double g;
};

struct DetectCase {
  const char* name;
  std::vector<Bump> bumps;
  EventRules rules;
  std::vector<Found> expected;
};

void PrintTo(const DetectCase& c, std::ostream* os) {
  *os << c.name;
}

class DetectRules : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectRules, FindsTheEventsOfTheTrack) {
  const DetectCase& c = GetParam();
  const std::vector<IndexPoint> points = WithBumps(Quiet(60), c.bumps);
  const std::vector<DriveEvent> events = DetectEvents(points, c.rules);
  ASSERT_EQ(events.size(), c.expected.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(events[i].kind, c.expected[i].kind);
    EXPECT_EQ(events[i].mediaMs, c.expected[i].atMs);
    EXPECT_NEAR(events[i].peakG, c.expected[i].g, 0.005);
    // The position is the peak point's.
    EXPECT_DOUBLE_EQ(events[i].latitude, 22.5 + c.expected[i].atMs / 100 * 1e-5);
  }
}

using K = DriveEventKind;
INSTANTIATE_TEST_SUITE_P(
    Tracks, DetectRules,
    testing::Values(
        DetectCase{"QuietDrive", {}, {}, {}},
        DetectCase{"BelowThresholdIsNothing", {{'y', 10000, -0.45}, {'x', 20000, 0.49}}, {}, {}},
        DetectCase{
            "KindsByAxisAndSign",
            {{'y', 10000, -0.8}, {'y', 20000, 0.7}, {'x', 30000, -0.6}, {'z', 40000, 1.2}},
            {},
            // Z is only ever an impact: 1.2 G stays under three thresholds.
            {{K::Braking, 10000, 0.8}, {K::Acceleration, 20000, 0.7}, {K::Cornering, 30000, 0.6}}},
        DetectCase{"FlipSwapsBrakingAndAcceleration",
                   {{'y', 10000, -0.8}, {'y', 20000, 0.7}},
                   {0.5, true},
                   {{K::Acceleration, 10000, 0.8}, {K::Braking, 20000, 0.7}}},
        DetectCase{"BeyondThreeThresholdsOnAnyAxisIsAnImpact",
                   {{'y', 10000, -2.5}, {'z', 20000, 1.6}, {'x', 30000, 1.4}},
                   {},
                   {{K::Impact, 10000, 2.5}, {K::Impact, 20000, 1.6}, {K::Cornering, 30000, 1.4}}},
        DetectCase{"TheLargerAxisDecides",
                   {{'y', 10000, -0.6}, {'x', 10000, 0.9}},
                   {},
                   {{K::Cornering, 10000, 0.9}}},
        DetectCase{
            "CloserThanTwoSecondsMergeIntoTheStrongest",
            {{'y', 10000, -0.7}, {'x', 11500, 1.1}, {'y', 20000, -0.9}, {'y', 22100, -0.6}},
            {},
            {{K::Cornering, 11500, 1.1}, {K::Braking, 20000, 0.9}, {K::Braking, 22100, 0.6}}},
        DetectCase{"TheThresholdIsTheRulesOne",
                   {{'y', 10000, -0.3}, {'x', 20000, 0.15}},
                   {0.2, false},
                   {{K::Braking, 10000, 0.3}}},
        DetectCase{"AThresholdOutOfRangeIsTheDefault",
                   {{'y', 10000, -0.45}, {'y', 20000, -0.6}},
                   {std::nan(""), false},
                   {{K::Braking, 20000, 0.6}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DetectEvents, MeasuresFromTheClipMedianNotFromRest) {
  // A camera whose Y rests at −0.3 G: braking of 0.6 G beyond that is −0.9 G read, and −0.3 G
  // read all along is no event.
  std::vector<IndexPoint> points = Quiet(30);
  for (IndexPoint& p : points) p.gY = -0.3f;
  points[150].gY = -0.9f;
  const std::vector<DriveEvent> events = DetectEvents(points, {});
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, K::Braking);
  EXPECT_NEAR(events[0].peakG, 0.6, 0.005);
}

TEST(DetectEvents, BadTracksGiveNoEventOrFiniteOnes) {
  EXPECT_TRUE(DetectEvents({}, {}).empty());
  std::vector<IndexPoint> one = Quiet(1);
  one.resize(1);
  one[0].gY = -1e30f;
  EXPECT_TRUE(DetectEvents(one, {}).empty()) << "one reading is its own median";
  std::vector<IndexPoint> flat = Quiet(10);
  for (IndexPoint& p : flat) p.gX = p.gY = p.gZ = 6.3f;
  EXPECT_TRUE(DetectEvents(flat, {}).empty());

  // Readings at the ends of the float range are impacts of finite strength.
  std::vector<IndexPoint> extremes = Quiet(10);
  extremes[20].gX = 3e38f;
  extremes[60].gZ = -3e38f;
  const std::vector<DriveEvent> events = DetectEvents(extremes, {});
  ASSERT_EQ(events.size(), 2u);
  for (const DriveEvent& e : events) {
    EXPECT_EQ(e.kind, K::Impact);
    EXPECT_TRUE(std::isfinite(e.peakG));
    EXPECT_GT(e.peakG, 1e6);
  }
}

TEST(EventThresholdSetting, ANumberInRangeCountsAnythingElseIsTheDefault) {
  const std::vector<std::pair<const char*, double>> table = {
      {"0.5", 0.5}, {" 1.2\t", 1.2}, {"0.1", 0.1},  {"2", 2.0},    {"1e-1", 0.1},
      {"", 0.5},    {"abc", 0.5},    {"0.8G", 0.5}, {"0.05", 0.5}, {"2.5", 0.5},
      {"-1", 0.5},  {"nan", 0.5},    {"inf", 0.5},  {"0,8", 0.5},  {"1 2", 0.5}};
  for (const auto& [text, want] : table) {
    EXPECT_DOUBLE_EQ(ParseEventThreshold(text), want) << "\"" << text << "\"";
  }
}

class IndexedEvents : public testing::Test {
 protected:
  ClipSummary Indexed(const std::string& path, const std::vector<IndexPoint>& points) {
    ClipSummary s;
    s.path = path;
    s.status = ClipStatus::Indexed;
    s.source = kSubtitleSource;
    s.traits = TraitsOf(kSubtitleSource);
    SummarizeTrack(points, s);
    return s;
  }
  test::TempDir dir;
  std::string db = dir.str() + "index.sqlite";
};

TEST_F(IndexedEvents, TheProgramTakesStoredEventsForItsRulesAndFindsThemAgainForOthers) {
  const std::vector<IndexPoint> points = WithBumps(Quiet(30), {{'y', 5000, -0.8}});
  // A stored event the points do not show proves it was read, not found again.
  const DriveEvent stored{K::Impact, 9.0f, 12300, 1.0, 2.0};
  CIndexWriter writer(db);
  ASSERT_EQ(writer.Store(Indexed("/c/a.mp4", points), points, {}, std::vector{stored, stored}), "");
  // Storing again replaces the events, never adds to them.
  ASSERT_EQ(writer.Store(Indexed("/c/a.mp4", points), points, {}, std::vector{stored}), "");
  ClipSummary none;
  none.path = "/c/none.mp4";
  none.status = ClipStatus::NoTelemetry;
  ASSERT_EQ(writer.Store(none, {}, {}), "");

  CIndexReader reader(db);
  EXPECT_EQ(reader.GetClip("/c/a.mp4").eventCount, 1);
  const auto same = LoadClipEvents(reader, "/c/a.mp4", {});
  ASSERT_TRUE(same.has_value());
  ASSERT_EQ(same->size(), 1u);
  EXPECT_EQ(same->front(), stored);

  const auto flipped = LoadClipEvents(reader, "/c/a.mp4", {0.5, true});
  ASSERT_TRUE(flipped.has_value());
  ASSERT_EQ(flipped->size(), 1u);
  EXPECT_EQ(flipped->front().kind, K::Acceleration);
  EXPECT_EQ(flipped->front().mediaMs, 5000);

  const auto noTelemetry = LoadClipEvents(reader, "/c/none.mp4", {});
  ASSERT_TRUE(noTelemetry.has_value());
  EXPECT_TRUE(noTelemetry->empty());
  EXPECT_FALSE(LoadClipEvents(reader, "/c/unknown.mp4", {}).has_value()) << "not indexed yet";
  CIndexReader missing(dir.str() + "no/index.sqlite");
  EXPECT_FALSE(LoadClipEvents(missing, "/c/a.mp4", {}).has_value());
}

// The real indexer on the generated clips: the events sample's three events at their moments and
// kinds, and none in the ordinary sample (it never leaves ±0.44 G) or a clip without telemetry.
TEST_F(IndexedEvents, TheIndexerFindsTheEventsOfTheSampleClip) {
  const test::ProgramRun run =
      test::IndexClips(db, {test::EventsClip(), test::DefaultClip(), test::NoSubtitleClip()});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  CIndexReader reader(db);
  const ClipSummary clip = reader.GetClip(test::EventsClip());
  ASSERT_EQ(clip.status, ClipStatus::Indexed) << clip.reason;
  EXPECT_EQ(clip.eventCount, 3);
  const std::vector<DriveEvent> events = reader.GetEvents(test::EventsClip());
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, K::Braking);
  EXPECT_NEAR(events[0].mediaMs, 20000, 100);
  EXPECT_NEAR(events[0].peakG, 0.8, 0.05);
  EXPECT_EQ(events[1].kind, K::Cornering);
  EXPECT_NEAR(events[1].mediaMs, 35000, 100);
  EXPECT_EQ(events[2].kind, K::Impact);
  EXPECT_NEAR(events[2].mediaMs, 50000, 100);
  EXPECT_NEAR(events[2].peakG, 2.5, 0.05);
  EXPECT_NEAR(events[2].latitude, 22.53, 0.02);

  EXPECT_EQ(reader.GetClip(test::DefaultClip()).eventCount, 0);
  EXPECT_TRUE(reader.GetEvents(test::DefaultClip()).empty());
  EXPECT_EQ(reader.GetClip(test::NoSubtitleClip()).status, ClipStatus::NoTelemetry);
  EXPECT_TRUE(LoadClipEvents(reader, test::NoSubtitleClip(), {})->empty());
}

}  // namespace
}  // namespace korvane
