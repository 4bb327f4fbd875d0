#include "index/track_summary.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "telemetry/civil_date.h"
#include "telemetry/g_sensor.h"
#include "telemetry/record_fields.h"

namespace korvane {

namespace {

constexpr double kEarthRadiusM = 6371008.8;  // mean radius (IUGG)

}  // namespace

std::int64_t CameraSeconds(const TelemetryRecord& r) {
  // Months out of 1..12 are folded into years so the day count stays defined.
  const std::int64_t monthIndex = std::int64_t{r.month} - 1;
  const std::int64_t year = r.year + (monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12);
  const std::int64_t month = ((monthIndex % 12) + 12) % 12 + 1;
  const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), 1) + r.day - 1;
  return days * 86400 + r.hour * 3600 + r.minute * 60 + r.second;
}

bool IsRealCameraDate(const TelemetryRecord& r) {
  return r.year >= 1 && r.year <= 9999 &&
         IsRealCivilTime({r.year, r.month, r.day, r.hour, r.minute, r.second});
}

IndexPoint ToIndexPoint(const TelemetryRecord& r, std::int32_t mediaMs, SourceClock clock) {
  IndexPoint p;
  p.mediaMs = mediaMs;
  p.timeMs = IsRealCameraDate(r) ? CameraSeconds(r) * 1000 + r.millisecond % 1000 : kNoTime;
  p.latitude = r.latitude;
  p.longitude = r.longitude;
  p.altitudeM = r.altitudeM;
  p.headingDeg = r.headingDeg;
  p.speedKmh = r.speedKmh;
  p.gX = r.accelInG ? r.gX : static_cast<float>(AccelerationInG(r.accelX));
  p.gY = r.accelInG ? r.gY : static_cast<float>(AccelerationInG(r.accelY));
  p.gZ = r.accelInG ? r.gZ : static_cast<float>(AccelerationInG(r.accelZ));
  p.receiverTime = clock == SourceClock::Receiver;
  return p;
}

TelemetryRecord RecordOfPoint(const IndexPoint& p) {
  TelemetryRecord r;
  r.valid = true;
  r.mediaTimeMs = p.mediaMs;
  if (p.timeMs != kNoTime) SetRecordTime(r, p.timeMs);
  SetRecordPosition(r, p.latitude, p.longitude);
  r.speedKmh = p.speedKmh;
  r.altitudeM = p.altitudeM;
  r.headingDeg = p.headingDeg;
  SetRecordG(r, p.gX, p.gY, p.gZ);
  return r;
}

double HaversineMetres(double lat1, double lon1, double lat2, double lon2) {
  constexpr double kRad = std::numbers::pi / 180.0;
  const double dLat = (lat2 - lat1) * kRad;
  const double dLon = (lon2 - lon1) * kRad;
  const double a =
      std::sin(dLat / 2) * std::sin(dLat / 2) +
      std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadiusM * std::asin(std::min(1.0, std::sqrt(a)));
}

void SummarizeTrack(std::span<const IndexPoint> points, ClipSummary& summary) {
  summary.pointCount = static_cast<std::int32_t>(points.size());
  summary.distanceM = 0.0;
  summary.maxSpeedKmh = 0.0f;
  const auto hasTime = [](const IndexPoint& p) { return p.timeMs != kNoTime; };
  const auto first = std::find_if(points.begin(), points.end(), hasTime);
  const auto last = std::find_if(points.rbegin(), points.rend(), hasTime);
  summary.firstCameraTime = first == points.end() ? 0 : first->seconds();
  summary.lastCameraTime = last == points.rend() ? 0 : last->seconds();
  for (std::size_t i = 0; i < points.size(); ++i) {
    summary.maxSpeedKmh = std::max(summary.maxSpeedKmh, points[i].speedKmh);
    if (i > 0) {
      summary.distanceM += HaversineMetres(points[i - 1].latitude, points[i - 1].longitude,
                                           points[i].latitude, points[i].longitude);
    }
  }
}

ImportedTrack SummarizeImportedRecords(ClipSummary row, std::span<const TelemetryRecord> records,
                                       std::int64_t shiftSeconds) {
  ImportedTrack track{std::move(row), {}};
  for (const TelemetryRecord& record : records) {
    if (!record.valid) continue;
    IndexPoint point = ToIndexPoint(record, record.mediaTimeMs, SourceClock::Receiver);
    if (point.timeMs != kNoTime) point.timeMs += shiftSeconds * 1000;
    track.points.push_back(point);
  }
  if (track.points.empty()) return track;
  ClipSummary& s = track.summary;
  SummarizeTrack(track.points, s);
  s.status = ClipStatus::Indexed;
  s.source = std::string(kGpxSource);
  s.traits = TraitsOf(kGpxSource);
  s.eventCount = 0;
  s.reason.clear();
  return track;
}

}  // namespace korvane
