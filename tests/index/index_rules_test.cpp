// The index's pure rules: packed points, camera time, distances and summaries, the overview line,
// the indexer's line protocol and the mov_text cue text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "cue_text.h"
#include "index/indexer_protocol.h"
#include "index/overview_line.h"
#include "index/point_blob.h"
#include "index/track_summary.h"

namespace korvane {
namespace {

TEST(PointBlob, PointsComeBackBitForBitAndTornBlobsAreRefused) {
  const std::vector<IndexPoint> points = {
      {0, 1779093000123, 22.5356, 113.9393, 65.93f, 0.0f, 0.225f, 1.0f, 12.5f, 271.25f, true},
      {std::numeric_limits<std::int32_t>::max(), -1, -33.8688, -151.2093, 0.0f,
       -std::numeric_limits<float>::max(), -4.0f, 98.0f},
      {100, std::numeric_limits<std::int64_t>::max(), -0.0, 1e-300, 1e30f, 0, 0, 0, -420.0f},
      {200, kNoTime, 1.0, 2.0, 3.0f},
  };
  const std::string blob = PackPoints(points);
  ASSERT_EQ(blob.size(), points.size() * kPackedPointSize);
  EXPECT_EQ(UnpackPoints(blob), points);
  EXPECT_EQ(blob.substr(0, 4), std::string("\0\0\0\0", 4)) << "little-endian media time first";
  EXPECT_EQ(UnpackPoints(""), std::vector<IndexPoint>{});
  EXPECT_EQ(UnpackPoints(blob.substr(0, blob.size() - 1)), std::nullopt);
  EXPECT_EQ(UnpackPoints(blob + "x"), std::nullopt);
}

struct CameraTimeCase {
  std::int32_t year;
  std::uint8_t month, day, hour, minute, second;
  std::int64_t seconds;  // from `date -u -d ... +%s`
};

class CameraTime : public testing::TestWithParam<CameraTimeCase> {};

TEST_P(CameraTime, CountsSecondsOnTheCamerasOwnClock) {
  const CameraTimeCase& c = GetParam();
  TelemetryRecord r;
  r.year = c.year;
  r.month = c.month;
  r.day = c.day;
  r.hour = c.hour;
  r.minute = c.minute;
  r.second = c.second;
  EXPECT_EQ(CameraSeconds(r), c.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, CameraTime,
    testing::Values(CameraTimeCase{1970, 1, 1, 0, 0, 0, 0},
                    CameraTimeCase{2026, 5, 18, 8, 30, 0, 1779093000},
                    CameraTimeCase{2000, 2, 29, 23, 59, 59, 951868799},  // leap day
                    CameraTimeCase{2016, 3, 18, 14, 22, 7, 1458310927},
                    // Out-of-range fields carry over instead of failing: month 13 is next January,
                    // day 0 the last day of the month before.
                    CameraTimeCase{2025, 13, 1, 0, 0, 0, 1767225600},
                    CameraTimeCase{2026, 3, 0, 0, 0, 0, 1772236800},
                    // Four letters in place of the year parse as year 0.
                    CameraTimeCase{0, 1, 1, 0, 0, 0, -62167219200}));

TEST(TrackSummary, DistanceSpeedAndCameraTimesComeFromTheValidPoints) {
  // One degree of latitude along a meridian is R * pi / 180.
  EXPECT_NEAR(HaversineMetres(0, 0, 1, 0), 6371008.8 * std::numbers::pi / 180, 1e-6);
  EXPECT_NEAR(HaversineMetres(48.8566, 2.3522, 51.5074, -0.1278), 343'556, 100);  // Paris-London
  EXPECT_EQ(HaversineMetres(22.5, 113.9, 22.5, 113.9), 0.0);

  const std::vector<IndexPoint> points = {
      {0, 1000'000, 0.0, 0.0, 10.0f, 0, 0, 0},
      {100, 1001'000, 1.0, 0.0, 80.5f, 0, 0, 0},
      {200, 1003'500, 1.0, 1.0, 20.0f, 0, 0, 0},
  };
  ClipSummary s;
  SummarizeTrack(points, s);
  EXPECT_EQ(s.pointCount, 3);
  EXPECT_NEAR(s.distanceM, HaversineMetres(0, 0, 1, 0) + HaversineMetres(1, 0, 1, 1), 1e-6);
  EXPECT_EQ(s.maxSpeedKmh, 80.5f);
  EXPECT_EQ(s.firstCameraTime, 1000);
  EXPECT_EQ(s.lastCameraTime, 1003);

  SummarizeTrack({}, s);
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.distanceM, 0.0);
  EXPECT_EQ(s.firstCameraTime, 0);
}

// A drive of `n` points through a street grid, 100 ms apart: straight blocks of varying length
// at varying speed, waits at lights, and turns of a right angle taken over two seconds.
std::vector<IndexPoint> CityDrive(int n) {
  std::vector<IndexPoint> points;
  double lat = 22.5, lon = 113.9, heading = 0.3;
  for (int i = 0; i < n; ++i) {
    const int phase = i % 900;
    double step = 1.5e-5 * (1.0 + 0.5 * std::sin(i / 97.0));  // about 1.5 m per sample
    if (phase >= 700 && phase < 800) step = 0.0;              // waiting at a light
    if (phase >= 800 && phase < 820) heading += (i / 900 % 3 == 1 ? -1 : 1) * std::numbers::pi / 40;
    lat += step * std::cos(heading);
    lon += step * std::sin(heading);
    points.push_back({i * 100, 1000 + i / 10, lat, lon, 50.0f, 0, 0, 0});
  }
  return points;
}

// Largest distance (in degrees, on the same local plane the simplification uses) from any point
// of `track` to the polyline through `line`'s points, each point measured against the segment of
// `line` that spans its media time.
double WorstDeviation(const std::vector<IndexPoint>& track, const std::vector<IndexPoint>& line) {
  const double xs = std::cos(track[0].latitude * std::numbers::pi / 180);
  double worst = 0;
  std::size_t k = 0;
  for (const IndexPoint& p : track) {
    while (k + 2 < line.size() && line[k + 1].mediaMs <= p.mediaMs) ++k;
    const IndexPoint& a = line[k];
    const IndexPoint& b = line[k + 1];
    const double ax = a.longitude * xs, ay = a.latitude, bx = b.longitude * xs, by = b.latitude;
    const double px = p.longitude * xs, py = p.latitude;
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    worst = std::max(worst, std::hypot(px - (ax + t * dx), py - (ay + t * dy)));
  }
  return worst;
}

TEST(OverviewLine, KeepsAtMostTheBudgetInTrackOrderAndFollowsTheShapeBetterThanSampling) {
  const std::vector<IndexPoint> track = CityDrive(18000);  // a 30-minute clip at 10 Hz
  const std::vector<IndexPoint> line = SimplifyOverview(track);
  ASSERT_EQ(line.size(), kOverviewMaxPoints);
  EXPECT_EQ(line.front(), track.front());
  EXPECT_EQ(line.back(), track.back());
  for (std::size_t i = 1; i < line.size(); ++i) {
    ASSERT_LT(line[i - 1].mediaMs, line[i].mediaMs) << "a subset of the track, in its order";
    ASSERT_EQ(line[i], track[static_cast<std::size_t>(line[i].mediaMs / 100)]);
  }
  // Every 90th point plus the last: the same budget spent evenly.
  std::vector<IndexPoint> sampled;
  for (std::size_t i = 0; i < track.size(); i += 91) sampled.push_back(track[i]);
  sampled.push_back(track.back());
  ASSERT_LE(sampled.size(), kOverviewMaxPoints);
  EXPECT_LT(WorstDeviation(track, line), WorstDeviation(track, sampled) / 10);
}

TEST(OverviewLine, ShortTracksStayWholeStraightOnesShrinkAndTurnsBackAreKept) {
  const std::vector<IndexPoint> shortTrack = CityDrive(150);
  EXPECT_EQ(SimplifyOverview(shortTrack), shortTrack);
  EXPECT_EQ(SimplifyOverview({}), std::vector<IndexPoint>{});

  std::vector<IndexPoint> straight;
  for (int i = 0; i < 1000; ++i)
    straight.push_back({i * 100, 0, 22.5 + i * 1e-5, 113.9, 0, 0, 0, 0});
  const std::vector<IndexPoint> ends = SimplifyOverview(straight);
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[1], straight.back());

  // Out along a street and back the same way: the far end lies on the line between start and
  // finish, yet it is the route's most important point.
  std::vector<IndexPoint> outAndBack;
  for (int i = 0; i <= 500; ++i) outAndBack.push_back({i, 0, 22.5 + i * 1e-5, 113.9, 0, 0, 0, 0});
  for (int i = 499; i >= 0; --i) {
    outAndBack.push_back({1000 - i, 0, 22.5 + i * 1e-5, 113.9, 0, 0, 0, 0});
  }
  const std::vector<IndexPoint> line = SimplifyOverview(outAndBack, 10);
  EXPECT_NE(std::find(line.begin(), line.end(), outAndBack[500]), line.end());
  EXPECT_EQ(SimplifyOverview(outAndBack, 0).size(), 2u) << "a budget below 2 counts as 2";
}

TEST(IndexerProtocol, AnyPathSurvivesTheRoundTripAndBrokenLinesAreRefused) {
  for (const std::string path : {"/clips/a.mp4", "/odd name 'q' \"dq\"/行车记录.MP4",
                                 "/tab\there/new\nline/back\\slash\\t.mp4"}) {
    for (const auto kind : {IndexerRequest::Kind::Index, IndexerRequest::Kind::Fail}) {
      const IndexerRequest request{kind, path, kind == IndexerRequest::Kind::Fail ? "x\ty" : ""};
      std::string line = FormatRequest(request);
      ASSERT_EQ(line.back(), '\n');
      ASSERT_EQ(line.find('\n'), line.size() - 1) << "one line, whatever the path";
      line.pop_back();
      const auto parsed = ParseRequest(line);
      ASSERT_TRUE(parsed.has_value()) << line;
      EXPECT_EQ(parsed->kind, kind);
      EXPECT_EQ(parsed->path, path);
      EXPECT_EQ(parsed->reason, request.reason);
    }
  }
  for (const IndexerReply& reply :
       {IndexerReply{false, ClipStatus::Indexed, ""},
        IndexerReply{false, ClipStatus::NoTelemetry, "no subtitle track"},
        IndexerReply{true, ClipStatus::Unknown, "disk\nfull"}}) {
    std::string line = FormatReply(reply);
    line.pop_back();
    const auto parsed = ParseReply(line);
    ASSERT_TRUE(parsed.has_value()) << line;
    EXPECT_EQ(parsed->databaseError, reply.databaseError);
    EXPECT_EQ(parsed->status, reply.status);
    EXPECT_EQ(parsed->reason, reply.reason);
  }
  for (const char* bad :
       {"", "index", "index\t", "index\ta\tb", "fail\ta", "play\ta", "index\ta\\", "index\ta\\x"}) {
    EXPECT_FALSE(ParseRequest(bad).has_value()) << bad;
  }
  for (const char* bad :
       {"", "done\tindexed", "done\tunknown\t", "done\tbogus\tr", "dberror", "ok\tindexed\t"}) {
    EXPECT_FALSE(ParseReply(bad).has_value()) << bad;
  }
}

struct CueCase {
  const char* name;
  std::string sample;
  std::string text;
};

class MovTextCue : public testing::TestWithParam<CueCase> {};

TEST_P(MovTextCue, TextIsTheLengthPrefixedPartOnly) {
  EXPECT_EQ(MovTextCueText(GetParam().sample), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, MovTextCue,
    testing::Values(CueCase{"Plain", std::string("\0\x05hello", 7), "hello"},
                    // A style box ('styl') after the text belongs to the sample, not to the line.
                    CueCase{"StyleBoxDropped",
                            std::string("\0\x03"
                                        "abc"
                                        "\0\0\0\x12styl\0\x01\0\0\0\x03\0\x01\x12\xff\xff\xff\xff",
                                        25),
                            "abc"},
                    CueCase{"LengthBeyondSampleIsCut",
                            std::string("\x01\x00"
                                        "ab",
                                        4),
                            "ab"},
                    CueCase{"EmptyCue", std::string("\0\0", 2), ""},
                    CueCase{"NoLengthField", std::string("\x05", 1), ""},
                    CueCase{"LongLengthUsesBothBytes",
                            std::string("\x01\x02") + std::string(258, 'x'),
                            std::string(258, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
