// A BlackVue recording's logs: the .3gf decoder on written records and on the corpus log (whose
// vertical axis sets the scale), the clip names its logs go with, and the source on the corpus
// pair beside a generated clip, its checksums recomputed in a copy (the anonymiser broke them).
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "support/file_text.h"
#include "telemetry/blackvue_files.h"
#include "telemetry/blackvue_source.h"
#include "telemetry/nmea_sentence.h"
#include "telemetry/nmea_track.h"

namespace korvane::test {
namespace {

std::string Record(std::uint32_t offsetMs, std::int16_t x, std::int16_t y, std::int16_t z) {
  std::string r;
  for (int shift = 24; shift >= 0; shift -= 8) r += static_cast<char>(offsetMs >> shift);
  for (const std::int16_t axis : {x, y, z}) {
    r += static_cast<char>(static_cast<std::uint16_t>(axis) >> 8);
    r += static_cast<char>(axis & 0xFF);
  }
  return r;
}

const std::string kEnd = "\xFF\xFF\xFF\xFF";

struct GCase {
  const char* name;
  std::string bytes;
  std::size_t samples;
  bool endMark;
  bool oddTail;
};

TEST(BlackVue3gf, RecordsUpToTheEndMarkOrTheLastWholeOne) {
  const std::string two = Record(0, 128, -64, 0) + Record(100, 256, 0, -128);
  const GCase cases[] = {
      {"ended", two + kEnd + Record(200, 1, 1, 1), 2, true, false},
      {"end mark padded to a record", two + kEnd + std::string(6, '\xFF'), 2, true, false},
      {"no end mark", two, 2, false, false},
      {"odd length", two + "\x01\x02\x03", 2, false, true},
      {"cut inside the end mark", two + "\xFF\xFF", 2, false, true},
      {"empty", "", 0, false, false},
  };
  for (const GCase& c : cases) {
    const BlackVueGLog log = DecodeBlackVue3gf(c.bytes);
    EXPECT_EQ(log.samples.size(), c.samples) << c.name;
    EXPECT_EQ(log.endMark, c.endMark) << c.name;
    EXPECT_EQ(log.oddTail, c.oddTail) << c.name;
  }
  const BlackVueGLog log = DecodeBlackVue3gf(two);
  EXPECT_EQ(log.samples[1].offsetMs, 100);
  EXPECT_FLOAT_EQ(log.samples[0].g[0], 1.0f);
  EXPECT_FLOAT_EQ(log.samples[0].g[1], -0.5f);
  EXPECT_FLOAT_EQ(log.samples[1].g[2], -1.0f);
}

TEST(BlackVue3gf, TheCorpusLogReadsAboutOneGOnItsVerticalAxis) {
  const std::string name = "blackvue-sidecar/blackvue-dr550dw-real-anonymized.3gf";
  KORVANE_NEED_CORPUS(name);
  const BlackVueGLog log = DecodeBlackVue3gf(ReadFileText(CorpusFile(name)));
  ASSERT_EQ(log.samples.size(), 50u);
  EXPECT_FALSE(log.endMark);
  EXPECT_FALSE(log.oddTail);
  EXPECT_EQ(log.samples.back().offsetMs, 5379);
  double vertical = 0.0, side = 0.0;
  for (const BlackVueGSample& s : log.samples) {
    vertical += s.g[0];
    side += std::abs(s.g[1]) + std::abs(s.g[2]);
  }
  EXPECT_NEAR(vertical / 50, 0.97, 0.02);
  EXPECT_LT(side / 50, 0.25);
}

TEST(BlackVueFiles, ALogStemIsTheClipsModeOrItsOwnName) {
  using Stems = std::vector<std::string>;
  EXPECT_EQ(BlackVueLogStems("20260718_060329_NF"),
            (Stems{"20260718_060329_N", "20260718_060329_NF"}));
  EXPECT_EQ(BlackVueLogStems("20260718_060329_E"), (Stems{"20260718_060329_E"}));
  for (const char* other : {"DJI_0001", "20260718_060329", "20260718_060329_nf",
                            "20260718-060329_NF", "20260718_060329_NFX", "2026071a_060329_NF"}) {
    EXPECT_TRUE(BlackVueLogStems(other).empty()) << other;
  }
}

// The log with each sentence's checksum made right, its stamps kept.
std::string RepairedChecksums(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = text.substr(start, end - start);
    const std::size_t dollar = line.find('$');
    const std::size_t star = line.rfind('*');
    if (dollar == std::string::npos || star == std::string::npos || star < dollar) {
      out += line + "\n";
      continue;
    }
    out += line.substr(0, dollar) + FormatNmeaSentence(line.substr(dollar + 1, star - dollar - 1)) +
           "\n";
  }
  return out;
}

struct Read {
  TelemetryRead read;
  std::vector<TelemetryRecord> records;
};

Read ReadClip(ITelemetrySource& source, const std::string& clip) {
  Read r;
  r.read = source.Read(clip, [&](const TelemetryRecord& record) { r.records.push_back(record); });
  return r;
}

class BlackVueSource : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVANE_NEED_CORPUS(kGps);
    clip_ = ClipNamed(dir_, "20260718_060329_NF.mp4");
    WriteFileText(dir_.str() + "20260718_060329_N.gps",
                  RepairedChecksums(ReadFileText(CorpusFile(kGps))));
    WriteFileText(dir_.str() + "20260718_060329_N.3gf", ReadFileText(CorpusFile(k3gf)));
  }
  static constexpr const char* kGps = "blackvue-sidecar/blackvue-dr550dw-real-anonymized.gps";
  static constexpr const char* k3gf = "blackvue-sidecar/blackvue-dr550dw-real-anonymized.3gf";
  TempDir dir_;
  std::string clip_;
};

