// Arbitrary bytes through the DJI subtitle decoder: no crash, no overflow, and fixes in bounds
// (media times from 0 that never fall, a position on the globe, milliseconds of a second).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "camera_log_checks.h"
#include "telemetry/dji_srt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  korvane::fuzz::CheckFixes(korvane::ParseDjiSrtText(bytes, std::int64_t{1'700'000'000'000}).fixes,
                            false);
  return 0;
}
