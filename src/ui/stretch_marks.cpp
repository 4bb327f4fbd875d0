#include "ui/stretch_marks.h"

#include <utility>

namespace korvane {

std::optional<MarkedStretch> CStretchMarks::MarkStart(const std::string& clip, std::int64_t ms) {
  start_ = StretchTime{clip, ms};
  return Pair();
}

std::optional<MarkedStretch> CStretchMarks::MarkEnd(const std::string& clip, std::int64_t ms) {
  end_ = StretchTime{clip, ms};
  return Pair();
}

std::optional<MarkedStretch> CStretchMarks::Pair() {
  if (!start_ || !end_) return std::nullopt;
  MarkedStretch stretch{*std::exchange(start_, std::nullopt), *std::exchange(end_, std::nullopt)};
  return stretch;
}

MarkedStretch MomentStretch(const std::string& clip, std::int64_t ms, int reachSeconds) {
  const std::int64_t reach = std::int64_t{reachSeconds} * 1000;
  return {{clip, ms - reach}, {clip, ms + reach}};
}

}  // namespace korvane
