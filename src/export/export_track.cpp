#include "export/export_track.h"

#include <cmath>

namespace korvane {

bool IsExportablePosition(double latitude, double longitude) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return false;
  if (std::fabs(latitude) > 90.0 || std::fabs(longitude) > 180.0) return false;
  return latitude != 0.0 || longitude != 0.0;
}

CameraTimeZone ZoneOfSource(TelemetrySourceKind source, const CameraTimeZone& cameraZone) {
  return source == TelemetrySourceKind::NmeaSidecar ? CameraTimeZone{false, 0} : cameraZone;
}

std::vector<ExportPoint> ExportPointsOf(std::span<const IndexPoint> points,
                                        const CameraTimeZone& zone, ExportCounts& counts) {
  std::vector<ExportPoint> out;
  out.reserve(points.size());
  // Zone rules change on whole minutes at most: one conversion per camera minute, not per point.
  std::int64_t cachedMinute = kNoCameraTime;
  std::int64_t cachedShift = 0;
  for (const IndexPoint& p : points) {
    if (p.cameraTime == kNoCameraTime) {
      ++counts.badDates;
    } else if (!IsExportablePosition(p.latitude, p.longitude)) {
      ++counts.badPositions;
    } else {
      const std::int64_t minute = p.cameraTime - ((p.cameraTime % 60) + 60) % 60;
      if (minute != cachedMinute) {
        cachedMinute = minute;
        cachedShift = CameraTimeToUtc(minute, zone) - minute;
      }
      out.push_back(ExportPoint{p.mediaMs, p.cameraTime + cachedShift, p.latitude, p.longitude,
                                p.speedKmh, p.accelX, p.accelY, p.accelZ});
    }
  }
  counts.written += static_cast<std::int64_t>(out.size());
  return out;
}

}  // namespace korvane
