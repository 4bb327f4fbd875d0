// Text rules that look at ASCII letters only, whatever the process locale says: the one
// case-insensitive comparison every layer uses for names read from files and settings.
#pragma once
#include <algorithm>
#include <string_view>

namespace korvane {

// Whether `a` and `b` are equal with ASCII letters compared without regard to case; other bytes
// (UTF-8 included) must match exactly. Empty views are equal to each other only.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace korvane
