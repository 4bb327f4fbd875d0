// The indexer on generated clips of the Novatek family's common layout: an ffmpeg clip with a
// `gps ` index and its blocks added, read through IndexClip as the indexer program reads it,
// held against what ExifTool reads of the same clip where it is installed.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "clip_indexer.h"
#include "support/command_output.h"
#include "support/freegps_clip.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 6;  // the sample clip's length

std::vector<BlockFix> Drive(char status = 'A') {
  std::vector<BlockFix> fixes;
  for (int i = 0; i < kSeconds; ++i) {
    fixes.push_back(DriveFix(BlockFix{}, i));
    fixes.back().status = status;
  }
  return fixes;
}

class FreeGpsIndex : public testing::Test {
 protected:
  TempDir dir;
  std::string clip = dir.str() + "novatek.mp4";
};

TEST_F(FreeGpsIndex, AClipWithBlocksIsIndexedFromThemAndStillPlays) {
  ASSERT_TRUE(WriteFreeGpsClip(NoSubtitleClip(), clip, Drive()));
  const IndexedClip indexed = IndexClip(clip);
  const ClipSummary& s = indexed.summary;
  ASSERT_EQ(s.status, ClipStatus::Indexed) << s.reason;
  EXPECT_EQ(s.source, kFreeGpsSource);
  EXPECT_EQ(s.traits, (SourceTraits{false, SourceClock::Camera, true, false}));
  EXPECT_EQ(s.reason, "");
  ASSERT_EQ(indexed.points.size(), static_cast<std::size_t>(kSeconds));
  const IndexPoint& last = indexed.points.back();
  EXPECT_EQ(last.mediaMs, 5000);
  EXPECT_EQ(last.timeMs, SecondsFromCivil({2026, 5, 18, 8, 30, 5}) * 1000);
  EXPECT_NEAR(last.latitude, 50.4505, 1e-5);
  EXPECT_NEAR(last.longitude, 30.5205, 1e-5);
  EXPECT_NEAR(last.speedKmh, 32 * 1.852, 1e-3);
  EXPECT_FALSE(last.receiverTime);
  // The blocks lie after the video; the video decodes frame for frame as before.
  const std::string frames =
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
      "-of csv=p=0 ";
  EXPECT_EQ(CommandOutput(frames + "'" + clip + "'"),
            CommandOutput(frames + "'" + NoSubtitleClip() + "'"));
}

// A camera in TS mode: the records in a private stream among the video's packets.
TEST_F(FreeGpsIndex, ATsClipIsIndexedFromItsGpsStreamAndStillPlays) {
  const std::string ts = dir.str() + "2026_0518_083000_F.TS";
  ASSERT_TRUE(WriteFreeGpsTs(NoSubtitleClip(), ts, Drive()));
  const IndexedClip indexed = IndexClip(ts);
  ASSERT_EQ(indexed.summary.status, ClipStatus::Indexed) << indexed.summary.reason;
  EXPECT_EQ(indexed.summary.source, kFreeGpsSource);
  ASSERT_EQ(indexed.points.size(), static_cast<std::size_t>(kSeconds));
  EXPECT_EQ(indexed.points.back().timeMs, SecondsFromCivil({2026, 5, 18, 8, 30, 5}) * 1000);
  EXPECT_NEAR(indexed.points.back().latitude, 50.4505, 1e-5);
  const std::string frames =
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
      "-of csv=p=0 ";
  // ffprobe lists a transport stream's video twice (as a stream and in its program).
  EXPECT_EQ(std::stoi(CommandOutput(frames + "'" + ts + "'")),
            std::stoi(CommandOutput(frames + "'" + NoSubtitleClip() + "'")));
}

TEST_F(FreeGpsIndex, BlocksWithoutAFixSaySo) {
  ASSERT_TRUE(WriteFreeGpsClip(NoSubtitleClip(), clip, Drive('V')));
  const ClipSummary s = IndexClip(clip).summary;
  EXPECT_EQ(s.status, ClipStatus::NoTelemetry);
  EXPECT_EQ(s.source, kFreeGpsSource);
  EXPECT_NE(s.reason.find("Novatek GPS blocks: no fix"), std::string::npos) << s.reason;
}

// ExifTool's fixes of the clip (its -ee read of the `gps ` index) against ours: the count, the
// time, the position to 1e-6° and the speed to 0.1 km/h.
TEST_F(FreeGpsIndex, GivesTheFixesExifToolReads) {
  if (CommandOutput("command -v exiftool").empty()) GTEST_SKIP() << "no exiftool";
  ASSERT_TRUE(WriteFreeGpsClip(NoSubtitleClip(), clip, Drive()));
  std::istringstream out(CommandOutput(
      "exiftool -ee -n -p '$GPSDateTime $GPSLatitude $GPSLongitude $GPSSpeed' '" + clip + "'"));
  const IndexedClip indexed = IndexClip(clip);
  std::size_t i = 0;
  for (std::string date, time; out >> date >> time; ++i) {
    double lat = 0, lon = 0, kmh = 0;
    out >> lat >> lon >> kmh;
    ASSERT_LT(i, indexed.points.size());
    const IndexPoint& p = indexed.points[i];
    const CivilTime t{std::stoi(date.substr(0, 4)),
                      static_cast<unsigned>(std::stoi(date.substr(5, 2))),
                      static_cast<unsigned>(std::stoi(date.substr(8, 2))),
                      static_cast<unsigned>(std::stoi(time.substr(0, 2))),
                      static_cast<unsigned>(std::stoi(time.substr(3, 2))),
                      static_cast<unsigned>(std::stoi(time.substr(6, 2)))};
    EXPECT_EQ(p.timeMs, SecondsFromCivil(t) * 1000) << i;
    EXPECT_NEAR(p.latitude, lat, 1e-6) << i;
    EXPECT_NEAR(p.longitude, lon, 1e-6) << i;
    EXPECT_NEAR(p.speedKmh, kmh, 0.1) << i;
  }
  EXPECT_EQ(i, indexed.points.size());
}

}  // namespace
}  // namespace korvane::test
