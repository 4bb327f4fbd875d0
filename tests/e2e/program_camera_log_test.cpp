// The real program playing a clip whose only telemetry is its camera's own log beside it (a DJI
// subtitle file, an Escort trip log), generated beside a copy of the mixed folder's clip without
// GPS under the camera's name: the route, the GPS panel and the marker come from the log.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "program_driver.h"
#include "support/camera_log_text.h"
#include "support/file_text.h"

namespace korvane::test {
namespace {

constexpr int kFixes = 20;

struct CameraLog {
  const char* name;
  const char* clip;
  const char* log;
  std::function<std::string()> text;
  const char* latitude;  // the start of the panel's labels
  const char* longitude;
  double at[2];  // the marker's latitude and longitude
};

class ProgramCameraLog : public testing::TestWithParam<CameraLog> {};

TEST_P(ProgramCameraLog, AClipWithItsCamerasLogPlaysWithRouteAndGpsPanel) {
  const CameraLog& c = GetParam();
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), folder.path() / c.clip);
  WriteFileText(folder.str() + c.log, c.text());

  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({folder.str() + c.clip}));
  const std::string points = std::to_string(kFixes);
  ProbeState s = run.WaitFor([&](const ProbeState& p) { return PlaysRoute(p, points); }, 30000);
  ASSERT_TRUE(PlaysRoute(s, points)) << s.json;
  ExpectFixShown(s, c.latitude, c.longitude, {c.at[0], c.at[1]});
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

std::string DjiSrt() {
  return DjiSrtText(kFixes);
}

std::string EscortMap() {
  return EscortMapText(kFixes);
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, ProgramCameraLog,
    testing::Values(
        CameraLog{"Dji", "DJI_0001.MP4", "DJI_0001.SRT", DjiSrt, "N 36", "W 6", {36.6146, -6.112}},
        CameraLog{
            "Escort", "MOVI0001.MP4", "MOVI0001.map", EscortMap, "N 37", "W 121", {37.0, -121.0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::test
