#include "app/startup_worker.h"

#include "chart/chart_binding.h"
#include "map/map_loader.h"
#include "map/page_texts.h"
#include "map/select_map_loader.h"
#include "media/mplayer.h"
#include "platform/profile_text.h"
#include "settings/settings_store.h"
#include "telemetry/extract_command.h"
#include "telemetry/subtitle_extractor.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/track_store.h"

namespace korvane {

namespace {

constexpr char kPlayerRelativePath[] = "MPlayer/mplayer";

void SetUpMap(StartupTargets& t) {
  ApplicationContext& context = t.context;
  const std::string mapName = ReadSettingString(context, kSettingsSection, kKeyMap, "");
  if (!SelectMapLoader(mapName, t.map, context.settings.locale, context.settings.mapKind)) {
    WriteSettingString(context, kSettingsSection, kKeyMap, kFallbackMapValue);
  }
  t.map.LoadPage(t.browser, context.programFolder);
  // Waits for the page to load; a language change later gives the page its texts again.
  t.map.SetPageTexts(t.browser, PageTextsOf(context));
  t.map.SetRouteStyle(t.browser, context.settings.routeBySpeed, context.settings.speedUnit);
}

}  // namespace

void ConfigurePlayer(CMplayer& player, const ApplicationContext& context, WindowHandle videoWindow,
                     CTelemetryParser& liveParser) {
  player.playerPath = context.programFolder + kPlayerRelativePath;
  player.snapshotFolder = context.dataFolder;
  player.videoWindow = videoWindow;
  player.notifyWindow = context.mainWindowHandle;
  player.notifyMessage = WM_PLAYER_NOTIFY;
  const Settings& settings = context.settings;
  if (!settings.videoOutput.empty()) {
    player.videoOutput = CutToChars(settings.videoOutput, kProfileValueMaxChars);
  }
  if (!settings.audioOutput.empty()) {
    player.audioOutput = CutToChars(settings.audioOutput, kProfileValueMaxChars);
  }
  // The sound card chosen in the settings window is the one the user expects to hear.
  player.soundDevice = settings.soundDevice;
  player.extraArguments = kPlayerExtraArguments;
  player.lineCallback = [&liveParser](const std::string& text, std::uint32_t processId) {
    liveParser.SubmitLiveLine(text, processId);
  };
}

void ConfigurePipeline(CSubtitleExtractor& extractor, const ApplicationContext& context) {
  ExtractorConfig config;
  config.extractorPath = context.programFolder + kExtractorRelativePath;
  config.extraArguments = kExtractorArguments;
  config.notifyWindow = context.mainWindowHandle;
  config.notifyMessage = WM_EXTRACTOR_NOTIFY;
  const Settings* settings = &context.settings;
  config.mapKind = [settings] { return settings->mapKind; };
  config.locale = [settings] { return settings->locale; };
  extractor.Configure(std::move(config));
}

int StartupWorker(StartupTargets& t) {
  SetUpMap(t);
  t.chart.InitAccChart(t.chartModel);
  t.liveParser.StartLiveWorker(t.context.mainWindowHandle);
  ConfigurePlayer(t.player, t.context, t.videoWindow ? t.videoWindow() : 0, t.liveParser);
  ConfigurePipeline(t.extractor, t.context);
  t.context.trackStore.store(&t.store);
  t.player.SetVolume(t.startVolume);
  return 0;
}

}  // namespace korvane
