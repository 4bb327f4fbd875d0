#include "clip_indexer.h"

#include <filesystem>

#include "cue_text.h"
#include "index/clip_file.h"
#include "index/event_detector.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "subtitle_track_reader.h"

namespace korvane {

void CTrackBuilder::AddCue(std::int32_t mediaMs, std::string_view text) {
  ++cues_;
  const std::string line(TelemetryLineOf(text));
  if (parser_.ParseFull(line.c_str())) points_.push_back(ToIndexPoint(parser_.record(), mediaMs));
}

IndexedClip IndexClip(const std::string& path) {
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
  CTrackBuilder builder;
  const SubtitleTrackRead read = ReadSubtitleTrack(
      path, [&](std::int32_t mediaMs, std::string_view text) { builder.AddCue(mediaMs, text); });
  s.durationMs = read.durationMs;
  if (!read.opened) {
    s.reason = "not a readable video file (" + read.error + ")";
    return clip;
  }
  if (!read.hasSubtitle) {
    s.reason = "no subtitle track";
    return clip;
  }
  if (!read.textSubtitle) {
    s.reason = "the subtitle track carries no text";
    return clip;
  }
  clip.points = std::move(builder.points());
  SummarizeTrack(clip.points, s);
  if (clip.points.empty()) {
    s.reason = "no telemetry line among " + std::to_string(builder.cues()) + " cues";
    if (!read.error.empty()) s.reason += " (reading stopped: " + read.error + ")";
    return clip;
  }
  clip.overview = SimplifyOverview(clip.points);
  clip.events = DetectEvents(clip.points, s.eventRules);
  s.eventCount = static_cast<std::int32_t>(clip.events.size());
  s.status = ClipStatus::Indexed;
  if (!read.error.empty()) s.reason = "reading stopped early: " + read.error;
  return clip;
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
