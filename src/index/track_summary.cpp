#include "index/track_summary.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvane {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil), exact for
// any year the parser can produce.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr double kEarthRadiusM = 6371008.8;  // mean radius (IUGG)

}  // namespace

std::int64_t CameraSeconds(const TelemetryRecord& r) {
  // Months out of 1..12 are folded into years so the day count stays defined.
  const std::int64_t monthIndex = std::int64_t{r.month} - 1;
  const std::int64_t year = r.year + (monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12);
  const std::int64_t month = ((monthIndex % 12) + 12) % 12 + 1;
  const std::int64_t days = DaysFromCivil(year, month, 1) + r.day - 1;
  return days * 86400 + r.hour * 3600 + r.minute * 60 + r.second;
}

bool IsRealCameraDate(const TelemetryRecord& r) {
  if (r.year < 1 || r.year > 9999 || r.month < 1 || r.month > 12 || r.day < 1) return false;
  if (r.hour > 23 || r.minute > 59 || r.second > 59) return false;
  const bool leap = (r.year % 4 == 0 && r.year % 100 != 0) || r.year % 400 == 0;
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return r.day <= kDays[r.month - 1] + (r.month == 2 && leap ? 1 : 0);
}

IndexPoint ToIndexPoint(const TelemetryRecord& r, std::int32_t mediaMs) {
  const std::int64_t cameraTime = IsRealCameraDate(r) ? CameraSeconds(r) : kNoCameraTime;
  return IndexPoint{mediaMs,    cameraTime, r.latitude, r.longitude,
                    r.speedKmh, r.accelX,   r.accelY,   r.accelZ};
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
  const auto hasTime = [](const IndexPoint& p) { return p.cameraTime != kNoCameraTime; };
  const auto first = std::find_if(points.begin(), points.end(), hasTime);
  const auto last = std::find_if(points.rbegin(), points.rend(), hasTime);
  summary.firstCameraTime = first == points.end() ? 0 : first->cameraTime;
  summary.lastCameraTime = last == points.rend() ? 0 : last->cameraTime;
  for (std::size_t i = 0; i < points.size(); ++i) {
    summary.maxSpeedKmh = std::max(summary.maxSpeedKmh, points[i].speedKmh);
    if (i > 0) {
      summary.distanceM += HaversineMetres(points[i - 1].latitude, points[i - 1].longitude,
                                           points[i].latitude, points[i].longitude);
    }
  }
}

}  // namespace korvane
