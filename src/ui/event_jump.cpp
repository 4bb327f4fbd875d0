#include "ui/event_jump.h"

#include <cstdio>

#include "ui/time_text.h"

namespace korvane {

std::string EventTipText(const DriveEvent& event, const EventKindNames& names) {
  char peak[32];
  std::snprintf(peak, sizeof peak, "%.2f G", static_cast<double>(event.peakG));
  return names[static_cast<std::size_t>(event.kind)] + " \xC2\xB7 " + peak + " \xC2\xB7 " +
         FormatClock(event.mediaMs / 1000);
}

std::optional<EventTarget> FindEventTarget(
    int current, std::int32_t nowMs, bool forward, int clipCount,
    const std::function<const std::vector<DriveEvent>*(int clip)>& eventsOf) {
  if (current < 0 || current >= clipCount) return std::nullopt;
  if (const std::vector<DriveEvent>* events = eventsOf(current)) {
    if (forward) {
      for (const DriveEvent& e : *events) {
        if (e.mediaMs > nowMs + kOnEventMs) return EventTarget{current, e.mediaMs};
      }
    } else {
      for (auto e = events->rbegin(); e != events->rend(); ++e) {
        if (e->mediaMs < nowMs - kBackPastEventMs) return EventTarget{current, e->mediaMs};
      }
    }
  }
  for (int clip = current + (forward ? 1 : -1); clip >= 0 && clip < clipCount;
       clip += forward ? 1 : -1) {
    const std::vector<DriveEvent>* events = eventsOf(clip);
    if (events == nullptr || events->empty()) continue;
    return EventTarget{clip, forward ? events->front().mediaMs : events->back().mediaMs};
  }
  return std::nullopt;
}

}  // namespace korvane
