#include "framework/ui_defs.h"

#include <algorithm>

#include "platform/ascii_text.h"

namespace DuiLib {

bool IntersectRect(RECT* result, const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  const bool overlap = r.left < r.right && r.top < r.bottom;
  if (result != nullptr) *result = overlap ? r : RECT{};
  return overlap;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return korvane::EqualsIgnoringAsciiCase(a, b);
}

int CDuiString::CompareNoCase(std::string_view other) const {
  const std::size_t n = std::min(size(), other.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = korvane::AsciiLower((*this)[i]);
    const int y = korvane::AsciiLower(other[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (size() == other.size()) return 0;
  return size() < other.size() ? -1 : 1;
}

}  // namespace DuiLib
