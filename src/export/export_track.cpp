#include "export/export_track.h"

#include <cmath>

namespace korvane {

bool IsExportablePosition(double latitude, double longitude) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return false;
  if (std::fabs(latitude) > 90.0 || std::fabs(longitude) > 180.0) return false;
  return latitude != 0.0 || longitude != 0.0;
}

CameraTimeZone ZoneOfSource(const SourceTraits& source, const CameraTimeZone& cameraZone) {
  return source.clock == SourceClock::Camera ? cameraZone : CameraTimeZone{false, 0};
}

std::vector<ExportPoint> ExportPointsOf(std::span<const IndexPoint> points,
                                        const CameraTimeZone& zone, int clockOffsetSeconds,
                                        ExportCounts& counts) {
  std::vector<ExportPoint> out;
  out.reserve(points.size());
  // Zone rules change on whole minutes at most: one conversion per camera minute, not per point.
  std::int64_t cachedMinute = kNoTime;
  std::int64_t cachedShift = 0;
  for (const IndexPoint& p : points) {
    if (p.timeMs == kNoTime) {
      ++counts.badDates;
    } else if (!IsExportablePosition(p.latitude, p.longitude)) {
      ++counts.badPositions;
    } else {
      const std::int64_t corrected = p.seconds() + clockOffsetSeconds;
      const std::int64_t minute = corrected - ((corrected % 60) + 60) % 60;
      if (minute != cachedMinute) {
        cachedMinute = minute;
        cachedShift = CameraTimeToUtc(minute, zone) - minute;
      }
      const std::int64_t utc = corrected + cachedShift;
      out.push_back(ExportPoint{p.mediaMs, utc * 1000 + (p.timeMs - p.seconds() * 1000), p.latitude,
                                p.longitude, p.altitudeM, p.speedKmh, p.gX, p.gY, p.gZ});
    }
  }
  counts.written += static_cast<std::int64_t>(out.size());
  return out;
}

}  // namespace korvane
