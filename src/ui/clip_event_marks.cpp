#include "ui/clip_event_marks.h"

#include "index/clip_events.h"
#include "settings/localization.h"

namespace korvane {

namespace {

constexpr const char* kKindKeys[4] = {"IDS_EVENT_BRAKING", "IDS_EVENT_ACCELERATION",
                                      "IDS_EVENT_CORNERING", "IDS_EVENT_IMPACT"};

EventRules RulesOf(const Settings& settings) {
  return {settings.eventThresholdG, settings.eventFlipY};
}

}  // namespace

CClipEventMarks::CClipEventMarks(ApplicationContext& context, std::string indexPath,
                                 ChartBinding& chart, CMapDisplay& map,
                                 std::function<DuiLib::CWebBrowserUI*()> browser)
    : context_(context),
      reader_(std::move(indexPath)),
      chart_(chart),
      map_(map),
      browser_(std::move(browser)) {}

void CClipEventMarks::ClipStarted(const std::string& path) {
  path_ = path;
  events_.reset();
  Show();
  Retry();
}

void CClipEventMarks::Retry() {
  if (events_ || path_.empty()) return;
  events_ = EventsOf(path_);
  if (events_) Show();
}

std::optional<std::vector<DriveEvent>> CClipEventMarks::EventsOf(const std::string& path) {
  return LoadClipEvents(reader_, path, RulesOf(context_.settings));
}

void CClipEventMarks::Show() {
  EventKindNames names;
  for (std::size_t k = 0; k < names.size(); ++k) {
    names[k] = ReadLanguageTextOrEnglish(context_, kEventInterfaceSection, kKindKeys[k]);
  }
  std::vector<DuiLib::ChartEventMark> chartMarks;
  std::vector<EventMark> mapMarks;
  for (const DriveEvent& e : events_.value_or(std::vector<DriveEvent>{})) {
    const std::string tip = EventTipText(e, names);
    chartMarks.push_back({e.mediaMs, e.kind, tip});
    mapMarks.push_back({e, tip});
  }
  chart_.SetEventMarks(std::move(chartMarks));
  map_.SetEventMarks(browser_(), mapMarks);
}

}  // namespace korvane
