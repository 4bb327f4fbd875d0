// The driving events as the window shows them and jumps between them: the text of a mark's
// tooltip, and which event the previous/next keys go to. Pure: no I/O, no controls.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "telemetry/drive_event.h"

namespace korvane {

// The names of the four kinds in the interface language, in DriveEventKind order.
using EventKindNames = std::array<std::string, 4>;

// "Hard braking · 0.80 G · 00:00:20": the kind's name, the peak and the moment in the clip.
std::string EventTipText(const DriveEvent& event, const EventKindNames& names);

// A jump's target: the playlist entry and the moment in it.
struct EventTarget {
  int clip = -1;
  std::int32_t ms = 0;
  friend bool operator==(const EventTarget&, const EventTarget&) = default;
};

// A moment this close before an event counts as being on it (a seek may land a little early), and
// going back from within this time after an event goes to the one before it.
constexpr std::int32_t kOnEventMs = 500;
constexpr std::int32_t kBackPastEventMs = 1500;

// The event after (forward) or before moment `nowMs` of entry `current` among `clipCount` entries:
// first within the clip, then the first event of the next entry that has one (the last event of
// the previous one going back). `eventsOf` gives an entry's events in time order, null when they
// are not known. nullopt when there is none either way.
std::optional<EventTarget> FindEventTarget(
    int current, std::int32_t nowMs, bool forward, int clipCount,
    const std::function<const std::vector<DriveEvent>*(int clip)>& eventsOf);

}  // namespace korvane
