#include "telemetry/coord_transform.h"

#include <cmath>

namespace korvane {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kEe = 0.00669342162296594323;
constexpr double kDegToRad = 0.017453292519943295;
// The published conversion's scale factors, used as they stand (not derived from the ellipsoid).
constexpr double kLatScale = 9.0435329131e-6;
constexpr double kLonScale = 8.9830007334e-6;
constexpr double kXPi = 52.35987755982988;

// The single-point and batch forms differ only in how the latitude becomes radians; both ways are
// kept so each form gives exactly the digits it always gave.
void GcjFromWgs(double lat, double lon, double radLat, double& gcjLat, double& gcjLon) {
  const double sinLat = std::sin(radLat);
  const double magic = 1.0 - kEe * sinLat * sinLat;
  const double sqrtMagic = std::sqrt(magic);
  const double x = lon - 105.0;
  const double y = lat - 35.0;
  gcjLat = lat + TransformLat(x, y) * magic * sqrtMagic * kLatScale;
  gcjLon = lon + TransformLon(x, y) * sqrtMagic * kLonScale / std::cos(radLat);
}

double BatchRadians(double lat) {
  return lat / 180.0 * kPi;
}

// Applies `convert(lat, lon, mapLat, mapLon)` to every valid point.
template <typename Convert>
bool ConvertValidPoints(std::int32_t count, TelemetryRecord* points, Convert convert) {
  if (points == nullptr || count < 1) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    TelemetryRecord& point = points[i];
    if (point.valid)
      convert(point.latitude, point.longitude, point.mapLatitude, point.mapLongitude);
  }
  return true;
}

}  // namespace

void GcjToBd(double gcjLat, double gcjLon, double& bdLat, double& bdLon) {
  const double z = std::sqrt(gcjLon * gcjLon + gcjLat * gcjLat) + 0.00002 * std::sin(gcjLat * kXPi);
  const double theta = std::atan2(gcjLat, gcjLon) + 0.000003 * std::cos(gcjLon * kXPi);
  bdLon = z * std::cos(theta) + 0.0065;
  bdLat = z * std::sin(theta) + 0.006;
}

bool OutOfChina(double lon, double lat) {
  // Written as "not inside" so that NaN falls outside.
  return !(lon >= 72.004 && lon <= 135.1 && lat >= 18.1 && lat <= 55.8271);
}

double TransformLat(double x, double y) {
  return -100.0 + 2.0 * x + 3.0 * y + 0.2 * y * y + 0.1 * x * y + 0.2 * std::sqrt(std::fabs(x)) +
         13.333333333333332 * (std::sin(6.0 * x * kPi) + std::sin(2.0 * x * kPi)) +
         13.333333333333332 * std::sin(y * kPi) + 26.666666666666668 * std::sin(y / 3.0 * kPi) +
         106.66666666666667 * std::sin(y / 12.0 * kPi) +
         213.33333333333334 * std::sin(y / 30.0 * kPi);
}

double TransformLon(double x, double y) {
  return 300.0 + x + 2.0 * y + 0.1 * x * x + 0.1 * x * y + 0.1 * std::sqrt(std::fabs(x)) +
         13.333333333333332 * (std::sin(6.0 * x * kPi) + std::sin(2.0 * x * kPi)) +
         13.333333333333332 * std::sin(x * kPi) + 26.666666666666668 * std::sin(x / 3.0 * kPi) +
         100.0 * std::sin(x / 12.0 * kPi) + 200.0 * std::sin(x / 30.0 * kPi);
}

void IdentityTransform(double lat, double lon, double& outLat, double& outLon) {
  outLat = lat;
  outLon = lon;
}

void WgsToGcj(double lat, double lon, double& outLat, double& outLon) {
  if (OutOfChina(lon, lat)) return IdentityTransform(lat, lon, outLat, outLon);
  GcjFromWgs(lat, lon, lat * kDegToRad, outLat, outLon);
}

void WgsToBd(double lat, double lon, double& outLat, double& outLon) {
  if (OutOfChina(lon, lat)) return IdentityTransform(lat, lon, outLat, outLon);
  double gcjLat = 0.0;
  double gcjLon = 0.0;
  GcjFromWgs(lat, lon, lat * kDegToRad, gcjLat, gcjLon);
  GcjToBd(gcjLat, gcjLon, outLat, outLon);
}

bool ConvertChunkForBaidu(std::int32_t count, TelemetryRecord* points) {
  return ConvertValidPoints(count, points,
                            [](double lat, double lon, double& mapLat, double& mapLon) {
                              double gcjLat = 0.0;
                              double gcjLon = 0.0;
                              GcjFromWgs(lat, lon, BatchRadians(lat), gcjLat, gcjLon);
                              GcjToBd(gcjLat, gcjLon, mapLat, mapLon);
                            });
}

bool ConvertChunkForGoogle(std::int32_t count, TelemetryRecord* points, const std::string& locale) {
  if (locale == "China") {
    return ConvertValidPoints(count, points,
                              [](double lat, double lon, double& mapLat, double& mapLon) {
                                GcjFromWgs(lat, lon, BatchRadians(lat), mapLat, mapLon);
                              });
  }
  return ConvertValidPoints(count, points, IdentityTransform);
}

}  // namespace korvane
