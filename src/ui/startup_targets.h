// The objects the start-up set-up fills once the main window exists. The main window gathers them
// and runs the set-up it was handed on a thread of its own; the set-up itself lives with the
// program's wiring, above the window.
#pragma once
#include <functional>

#include "platform/window_message.h"
#include "settings/application_context.h"

namespace DuiLib {
class CWebBrowserUI;
class CChartModel;
}  // namespace DuiLib

namespace korvane {

class CMapDisplay;
class CMplayer;
class CSubtitleExtractor;
class CTelemetryParser;
class CTrackStore;
struct ChartBinding;

// Everything the set-up fills. Null controls are skipped.
struct StartupTargets {
  ApplicationContext& context;
  CMapDisplay& map;
  DuiLib::CWebBrowserUI* browser;
  ChartBinding& chart;
  DuiLib::CChartModel* chartModel;
  CTelemetryParser& liveParser;
  CMplayer& player;
  CSubtitleExtractor& extractor;
  CTrackStore& store;
  // The video host's native window, asked of the UI thread; 0 while it does not exist yet.
  std::function<WindowHandle()> videoWindow;
  int startVolume = 0;
};

// The set-up the main window runs once, off the UI thread, after its first show.
using StartupRoutine = std::function<void(StartupTargets&)>;

}  // namespace korvane
