// The start-up worker: the set-up that runs once beside the UI thread after the main window
// exists, so the window shows before the map page, the chart, the live telemetry worker and the
// player and extraction configuration are ready. Owns nothing; it fills the objects it is given.
#pragma once
#include "platform/window_message.h"
#include "settings/application_context.h"
#include "ui/startup_targets.h"

namespace korvane {

class CMplayer;
class CSubtitleExtractor;
class CTelemetryParser;

// The written value when the "Map" key names no map the program knows.
inline constexpr char kFallbackMapValue[] = "Yandex";
// The player's own arguments after the outputs.
inline constexpr char kPlayerExtraArguments[] = "-sid 0 -idx -nokeepaspect";

// The worker's body, in order: map loader and page, chart, live worker, player and pipeline
// configuration, track store publication, start volume. Returns 0; a step that fails is skipped.
int StartupWorker(StartupTargets& targets);

// Player path, snapshot folder, windows, outputs (when the settings name them), sound device,
// extra arguments and the subtitle hand-over into the live worker.
void ConfigurePlayer(CMplayer& player, const ApplicationContext& context, WindowHandle videoWindow,
                     CTelemetryParser& liveParser);

// Extractor path, arguments, notification window and message, and the map kind and locale the
// track conversion asks for.
void ConfigurePipeline(CSubtitleExtractor& extractor, const ApplicationContext& context);

}  // namespace korvane
