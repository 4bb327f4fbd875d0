// Arbitrary bytes as a subtitle sample of the telemetry track (a mov_text length prefix and style
// boxes, or plain text): no crash, no read outside the sample, and the text and line it gives are
// parts of the sample.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cue_text.h"

namespace {

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view sample(reinterpret_cast<const char*>(data), size);
  const std::string_view text = MovTextCueText(sample);
  if (!Inside(text, sample)) std::abort();
  if (!Inside(TelemetryLineOf(text), text)) std::abort();
  if (!Inside(TelemetryLineOf(sample), sample)) std::abort();
  return 0;
}
