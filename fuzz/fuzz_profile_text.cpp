// Arbitrary settings and language files (hand-edited, cut short, in any encoding), with a
// section, key and value taken from the input: no crash, a value read is never longer than its
// limit, and a value written reads back from the written text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/profile_text.h"

namespace {

// The next NUL-ended part of `rest`, or all of it.
std::string_view TakePart(std::string_view& rest) {
  const std::size_t end = rest.find('\0');
  const std::string_view part = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return part;
}

std::size_t CodePoints(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view section = TakePart(rest);
  const std::string_view key = TakePart(rest);
  const std::string_view value = TakePart(rest);
  const std::string_view text = rest;

  if (const auto found = FindProfileValue(text, section, key);
      found && CodePoints(*found) > kProfileValueMaxChars) {
    std::abort();
  }
  const std::string cut = CutToChars(value, 8);
  if (!value.starts_with(cut) || CodePoints(cut) > 8) std::abort();
  LeadingInteger(value);
  if (const auto written = SetProfileValue(text, section, key, value)) {
    if (!FindProfileValue(*written, section, key)) std::abort();
  }
  return 0;
}
