// What every camera-log decoder's fixes must hold for the fuzz targets: media times from 0 in
// order, a position on the globe when valid, milliseconds of a second.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "telemetry/nmea_track.h"

namespace korvane::fuzz {

// Aborts (the fuzzer's finding) on the first fix that breaks a bound; strictlyLater asks for
// media times that rise, not merely never fall.
inline void CheckFixes(const std::vector<NmeaFix>& fixes, bool strictlyLater) {
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    const NmeaFix& f = fixes[i];
    if (f.mediaMs < 0 || f.milliseconds < 0 || f.milliseconds > 999) std::abort();
    if (f.valid && (!(std::abs(f.latitude) <= 90.0) || !(std::abs(f.longitude) <= 180.0))) {
      std::abort();
    }
    if (i > 0 &&
        (strictlyLater ? f.mediaMs <= fixes[i - 1].mediaMs : f.mediaMs < fixes[i - 1].mediaMs)) {
      std::abort();
    }
  }
}

}  // namespace korvane::fuzz
