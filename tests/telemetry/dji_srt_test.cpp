// DJI subtitle files: every layout of the corpus beside a generated clip, held against the
// reference reader's count, first and last position; then the cases its files do not show.
#include "telemetry/dji_srt.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "support/file_text.h"
#include "telemetry/dji_srt_source.h"

namespace korvane::test {
namespace {

struct NodeReference {
  int count = 0;
  double first[2] = {0, 0};  // latitude, longitude
  double last[2] = {0, 0};
};

// {"n":17,"first":"2022-08-07T11:40:40.774Z 41.424724,2.234156 v=0.00","last":"… lat,lon v=…"}
std::optional<NodeReference> ReadNode(const std::string& text) {
  static const std::regex kNode(
      R"re(\{"n":(\d+),"first":(?:null|"\S+ (-?[\d.]+),(-?[\d.]+) v=[^"]*"),"last":(?:null|"\S+ (-?[\d.]+),(-?[\d.]+) v=[^"]*")\})re");
  std::smatch m;
  if (!std::regex_search(text, m, kNode)) return std::nullopt;
  NodeReference ref;
  ref.count = std::stoi(m[1]);
  if (ref.count > 0) {
    ref.first[0] = std::stod(m[2]);
    ref.first[1] = std::stod(m[3]);
    ref.last[0] = std::stod(m[4]);
    ref.last[1] = std::stod(m[5]);
  }
  return ref;
}

class DjiSrtCorpus : public ::testing::TestWithParam<const char*> {};

TEST_P(DjiSrtCorpus, BesideAClipItGivesTheReferenceFixes) {
  const std::string file = std::string("dji-srt/") + GetParam();
  KORVANE_NEED_CORPUS(file);
  const std::optional<NodeReference> ref =
      ReadNode(ReadFileText(CorpusFile("reference/dji-srt__" + std::string(GetParam()) + ".node")));
  ASSERT_TRUE(ref);
  TempDir dir;
  const std::string clip = ClipNamed(dir, "DJI_0001.MP4");
  const std::string extension = std::string(GetParam()).substr(std::string(GetParam()).rfind('.'));
  WriteFileText(dir.str() + "DJI_0001" + extension, ReadFileText(CorpusFile(file)));

  CDjiSrtSidecarSource source;
  std::vector<TelemetryRecord> records;
  const TelemetryRead read = source.Read(clip, [&](const TelemetryRecord& r) {
    if (r.valid) records.push_back(r);
  });
  ASSERT_TRUE(read.present) << read.reason;
  ASSERT_EQ(read.records, ref->count) << read.reason;
  if (ref->count == 0) return;
  EXPECT_NEAR(records.front().latitude, ref->first[0], 1e-6);
  EXPECT_NEAR(records.front().longitude, ref->first[1], 1e-6);
  EXPECT_NEAR(records.back().latitude, ref->last[0], 1e-6);
  EXPECT_NEAR(records.back().longitude, ref->last[1], 1e-6);
  for (std::size_t i = 1; i < records.size(); ++i) {
    ASSERT_GE(records[i].mediaTimeMs, records[i - 1].mediaTimeMs) << i;
  }
}

// mix_p4rtk_mavic2pro.srt has no reference output (the reference reader fails on it).
INSTANTIATE_TEST_SUITE_P(Layouts, DjiSrtCorpus,
                         ::testing::Values("MAVIC3.srt", "air2s.srt", "m2zoom.SRT",
                                           "matrice_300.srt", "mavic_2_style.SRT",
                                           "mavic_2pro_new.SRT", "mavic_air.SRT", "mavic_mini.SRT",
                                           "old_format.SRT", "p4_rtk.SRT"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(DjiSrt, TheMixedFileTakesBothLayoutsAndDatesTheUndatedCuesByTheClip) {
  const std::string file = "dji-srt/mix_p4rtk_mavic2pro.srt";
  KORVANE_NEED_CORPUS(file);
  // 2020-10-07 11:45:00 on the camera's clock.
  const std::int64_t clipStart = 1602071100000;
  const DjiSrtTrack track = ParseDjiSrtText(ReadFileText(CorpusFile(file)), clipStart);
  // Six "GPS (lon, lat, sats)" cues a second from 15:04.904, then six "[latitude]" cues a frame.
  ASSERT_EQ(track.fixes.size(), 12u);
  EXPECT_EQ(track.undated, 6);
  EXPECT_EQ(track.backwards, 0);
  const NmeaFix& first = track.fixes.front();
  EXPECT_EQ(first.mediaMs, 904904);
  EXPECT_EQ(first.cameraTime * 1000 + first.milliseconds, clipStart + 904904);
  EXPECT_NEAR(first.latitude, -34.650200, 1e-9);
  EXPECT_NEAR(first.longitude, -59.409424, 1e-9);
  EXPECT_NEAR(first.speedKmh, 1.84 * 3.6, 1e-4);
  const NmeaFix& last = track.fixes.back();
  EXPECT_EQ(last.mediaMs, 910242);
  EXPECT_EQ(last.cameraTime, 1602072010);  // 2020-10-07 12:00:10.403
  EXPECT_EQ(last.milliseconds, 403);
  EXPECT_NEAR(last.latitude, -34.651180, 1e-9);
  EXPECT_NEAR(last.altitudeM, 120.140999, 1e-4);
}

std::string Cue(int n, const std::string& time, const std::string& body) {
  return std::to_string(n) + "\n" + time + "\n" + body + "\n\n";
}

TEST(DjiSrt, BadCuesAreLeftOutAndTheRestRead) {
  const std::string good = "[latitude: 41.5] [longitude: 2.25] </font>";
  const std::string date = "2022-08-07 13:40:40.500";
  struct Case {
    const char* name;
    std::string text;
    std::size_t fixes;
    int backwards;
  };
  const Case cases[] = {
      {"a cue back in time",
       Cue(1, "00:00:02,000 --> 00:00:03,000", good) +
           Cue(2, "00:00:01,000 --> 00:00:02,000", good) +
           Cue(3, "00:00:03,000 --> 00:00:04,000", good),
       2, 1},
      {"a line of 1 MB",
       Cue(1, "00:00:00,000 --> 00:00:01,000", std::string(1 << 20, '[') + good) +
           Cue(2, "00:00:01,000 --> 00:00:02,000", std::string(1 << 20, '7')),
       1, 0},
      {"NUL bytes",
       Cue(1, "00:00:00,000 --> 00:00:01,000", std::string("\0\0", 2) + good) +
           std::string(100, '\0') + "\n\n" + Cue(2, "00:00:01,000 --> 00:00:02,000", good),
       2, 0},
      {"binary junk", std::string("\xFF\xD8\x00\x10JFIF\x00\n\x01\x02-->\n", 16), 0, 0},
      {"no blank line between cues",
       "1\n00:00:00,000 --> 00:00:01,000\n" + good + "\n2\n00:00:01,000 --> 00:00:02,000\n" + good,
       2, 0},
      {"no time line: timed by the dates",
       "1\n" + date + "\n" + good + "\n\n2\n2022-08-07 13:40:41.500\n" + good + "\n", 2, 0},
  };
  for (const Case& c : cases) {
    const DjiSrtTrack track = ParseDjiSrtText(c.text);
    EXPECT_EQ(track.fixes.size(), c.fixes) << c.name;
    EXPECT_EQ(track.backwards, c.backwards) << c.name;
    for (const NmeaFix& fix : track.fixes) EXPECT_NEAR(fix.latitude, 41.5, 1e-9) << c.name;
  }
  EXPECT_EQ(ParseDjiSrtText(cases[5].text).fixes.back().mediaMs, 1000);
}

TEST(DjiSrtSource, AFileOverTheLimitIsReadUpToIt) {
  TempDir dir;
  const std::string clip = ClipNamed(dir, "DJI_0002.MP4");
  std::string text;
  for (int i = 0; i < 100; ++i) {
    text +=
        Cue(i + 1,
            "00:00:" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ",000 --> 00:00:01,000",
            "GPS(2.25,41.5,12)");
  }
  WriteFileText(dir.str() + "DJI_0002.SRT", text);
  const std::size_t cueBytes = Cue(1, "00:00:00,000 --> 00:00:01,000", "GPS(2.25,41.5,12)").size();
  CDjiSrtSidecarSource source(cueBytes * 10);
  const TelemetryRead read = source.Read(clip, [](const TelemetryRecord&) {});
  EXPECT_EQ(read.records, 10);
  EXPECT_NE(read.reason.find("read up to"), std::string::npos) << read.reason;
  EXPECT_FALSE(CDjiSrtSidecarSource().Read(dir.str() + "DJI_0003.MP4", {}).present);
}

}  // namespace
}  // namespace korvane::test
