// Arbitrary bytes as one hand-over from a second start of the program: no crash, and the paths
// that come out are the non-empty NUL-ended entries, none longer than the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/instance_hand_over.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t total = 0;
  for (const std::string& path : ParseHandedFiles(bytes)) {
    if (path.empty() || path.find('\0') != std::string::npos) std::abort();
    total += path.size() + 1;
  }
  if (total > size + 1) std::abort();
  return 0;
}
