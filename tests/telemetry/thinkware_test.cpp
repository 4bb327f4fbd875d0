// Thinkware's `tx3g` cues: the cue decoder on the forms the models write and their faults, the
// track through the sample table of a generated clip (a table pointing outside the file), and
// the corpus clip pinned to its fixes decoded by hand from its bytes, with the bytes it reads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>

#include "corpus_sidecar.h"
#include "source_read.h"
#include "support/dashcam_track_bytes.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"
#include "telemetry/thinkware_cue.h"

namespace korvane::test {
namespace {

std::span<const std::uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

const std::string kRmc = "GPRMC,041646.00,A,5000.00000,N,03000.00000,E,14.101,16.87,020626,,,A";
const std::string kG = "gsensori,4,512,-133,038,-08";
const std::string kCar = "CAR,0,0,0,0.0,0,0,0,0,0,0,0,0";

struct CueCase {
  const char* name;
  std::string sample;
  bool thinkware, hasG, hasRmc, fix;
};

class ThinkwareCueTest : public ::testing::TestWithParam<CueCase> {};

TEST_P(ThinkwareCueTest, ReadsTheFormsAndLeavesOutWhatDoesNotRead) {
  const CueCase& c = GetParam();
  const ThinkwareCue cue = DecodeThinkwareCue(Span(c.sample));
  EXPECT_EQ(cue.thinkware, c.thinkware);
  EXPECT_EQ(cue.hasG, c.hasG);
  EXPECT_EQ(cue.hasRmc, c.hasRmc);
  EXPECT_EQ(cue.rmc.fix, c.fix);
  if (cue.hasG) {
    EXPECT_FLOAT_EQ(cue.g[0], -133.0f / 128);
    EXPECT_FLOAT_EQ(cue.g[1], 38.0f / 128);
    EXPECT_FLOAT_EQ(cue.g[2], -8.0f / 128);
  }
  if (cue.rmc.fix) {
    EXPECT_DOUBLE_EQ(cue.rmc.latitude, 50.0);
    EXPECT_DOUBLE_EQ(cue.rmc.knots, 14.101);
    EXPECT_EQ(cue.rmc.days * 86'400'000 + cue.rmc.dayMs,
              SecondsFromCivil({2026, 6, 2, 4, 16, 46}) * 1000);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cues, ThinkwareCueTest,
    ::testing::Values(
        CueCase{"AccelerometerOnly", TextCue(kG + ";" + kCar), true, true, false, false},
        CueCase{"BareRmcWithChecksum", TextCue(kG + ";" + RmcSentence(kRmc) + "\n;" + kCar), true,
                true, true, true},
        CueCase{"BareRmcWithoutChecksum", TextCue(kG + ";" + kRmc + ";" + kCar), true, true, true,
                true},
        CueCase{"OlderDollarRmc", TextCue(kG + ";" + RmcSentence(kRmc, false) + ";" + kCar), true,
                true, true, true},
        CueCase{"WrongChecksum", TextCue(kG + ";" + kRmc + "*00;" + kCar), true, true, false,
                false},
        CueCase{"StatusV", TextCue(kG + ";GPRMC,041646.00,V,,,,,,,020626,,,N;" + kCar), true, true,
                true, false},
        CueCase{"ImpossibleDate",
                TextCue(kG + ";" + kRmc.substr(0, kRmc.size() - 10) + "320626,,,A;" + kCar), true,
                true, false, false},
        CueCase{"ZeroRange", TextCue("gsensori,0,512,1,2,3;" + kCar), true, false, false, false},
        CueCase{"LengthPastTheSample", Be(400, 2) + kG + ";" + kCar, false, false, false, false},
        CueCase{"AnotherSubtitle", TextCue("2026-06-02 04:16:46 N50.0 E30.0 50 km/h"), false, false,
                false, false},
        CueCase{"RmcAloneIsNotThisCamera", TextCue(RmcSentence(kRmc, false)), false, false, false,
                false}),
    [](const auto& info) { return std::string(info.param.name); });

// The sample table's last chunk offset moved past the end of the file.
TEST(ThinkwareTrackTest, SamplesTheTablePlacesOutsideTheFileAreDroppedAndNoted) {
  TempDir dir;
  const std::string clip = dir.str() + "tw.mp4";
  ASSERT_TRUE(WriteClipWithDataTrack(SamplePath("mixed/no_gps.mp4"), clip, ThinkwareDataTrack(3)));
  std::string file = ReadFileText(clip);
  const std::size_t co64 = file.rfind("co64");
  ASSERT_NE(co64, std::string::npos);
  const std::size_t last = co64 + 8 + 4 + 29 * 8;  // version/flags, count, the 30th cue
  PutBe(file, last, file.size() + 10, 8);
  const ThinkwareTrack track = ReadThinkwareTrack(file.size(), MemoryReadAt(Span(file)));
  EXPECT_EQ(track.cues, 29);
  EXPECT_EQ(track.skipped, 0);  // the empty cue after them is a gap, not a cue unread
  EXPECT_EQ(track.fixes, 3);
  ASSERT_EQ(track.records.size(), 3u);
  EXPECT_EQ(track.records[2].mediaTimeMs, 2500);
  EXPECT_NEAR(track.records[2].latitude, DriveLatitude(2), 1e-9);
  EXPECT_NEAR(track.records[2].speedKmh, 14 * 1.852, 1e-4);
  EXPECT_FLOAT_EQ(track.records[2].gX, 25.0f / 128);
  EXPECT_FLOAT_EQ(track.records[2].gZ, 1.0f);
  EXPECT_NE(track.problem.find("outside the file"), std::string::npos) << track.problem;
}

constexpr const char* kCorpus = "thinkware-tx3g/thinkware-f200pro-front-real-anonymized.mp4";

// 96 cues of one second each in the stub (its table, not the camera's ten a second); every
// tenth from the sixth holds an RMC with status A. Decoded by hand from the bytes.
TEST(ThinkwareCorpusTest, TheF200ProClipGivesItsTenFixesReadingNoMoreThanTwiceItsCuesAndMoov) {
  KORVANE_NEED_CORPUS(kCorpus);
  const CMp4File file(CorpusFile(kCorpus));
  ASSERT_TRUE(file.open());
  const ThinkwareTrack track = ReadThinkwareTrack(file.size(), file.readAt());
  EXPECT_EQ(track.cues, 96);
  EXPECT_EQ(track.skipped, 0);
  EXPECT_EQ(track.problem, "");
  ASSERT_EQ(track.records.size(), 10u);
  EXPECT_EQ(track.fixes, 10);
  const TelemetryRecord& first = track.records.front();
  EXPECT_EQ(first.mediaTimeMs, 5000);
  EXPECT_EQ(CivilOf(first), std::make_tuple(2026, 6, 2, 4, 16, 46));
  EXPECT_DOUBLE_EQ(first.latitude, 50.0);
  EXPECT_DOUBLE_EQ(first.longitude, 30.0);
  EXPECT_NEAR(first.speedKmh, 14.101 * 1.852, 1e-4);
  EXPECT_FLOAT_EQ(first.headingDeg, 16.87f);
  EXPECT_FLOAT_EQ(first.gX, -133.0f / 128);
  EXPECT_FLOAT_EQ(first.gY, 38.0f / 128);
  EXPECT_FLOAT_EQ(first.gZ, -8.0f / 128);
  const TelemetryRecord& last = track.records.back();
  EXPECT_EQ(last.mediaTimeMs, 95000);
  EXPECT_EQ(+last.second, 56);
  EXPECT_NEAR(last.latitude, 50.0 + 0.054 / 60, 1e-9);
  EXPECT_NEAR(last.longitude, 30.0 + 0.054 / 60, 1e-9);
  EXPECT_NEAR(last.speedKmh, 19.730 * 1.852, 1e-4);
  EXPECT_FLOAT_EQ(last.headingDeg, 269.92f);
  EXPECT_FLOAT_EQ(last.gX, -126.0f / 128);
  // The cues are the mdat's 6,391 bytes after its 8-byte header; the moov is 865 bytes.
  EXPECT_LE(file.bytesRead(), 2u * (6391 + 865));
  std::printf("thinkware corpus: %llu bytes read for 6391 of cues and 865 of moov\n",
              static_cast<unsigned long long>(file.bytesRead()));
}

}  // namespace
}  // namespace korvane::test
