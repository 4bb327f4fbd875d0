// The indexer on generated clips with a camera's GPMF track: an ffmpeg clip with a `gpmd` track
// of a drive added, read through IndexClip as the indexer program reads it, held against what
// ExifTool reads of the same clip where it is installed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "clip_indexer.h"
#include "support/command_output.h"
#include "support/gpmf_payload.h"
#include "support/mp4_data_track.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 6;  // the sample clip's length

class GoProIndex : public testing::Test {
 protected:
  void Write(int fix = 3) {
    DataTrack track;
    for (int i = 0; i < kSeconds; ++i) {
      GpmfSecond second = GpmfDriveSecond(i);
      second.fix = fix;
      track.samples.push_back({GpmfCameraSample(second), 1000});
    }
    ASSERT_TRUE(WriteClipWithDataTrack(NoSubtitleClip(), clip, track));
  }
  TempDir dir;
  std::string clip = dir.str() + "GX010001.MP4";
};

TEST_F(GoProIndex, AClipWithAGpmfTrackIsIndexedFromItWithItsAccelerometer) {
  Write();
  const IndexedClip indexed = IndexClip(clip);
  const ClipSummary& s = indexed.summary;
  ASSERT_EQ(s.status, ClipStatus::Indexed) << s.reason;
  EXPECT_EQ(s.source, kGoProSource);
  EXPECT_EQ(s.traits, (SourceTraits{true, SourceClock::Receiver, true, false}));
  EXPECT_EQ(s.reason, "");
  ASSERT_EQ(indexed.points.size(), static_cast<std::size_t>(kSeconds * 10));
  const IndexPoint& last = indexed.points.back();
  EXPECT_EQ(last.mediaMs, 5900);
  EXPECT_EQ(last.timeMs, SecondsFromCivil({2026, 5, 18, 8, 30, 5}) * 1000 + 900);
  EXPECT_TRUE(last.receiverTime);
  EXPECT_NEAR(last.latitude, 50.45 + 0.00007 * 5.9, 1e-6);
  EXPECT_NEAR(last.speedKmh, 36, 1e-3);
  // Up is the camera's z, braking its y: the readings' order by the cameras' default ZXY.
  EXPECT_NEAR(last.gZ, 1, 1e-3);
  EXPECT_NEAR(last.gY, -0.25, 1e-3);
}

TEST_F(GoProIndex, ATrackWithoutAFixSaysSo) {
  Write(0);
  const ClipSummary s = IndexClip(clip).summary;
  EXPECT_EQ(s.status, ClipStatus::NoTelemetry);
  EXPECT_EQ(s.source, kGoProSource);
  EXPECT_NE(s.reason.find("GoPro GPMF: no fix"), std::string::npos) << s.reason;
}

// ExifTool's positions of the clip (its -ee read of the gpmd track, every reading of every
// sample) against ours, in order.
TEST_F(GoProIndex, GivesThePositionsExifToolReads) {
  if (CommandOutput("command -v exiftool").empty()) GTEST_SKIP() << "no exiftool";
  Write();
  const IndexedClip indexed = IndexClip(clip);
  for (const char* tag : {"GPSLatitude", "GPSLongitude"}) {
    std::istringstream values(
        CommandOutput("exiftool -ee -n -a -s3 -" + std::string(tag) + " '" + clip + "'"));
    std::size_t i = 0;
    for (double v = 0; values >> v; ++i) {
      ASSERT_LT(i, indexed.points.size()) << tag;
      const IndexPoint& p = indexed.points[i];
      EXPECT_NEAR(std::string(tag) == "GPSLatitude" ? p.latitude : p.longitude, v, 1e-6) << i;
    }
    EXPECT_EQ(i, indexed.points.size()) << tag;
  }
}

}  // namespace
}  // namespace korvane::test
