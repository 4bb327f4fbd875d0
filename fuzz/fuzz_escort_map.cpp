// Arbitrary bytes through the Escort trip-log decoder: no crash, no overflow, and fixes in
// bounds (media times from 0 that rise, a position on the globe, milliseconds of a second).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "camera_log_checks.h"
#include "telemetry/escort_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  korvane::fuzz::CheckFixes(korvane::ParseEscortMapText(bytes).fixes, true);
  return 0;
}
