// The start-up worker on the real player controller, extraction pipeline, map display and live
// parser: what it configures, what it writes to the settings file, and the live hand-over.
#include <gtest/gtest.h>

#include <fstream>

#include "app/startup_worker.h"
#include "chart/chart_binding.h"
#include "map/map_loader.h"
#include "media/mplayer.h"
#include "platform/recording_dispatcher.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"
#include "telemetry/subtitle_extractor.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

class StartupWorkerTest : public ::testing::Test {
 protected:
  StartupWorkerTest() {
    context.programFolder = "/opt/korvane/";
    context.dataFolder = folder.str();
    context.settingsPath = folder.str() + "Velmora.ini";
    context.mainWindowHandle = 77;
    std::ofstream(context.settingsPath) << "[MPlayer]\nVolume=40\n";
  }
  void Run(int startVolume = 55) {
    StartupTargets targets{context,    map,    nullptr,   chart, nullptr,
                           live,       player, extractor, store, [] { return WindowHandle{4242}; },
                           startVolume};
    StartupWorker(targets);
  }

  test::TempDir folder;
  RecordingDispatcher dispatcher;
  ScopedWindowMessageDispatcher scoped{&dispatcher};
  ApplicationContext context;
  CMapDisplay map;
  ChartBinding chart;
  CTelemetryParser live;
  CMplayer player;
  CTrackStore store;
  CSubtitleExtractor extractor{store};
};

TEST_F(StartupWorkerTest, UnknownMapFallsBackToYandexAndWritesItEveryStart) {
  Run();
  EXPECT_EQ(context.settings.mapKind, 3);
  EXPECT_NE(map.GetLoader(), nullptr);
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyMap, ""), "Yandex");
  Run();  // "Yandex" is not a map name the selection knows: the same again
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyMap, ""), "Yandex");
  EXPECT_EQ(context.settings.mapKind, 3);
}

TEST_F(StartupWorkerTest, KnownMapIsKeptAndNothingIsWritten) {
  WriteSettingString(context, kSettingsSection, kKeyMap, "GoogleMap");
  Run();
  EXPECT_EQ(context.settings.mapKind, 2);
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyMap, ""), "GoogleMap");
}

TEST_F(StartupWorkerTest, PlayerGetsPathsWindowsArgumentsDeviceAndVolume) {
  context.settings.soundDevice = 2;
  Run(130);
  EXPECT_EQ(player.playerPath, "/opt/korvane/MPlayer/mplayer");
  EXPECT_EQ(player.snapshotFolder, folder.str());
  EXPECT_EQ(player.videoWindow, 4242u);
  EXPECT_EQ(player.notifyWindow, 77u);
  EXPECT_EQ(player.notifyMessage, WM_PLAYER_NOTIFY);
  EXPECT_EQ(player.extraArguments, "-sid 0 -idx -nokeepaspect");
  EXPECT_EQ(player.soundDevice, 2);
  EXPECT_EQ(player.videoOutput, "directx:noaccel") << "empty VO keeps the player's own";
  EXPECT_EQ(player.audioOutput, "dsound");
  EXPECT_EQ(player.volume(), 100) << "clamped";
  EXPECT_EQ(context.trackStore.load(), &store);
}

TEST_F(StartupWorkerTest, OutputsFromTheSettingsReplaceThePlayersOwnCutTo254Characters) {
  context.settings.videoOutput = std::string(300, 'v');
  context.settings.audioOutput = "alsa";
  Run();
  EXPECT_EQ(player.videoOutput, std::string(254, 'v'));
  EXPECT_EQ(player.audioOutput, "alsa");
  // Characters, not bytes: 300 three-byte characters keep 254 whole ones.
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += "\xE9\x9F\xB3";
  context.settings.audioOutput = wide;
  Run();
  EXPECT_EQ(player.audioOutput, wide.substr(0, 254 * 3));
}

TEST_F(StartupWorkerTest, PipelineGetsTheMendedSrtArgumentsAndTheMapKind) {
  Run();
  const ExtractorConfig& config = extractor.config();
  EXPECT_EQ(config.extractorPath, "/opt/korvane/FFMpeg/ffmpeg");
  EXPECT_TRUE(config.extraArguments.starts_with("-y -vn -an -scodec srt -f srt"))
      << config.extraArguments;
  EXPECT_EQ(config.notifyWindow, 77u);
  EXPECT_EQ(config.notifyMessage, WM_EXTRACTOR_NOTIFY);
  ASSERT_TRUE(config.mapKind && config.locale);
  EXPECT_EQ(config.mapKind(), 3);
  context.settings.locale = "China";
  EXPECT_EQ(config.locale(), "China") << "read when asked, not copied";
}

TEST_F(StartupWorkerTest, SubtitleLinesReachTheLiveWorkerWithTheProcessId) {
  Run();
  ASSERT_TRUE(live.LiveWorkerRunning());
  player.lineCallback("2026-05-18 08:30:00/E113 56 21.48/N22 32 8.16/12.5/X:0/Y:12/Z:98", 9001);
  auto sent = dispatcher.WaitForMessage(WM_TELEMETRY_LIVE, std::chrono::seconds(5));
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(sent->wParam, 9001u);
  EXPECT_EQ(sent->lParam, 1);
  EXPECT_EQ(sent->window, 77u);
  live.StopLiveWorker();
}

}  // namespace
}  // namespace korvane
