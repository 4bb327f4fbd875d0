// When a clip was recorded, for matching a track from another device: the order of the facts
// used, the date-time of the file names cameras write, and the MP4 header's creation time.
#include "telemetry/clip_time_range.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/command_output.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

constexpr std::int64_t k063000 = 1779085800;  // 2026-05-18 06:30:00

struct NameCase {
  const char* name;
  std::optional<std::int64_t> seconds;
};

class FileNameTime : public testing::TestWithParam<NameCase> {};

TEST_P(FileNameTime, IsReadFromTheCommonCameraNames) {
  EXPECT_EQ(FileNameDateTime(GetParam().name), GetParam().seconds) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTime,
    testing::Values(NameCase{"20260518_063000_F.mp4", k063000},
                    NameCase{"FILE20260518-063000-000123F.MP4", k063000},
                    NameCase{"2026_0518_063000_001.MOV", k063000},
                    NameCase{"2026-05-18_06-30-00.mp4", k063000},
                    NameCase{"NO20260518063000.mp4", k063000},
                    NameCase{"clip 0001 20260518 063000.mp4", k063000},
                    NameCase{"20260230_063000.mp4", std::nullopt},     // 30 February
                    NameCase{"20250229_063000.mp4", std::nullopt},     // not a leap year
                    NameCase{"20260518_063000123.mp4", std::nullopt},  // 17 digits: no
                    NameCase{"18000518_063000.mp4", std::nullopt},
                    NameCase{"sample_drive.mp4", std::nullopt}));

TEST(ClipTimeRange, TheFirstFactTheClipHasIsTaken) {
  ClipTimeFacts facts;
  facts.modifiedUtcMs = 2'000'000;
  facts.durationMs = 60'000;
  ClipTimeRange r = ClipTimeRangeOf(facts);
  EXPECT_EQ(r.startUtcMs, 1'940'000) << "a camera closes the file when it stops writing";
  EXPECT_EQ(r.basis, ClipTimeBasis::ModificationTime);
  facts.fileNameUtcMs = 3'000'000;
  EXPECT_EQ(ClipTimeRangeOf(facts).basis, ClipTimeBasis::FileName);
  facts.creationTimeUtcMs = 4'000'000;
  EXPECT_EQ(ClipTimeRangeOf(facts).basis, ClipTimeBasis::CreationTime);
  facts.cameraStartUtcMs = 5'000'000;
  r = ClipTimeRangeOf(facts);
  EXPECT_EQ(r.basis, ClipTimeBasis::CameraClock);
  EXPECT_EQ(r.startUtcMs, 5'000'000);
  EXPECT_EQ(r.durationMs, 60'000);
  EXPECT_EQ(ClipTimeBasisText(r.basis), "camera clock");
}

TEST(ClipTimeRange, ADayWithoutAMonthIsDatedByTheNameBeforeTheHeaderBeforeTheFile) {
  ClipTimeFacts facts;
  facts.modifiedUtcMs = 2'000'000;
  facts.durationMs = 60'000;
  EXPECT_EQ(ClipDateOf(facts).startUtcMs, 1'940'000);
  facts.creationTimeUtcMs = 4'000'000;
  EXPECT_EQ(ClipDateOf(facts).basis, ClipTimeBasis::CreationTime);
  facts.fileNameUtcMs = 3'000'000;
  facts.cameraStartUtcMs = 5'000'000;  // not used: that is the track being dated
  EXPECT_EQ(ClipDateOf(facts).basis, ClipTimeBasis::FileName);
  EXPECT_EQ(ClipDateOf(facts).startUtcMs, 3'000'000);
}

TEST(Mp4Header, TheCreationTimeFfmpegWroteReadsBackAndAMissingOneIsNone) {
  TempDir dir;
  const std::string clip = dir.str() + "made.mp4";
  CommandOutput(
      "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=64x36:duration=0.2 "
      "-metadata creation_time=2026-05-18T06:30:00Z -c:v libx264 -preset ultrafast '" +
      clip + "'");
  EXPECT_EQ(Mp4CreationTime(clip), k063000 * 1000);
  EXPECT_EQ(Mp4CreationTime(SamplePath("mixed/no_gps.mp4")), std::nullopt) << "ffmpeg wrote 0";
  EXPECT_EQ(Mp4CreationTime(SamplePath("mixed/sidecar_only.nmea")), std::nullopt);
  EXPECT_EQ(Mp4CreationTime(dir.str() + "missing.mp4"), std::nullopt);
}

// A version-1 movie header's 64-bit creation time can say anything: past the year 9999 it is no
// time (its ms would not fit), while the duration beside it still reads.
TEST(Mp4Header, ACreationTimePastTheYear9999IsNone) {
  TempDir dir;
  const auto be = [](std::uint64_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
  };
  const auto header = [&](std::uint64_t created) {
    const std::string mvhd = std::string("\1\0\0\0", 4) + be(created, 8) + be(created, 8) +
                             be(1000, 4) + be(20'000, 8) + std::string(80, '\0');
    const std::string moov = be(8 + mvhd.size(), 4) + "mvhd" + mvhd;
    return be(8 + moov.size(), 4) + "moov" + moov;
  };
  const std::string clip = dir.str() + "v1.mp4";
  for (const auto& [created, expected] :
       std::vector<std::pair<std::uint64_t, std::optional<std::int64_t>>>{
           {0x0100000100000000, std::nullopt},
           {2'082'844'800 + 253'402'300'799ull, 253'402'300'799'000},
           {2'082'844'800 + 1'779'085'800ull, 1'779'085'800'000}}) {
    std::ofstream(clip, std::ios::binary) << header(created);
    EXPECT_EQ(Mp4CreationTime(clip), expected) << created;
    EXPECT_EQ(Mp4DurationMs(clip), 20'000);
  }
}

}  // namespace
}  // namespace korvane::test
