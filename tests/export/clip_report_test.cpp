// What the program reports of clips' telemetry: the times as their source wrote them, the JSON
// line and the text, and whole reports of generated sample clips through the real indexer (a
// truncated clip, one without telemetry, a GPS log's clip and an odd file name among them).
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <ostream>

#include "export/report_job.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

constexpr std::int64_t kMorning = 1779093000;  // 2026-05-18 08:30:00

struct TimeCase {
  std::int64_t ms;
  SourceClock clock;
  const char* text;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
  *os << c.text;
}

class SourceTime : public testing::TestWithParam<TimeCase> {};

TEST_P(SourceTime, IsIso8601WithMillisecondsAndZOnlyForUtc) {
  EXPECT_EQ(SourceTimeText(GetParam().ms, GetParam().clock), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Times, SourceTime,
    testing::Values(TimeCase{kMorning * 1000, SourceClock::Camera, "2026-05-18T08:30:00.000"},
                    TimeCase{kMorning * 1000 + 59'999, SourceClock::Receiver,
                             "2026-05-18T08:30:59.999Z"},
                    TimeCase{1234, SourceClock::Camera, "1970-01-01T00:00:01.234"},
                    TimeCase{-1, SourceClock::Receiver, "1969-12-31T23:59:59.999Z"},
                    TimeCase{951'782'400'000, SourceClock::Camera, "2000-02-29T00:00:00.000"}));

ClipSummary Summary(std::string_view source, bool hasGSensor, std::string reason = "") {
  ClipSummary s;
  s.path = "/card/行车 \"A\\1\".mp4";
  s.source = source;
  s.traits = TraitsOf(source);
  s.traits.gSensor = hasGSensor;
  s.durationMs = 60000;
  s.reason = std::move(reason);
  return s;
}

const std::vector<IndexPoint> kTwoFixes = {
    {0, kMorning * 1000, 22.5356, 113.9393, 12.5f, 0.0f, 0.0f, 1.0f},
    {59900, (kMorning + 59) * 1000 + 900, -33.8688, -151.2093, 70.0f, 0.03f, -0.03f, 1.02f}};

TEST(ClipReportJson, HoldsEveryFieldWithTheSourcesClockAndNullWhereThereIsNone) {
  const std::string fixes =
      "\"fixes\":2,"
      "\"first\":{\"time\":\"2026-05-18T08:30:00.000%\",\"media_ms\":0,\"lat\":22.5356000,"
      "\"lon\":113.9393000,\"speed_kmh\":12.50},"
      "\"last\":{\"time\":\"2026-05-18T08:30:59.900%\",\"media_ms\":59900,\"lat\":-33.8688000,"
      "\"lon\":-151.2093000,\"speed_kmh\":70.00},";
  const auto withSuffix = [&fixes](const std::string& suffix) {
    std::string text = fixes;
    for (std::size_t at; (at = text.find('%')) != std::string::npos;) text.replace(at, 1, suffix);
    return text;
  };
  const std::string path = "{\"path\":\"/card/行车 \\\"A\\\\1\\\".mp4\",";
  EXPECT_EQ(ClipReportJson(ReportOfClip(Summary(kSubtitleSource, true), kTwoFixes)),
            path + "\"source\":\"subtitle\",\"clock\":\"camera\"," + withSuffix("") +
                "\"g_sensor\":true,\"duration_ms\":60000,\"reason\":null,"
                "\"family\":\"Camera subtitle track\"}");
  EXPECT_EQ(ClipReportJson(ReportOfClip(Summary(kGpxSource, false), kTwoFixes)),
            path + "\"source\":\"gpx\",\"clock\":\"utc\"," + withSuffix("Z") +
                "\"g_sensor\":false,\"duration_ms\":60000,\"reason\":null,"
                "\"family\":\"GPX track imported for the folder\"}");
  // No fixes: no first or last, no G values whatever the source would have had.
  EXPECT_EQ(
      ClipReportJson(ReportOfClip(Summary("", true, "no subtitle track\ttab"), {})),
      path +
          "\"source\":\"none\",\"clock\":\"none\",\"fixes\":0,\"first\":null,\"last\":null,"
          "\"g_sensor\":false,\"duration_ms\":60000,\"reason\":\"no subtitle track\\u0009tab\","
          "\"family\":\"none\"}");
  // A source this program does not know (a newer indexer's) is its own family.
  EXPECT_TRUE(ClipReportJson(ReportOfClip(Summary("gpmf-v2", false), kTwoFixes))
                  .ends_with(",\"reason\":null,\"family\":\"gpmf-v2\"}"));
}

TEST(ClipReportJson, AFixWithoutARealDateOrNumberHasNullThere) {
  std::vector<IndexPoint> points = kTwoFixes;
  points[0].timeMs = kNoTime;
  points[1].latitude = std::numeric_limits<double>::quiet_NaN();
  const std::string json = ClipReportJson(ReportOfClip(Summary(kSubtitleSource, true), points));
  EXPECT_NE(json.find("\"first\":{\"time\":null,\"media_ms\":0,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"media_ms\":59900,\"lat\":null,\"lon\":-151.2093000,"), std::string::npos)
      << json;
}

TEST(ClipReportText, SaysTheSameForAReader) {
  EXPECT_EQ(ClipReportText(ReportOfClip(
                Summary(kNmeaSource, false, "3 sentences without a fix skipped"), kTwoFixes)),
            "/card/行车 \"A\\1\".mp4\n"
            "  source:    nmea (utc clock)\n"
            "  family:    NMEA log beside the clip\n"
            "  fixes:     2\n"
            "  first:     2026-05-18T08:30:00.000Z at 0 ms, 22.5356000 113.9393000, 12.50 km/h\n"
            "  last:      2026-05-18T08:30:59.900Z at 59900 ms, -33.8688000 -151.2093000, "
            "70.00 km/h\n"
            "  G values:  no\n"
            "  duration:  60000 ms\n"
            "  reason:    3 sentences without a fix skipped\n");
  // A family that reads as the name itself (none, or a source this program does not know) is
  // not said twice.
  for (const char* source : {"", "gpmf-v2"}) {
    const std::string text = ClipReportText(ReportOfClip(Summary(source, false), {}));
    EXPECT_EQ(text.find("family:"), std::string::npos) << text;
  }
}

// Each clip as the indexer reads it now: nothing was in the index before.
TEST(ReportClips, SaysOfEachClipWhatTheIndexerFoundInItWithoutFailingOnBadOnes) {
  test::TempDir dir;
  const std::string folder = dir.str() + "卡 \"card\"/";
  std::filesystem::create_directories(folder);
  const std::string drive = folder + "行车 it's.mp4";
  std::filesystem::copy_file(test::DefaultClip(), drive);
  std::filesystem::copy_file(test::NoSubtitleClip(), folder + "no_subtitles.mp4");
  std::filesystem::copy_file(test::SamplePath("mixed/sidecar_only.mp4"), folder + "log.mp4");
  std::filesystem::copy_file(test::SamplePath("mixed/sidecar_only.nmea"), folder + "log.nmea");
  const std::string whole = test::ReadFileText(test::DefaultClip());
  test::WriteFileText(folder + "truncated.mp4", whole.substr(0, whole.size() / 3));

  const std::vector<std::string> clips = {drive, folder + "no_subtitles.mp4", folder + "log.mp4",
                                          folder + "truncated.mp4"};
  CClipPoints source(dir.str() + "index.sqlite", test::ProgramDir() + "korvane-indexer");
  const ReportResult result = ReportClips(clips, source);
  ASSERT_EQ(result.error, "");
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
  ASSERT_EQ(result.reports.size(), clips.size());

  const ClipReport& camera = result.reports[0];
  EXPECT_EQ(camera.path, drive);
  EXPECT_EQ(camera.source, kSubtitleSource);
  EXPECT_EQ(camera.fixes, 600);
  EXPECT_TRUE(camera.gSensor);
  ASSERT_TRUE(camera.first && camera.last);
  EXPECT_EQ(camera.first->timeMs, kMorning * 1000);
  EXPECT_EQ(camera.last->mediaMs, 59900);
  EXPECT_NEAR(camera.durationMs, 60000, 100);

  const ClipReport& none = result.reports[1];
  EXPECT_EQ(none.source, "");
  EXPECT_EQ(none.fixes, 0);
  EXPECT_EQ(none.reason, "no subtitle track");

  const ClipReport& log = result.reports[2];
  EXPECT_EQ(log.source, kNmeaSource);
  EXPECT_EQ(log.fixes, 190);
  EXPECT_FALSE(log.gSensor);
  ASSERT_TRUE(log.first);
  EXPECT_EQ(SourceTimeText(*log.first->timeMs, log.clock), "2026-05-18T06:30:00.000Z");

  // A cut-off copy reads as far as it goes, or says why it does not.
  const ClipReport& truncated = result.reports[3];
  EXPECT_TRUE(truncated.fixes > 0 || !truncated.reason.empty());
  EXPECT_LT(truncated.fixes, 600);
}

// An indexer that ends before it replies (as one that crashes on a clip does) leaves the clip
// unread: a line that says so instead of a report, and the other clips' reports still come.
TEST(ReportClips, AClipTheIndexerCannotFinishIsAFailureNotAReport) {
  test::TempDir dir;
  const std::string index = dir.str() + "index.sqlite";
  const std::string fresh = dir.str() + "fresh.mp4";
  const std::string crashing = dir.str() + "crashing.mp4";
  std::filesystem::copy_file(test::CuesClip(5), fresh);
  std::filesystem::copy_file(test::CuesClip(5), crashing);
  {
    CClipPoints indexed(index, test::ProgramDir() + "korvane-indexer");
    ASSERT_EQ(ReportClips({fresh}, indexed).reports.size(), 1u);
  }
  const std::string script = dir.str() + "indexer.sh";
  test::WriteFileText(script, "#!/bin/sh\nkill -SEGV $$\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  CClipPoints source(index, script);
  const ReportResult result = ReportClips({crashing, fresh}, source);
  ASSERT_EQ(result.error, "");
  ASSERT_EQ(result.reports.size(), 1u);
  EXPECT_EQ(result.reports[0].path, fresh);
  EXPECT_EQ(result.reports[0].fixes, 5);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].rfind(crashing + ": could not be indexed: ", 0), 0u)
      << result.failures[0];
}

}  // namespace
}  // namespace korvane
