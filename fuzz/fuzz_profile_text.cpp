// Arbitrary settings and language files (hand-edited, cut short, in any encoding), with a
// section, key and value taken from the input: no crash, a value cut to its limit is a prefix
// that stays as it is, and a value written reads back from the written text.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view section = TakePart(rest);
  const std::string_view key = TakePart(rest);
  const std::string_view value = TakePart(rest);
  const std::string_view text = rest;

  // The value as the settings reader hands it on: cut to its limit, a prefix that cutting
  // again leaves as it is (whatever the bytes, valid UTF-8 or not).
  if (const auto found = FindProfileValue(text, section, key)) {
    const std::string handed = CutToChars(*found, kProfileValueMaxChars);
    if (!found->starts_with(handed) || CutToChars(handed, kProfileValueMaxChars) != handed) {
      std::abort();
    }
  }
  const std::string cut = CutToChars(value, 8);
  if (!value.starts_with(cut) || CutToChars(cut, 8) != cut) std::abort();
  LeadingInteger(value);
  if (const auto written = SetProfileValue(text, section, key, value)) {
    if (!FindProfileValue(*written, section, key)) std::abort();
  }
  return 0;
}
