// Arbitrary bytes as a LIGOGPS line and as a clip with a trailer: no crash, no hang, lines in
// their slots' order, and no read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "telemetry/ligogps_trailer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const auto line = DecodeLigoGpsLine({reinterpret_cast<const char*>(data), size});
  if (line && (line->latitude < -90.0 || line->latitude > 90.0)) std::abort();
  const LigoGpsTrack track = ReadLigoGpsFile(size, MemoryReadAt({data, size}));
  if (track.fixes > static_cast<int>(track.records.size())) std::abort();
  if (static_cast<int>(track.records.size()) + track.skipped != track.lines) std::abort();
  for (std::size_t i = 1; i < track.records.size(); ++i) {
    if (track.records[i].mediaTimeMs <= track.records[i - 1].mediaTimeMs) std::abort();
  }
  return 0;
}
