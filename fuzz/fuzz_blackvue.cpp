// Arbitrary bytes through BlackVue's decoders, as a .3gf G log and as a free box: no crash, no
// overflow, a sample count the bytes can hold, and the logs of a free box inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "telemetry/blackvue_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const BlackVueGLog log = DecodeBlackVue3gf(bytes);
  if (log.samples.size() > bytes.size() / 10) std::abort();
  if (log.endMark && log.oddTail) std::abort();
  const BlackVueBoxes boxes = BlackVueFreeBoxChildren(bytes);
  for (const std::string_view part : {boxes.gps, boxes.g3gf}) {
    if (!part.empty() &&
        (part.data() < bytes.data() || part.data() + part.size() > bytes.data() + bytes.size())) {
      std::abort();
    }
  }
  return 0;
}
