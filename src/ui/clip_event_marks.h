// CClipEventMarks: the driving events of the playing clip on the chart and the map. A new clip
// removes the marks of the one before; its own come from the index (clip_events.h) as soon as the
// index holds the clip, which may be a while after it started: the window asks again whenever
// indexing reports progress. Also answers the events of the playlist's other clips for the jump
// keys. UI thread.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_binding.h"
#include "index/index_reader.h"
#include "map/map_loader.h"
#include "settings/application_context.h"
#include "ui/event_jump.h"

namespace korvane {

class CClipEventMarks {
 public:
  CClipEventMarks(ApplicationContext& context, std::string indexPath, ChartBinding& chart,
                  CMapDisplay& map, std::function<DuiLib::CWebBrowserUI*()> browser);

  // A new clip plays (empty: none): the marks go, and the clip's own are shown once known.
  void ClipStarted(const std::string& path);
  // Shows the playing clip's marks when they were not known yet and now are.
  void Retry();
  // The settings may have changed the rules or the language: the playing clip's marks again.
  void Refresh() { ClipStarted(path_); }
  // The playing clip's events; null while not known.
  const std::vector<DriveEvent>* events() const { return events_ ? &*events_ : nullptr; }
  // The events of any clip by the current rules; nullopt when the index does not hold it.
  std::optional<std::vector<DriveEvent>> EventsOf(const std::string& path);

 private:
  void Show();

  ApplicationContext& context_;
  CIndexReader reader_;
  ChartBinding& chart_;
  CMapDisplay& map_;
  std::function<DuiLib::CWebBrowserUI*()> browser_;
  std::string path_;
  std::optional<std::vector<DriveEvent>> events_;
};

}  // namespace korvane
