// The indexer on generated clips of each camera family whose telemetry is a track of its own in
// the clip's sample table (SigmaStar's `ssmd`, Vueroid's `mp4s`): read through IndexClip as the
// indexer program reads it, with the source, its traits and the points it gives.
#include <gtest/gtest.h>

#include <string>

#include "clip_indexer.h"
#include "support/camera_track_records.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 6;  // the sample clip's length

struct Family {
  TrackClip clip;
  std::string_view source;
  SourceTraits traits;
  std::int32_t lastMediaMs;
  std::int64_t lastTimeMs;
  const char* reason;
};

class ClipTrackIndex : public testing::TestWithParam<Family> {};

TEST_P(ClipTrackIndex, AClipWithItsCamerasTrackIsIndexedFromIt) {
  const Family& f = GetParam();
  TempDir dir;
  const std::string clip = dir.str() + f.clip.fileName;
  ASSERT_TRUE(f.clip.write(NoSubtitleClip(), clip, kSeconds));
  const IndexedClip indexed = IndexClip(clip);
  const ClipSummary& s = indexed.summary;
  ASSERT_EQ(s.status, ClipStatus::Indexed) << s.reason;
  EXPECT_EQ(s.source, f.source);
  EXPECT_EQ(s.traits, f.traits);
  EXPECT_EQ(s.reason, f.reason);
  ASSERT_EQ(indexed.points.size(), std::size_t{kSeconds} * f.clip.recordsPerSecond);
  const IndexPoint& last = indexed.points.back();
  EXPECT_EQ(last.mediaMs, f.lastMediaMs);
  EXPECT_EQ(last.timeMs, f.lastTimeMs);
  EXPECT_EQ(last.receiverTime, f.traits.clock == SourceClock::Receiver);
  EXPECT_NEAR(last.latitude, 50.4505, 1e-5);
  EXPECT_NEAR(last.longitude, 30.5205, 1e-5);
  EXPECT_NEAR(last.speedKmh, 50.0f, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Families, ClipTrackIndex,
    testing::Values(Family{kSsmdClip, kSigmaStarSource,
                           SourceTraits{false, SourceClock::Receiver, true, false}, 5000,
                           SecondsFromCivil({2026, 5, 18, 8, 30, 5}) * 1000,
                           "SigmaStar GPS track: year and month from the clip's file name"},
                    Family{kVueroidClip, kVueroidSource,
                           SourceTraits{true, SourceClock::Camera, true, false}, 5950,
                           SecondsFromCivil({2026, 5, 18, 8, 30, 5}) * 1000 + 950, ""}),
    [](const auto& info) { return std::string(info.param.clip.family); });

}  // namespace
}  // namespace korvane::test
