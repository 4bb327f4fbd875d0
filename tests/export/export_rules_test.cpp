// The pure rules of the export: the TimeZone setting, camera time to UTC, which points go out,
// CSV fields and the command line.
#include <gtest/gtest.h>
#include <time.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "export/camera_time_zone.h"
#include "export/export_track.h"
#include "export/track_writers.h"
#include "support/scoped_env.h"

namespace korvane {
namespace {

struct ZoneCase {
  const char* text;
  std::optional<CameraTimeZone> zone;
};

class TimeZoneSetting : public testing::TestWithParam<ZoneCase> {};

TEST_P(TimeZoneSetting, ParsesLocalOrAnOffsetAndRejectsTheRest) {
  EXPECT_EQ(ParseCameraTimeZone(GetParam().text), GetParam().zone) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, TimeZoneSetting,
    testing::Values(ZoneCase{"local", CameraTimeZone{}}, ZoneCase{"", CameraTimeZone{}},
                    ZoneCase{" LOCAL ", CameraTimeZone{}},
                    ZoneCase{"+08:00", CameraTimeZone{false, 480}},
                    ZoneCase{"-03:30", CameraTimeZone{false, -210}},
                    ZoneCase{"+14:00", CameraTimeZone{false, 840}},
                    ZoneCase{"+00:00", CameraTimeZone{false, 0}}, ZoneCase{"+8:00", std::nullopt},
                    ZoneCase{"08:00", std::nullopt}, ZoneCase{"+15:00", std::nullopt},
                    ZoneCase{"+08:60", std::nullopt}, ZoneCase{"+08:00x", std::nullopt},
                    ZoneCase{"Europe/Berlin", std::nullopt}, ZoneCase{"+0８:00", std::nullopt}));

// 2026-07-01 12:00 and 2026-01-15 12:00 on the camera's clock.
constexpr std::int64_t kSummerNoon = 1782907200;
constexpr std::int64_t kWinterNoon = 1768478400;

TEST(CameraTime, AnOffsetIsTakenOffAndLocalFollowsTheSystemsRulesForEachDate) {
  EXPECT_EQ(CameraTimeToUtc(kSummerNoon, {false, 480}), kSummerNoon - 8 * 3600);
  EXPECT_EQ(CameraTimeToUtc(kSummerNoon, {false, -210}), kSummerNoon + 210 * 60);
  test::ScopedEnv env;
  env.Set("TZ", "Europe/Berlin");
  tzset();
  EXPECT_EQ(CameraTimeToUtc(kSummerNoon, {}), kSummerNoon - 2 * 3600);  // summer time
  EXPECT_EQ(CameraTimeToUtc(kWinterNoon, {}), kWinterNoon - 3600);
  // A receiver's UTC shown on the camera clock is the inverse, each date by its own rules.
  for (const CameraTimeZone zone : {CameraTimeZone{}, CameraTimeZone{false, -210}}) {
    for (const std::int64_t camera : {kSummerNoon, kWinterNoon}) {
      EXPECT_EQ(UtcToCameraTime(CameraTimeToUtc(camera, zone), zone), camera);
    }
  }
  env.Set("TZ", "UTC");
  tzset();
  EXPECT_EQ(CameraTimeToUtc(kSummerNoon, {}), kSummerNoon);
  EXPECT_EQ(UtcText(kSummerNoon), "2026-07-01T12:00:00Z");
}

TEST(ExportPoints, LeavesOutAndCountsUnrealDatesAndPositionsWithoutAFix) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<IndexPoint> points = {
      {0, kWinterNoon * 1000, 22.5, 113.9, 36.0f, 0.0f, 1.0f, -1.0f, 12.5f},
      {100, kNoTime, 22.5, 113.9},
      {200, kWinterNoon * 1000, 0.0, 0.0},
      {300, kWinterNoon * 1000, 91.0, 10.0},
      {400, kWinterNoon * 1000, 10.0, -180.5},
      {500, kWinterNoon * 1000, nan, 10.0},
      {600, (kWinterNoon + 59) * 1000 + 250, -33.9, -70.6},
      {700, (kWinterNoon + 61) * 1000, 0.0, 10.0},
  };
  ExportCounts counts;
  const auto out = ExportPointsOf(points, {false, 60}, 0, counts);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].mediaMs, 0);
  EXPECT_EQ(out[0].utcTimeMs, (kWinterNoon - 3600) * 1000);
  EXPECT_EQ(std::tuple(out[0].gY, out[0].gZ, out[0].altitudeM), std::tuple(1.0f, -1.0f, 12.5f));
  EXPECT_EQ(out[1].utcTimeMs, (kWinterNoon + 59 - 3600) * 1000 + 250) << "milliseconds kept";
  EXPECT_EQ(out[2].utcTimeMs, (kWinterNoon + 61 - 3600) * 1000);  // the next minute converts too
  EXPECT_EQ(counts.written, 3);
  EXPECT_EQ(counts.badDates, 1);
  EXPECT_EQ(counts.badPositions, 4);
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("20260518_083000_F.mp4"), "20260518_083000_F.mp4");
  EXPECT_EQ(CsvField("a,b.mp4"), "\"a,b.mp4\"");
  EXPECT_EQ(CsvField("say \"hi\".mp4"), "\"say \"\"hi\"\".mp4\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
}

}  // namespace
}  // namespace korvane
