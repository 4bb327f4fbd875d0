// Escort trip logs: the corpus log beside a generated clip, pinned from its layout, and the lines
// that must not read.
#include "telemetry/escort_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "support/file_text.h"
#include "telemetry/escort_source.h"

namespace korvane::test {
namespace {

TEST(EscortMap, TheCorpusLogBesideAClipGivesAFixASecondWithItsG) {
  const std::string file = "escort-map/escort-m2-real-anonymized.map";
  KORVANE_NEED_CORPUS(file);
  TempDir dir;
  const std::string clip = ClipNamed(dir, "MOVI0001.MP4");
  WriteFileText(dir.str() + "MOVI0001.map", ReadFileText(CorpusFile(file)));
  CEscortSidecarSource source;
  std::vector<TelemetryRecord> records;
  const TelemetryRead read =
      source.Read(clip, [&](const TelemetryRecord& r) { records.push_back(r); });
  ASSERT_EQ(read.records, 10) << read.reason;
  EXPECT_TRUE(read.reason.empty()) << read.reason;
  EXPECT_TRUE(read.gValues);
  // A,110526,001555,3700.0000,N,12100.0000,W,117.36,0.10,-0.17,1.59;
  const TelemetryRecord& first = records.front();
  EXPECT_EQ(std::vector<int>(
                {first.year, first.month, first.day, first.hour, first.minute, first.second}),
            std::vector<int>({2026, 5, 11, 0, 15, 55}));
  EXPECT_NEAR(first.latitude, 37.0, 1e-9);
  EXPECT_NEAR(first.longitude, -121.0, 1e-9);
  EXPECT_NEAR(first.speedKmh, 117.36, 1e-3);
  // A,110526,001604,…,115.75,0.09,-0.09,1.44;
  EXPECT_EQ(records.back().mediaTimeMs, 9000);
  EXPECT_NEAR(records.back().speedKmh, 115.75, 1e-3);
}

TEST(EscortMap, LinesThatDoNotReadAreCountedAndSkipped) {
  const std::string good = "A,110526,001555,3700.0000,N,12100.0000,W,117.36,0.10,-0.17,1.59;";
  struct Case {
    const char* name;
    std::string line;
  };
  const Case cases[] = {
      {"a field short", "A,110526,001556,3700.0000,N,12100.0000,W,117.36,0.10,-0.17;"},
      {"no date", "A,,001556,3700.0000,N,12100.0000,W,117.36,0.10,-0.17,1.59;"},
      {"a letter for a G value", "A,110526,001556,3700.0000,N,12100.0000,W,117.36,x,-0.17,1.59;"},
      {"a checksum in a field", "A,110526,001556*00,3700.0000,N,12100.0000,W,1,0,0,1;"},
      {"NUL bytes", std::string("A,110526,001556,37\0\0.0000,N,12100.0000,W,1,0,0,1;", 50)},
      {"a line of 1 MB", std::string(1 << 20, 'A')},
      {"a position longer than a sentence holds",
       "A,110526,001556,3700." + std::string(80, '0') + ",N,12100.0000,W,117.36,0.10,-0.17,1.59;"},
      {"back in time", "A,110526,001554,3700.0000,N,12100.0000,W,117.36,0.10,-0.17,1.59;"},
  };
  for (const Case& c : cases) {
    const EscortMapTrack track = ParseEscortMapText(good + "\r\n" + c.line + "\n");
    EXPECT_EQ(track.fixes.size(), 1u) << c.name;
    EXPECT_EQ(track.badLines + track.backwards, 1) << c.name;
  }
  const EscortMapTrack noFix = ParseEscortMapText("V,110526,001555,,,,,0.00,0.01,0.02,0.98;");
  ASSERT_EQ(noFix.fixes.size(), 1u);
  EXPECT_FALSE(noFix.fixes[0].valid);
}

}  // namespace
}  // namespace korvane::test
