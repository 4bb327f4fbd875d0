// Arbitrary bytes through Vueroid's `mp4s` decoder, as 72-byte samples twenty a second and one
// of the length left: no crash, no read past a sample, and every fix on the globe, of a real
// moment, with finite G values once the clip's mean is taken off.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telemetry/civil_date.h"
#include "telemetry/vueroid_track.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  CVueroidTrackDecoder decoder;
  std::size_t at = 0;
  std::int64_t startMs = 0;
  for (; at + kVueroidRecordBytes <= size; at += kVueroidRecordBytes, startMs += 50) {
    decoder.AddSample({data + at, kVueroidRecordBytes}, startMs);
  }
  decoder.AddSample({data + at, size - at}, startMs);
  const VueroidTrack track = decoder.Finish();
  for (const TelemetryRecord& r : track.records) {
    if (!IsRealCivilTime({r.year, r.month, r.day, r.hour, r.minute, r.second})) std::abort();
    if (r.millisecond > 999) std::abort();
    if (!r.valid) continue;
    if (!(std::fabs(r.latitude) <= 90.0 && std::fabs(r.longitude) <= 180.0)) std::abort();
    if (!(std::fabs(r.gX) <= 32 && std::fabs(r.gY) <= 32 && std::fabs(r.gZ) <= 32)) std::abort();
    if (!(r.speedKmh >= 0)) std::abort();
  }
  return 0;
}
