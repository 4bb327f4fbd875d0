#include "ui/stretch_marks.h"

#include <algorithm>
#include <utility>

namespace korvane {

namespace {

// Where a mark lies against the playing clip.
enum class Side { kUnknown, kBefore, kInside, kAfter };

}  // namespace

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

ShownMarks CStretchMarks::Shown() const {
  if (start_ || end_) return {start_, end_};
  if (saving_) return {saving_->from, saving_->to};
  return {};
}

double StretchInClip::FractionOf(std::int64_t ms) const {
  if (durationMs <= 0) return 0;
  return std::clamp(static_cast<double>(ms) / static_cast<double>(durationMs), 0.0, 1.0);
}

StretchInClip PlaceStretch(const ShownMarks& marks, const std::string& clip,
                           std::int64_t durationMs,
                           const std::function<std::optional<int>(const std::string&)>& orderOf) {
  StretchInClip placed;
  if (durationMs <= 0) return placed;
  placed.durationMs = durationMs;
  const std::optional<int> playing = orderOf(clip);
  const auto sideOf = [&](const std::optional<StretchTime>& mark) {
    if (!mark) return Side::kUnknown;
    if (mark->clip == clip) return Side::kInside;
    const std::optional<int> order = orderOf(mark->clip);
    if (!order || !playing || *order == *playing) return Side::kUnknown;
    return *order < *playing ? Side::kBefore : Side::kAfter;
  };
  const Side start = sideOf(marks.start);
  const Side end = sideOf(marks.end);
  const auto tick = [durationMs](Side side, const std::optional<StretchTime>& mark) {
    const bool inClip = side == Side::kInside && mark->valueMs >= 0 && mark->valueMs <= durationMs;
    return inClip ? std::optional{mark->valueMs} : std::nullopt;
  };
  placed.startTickMs = tick(start, marks.start);
  placed.endTickMs = tick(end, marks.end);

  const auto clamped = [durationMs](std::int64_t ms) {
    return std::clamp<std::int64_t>(ms, 0, durationMs);
  };
  std::optional<std::int64_t> from;
  if (start == Side::kBefore) from = 0;
  if (start == Side::kInside) from = clamped(marks.start->valueMs);
  std::optional<std::int64_t> to;
  if (end == Side::kAfter) to = durationMs;
  if (end == Side::kInside) to = clamped(marks.end->valueMs);
  if (from && to && *from < *to) {
    placed.tintFromMs = from;
    placed.tintToMs = to;
  }
  return placed;
}

MarkedStretch MomentStretch(const std::string& clip, std::int64_t ms, int reachSeconds) {
  const std::int64_t reach = std::int64_t{reachSeconds} * 1000;
  return {{clip, ms - reach}, {clip, ms + reach}};
}

}  // namespace korvane
