// Text rules that look at ASCII letters only, whatever the process locale says: the one
// case-insensitive comparison every layer uses for names read from files and settings.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>

namespace korvane {

// The byte with an ASCII capital turned into its small letter, as an unsigned value 0..255.
constexpr int AsciiLower(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? u - 'A' + 'a' : u;
}

// Whether `a` and `b` are equal with ASCII letters compared without regard to case; other bytes
// (UTF-8 included) must match exactly. Empty views are equal to each other only.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// Whether `text` begins with `prefix`, ASCII letters compared without regard to case.
inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// `text` with its ASCII capitals turned into small letters; other bytes unchanged.
inline std::string AsciiLowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = static_cast<char>(AsciiLower(c));
  return lowered;
}

}  // namespace korvane
