// Arbitrary bytes as a clip through the freeGPS file walker (boxes, the `gps ` index, the
// blocks): no crash, no hang, records in media-time order, and no read outside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telemetry/freegps_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const ReadAtFn readAt = MemoryReadAt({data, size});
  const FreeGpsTrack track = ReadFreeGpsFile(size, readAt, 1'700'000'000'000);
  if (track.fixes > static_cast<int>(track.records.size())) std::abort();
  for (std::size_t i = 1; i < track.records.size(); ++i) {
    if (track.records[i].mediaTimeMs <= track.records[i - 1].mediaTimeMs) std::abort();
  }
  return 0;
}