TEST_F(BlackVueSource, TheCorpusPairGivesGpsBabelsFixesWithTheGLogsReadings) {
  EXPECT_EQ(FindBlackVueSidecar(clip_), dir_.str() + "20260718_060329_N.gps");
  EXPECT_EQ(FindNmeaSidecar(clip_), std::nullopt) << "the camera's log is not a plain NMEA log";
  CBlackVueSidecarSource source;
  const Read r = ReadClip(source, clip_);
  ASSERT_TRUE(r.read.present) << r.read.reason;
  // GPSBabel on the repaired copy: 9 fixes, 06:03:29 to 06:03:37 on 2026-07-18, at 52° N 0°.
  ASSERT_EQ(r.read.records, 9) << r.read.reason;
  EXPECT_TRUE(r.read.reason.empty()) << r.read.reason;
  const TelemetryRecord& first = r.records.front();
  const TelemetryRecord& last = r.records.back();
  EXPECT_EQ(std::vector<int>(
                {first.year, first.month, first.day, first.hour, first.minute, first.second}),
            std::vector<int>({2026, 7, 18, 6, 3, 29}));
  EXPECT_EQ(last.mediaTimeMs, 8000);
  EXPECT_NEAR(last.latitude, 52.0, 1e-9);
  EXPECT_NEAR(last.longitude, 0.0, 1e-9);
  EXPECT_NEAR(last.altitudeM, 33.2, 1e-4);
  // The G log covers the first 5.4 s: the first six fixes carry a reading, the rest none.
  EXPECT_TRUE(r.read.gValues);
  int withG = 0;
  for (const TelemetryRecord& record : r.records) withG += record.accelX != 0 ? 1 : 0;
  EXPECT_EQ(withG, 6);
}

TEST_F(BlackVueSource, BrokenOrMissingLogsSayWhy) {
  CBlackVueSidecarSource source;
  struct Case {
    const char* name;
    const char* gps;   // nullptr: removed
    const char* g3gf;  // nullptr: removed
    bool present;
    const char* reason;
  };
  const std::string junk("\x00\x01\xFF[12]$GPRMC\x00", 13);
  const Case cases[] = {
      {"junk under both names", junk.c_str(), junk.c_str(), true, "holds no NMEA sentence"},
      {"a G log alone", nullptr, "keep", true, "only a G log"},
      {"no log", nullptr, nullptr, false, "no BlackVue log"},
  };
  for (const Case& c : cases) {
    const std::string gps = dir_.str() + "20260718_060329_N.gps";
    const std::string g3gf = dir_.str() + "20260718_060329_N.3gf";
    if (c.gps == nullptr)
      std::filesystem::remove(gps);
    else
      WriteFileText(gps, std::string(junk));
    if (c.g3gf == nullptr)
      std::filesystem::remove(g3gf);
    else if (std::string(c.g3gf) != "keep")
      WriteFileText(g3gf, junk);
    const Read r = ReadClip(source, clip_);
    EXPECT_EQ(r.read.present, c.present) << c.name;
    EXPECT_EQ(r.read.records, 0) << c.name;
    EXPECT_NE(r.read.reason.find(c.reason), std::string::npos) << c.name << ": " << r.read.reason;
  }
}

