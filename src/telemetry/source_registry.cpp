#include "telemetry/source_registry.h"

#include <algorithm>

#include "telemetry/blackvue_source.h"
#include "telemetry/dji_srt_source.h"
#include "telemetry/escort_source.h"
#include "telemetry/nmea_track.h"
#include "telemetry/seventymai_source.h"

namespace korvane {
namespace {

// The indexer tries them in this order: a clip's own track goes before a file beside it.
constexpr SourceInfo kSources[] = {
    {kSubtitleSource, "Camera subtitle track", {true, SourceClock::Camera, true, true}},
    // The G values of a camera with an accelerometer come with the read (TelemetryRead).
    {kFreeGpsSource,
     "Novatek GPS blocks (Viofo, 2E, SilverStone, Vantrue, 70mai)",
     {false, SourceClock::Camera, true, false}},
    {kGoProSource, "GoPro GPMF track", {false, SourceClock::Receiver, true, false}},
    {kBlackVueClipSource, "BlackVue GPS in the clip", {true, SourceClock::Receiver, true, false}},
    {kSigmaStarSource,
     "SigmaStar GPS track (Neoline and others)",
     {false, SourceClock::Receiver, true, false}},
    {kVueroidSource, "Vueroid GPS and G-sensor track", {true, SourceClock::Camera, true, false}},
    {kThinkwareSource, "Thinkware subtitle cues", {true, SourceClock::Receiver, true, false}},
    // The G values of a model with an accelerometer come with the read, as for "novatek".
    {kLigoGpsSource,
     "LIGOGPS trailer (Beferich and rebrands)",
     {false, SourceClock::Camera, true, false}},
    {kNmeaSource,
     "NMEA log beside the clip",
     {false, SourceClock::Receiver, false, false},
     true,
     &FindNmeaSidecar},
    {kBlackVueSource,
     "BlackVue logs beside the clip (.gps, .3gf)",
     {true, SourceClock::Receiver, false, false},
     true,
     &FindBlackVueSidecar},
    {kDjiSrtSource,
     "DJI subtitle file beside the clip (.SRT)",
     {false, SourceClock::Camera, false, false},
     true,
     &FindDjiSrtSidecar},
    {kEscortSource,
     "Escort trip log beside the clip (.map)",
     {true, SourceClock::Receiver, false, false},
     true,
     &FindEscortSidecar},
    {kSeventyMaiSource,
     "70mai folder GPS log (GPSData)",
     {true, SourceClock::Receiver, false, false},
     true,
     &FindSeventyMaiLog},
    {kGpxSource,
     "GPX track imported for the folder",
     {false, SourceClock::Receiver, false, false},
     false},
};

// The position of a source in the indexer's order; past the end for one it does not know.
std::size_t OrderOf(std::string_view name) {
  const auto found = std::find_if(std::begin(kSources), std::end(kSources),
                                  [&](const SourceInfo& s) { return s.name == name; });
  return static_cast<std::size_t>(found - std::begin(kSources));
}

bool Lists(std::string_view list, std::string_view name) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    if (list.substr(0, comma) == name) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

std::string_view SourceClockText(SourceClock clock) {
  switch (clock) {
    case SourceClock::Receiver:
      return "utc";
    case SourceClock::None:
      return "none";
    case SourceClock::Camera:
      break;
  }
  return "camera";
}

std::optional<SourceClock> SourceClockFromText(std::string_view text) {
  for (const SourceClock clock : {SourceClock::Camera, SourceClock::Receiver, SourceClock::None}) {
    if (text == SourceClockText(clock)) return clock;
  }
  return std::nullopt;
}

std::span<const SourceInfo> KnownSources() {
  return kSources;
}

const SourceInfo* FindSource(std::string_view name) {
  const std::size_t order = OrderOf(name);
  return order < std::size(kSources) ? &kSources[order] : nullptr;
}

SourceTraits TraitsOf(std::string_view name) {
  const SourceInfo* source = FindSource(name);
  return source != nullptr ? source->traits : SourceTraits{};
}

std::string SourceFamily(std::string_view name) {
  if (name.empty()) return "none";
  const SourceInfo* source = FindSource(name);
  return std::string(source != nullptr ? source->family : name);
}

std::vector<FamilyCount> CountFamilies(std::span<const std::string> sources) {
  std::vector<FamilyCount> counts;
  for (const std::string& name : sources) {
    std::string family = SourceFamily(name);
    const auto found = std::find_if(counts.begin(), counts.end(),
                                    [&](const FamilyCount& c) { return c.family == family; });
    if (found != counts.end()) {
      ++found->clips;
    } else {
      counts.push_back({std::move(family), 1});
    }
  }
  return counts;
}

std::string BesideFilesText(const std::string& clipPath) {
  std::string text;
  for (const SourceInfo& source : kSources) {
    if (source.besideFile == nullptr || !source.indexed || !source.besideFile(clipPath)) continue;
    text += (text.empty() ? "" : ",") + std::string(source.name);
  }
  return text;
}

bool BesideFilesChanged(std::string_view then, std::string_view now, std::string_view readFrom) {
  const std::size_t readOrder = readFrom.empty() ? std::size(kSources) : OrderOf(readFrom);
  for (const SourceInfo& source : kSources) {
    if (source.besideFile == nullptr) continue;
    // A source after the one read from cannot change what the clip is read from.
    if (OrderOf(source.name) > readOrder) continue;
    if (Lists(then, source.name) != Lists(now, source.name)) return true;
  }
  return false;
}

}  // namespace korvane
