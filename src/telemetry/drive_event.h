// A driving event found in a clip's G-sensor readings (hard braking, hard acceleration, cornering,
// impact) and the rules it was found by. Plain values: the index stores them, the chart and the
// map mark them, the jump keys go to them.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/settings.h"

namespace korvane {

enum class DriveEventKind { Braking, Acceleration, Cornering, Impact };

struct DriveEvent {
  DriveEventKind kind = DriveEventKind::Braking;
  float peakG = 0.0f;        // how far the axis left its clip median, in G (always positive)
  std::int32_t mediaMs = 0;  // the moment of the peak in the clip
  double latitude = 0.0;     // WGS-84 of the point at the peak
  double longitude = 0.0;

  friend bool operator==(const DriveEvent&, const DriveEvent&) = default;
};

// The rules of detection. The threshold is how far an axis must leave its clip median, in G; its
// default and range are the settings' (settings/settings.h).
// Beyond this many thresholds on any axis an event is an impact.
constexpr double kImpactFactor = 3.0;
// Events whose peaks lie closer than this merge into the strongest.
constexpr std::int32_t kEventMergeMs = 2000;

struct EventRules {
  double thresholdG = kDefaultEventThresholdG;
  // Y below its median is braking; true swaps braking and acceleration for a camera mounted the
  // other way round.
  bool flipY = false;
  friend bool operator==(const EventRules&, const EventRules&) = default;
};

// The stored spelling of a kind ("braking", "acceleration", "cornering", "impact"); nullopt for a
// text that names none.
std::string_view DriveEventKindText(DriveEventKind kind);
std::optional<DriveEventKind> DriveEventKindFromText(std::string_view text);

}  // namespace korvane
