// An Escort camera's trip log beside the clip (the clip's base name with .map) as a telemetry
// source: a fix a second with the accelerometer, on the receiver's UTC.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "telemetry/nmea_track.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

inline constexpr std::string_view kEscortSource = "escort-map";
// A log line is under 80 bytes; a longer one is junk and is dropped in part.
inline constexpr std::size_t kMaxEscortLine = 1024;

// The clip's base name with .map or .MAP when that is a regular file; nullopt otherwise.
std::optional<std::string> FindEscortSidecar(const std::string& clipPath);

class CEscortSidecarSource : public ITelemetrySource {
 public:
  explicit CEscortSidecarSource(std::size_t maxBytes = kMaxNmeaBytes) : maxBytes_(maxBytes) {}
  std::string_view name() const override { return kEscortSource; }
  // Not present without the log; present with no records when no line has a fix. The reason
  // counts lines that did not read or went back in time, and says when the log was cut.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::size_t maxBytes_;
};

}  // namespace korvane
