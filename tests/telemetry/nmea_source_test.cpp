// The GPS log beside a clip as a telemetry source: the generated log of the mixed folder (good,
// checksum-broken, status V and cut sentences) read into the parser's records, and a fix's record
// carrying the same moment and position the camera's own lines would.
#include "telemetry/nmea_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

double FromParts(char hemisphere, int degrees, int minutes, float seconds, char negative) {
  const double value = degrees + minutes / 60.0 + seconds / 3600.0;
  return hemisphere == negative ? -value : value;
}

TEST(NmeaSource, TheMixedFolderLogGivesRecordsWithItsFaultsSkippedAndNoFixMarked) {
  CNmeaSidecarSource source;
  std::vector<TelemetryRecord> records;
  const TelemetryRead read = source.Read(SamplePath("mixed/sidecar_only.mp4"),
                                         [&](const TelemetryRecord& r) { records.push_back(r); });
  ASSERT_TRUE(read.present) << read.reason;
  // 200 moments, 10 of them status V: the two whose RMC has a bad checksum or is cut short keep
  // their GGA's fix.
  EXPECT_EQ(records.size(), 200u);
  EXPECT_EQ(read.records, 190);
  EXPECT_NE(read.reason.find("4 bad sentences"), std::string::npos) << read.reason;
  EXPECT_EQ(read.durationMs, 0) << "a log does not know the clip's length";

  const TelemetryRecord& first = records.front();
  EXPECT_TRUE(first.valid);
  EXPECT_EQ(first.mediaTimeMs, 0);
  EXPECT_EQ(first.year, 2026);
  EXPECT_EQ(std::vector<int>({first.month, first.day, first.hour, first.minute, first.second}),
            std::vector<int>({5, 18, 6, 30, 0}));
  EXPECT_EQ(first.latHemisphere, 'N');
  EXPECT_EQ(first.lonHemisphere, 'W');
  EXPECT_LT(first.longitude, 0.0);
  EXPECT_NEAR(
      FromParts(first.latHemisphere, first.latDegrees, first.latMinutes, first.latSeconds, 'S'),
      first.latitude, 1e-6);
  EXPECT_NEAR(
      FromParts(first.lonHemisphere, first.lonDegrees, first.lonMinutes, first.lonSeconds, 'W'),
      first.longitude, 1e-6);
  EXPECT_EQ(first.accelX, 0);

  int withoutFix = 0;
  for (const TelemetryRecord& r : records) {
    if (r.valid) continue;
    ++withoutFix;
    EXPECT_GE(r.mediaTimeMs, 8000);
    EXPECT_LT(r.mediaTimeMs, 9000);
    EXPECT_EQ(r.latitude, 0.0);
  }
  EXPECT_EQ(withoutFix, 10);
  EXPECT_EQ(records.back().mediaTimeMs, 19'900);
}

TEST(NmeaSource, AClipWithoutALogOrWithJunkUnderItsNameGivesNoRecord) {
  CNmeaSidecarSource source;
  int records = 0;
  const auto count = [&](const TelemetryRecord&) { ++records; };
  const TelemetryRead none = source.Read(SamplePath("mixed/no_gps.mp4"), count);
  EXPECT_FALSE(none.present);
  EXPECT_NE(none.reason.find("no GPS log"), std::string::npos);
  // Camera lines, no NMEA, under a sidecar's name.
  TempDir dir;
  std::filesystem::copy_file(SamplePath("mixed/own_track.telemetry.txt"), dir.path() / "c.txt");
  const TelemetryRead junk = source.Read(dir.str() + "c.mp4", count);
  EXPECT_TRUE(junk.present);
  EXPECT_NE(junk.reason.find("no NMEA sentence"), std::string::npos) << junk.reason;
  EXPECT_EQ(records, 0);
}

TEST(NmeaSource, AFixAcrossMidnightAndTheYearKeepsItsDate) {
  NmeaFix fix;
  fix.cameraTime = 1735689599;  // 2024-12-31 23:59:59 UTC
  fix.valid = true;
  fix.latitude = -33.5;
  fix.longitude = 151.25;
  const TelemetryRecord r = NmeaFixRecord(fix);
  EXPECT_EQ(std::vector<int>({r.year, r.month, r.day, r.hour, r.minute, r.second}),
            std::vector<int>({2024, 12, 31, 23, 59, 59}));
  EXPECT_EQ(r.latHemisphere, 'S');
  EXPECT_EQ(std::vector<int>({r.latDegrees, r.latMinutes}), std::vector<int>({33, 30}));
  fix.cameraTime += 1;
  const TelemetryRecord next = NmeaFixRecord(fix);
  EXPECT_EQ(std::vector<int>({next.year, next.month, next.day, next.hour}),
            std::vector<int>({2025, 1, 1, 0}));
}

}  // namespace
}  // namespace korvane::test
