// Arbitrary bytes through the freeGPS block decoder, as one block with the mark put in front so
// the layouts are reached: no crash, no read past the block, and every fix it gives in range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "telemetry/freegps_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  std::vector<std::uint8_t> block(12 + size);
  std::memcpy(&block[4], "freeGPS ", 8);
  if (size > 0) std::memcpy(&block[12], data, size);
  for (const auto& bytes : {std::span<const std::uint8_t>(block), std::span(data, size)}) {
    const FreeGpsFix f = DecodeFreeGpsBlock(bytes);
    if (f.layout == FreeGpsLayout::Unknown && (f.fix || f.hasTime)) std::abort();
    if (f.fix && !(std::fabs(f.latitude) <= 90.0 && std::fabs(f.longitude) <= 180.0)) std::abort();
    if (f.speedKmh < 0 || f.headingDeg < 0 || f.headingDeg > 360) std::abort();
  }
  return 0;
}
