// What a camera's track inside a three-minute clip costs to read (SigmaStar's `ssmd` at one
// record a second, Vueroid's `mp4s` at twenty, GoPro's `gpmd` at a sample a second): the bytes the
// reads take stay within twice the track's samples and the `moov`, however large the video. With
// KORVANE_TRACK_CLIPS=DIR the clips are left there for bench/clip_track_figures.sh.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "support/camera_track_records.h"
#include "support/gpmf_payload.h"
#include "support/temp_dir.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/mp4_track_samples.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 180;

class ClipTrackBytes : public testing::TestWithParam<TrackClip> {};

TEST_P(ClipTrackBytes, AThreeMinuteClipsTrackReadsInAtMostTwiceItsSamplesAndMoov) {
  static const TempDir dir;
  const std::string video = dir.str() + "video.mp4";
  if (!std::filesystem::exists(video)) {
    const std::string ffmpeg = "ffmpeg -v error -y -f lavfi -i testsrc=size=640x360:rate=10 -t " +
                               std::to_string(kSeconds) +
                               " -c:v libx264 -preset ultrafast -pix_fmt yuv420p '" + video + "'";
    ASSERT_EQ(std::system(ffmpeg.c_str()), 0);
  }
  const std::string clip = dir.str() + GetParam().fileName;
  ASSERT_TRUE(GetParam().write(video, clip, kSeconds));

  const CMp4File file(clip);
  std::uint64_t samples = 0;
  int count = 0;
  ForEachMp4TrackSample(
      file.size(), file.readAt(),
      [&](const Mp4TrackHeader& h) { return h.FormatIs(GetParam().format); }, 1 << 20,
      [&](std::span<const std::uint8_t> bytes, std::int64_t, std::int64_t) {
        samples += bytes.size();
        ++count;
      });
  std::string problem;
  std::uint64_t moov = 0;
  ForEachMp4Box(file.readAt(), 0, file.size(), problem, [&](const Mp4Box& box) {
    if (box.Is("moov")) moov = box.size;
    return true;
  });
  EXPECT_EQ(count, kSeconds * GetParam().recordsPerSecond);
  EXPECT_LE(file.bytesRead(), 2 * (samples + moov));
  std::cout << GetParam().family << ": read " << file.bytesRead() << " of " << file.size()
            << " bytes; samples " << samples << " + moov " << moov << "\n";
  if (const char* keep = std::getenv("KORVANE_TRACK_CLIPS")) {
    std::filesystem::copy_file(clip, std::string(keep) + "/" + GetParam().fileName,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

INSTANTIATE_TEST_SUITE_P(Families, ClipTrackBytes,
                         testing::Values(kSsmdClip, kVueroidClip,
                                         TrackClip{"GoPro", "GX010001.MP4", "gpmd", 1,
                                                   WriteGoProClip}),
                         [](const auto& info) { return std::string(info.param.family); });

}  // namespace
}  // namespace korvane::test
