// Arbitrary bytes through SigmaStar's `ssmd` decoder, as a clip's date and samples of sizes the
// input chooses: no crash, no read past a sample, and every record it gives of a real moment in
// the clip, every fix on the globe.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telemetry/civil_date.h"
#include "telemetry/sigmastar_ssmd.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size < 3) return 0;
  // The clip's date: any day of a month from 2000 on.
  CSsmdTrackDecoder decoder({2000 + data[0], 1u + data[1] % 12u, 1u + data[2] % 28u});
  std::size_t at = 3;
  std::int64_t startMs = 0;
  while (at < size) {
    const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
    const std::span<const std::uint8_t> sample(data + at + 1, length);
    DecodeSsmdRecord(sample.first(std::min(length, kSsmdRecordBytes)));
    decoder.AddSample(sample, startMs, 1000);
    startMs += 1000;
    at += 1 + length;
  }
  std::int32_t lastMediaMs = -1;
  for (const TelemetryRecord& r : decoder.track().records) {
    if (!IsRealCivilTime({r.year, r.month, r.day, r.hour, r.minute, r.second})) std::abort();
    if (r.mediaTimeMs < lastMediaMs || r.mediaTimeMs > startMs) std::abort();
    lastMediaMs = r.mediaTimeMs;
    if (r.valid && !(std::fabs(r.latitude) <= 90.0 && std::fabs(r.longitude) <= 180.0)) {
      std::abort();
    }
    if (r.valid && !(r.headingDeg >= 0 && r.headingDeg < 512) && !std::isnan(r.headingDeg)) {
      std::abort();
    }
  }
  const SsmdTrack& t = decoder.track();
  if (t.fixes + t.noFix != static_cast<int>(t.records.size())) std::abort();
  return 0;
}
