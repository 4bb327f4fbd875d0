// The indexer on generated clips of two cameras' in-clip telemetry, read through IndexClip as the
// indexer program reads them: a Thinkware `tx3g` track (which the program's own subtitle source
// leaves to its reader), a LIGOGPS trailer after the last box, and an encrypted LIGOGPS `ssmd`
// track, which is named and not read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "clip_indexer.h"
#include "support/dashcam_track_bytes.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"

namespace korvane::test {
namespace {

// The clip gave four points, the last `mediaMs` into it, at `timeMs` (the receiver's clock when
// `receiverTime`, else the camera's) and the drive's latitude of its fourth second; it is returned.
IndexPoint LastOfFourPoints(const IndexedClip& indexed, std::int64_t mediaMs, std::int64_t timeMs,
                            bool receiverTime) {
  EXPECT_EQ(indexed.points.size(), 4u);
  if (indexed.points.empty()) return {};
  const IndexPoint& last = indexed.points.back();
  EXPECT_EQ(last.mediaMs, mediaMs);
  EXPECT_EQ(last.timeMs, timeMs);
  EXPECT_EQ(last.receiverTime, receiverTime);
  EXPECT_NEAR(last.latitude, DriveLatitude(3), 1e-6);
  return last;
}

class DashcamTracksIndex : public testing::Test {
 protected:
  TempDir dir;
  std::string clip = dir.str() + "clip.mp4";
  const std::string base = SamplePath("mixed/no_gps.mp4");
};

TEST_F(DashcamTracksIndex, AThinkwareClipIsIndexedFromItsCuesOnReceiverTimeWithGValues) {
  ASSERT_TRUE(WriteClipWithDataTrack(base, clip, ThinkwareDataTrack(4)));
  const IndexedClip indexed = IndexClip(clip);
  const ClipSummary& s = indexed.summary;
  ASSERT_EQ(s.status, ClipStatus::Indexed) << s.reason;
  EXPECT_EQ(s.source, kThinkwareSource);
  EXPECT_EQ(s.traits, (SourceTraits{true, SourceClock::Receiver, true, false}));
  EXPECT_EQ(s.reason, "");
  const IndexPoint last =
      LastOfFourPoints(indexed, 3500, SecondsFromCivil({2026, 6, 2, 4, 16, 3}) * 1000, true);
  EXPECT_NEAR(last.longitude, DriveLongitude(3), 1e-9);
  EXPECT_NEAR(last.headingDeg, 90.0, 1e-4);
  EXPECT_FLOAT_EQ(last.gX, 35.0f / 128);
  EXPECT_FLOAT_EQ(last.gZ, 1.0f);
}

TEST_F(DashcamTracksIndex, ALigoGpsTrailerIsIndexedFromItsLinesOnTheCameraClock) {
  WriteFileText(
      clip, ReadFileText(base) + [] {
        std::vector<std::string> lines;
        for (int s = 0; s < 4; ++s) lines.push_back(LigoGpsDriveLine(s));
        return LigoGpsTrailer(lines);
      }());
  const IndexedClip indexed = IndexClip(clip);
  const ClipSummary& s = indexed.summary;
  ASSERT_EQ(s.status, ClipStatus::Indexed) << s.reason;
  EXPECT_EQ(s.source, kLigoGpsSource);
  EXPECT_EQ(s.traits, (SourceTraits{false, SourceClock::Camera, true, false}));
  const IndexPoint last =
      LastOfFourPoints(indexed, 3000, SecondsFromCivil({2026, 8, 3, 11, 34, 3}) * 1000, false);
  EXPECT_FLOAT_EQ(last.speedKmh, 23.0f);
  EXPECT_FLOAT_EQ(last.altitudeM, 203.0f);
  EXPECT_FLOAT_EQ(last.headingDeg, 173.0f);
}

TEST_F(DashcamTracksIndex, AnEncryptedLigoGpsTrackIsNamedWithItsReason) {
  DataTrack track;
  track.format = "ssmd";
  for (int i = 0; i < 3; ++i) {
    track.samples.push_back(
        {std::string(30, '\0') + LigoGpsBlock({std::string("\x05\x05", 2)}, false, 120), 1000});
  }
  ASSERT_TRUE(WriteClipWithDataTrack(base, clip, track));
  const ClipSummary s = IndexClip(clip).summary;
  EXPECT_EQ(s.status, ClipStatus::NoTelemetry);
  EXPECT_EQ(s.source, kLigoGpsSource);
  EXPECT_EQ(s.reason, "LIGOGPS, encrypted: not read");
}

}  // namespace
}  // namespace korvane::test
