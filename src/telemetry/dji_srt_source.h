// A DJI camera's subtitle file beside the clip (DJI_0001.MP4 with DJI_0001.SRT) as a telemetry
// source: a fix per cue, on the camera's clock, timed by the cues' own times.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "telemetry/nmea_track.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

inline constexpr std::string_view kDjiSrtSource = "dji-srt";
// No line of a cue comes near this; a longer one is junk and is dropped in part.
inline constexpr std::size_t kMaxDjiSrtLine = std::size_t{16} << 10;

// The clip's base name with .SRT or .srt when that is a regular file; nullopt otherwise.
std::optional<std::string> FindDjiSrtSidecar(const std::string& clipPath);

class CDjiSrtSidecarSource : public ITelemetrySource {
 public:
  explicit CDjiSrtSidecarSource(std::size_t maxBytes = kMaxNmeaBytes) : maxBytes_(maxBytes) {}
  std::string_view name() const override { return kDjiSrtSource; }
  // Not present without the file; present with no records when no cue has a position. Cues
  // without a date are dated by the clip (ClipTimeRangeOf). The reason counts cues left out and
  // says when the file was cut.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::size_t maxBytes_;
};

}  // namespace korvane
