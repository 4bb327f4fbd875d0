#include "telemetry/nmea_source.h"

#include <cmath>

#include "telemetry/civil_date.h"

namespace korvane {

namespace {

// Whole degrees, minutes and the seconds left of |degrees|, as the camera's lines carry them.
void SplitDegrees(double degrees, std::uint8_t& whole, std::uint8_t& minutes, float& seconds) {
  const double a = std::fabs(degrees);
  whole = static_cast<std::uint8_t>(a);
  const double m = (a - whole) * 60.0;
  minutes = static_cast<std::uint8_t>(m);
  seconds = static_cast<float>((m - minutes) * 60.0);
}

}  // namespace

TelemetryRecord NmeaFixRecord(const NmeaFix& fix) {
  TelemetryRecord r;
  r.valid = fix.valid;
  r.mediaTimeMs = fix.mediaMs;
  const CivilTime t = CivilFromSeconds(fix.cameraTime);
  r.year = static_cast<std::int32_t>(t.year);
  r.month = static_cast<std::uint8_t>(t.month);
  r.day = static_cast<std::uint8_t>(t.day);
  r.hour = static_cast<std::uint8_t>(t.hour);
  r.minute = static_cast<std::uint8_t>(t.minute);
  r.second = static_cast<std::uint8_t>(t.second);
  if (!fix.valid) return r;
  r.latitude = fix.latitude;
  r.latHemisphere = fix.latitude < 0 ? 'S' : 'N';
  SplitDegrees(fix.latitude, r.latDegrees, r.latMinutes, r.latSeconds);
  r.longitude = fix.longitude;
  r.lonHemisphere = fix.longitude < 0 ? 'W' : 'E';
  SplitDegrees(fix.longitude, r.lonDegrees, r.lonMinutes, r.lonSeconds);
  r.speedKmh = fix.speedKmh;
  return r;
}

TelemetryRead CNmeaSidecarSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::optional<std::string> sidecar = FindNmeaSidecar(clipPath);
  if (!sidecar) {
    read.reason = "no GPS log beside the clip";
    return read;
  }
  read.present = true;
  const std::optional<NmeaTrack> track = ReadNmeaFile(*sidecar, maxBytes_);
  if (!track) {
    read.reason = "the GPS log " + *sidecar + " holds no NMEA sentence that reads";
    return read;
  }
  for (const NmeaFix& fix : track->fixes) {
    onRecord(NmeaFixRecord(fix));
    if (fix.valid) ++read.records;
  }
  if (read.records == 0) {
    read.reason = "the GPS log " + *sidecar + " has no valid fix";
  } else if (track->badSentences > 0) {
    read.reason = "GPS log: " + std::to_string(track->badSentences) + " bad sentences skipped";
  }
  if (track->truncated) {
    read.reason += std::string(read.reason.empty() ? "" : "; ") + "GPS log read up to " +
                   std::to_string(maxBytes_ >> 20) + " MiB";
  }
  return read;
}

}  // namespace korvane
