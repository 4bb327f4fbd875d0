// Arbitrary bytes as an index row's point blob: no crash, a blob of whole records reads as many
// points, and points read back pack to a blob that reads as the same points again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "index/point_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view blob(reinterpret_cast<const char*>(data), size);
  const auto points = UnpackPoints(blob);
  if (points.has_value() != (size % kPackedPointSize == 0)) std::abort();
  if (!points) return 0;
  if (points->size() != size / kPackedPointSize) std::abort();
  // A NaN's bits may change once on the way (a signalling one is quieted); after that the
  // packed form holds still.
  const std::string packed = PackPoints(*points);
  const auto again = UnpackPoints(packed);
  if (!again || PackPoints(*again) != packed) std::abort();
  return 0;
}
