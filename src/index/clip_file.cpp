#include "index/clip_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "telemetry/nmea_track.h"

namespace korvane {

bool ReadFileFacts(const std::string& path, ClipSummary& summary, std::string& reason) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    reason = std::string("cannot read the file: ") + std::strerror(errno);
    return false;
  }
  summary.size = st.st_size;
  summary.mtimeNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  return true;
}

bool IsUpToDate(const ClipSummary& stored, const ClipSummary& now) {
  return stored.status != ClipStatus::Unknown && stored.size == now.size &&
         stored.mtimeNs == now.mtimeNs;
}

bool GpsLogCameOrWent(const ClipSummary& stored, bool hasLogNow) {
  if (stored.status != ClipStatus::Indexed && stored.status != ClipStatus::NoTelemetry)
    return false;
  const bool ownTrack =
      stored.status == ClipStatus::Indexed && stored.source == TelemetrySourceKind::SubtitleTrack;
  return !ownTrack && hasLogNow != (stored.source == TelemetrySourceKind::NmeaSidecar);
}

bool IsStoredRowCurrent(const ClipSummary& stored, std::string& factsError) {
  ClipSummary now;
  if (!ReadFileFacts(stored.path, now, factsError)) return false;
  return IsUpToDate(stored, now) &&
         !GpsLogCameOrWent(stored, FindNmeaSidecar(stored.path).has_value());
}

}  // namespace korvane
