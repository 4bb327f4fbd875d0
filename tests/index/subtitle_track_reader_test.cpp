// The subtitle track of an MP4 read through the sample table gives what libavformat's demuxer
// gives (the cues, their times, whether there is a text track), without loading libavformat.
#include "subtitle_track_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "libav_library.h"
#include "support/camera_track_records.h"
#include "support/dashcam_track_bytes.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

using Cues = std::vector<std::pair<std::int32_t, std::string>>;

SubtitleTrackRead ReadWith(decltype(&ReadSubtitleTrack) read, const std::string& clip, Cues& cues) {
  return read(clip, [&](std::int32_t ms, std::string_view text) { cues.emplace_back(ms, text); });
}

struct Clip {
  const char* name;
  // Writes the clip into `dir` and gives its path; empty when it could not.
  std::string (*make)(const std::string& dir);
};

std::string Written(bool ok, std::string path) {
  return ok ? path : std::string();
}

const Clip kClips[] = {
    {"SampleDrive", [](const std::string&) { return DefaultClip(); }},
    {"PlainCues", [](const std::string&) { return PlainSubtitleClip(); }},
    {"TwoTracks", [](const std::string&) { return TwoTrackClip(); }},
    {"ManyCues", [](const std::string&) { return CuesClip(641); }},
    {"LongCue", [](const std::string&) { return SamplePath("long_cue.mp4"); }},
    {"NoSubtitle", [](const std::string&) { return NoSubtitleClip(); }},
    {"SigmaStar",
     [](const std::string& dir) {
       return Written(kSsmdClip.write(NoSubtitleClip(), dir + "s.mp4", 3), dir + "s.mp4");
     }},
    {"Vueroid",
     [](const std::string& dir) {
       return Written(kVueroidClip.write(NoSubtitleClip(), dir + "v.mp4", 3), dir + "v.mp4");
     }},
    {"Thinkware",
     [](const std::string& dir) {
       return Written(WriteClipWithDataTrack(SamplePath("mixed/no_gps.mp4"), dir + "t.mp4",
                                             ThinkwareDataTrack(3)),
                      dir + "t.mp4");
     }},
};

class Mp4SubtitleTrack : public testing::TestWithParam<Clip> {};

TEST_P(Mp4SubtitleTrack, ReadsAsTheDemuxerReadsItWithoutLoadingIt) {
  TempDir dir;
  const std::string clip = GetParam().make(dir.str());
  ASSERT_FALSE(clip.empty());
  // Each case runs in a process of its own under ctest; run together, the first demuxer read
  // loads the library for the rest.
  const bool loadedBefore = LibAvLoaded();
  Cues own, demuxed;
  const SubtitleTrackRead read = ReadWith(ReadSubtitleTrack, clip, own);
  if (!loadedBefore) {
    EXPECT_FALSE(LibAvLoaded());
  }
  const SubtitleTrackRead expected = ReadWith(ReadSubtitleTrackWithDemuxer, clip, demuxed);
  ASSERT_TRUE(expected.opened) << expected.error;
  EXPECT_TRUE(read.opened);
  EXPECT_EQ(read.hasSubtitle, expected.hasSubtitle);
  EXPECT_EQ(read.textSubtitle, expected.textSubtitle);
  EXPECT_EQ(read.cues, expected.cues);
  EXPECT_EQ(own, demuxed);
  EXPECT_EQ(read.error, expected.error);
  // The movie header's duration, rounded down here and to the nearest there.
  EXPECT_NEAR(static_cast<double>(read.durationMs), static_cast<double>(expected.durationMs), 1);
}

INSTANTIATE_TEST_SUITE_P(Clips, Mp4SubtitleTrack, testing::ValuesIn(kClips),
                         [](const auto& info) { return std::string(info.param.name); });

// A file the sample table does not settle goes to the demuxer: here a transport stream.
TEST(SubtitleTrackReader, ATransportStreamIsReadByTheDemuxer) {
  TempDir dir;
  const std::string ts = dir.str() + "clip.ts";
  const std::string command =
      "ffmpeg -v error -i '" + NoSubtitleClip() + "' -map 0:v -c copy -f mpegts '" + ts + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  Cues cues;
  const SubtitleTrackRead read = ReadWith(ReadSubtitleTrack, ts, cues);
  EXPECT_TRUE(LibAvLoaded());
  EXPECT_TRUE(read.opened) << read.error;
  EXPECT_FALSE(read.hasSubtitle);
}

}  // namespace
}  // namespace korvane::test
