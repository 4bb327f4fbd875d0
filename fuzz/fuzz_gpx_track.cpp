// Arbitrary bytes as a GPX document: no crash, no overflow, and the points that come back timed,
// in time order and within the globe.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "telemetry/gpx_track.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  std::string error;
  const std::optional<GpxTrack> track =
      ParseGpxText(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (!track) return 0;
  for (std::size_t i = 0; i < track->points.size(); ++i) {
    const GpxPoint& p = track->points[i];
    if (!(std::fabs(p.latitude) <= 90.0) || !(std::fabs(p.longitude) <= 180.0)) std::abort();
    if (i > 0 && p.utcMs < track->points[i - 1].utcMs) std::abort();
    GpxPositionAt(track->points, p.utcMs + 1);
  }
  return 0;
}