TEST_F(BlackVueSource, AnOversizedLogIsReadUpToTheLimitAndAnOddGLogSaysSo) {
  WriteFileText(dir_.str() + "20260718_060329_N.3gf", ReadFileText(CorpusFile(k3gf)) + "\x01\x02");
  CBlackVueSidecarSource source(1500);
  const Read r = ReadClip(source, clip_);
  EXPECT_GT(r.read.records, 0);
  EXPECT_LT(r.read.records, 9);
  EXPECT_NE(r.read.reason.find("GPS log read up to"), std::string::npos) << r.read.reason;
  EXPECT_NE(r.read.reason.find("ends inside a record"), std::string::npos) << r.read.reason;
}

std::string Box(const std::string& type, const std::string& data) {
  const std::uint32_t size = static_cast<std::uint32_t>(data.size() + 8);
  std::string box;
  for (int shift = 24; shift >= 0; shift -= 8) box += static_cast<char>(size >> shift);
  return box + type + data;
}

// A generated clip with the camera's `free` box (or `payload`) appended at its top level.
std::string ClipWithFreeBox(const TempDir& dir, const std::string& payload) {
  const std::string clip = ClipNamed(dir, "20260718_060329_NF.mp4");
  WriteFileText(clip,
                ReadFileText(clip) + Box("free", std::string(16, '\0')) + Box("free", payload));
  return clip;
}

TEST(BlackVueInClip, TheFreeBoxsLogsGiveFixesWithGAndOtherBoxesAreNotTheCameras) {
  std::string gps;
  for (int s = 0; s < 5; ++s) {
    gps += "[" + std::to_string(1784358209000 + s * 1000) + "]" +
           FormatNmeaSentence("GPRMC,06033" + std::to_string(s) +
                              ".000,A,5200.0000,N,00010.0000,W,048.0,145.2,180726,,,A") +
           "\n";
  }
  std::string g3gf;
  for (int i = 0; i < 50; ++i) g3gf += Record(static_cast<std::uint32_t>(i * 100), 128, 0, -64);
  g3gf += kEnd;
  const std::string camera =
      Box("cprt", "BlackVue") + Box("gps ", gps + std::string(64, '\0')) + Box("3gf ", g3gf);
  struct Case {
    const char* name;
    std::string payload;
    int records;
    bool gValues;
  };
  const Case cases[] = {
      {"both logs", camera, 5, true},
      {"no G log", Box("cprt", "x") + Box("gps ", gps), 5, false},
      {"the G log cut short", Box("gps ", gps) + Box("3gf ", g3gf.substr(0, 205)), 5, true},
      {"a box larger than its parent", Box("gps ", gps).substr(0, 40), 0, false},
      {"another maker's free box", Box("junk", gps), 0, false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    CBlackVueInClipSource source;
    const Read r = ReadClip(source, ClipWithFreeBox(dir, c.payload));
    EXPECT_EQ(r.read.records, c.records) << c.name << ": " << r.read.reason;
    EXPECT_EQ(r.read.gValues, c.gValues) << c.name;
    if (c.records == 0) {
      EXPECT_NE(r.read.reason.find("no BlackVue GPS log inside"), std::string::npos) << c.name;
      continue;
    }
    EXPECT_EQ(r.records.back().mediaTimeMs, 4000) << c.name;
    EXPECT_NEAR(r.records.back().longitude, -10.0 / 60, 1e-9) << c.name;
  }
  TempDir dir;
  CBlackVueInClipSource small(100);
  EXPECT_FALSE(ReadClip(small, ClipWithFreeBox(dir, camera)).read.present) << "over the bound";
  EXPECT_FALSE(ReadClip(small, NoSubtitleClip()).read.present);
}

}  // namespace
}  // namespace korvane::test
