// Arbitrary doubles (NaN, infinities, huge and tiny values included) through every datum transform.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "telemetry/coord_transform.h"

namespace {

constexpr std::size_t kMaxPoints = 64;

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size < 2 * sizeof(double)) return 0;
  double lat = 0.0;
  double lon = 0.0;
  std::memcpy(&lat, data, sizeof lat);
  std::memcpy(&lon, data + sizeof lat, sizeof lon);

  double outLat = 0.0;
  double outLon = 0.0;
  const bool outside = OutOfChina(lon, lat);
  WgsToGcj(lat, lon, outLat, outLon);
  // Outside the box the single-point forms hand back the input bit for bit.
  if (outside && (!SameBits(outLat, lat) || !SameBits(outLon, lon))) __builtin_trap();
  WgsToBd(lat, lon, outLat, outLon);
  if (outside && (!SameBits(outLat, lat) || !SameBits(outLon, lon))) __builtin_trap();
  GcjToBd(lat, lon, outLat, outLon);
  IdentityTransform(lat, lon, outLat, outLon);
  (void)TransformLat(lon - 105.0, lat - 35.0);
  (void)TransformLon(lon - 105.0, lat - 35.0);

  // The rest of the input as points, 2 doubles each, every other one valid.
  TelemetryRecord points[kMaxPoints];
  std::size_t count = 0;
  for (std::size_t at = 0; at + 2 * sizeof(double) <= size && count < kMaxPoints;
       at += 2 * sizeof(double), ++count) {
    std::memcpy(&points[count].latitude, data + at, sizeof(double));
    std::memcpy(&points[count].longitude, data + at + sizeof(double), sizeof(double));
    points[count].valid = count % 2 == 0;
  }
  const auto n = static_cast<std::int32_t>(count);
  if (!ConvertChunkForBaidu(n, points)) __builtin_trap();
  if (!ConvertChunkForGoogle(n, points, "China")) __builtin_trap();
  if (!ConvertChunkForGoogle(n, points, "Oversea")) __builtin_trap();
  for (std::size_t i = 0; i < count; ++i) {
    const TelemetryRecord& p = points[i];
    if (p.valid &&
        (!SameBits(p.mapLatitude, p.latitude) || !SameBits(p.mapLongitude, p.longitude))) {
      __builtin_trap();  // the last form called copies
    }
    if (!p.valid && (p.mapLatitude != 0.0 || p.mapLongitude != 0.0)) __builtin_trap();
  }
  return 0;
}
