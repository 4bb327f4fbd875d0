// GPX tracks from another device: times read, points of 1.0 and 1.1 documents taken with their
// segments, the position interpolated between points and none across a gap, a clip's records, and
// hostile or empty documents refused without expanding anything.
#include "telemetry/gpx_track.h"

#include <gtest/gtest.h>

#include <string>

#include "telemetry/track_import.h"

namespace korvane::test {
namespace {

struct TimeCase {
  const char* text;
  std::optional<std::int64_t> ms;
};

class GpxTime : public testing::TestWithParam<TimeCase> {};

TEST_P(GpxTime, ReadsIso8601InUtc) {
  EXPECT_EQ(ParseGpxTime(GetParam().text), GetParam().ms) << GetParam().text;
}

constexpr std::int64_t k20260518 = 1779062400000;  // 2026-05-18T00:00:00Z
INSTANTIATE_TEST_SUITE_P(
    Texts, GpxTime,
    testing::Values(TimeCase{"2026-05-18T06:30:00Z", k20260518 + 23'400'000},
                    TimeCase{"2026-05-18T06:30:00.250Z", k20260518 + 23'400'250},
                    TimeCase{"2026-05-18T06:30:00", k20260518 + 23'400'000},
                    TimeCase{"2026-05-18T08:30:00+02:00", k20260518 + 23'400'000},
                    TimeCase{"2026-05-17T23:30:00-07:00", k20260518 + 23'400'000},
                    TimeCase{"2026-13-18T06:30:00Z", std::nullopt},
                    TimeCase{"2026-05-18 06:30", std::nullopt},
                    TimeCase{"2026-05-18T06:30:00Zjunk", std::nullopt},
                    TimeCase{"", std::nullopt}));

std::string Point(double lat, double lon, const std::string& time, const std::string& extra = "") {
  return "<trkpt lat=\"" + std::to_string(lat) + "\" lon=\"" + std::to_string(lon) + "\">" +
         (time.empty() ? "" : "<time>" + time + "</time>") + extra + "</trkpt>";
}

// Across midnight: two points a second apart before it, then a gap of 30 s, then a new segment.
std::string MidnightGpx(const char* version) {
  return std::string("<?xml version=\"1.0\"?><gpx version=\"") + version +
         "\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>" +
         Point(38.0, -9.0, "2026-05-17T23:59:58Z", "<speed>10</speed>") +
         Point(38.001, -9.0, "2026-05-17T23:59:59Z", "<speed>20</speed>") +
         Point(38.002, -9.0, "2026-05-18T00:00:29Z") + Point(1, 2, "") +
         "<trkpt lat=\"95\" lon=\"0\"><time>2026-05-18T00:00:30Z</time></trkpt>" +
         "</trkseg><trkseg>" + Point(38.003, -9.0, "2026-05-18T00:00:31Z") +
         Point(38.004, -9.0, "2026-05-18T00:00:32Z") + "</trkseg></trk></gpx>";
}

TEST(GpxTrack, PointsAreInterpolatedAndGapsAndNewSegmentsStayGaps) {
  for (const char* version : {"1.0", "1.1"}) {
    SCOPED_TRACE(version);
    std::string error;
    const std::optional<GpxTrack> track = ParseGpxText(MidnightGpx(version), error);
    ASSERT_TRUE(track.has_value()) << error;
    EXPECT_EQ(track->points.size(), 5u);
    EXPECT_EQ(track->untimed, 1);
    EXPECT_EQ(track->badPoints, 1);
    const std::int64_t t0 = k20260518 - 2000;

    const auto half = GpxPositionAt(track->points, t0 + 500);
    ASSERT_TRUE(half.has_value());
    EXPECT_NEAR(half->latitude, 38.0005, 1e-9);
    EXPECT_NEAR(half->speedKmh, 15 * 3.6, 1e-3) << "from the points' own speeds";
    EXPECT_FALSE(GpxPositionAt(track->points, t0 + 10'000).has_value()) << "30 s apart";
    EXPECT_TRUE(GpxPositionAt(track->points, t0 + 31'000).has_value()) << "on the point itself";
    EXPECT_FALSE(GpxPositionAt(track->points, t0 + 32'000).has_value()) << "2 s, but a new segment";
    const auto second = GpxPositionAt(track->points, t0 + 33'500);
    ASSERT_TRUE(second.has_value());
    EXPECT_NEAR(second->speedKmh, 111.2 * 3.6, 1.0) << "0.001° of latitude in a second";
    EXPECT_FALSE(GpxPositionAt(track->points, t0 - 1).has_value());
    EXPECT_FALSE(GpxPositionAt(track->points, t0 + 35'000).has_value());
  }
}

TEST(GpxTrack, AClipGetsRecordsOfItsMomentsWithItsUtcDate) {
  std::string error;
  const std::optional<GpxTrack> track = ParseGpxText(MidnightGpx("1.1"), error);
  ASSERT_TRUE(track.has_value()) << error;
  const std::int64_t start = k20260518 - 3000;  // a second before the track
  const std::vector<TelemetryRecord> records = GpxClipRecords(track->points, start, 6000, 500);
  ASSERT_EQ(records.size(), 13u);
  EXPECT_FALSE(records[0].valid);
  EXPECT_TRUE(records[2].valid);
  EXPECT_EQ(records[2].mediaTimeMs, 1000);
  EXPECT_EQ(std::vector<int>({records[2].year, records[2].month, records[2].day, records[2].hour}),
            std::vector<int>({2026, 5, 17, 23}));
  EXPECT_TRUE(records[4].valid);
  EXPECT_FALSE(records[5].valid) << "in the gap";
  EXPECT_TRUE(GpxClipRecords(track->points, start + 3'600'000, 6000, 500).empty())
      << "a clip the track does not reach";
}

// Each clip of a folder by the first time fact it has, said per clip.
TEST(GpxTrack, AFolderIsMatchedClipByClipWithTheTimeUsedInTheLog) {
  std::string error;
  const std::optional<GpxTrack> track = ParseGpxText(MidnightGpx("1.1"), error);
  ASSERT_TRUE(track.has_value()) << error;
  std::vector<ImportCandidate> clips(2);
  clips[0].path = "/c/20260517_235958.mp4";
  clips[0].facts.fileNameUtcMs = k20260518 - 2000;
  clips[0].facts.durationMs = 1000;
  clips[1].path = "/c/old.mp4";
  clips[1].facts.modifiedUtcMs = k20260518 - 86'400'000;
  clips[1].facts.durationMs = 1000;
  const std::vector<ImportedClip> matched = MatchTrackToClips(track->points, clips);
  ASSERT_EQ(matched.size(), 2u);
  EXPECT_EQ(matched[0].records.size(), 6u);
  EXPECT_EQ(matched[0].log,
            "/c/20260517_235958.mp4: times from the file name, 6 of 6 moments "
            "with a position");
  EXPECT_TRUE(matched[1].records.empty());
  EXPECT_EQ(matched[1].log,
            "/c/old.mp4: times from the modification time, not covered by the "
            "track");
}

// A camera clock an hour slow: with the folder's offset each clip's range moves before matching,
// whatever fact it came from, and the log says so.
TEST(GpxTrack, TheClockOffsetMovesEveryClipsRangeBeforeMatching) {
  std::string error;
  const std::optional<GpxTrack> track = ParseGpxText(MidnightGpx("1.1"), error);
  ASSERT_TRUE(track.has_value()) << error;
  constexpr std::int64_t kHour = 3'600'000;
  std::vector<ImportCandidate> clips(3);
  clips[0].path = "/c/20260517_225958.mp4";
  clips[0].facts.fileNameUtcMs = k20260518 - 2000 - kHour;
  clips[1].path = "/c/copied.mp4";
  clips[1].facts.modifiedUtcMs = k20260518 - 1000 - kHour;
  clips[2] = clips[0];
  for (ImportCandidate& clip : clips) clip.facts.durationMs = 1000;
  clips[0].clockOffsetSeconds = clips[1].clockOffsetSeconds = 3600;
  const std::vector<ImportedClip> matched = MatchTrackToClips(track->points, clips);
  ASSERT_EQ(matched.size(), 3u);
  EXPECT_EQ(matched[0].range.startUtcMs, k20260518 - 2000);
  EXPECT_EQ(matched[0].log,
            "/c/20260517_225958.mp4: times from the file name shifted by +01:00:00, 6 of 6 "
            "moments with a position");
  EXPECT_EQ(matched[1].range.startUtcMs, k20260518 - 2000);
  EXPECT_EQ(matched[1].records.size(), 6u);
  EXPECT_TRUE(matched[2].records.empty()) << "without the offset the track is an hour away";
}

struct BadDocument {
  const char* name;
  std::string xml;
  const char* error;
};

class BadGpx : public testing::TestWithParam<BadDocument> {};

TEST_P(BadGpx, IsRefusedWithAReason) {
  std::string error;
  EXPECT_FALSE(ParseGpxText(GetParam().xml, error).has_value());
  EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, BadGpx,
    testing::Values(BadDocument{"NoTimes",
                                "<gpx version=\"1.1\"><trk><trkseg>" + Point(1, 2, "") +
                                    Point(1, 3, "") + "</trkseg></trk></gpx>",
                                "no track point has a time"},
                    BadDocument{"NotGpx", "<kml><Document/></kml>", "not a GPX file"},
                    BadDocument{"Binary",
                                std::string("\x7f"
                                            "ELF\x01\x02\xff\xfe",
                                            8),
                                "not an XML file"},
                    BadDocument{"Truncated",
                                "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=", "not an XML"}),
    [](const auto& info) { return std::string(info.param.name); });

// A billion laughs: ten levels of ten references. Expanded it would be 10^9 copies; pugixml skips
// the declarations and leaves the reference as text, so the one point's time does not read.
TEST(GpxTrack, DeclaredEntitiesAreNeverExpanded) {
  std::string doctype = "<!DOCTYPE gpx [<!ENTITY lol0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    doctype += "<!ENTITY lol" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doctype += "&lol" + std::to_string(i - 1) + ";";
    doctype += "\">";
  }
  doctype += "]>";
  const std::string xml = "<?xml version=\"1.0\"?>" + doctype +
                          "<gpx version=\"1.1\"><trk><name>&lol9;</name><trkseg>" +
                          Point(1, 2, "&lol9;") + Point(1, 3, "2026-05-18T00:00:00Z") +
                          "</trkseg></trk></gpx>";
  std::string error;
  const std::optional<GpxTrack> track = ParseGpxText(xml, error);
  ASSERT_TRUE(track.has_value()) << error;
  EXPECT_EQ(track->points.size(), 1u);
  EXPECT_EQ(track->untimed, 1);
}

}  // namespace
}  // namespace korvane::test
