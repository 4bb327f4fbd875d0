// A 70mai camera's folder GPS log (GPSData*.txt beside its clips) as a telemetry source: the
// log's lines that name the clip, on the receiver's UTC, with the accelerometer.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "telemetry/nmea_track.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

inline constexpr std::string_view kSeventyMaiSource = "70mai";
// A log line is under 100 bytes; a longer one is junk and is dropped in part.
inline constexpr std::size_t kMaxSeventyMaiLine = 1024;

// The first (by name) GPSData*.txt in the clip's folder; nullopt when there is none.
std::optional<std::string> FindSeventyMaiLog(const std::string& clipPath);

class CSeventyMaiSource : public ITelemetrySource {
 public:
  explicit CSeventyMaiSource(std::size_t maxBytes = kMaxNmeaBytes) : maxBytes_(maxBytes) {}
  std::string_view name() const override { return kSeventyMaiSource; }
  // Not present without a log in the folder; present with no records when no line of it is the
  // clip's (CSeventyMaiDecoder). The reason counts bad lines and says when the log was cut.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::size_t maxBytes_;
};

}  // namespace korvane
