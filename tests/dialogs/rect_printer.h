// Readable failures for rectangles: {left, top, right, bottom}.
#pragma once
#include <ostream>

#include "framework/ui_defs.h"

namespace DuiLib {
inline void PrintTo(const RECT& rc, std::ostream* os) {
  *os << "{" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << "}";
}
}  // namespace DuiLib
