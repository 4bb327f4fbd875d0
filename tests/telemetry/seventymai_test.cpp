// 70mai folder GPS logs: the corpus log beside generated clips of the names it carries, each
// clip given its own lines; and the lines without a name, naming no clip here, or not reading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "support/file_text.h"
#include "telemetry/seventymai_gps.h"
#include "telemetry/seventymai_source.h"

namespace korvane::test {
namespace {

TEST(SeventyMai, TheCorpusLogGivesEachClipTheLinesNamingIt) {
  const std::string file = "70mai/GPSData-a810-real-anonymized.txt";
  KORVANE_NEED_CORPUS(file);
  TempDir dir;
  WriteFileText(dir.str() + "GPSData000001.txt", ReadFileText(CorpusFile(file)));
  struct Case {
    const char* clip;
    int records;
    std::int64_t firstUnix;
    std::int32_t lastMediaMs;  // from the clip's first line
  };
  const Case cases[] = {
      {"NO20260712-195504-000000F.MP4", 9, 1783850132, 8000},
      {"NO20260712-195604-000001F.MP4", 41, 1783850141, 40000},
  };
  for (const Case& c : cases) {
    const std::string clip = ClipNamed(dir, c.clip);
    EXPECT_EQ(FindSeventyMaiLog(clip), dir.str() + "GPSData000001.txt");
    CSeventyMaiSource source;
    std::vector<TelemetryRecord> records;
    const TelemetryRead read =
        source.Read(clip, [&](const TelemetryRecord& r) { records.push_back(r); });
    ASSERT_EQ(read.records, c.records) << c.clip << ": " << read.reason;
    EXPECT_TRUE(read.gValues);
    EXPECT_EQ(records.front().mediaTimeMs, 0) << c.clip;
    EXPECT_EQ(records.back().mediaTimeMs, c.lastMediaMs) << c.clip;
    // 1783850132 is 2026-07-12 09:55:32 UTC.
    EXPECT_EQ(records.front().hour * 3600 + records.front().minute * 60 + records.front().second,
              c.firstUnix % 86400)
        << c.clip;
    EXPECT_NEAR(records.front().latitude, 50.0, 1e-9);
    EXPECT_NEAR(records.front().longitude, 9.0, 1e-9);
  }
  const SeventyMaiTrack track =
      ParseSeventyMaiGps(ReadFileText(CorpusFile(file)), "NO20260712-195504-000000F.MP4");
  EXPECT_EQ(track.offsetHours, -10);
  EXPECT_NEAR(track.fixes.front().gX, 1.0, 1e-6);
}

TEST(SeventyMai, UnnamedLinesGoToTheClipRunningThenAndBadLinesAreSkipped) {
  // Names on a clock two hours ahead of UTC; 1783850100 is 2026-07-12 09:55:00 UTC.
  const std::string a = "NO20260712-115500-000000F.MP4";
  const std::string b = "NO20260712-115600-000001F.MP4";
  const auto line = [](std::int64_t unixTime, const std::string& name) {
    return std::to_string(unixTime) + ",A,50.000000,9.000000,36,90,100,-5,-12," + name + ",0,0,0\n";
  };
  const std::string text = "$V02\n" + line(1783850100 + 3, a) +  // a's
                           line(1783850100 + 10, "") +           // a running
                           line(1783850100 + 62, b) +            // b's
                           line(1783850100 + 70, "") +           // b running
                           line(1783850100 + 80, "NO20260712-115700-000009F.MP4") +
                           "1783850000,A,north,9.0,0,0,100,0,0," + a + "\n" +
                           std::string(1 << 20, '\0') + "\n" + "\xFF\xFE junk\n";
  const SeventyMaiTrack forA = ParseSeventyMaiGps(text, a);
  EXPECT_EQ(forA.offsetHours, -2);
  ASSERT_EQ(forA.fixes.size(), 2u);
  EXPECT_EQ(forA.fixes[1].mediaMs, 7000);
  EXPECT_EQ(forA.badLines, 3);
  const SeventyMaiTrack forB = ParseSeventyMaiGps(text, b);
  ASSERT_EQ(forB.fixes.size(), 2u);
  EXPECT_EQ(forB.fixes[1].mediaMs, 8000);
  // A clip the log does not name gets nothing, not even the unnamed lines after the others.
  EXPECT_TRUE(ParseSeventyMaiGps(text, "NO20260712-120000-000010F.MP4").fixes.empty());
  EXPECT_TRUE(ParseSeventyMaiGps("$V02\n", a).fixes.empty());
}

TEST(SeventyMai, LinesWrittenOutOfTimeOrderComeOutInOrder) {
  const std::string a = "NO20260712-115500-000000F.MP4";
  const auto line = [&](std::int64_t unixTime, const char* latitude) {
    return std::to_string(unixTime) + ",A," + latitude + ",9.0,36,90,100,-5,-12," + a + ",0,0,0\n";
  };
  const SeventyMaiTrack track = ParseSeventyMaiGps(
      line(1783850105, "50.2") + line(1783850103, "50.0") + line(1783850104, "50.1"), a);
  ASSERT_EQ(track.fixes.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(track.fixes[i].mediaMs, static_cast<std::int32_t>(i) * 1000);
    EXPECT_NEAR(track.fixes[i].latitude, 50.0 + 0.1 * static_cast<double>(i), 1e-9);
  }
}

}  // namespace
}  // namespace korvane::test
