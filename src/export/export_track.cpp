#include "export/export_track.h"

#include <cmath>

#include "telemetry/clock_offset.h"

namespace korvane {

bool IsExportablePosition(double latitude, double longitude) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return false;
  if (std::fabs(latitude) > 90.0 || std::fabs(longitude) > 180.0) return false;
  return latitude != 0.0 || longitude != 0.0;
}

CameraTimeZone ZoneOfSource(TelemetrySourceKind source, const CameraTimeZone& cameraZone) {
  return IsCameraClock(source) ? cameraZone : CameraTimeZone{false, 0};
}

std::vector<ExportPoint> ExportPointsOf(std::span<const IndexPoint> points,
                                        const CameraTimeZone& zone, int clockOffsetSeconds,
                                        ExportCounts& counts) {
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
      const std::int64_t corrected = p.cameraTime + clockOffsetSeconds;
      const std::int64_t minute = corrected - ((corrected % 60) + 60) % 60;
      if (minute != cachedMinute) {
        cachedMinute = minute;
        cachedShift = CameraTimeToUtc(minute, zone) - minute;
      }
      out.push_back(ExportPoint{p.mediaMs, corrected + cachedShift, p.latitude, p.longitude,
                                p.speedKmh, p.accelX, p.accelY, p.accelZ});
    }
  }
  counts.written += static_cast<std::int64_t>(out.size());
  return out;
}

}  // namespace korvane
