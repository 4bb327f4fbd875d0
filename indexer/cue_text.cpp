#include "cue_text.h"

#include <algorithm>

namespace korvane {

namespace {
constexpr std::size_t kMaxLine = 127;
}

std::string_view MovTextCueText(std::string_view sample) {
  if (sample.size() < 2) return {};
  const std::size_t length =
      (static_cast<std::size_t>(static_cast<unsigned char>(sample[0])) << 8) |
      static_cast<unsigned char>(sample[1]);
  return sample.substr(2, std::min(length, sample.size() - 2));
}

std::string_view TelemetryLineOf(std::string_view cueText) {
  return cueText.substr(0, std::min(cueText.size(), kMaxLine));
}

}  // namespace korvane
