// Arbitrary bytes through the 70mai folder-log decoder, read for one clip: no crash, no
// overflow, and fixes in bounds (media times from 0 that rise, a position on the globe,
// milliseconds of a second).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "camera_log_checks.h"
#include "telemetry/seventymai_gps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  korvane::fuzz::CheckFixes(
      korvane::ParseSeventyMaiGps(bytes, "NO20260712-195504-000000F.MP4").fixes, true);
  return 0;
}
