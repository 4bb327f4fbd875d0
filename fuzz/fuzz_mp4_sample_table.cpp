// Arbitrary bytes as a clip through the sample table reader: no crash, no hang, every sample it
// gives inside the file and in time order, no more than its bound, and no read outside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telemetry/mp4_sample_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const ReadAtFn readAt = MemoryReadAt({data, size});
  const auto tracks = ReadMp4Tracks(size, readAt, [](const Mp4TrackHeader&) { return true; });
  if (tracks.size() > kMaxMp4Tracks) std::abort();
  for (const Mp4Track& t : tracks) {
    if (t.samples.size() > kMaxMp4Samples) std::abort();
    for (std::size_t i = 0; i < t.samples.size(); ++i) {
      const Mp4Sample& s = t.samples[i];
      if (s.offset > size || s.size > size - s.offset) std::abort();
      if (i > 0 && s.start < t.samples[i - 1].start) std::abort();
      if (t.EndMs(s) < t.StartMs(s)) std::abort();
    }
  }
  return 0;
}
