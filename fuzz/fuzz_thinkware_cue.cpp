// Arbitrary bytes as a Thinkware cue and as a clip whose tx3g track holds such cues: no crash, no
// hang, G values finite, records in media-time order, and no read outside the input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telemetry/thinkware_cue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const ThinkwareCue cue = DecodeThinkwareCue({data, size});
  if (cue.hasG &&
      !(std::isfinite(cue.g[0]) && std::isfinite(cue.g[1]) && std::isfinite(cue.g[2]))) {
    std::abort();
  }
  if ((cue.hasG || cue.hasRmc) && !cue.thinkware) std::abort();
  const ThinkwareTrack track = ReadThinkwareTrack(size, MemoryReadAt({data, size}));
  if (track.fixes > static_cast<int>(track.records.size())) std::abort();
  return 0;
}
