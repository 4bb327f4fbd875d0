#include "telemetry/nmea_source.h"

#include "telemetry/clip_time_range.h"
#include "telemetry/record_fields.h"

namespace korvane {

TelemetryRecord NmeaFixRecord(const NmeaFix& fix) {
  TelemetryRecord r;
  r.valid = fix.valid;
  r.mediaTimeMs = fix.mediaMs;
  SetRecordTime(r, fix.cameraTime * 1000 + fix.milliseconds);
  if (!fix.valid) return r;
  SetRecordPosition(r, fix.latitude, fix.longitude);
  r.speedKmh = fix.speedKmh;
  r.altitudeM = fix.altitudeM;
  r.headingDeg = fix.headingDeg;
  if (fix.hasG) SetRecordG(r, fix.gX, fix.gY, fix.gZ);
  return r;
}

int HandOverFixes(const std::vector<NmeaFix>& fixes, const ITelemetrySource::RecordSink& onRecord) {
  int valid = 0;
  for (const NmeaFix& fix : fixes) {
    onRecord(NmeaFixRecord(fix));
    if (fix.valid) ++valid;
  }
  return valid;
}

TelemetryRead CNmeaSidecarSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::optional<std::string> sidecar = FindNmeaSidecar(clipPath);
  if (!sidecar) {
    read.reason = "no GPS log beside the clip";
    return read;
  }
  read.present = true;
  const std::optional<NmeaTrack> track =
      ReadNmeaFile(*sidecar, ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs, maxBytes_);
  if (!track) {
    read.reason = "the GPS log " + *sidecar + " holds no NMEA sentence that reads";
    return read;
  }
  read.records = HandOverFixes(track->fixes, onRecord);
  read.gValues = track->gValues;
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
