// Arbitrary bytes through the decoders of the cameras' own logs (BlackVue .3gf and free box,
// DJI subtitles, Escort trip logs, 70mai folder logs), the first byte choosing which: no crash,
// no overflow, and what they give within its bounds (media times from 0 in order, a position
// on the globe, milliseconds of a second).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "telemetry/blackvue_files.h"
#include "telemetry/dji_srt.h"
#include "telemetry/escort_map.h"
#include "telemetry/seventymai_gps.h"

namespace {

void CheckFixes(const std::vector<korvane::NmeaFix>& fixes, bool strictlyLater) {
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    const korvane::NmeaFix& f = fixes[i];
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      const BlackVueGLog log = DecodeBlackVue3gf(bytes);
      if (log.samples.size() > bytes.size() / 10) std::abort();
      if (log.endMark && log.oddTail) std::abort();
      // The logs of a free box lie inside it.
      const BlackVueBoxes boxes = BlackVueFreeBoxChildren(bytes);
      for (const std::string_view part : {boxes.gps, boxes.g3gf}) {
        if (!part.empty() && (part.data() < bytes.data() ||
                              part.data() + part.size() > bytes.data() + bytes.size())) {
          std::abort();
        }
      }
      break;
    }
    case 1:
      CheckFixes(ParseDjiSrtText(bytes, std::int64_t{1'700'000'000'000}).fixes, false);
      break;
    case 2:
      CheckFixes(ParseEscortMapText(bytes).fixes, true);
      break;
    default:
      CheckFixes(ParseSeventyMaiGps(bytes, "NO20260712-195504-000000F.MP4").fixes, true);
      break;
  }
  return 0;
}
