#include "clip_indexer.h"

#include <algorithm>
#include <filesystem>

#include "index/clip_file.h"
#include "index/event_detector.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "subtitle_track_source.h"
#include "telemetry/blackvue_source.h"
#include "telemetry/dji_srt_source.h"
#include "telemetry/escort_source.h"
#include "telemetry/freegps_source.h"
#include "telemetry/gopro_source.h"
#include "telemetry/ligogps_source.h"
#include "telemetry/nmea_source.h"
#include "telemetry/seventymai_source.h"
#include "telemetry/sigmastar_source.h"
#include "telemetry/source_registry.h"
#include "telemetry/thinkware_source.h"
#include "telemetry/vueroid_source.h"

namespace korvane {

IndexedClip IndexClip(const std::string& path, std::span<ITelemetrySource* const> sources) {
  IndexedClip clip;
  ClipSummary& s = clip.summary;
  s.path = path;
  s.status = ClipStatus::NoTelemetry;
  if (!ReadFileFacts(path, s, s.reason)) return clip;
  // Only a regular file can be empty; anything else (a pipe) is read and may take its time.
  std::error_code ec;
  if (s.size == 0 && std::filesystem::is_regular_file(path, ec)) {
    s.reason = "empty file";
    return clip;
  }
  s.besideFiles = BesideFilesText(path);
  std::string firstReason, presentReasons;
  for (ITelemetrySource* source : sources) {
    std::vector<IndexPoint> points;
    SourceTraits traits = TraitsOf(source->name());
    const TelemetryRead read = source->Read(path, [&](const TelemetryRecord& r) {
      if (r.valid) points.push_back(ToIndexPoint(r, r.mediaTimeMs, traits.clock));
    });
    s.durationMs = std::max(s.durationMs, read.durationMs);
    traits.gSensor = traits.gSensor || read.gValues;
    if (points.empty()) {
      if (source == sources.front()) firstReason = read.reason;
      if (read.present) {
        presentReasons += (presentReasons.empty() ? "" : "; ") + read.reason;
        // The last one there: a log read in vain is not read again.
        s.source = source->name();
        s.traits = traits;
      }
      continue;
    }
    clip.points = std::move(points);
    s.source = source->name();
    s.traits = traits;
    s.reason = read.reason;
    SummarizeTrack(clip.points, s);
    clip.overview = SimplifyOverview(clip.points);
    // A source without a G-sensor gives zeros, which would read as hard events everywhere.
    if (s.traits.gSensor) clip.events = DetectEvents(clip.points, s.eventRules);
    s.eventCount = static_cast<std::int32_t>(clip.events.size());
    s.status = ClipStatus::Indexed;
    return clip;
  }
  s.reason = presentReasons.empty() ? firstReason : presentReasons;
  return clip;
}

IndexedClip IndexClip(const std::string& path) {
  CSubtitleTrackSource subtitle;
  CFreeGpsSource freeGps;
  CGoProSource goPro;
  CNmeaSidecarSource sidecar;
  CBlackVueSidecarSource blackVue;
  CBlackVueInClipSource blackVueInClip;
  CDjiSrtSidecarSource djiSrt;
  CEscortSidecarSource escort;
  CSeventyMaiSource seventyMai;
  CSigmaStarSource sigmaStar;
  CVueroidSource vueroid;
  CThinkwareSource thinkware;
  CLigoGpsSource ligoGps;
  // The readers of the registry's sources, tried in its order.
  ITelemetrySource* const readers[] = {
      &subtitle, &freeGps, &goPro,    &blackVueInClip, &sigmaStar, &vueroid,   &thinkware,
      &ligoGps,  &sidecar, &blackVue, &djiSrt,         &escort,    &seventyMai};
  std::vector<ITelemetrySource*> ordered;
  for (const SourceInfo& known : KnownSources()) {
    for (ITelemetrySource* reader : readers) {
      if (reader->name() == known.name && known.indexed) ordered.push_back(reader);
    }
  }
  return IndexClip(path, ordered);
}

ClipSummary FailedClip(const std::string& path, const std::string& reason) {
  ClipSummary s;
  s.path = path;
  s.status = ClipStatus::Failed;
  std::string ignored;
  ReadFileFacts(path, s, ignored);
  s.reason = reason;
  return s;
}

}  // namespace korvane
