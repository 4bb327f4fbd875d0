// Arbitrary bytes through the GPMF decoder, as the payloads of two samples of a track (split
// where the first byte says): no crash, no read past a payload, every fix in range and every
// record's media time inside the samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telemetry/gpmf_track.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size == 0) return 0;
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  const std::size_t split = bytes.size() * data[0] / 256;
  const GpmfSample samples[] = {{DecodeGpmfPayload(bytes.first(split)), 0, 1000},
                                {DecodeGpmfPayload(bytes.subspan(split)), 1000, 1001}};
  const GpmfTrack track = ReadGpmfTrack(samples);
  for (const TelemetryRecord& r : track.records) {
    if (r.mediaTimeMs < 0 || r.mediaTimeMs >= 2001) std::abort();
    if (r.valid && !(std::fabs(r.latitude) <= 90.0 && std::fabs(r.longitude) <= 180.0)) {
      std::abort();
    }
    if (r.accelInG && !(std::isfinite(r.gX) && std::isfinite(r.gY) && std::isfinite(r.gZ))) {
      std::abort();
    }
  }
  return 0;
}
