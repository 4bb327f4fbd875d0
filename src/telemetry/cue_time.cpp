#include "telemetry/cue_time.h"

#include <limits>

namespace korvane {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads `count` digits (exactly) at `at`, advancing it; false when they are not all there.
bool ReadDigits(std::string_view text, std::size_t& at, std::size_t count, std::int64_t& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsDigit(text[at + i])) return false;
    value = value * 10 + (text[at + i] - '0');
  }
  at += count;
  return true;
}

}  // namespace

std::int32_t CueStartMs(std::string_view cue) {
  const std::size_t arrow = cue.find("-->");
  if (arrow == std::string_view::npos) return -1;
  // The time ends where the blanks before the arrow begin and starts after the line break before
  // it (or at the start of the text).
  std::size_t end = arrow;
  while (end > 0 && (cue[end - 1] == ' ' || cue[end - 1] == '\t')) --end;
  const std::size_t lineBreak = cue.find_last_of("\r\n", end == 0 ? 0 : end - 1);
  std::size_t at = lineBreak == std::string_view::npos || lineBreak >= end ? 0 : lineBreak + 1;
  while (at < end && (cue[at] == ' ' || cue[at] == '\t')) ++at;
  const std::string_view time = cue.substr(at, end - at);

  std::size_t pos = 0;
  std::int64_t hours = 0;
  std::size_t hourDigits = 0;
  while (pos < time.size() && IsDigit(time[pos])) {
    if (++hourDigits > 6) return -1;
    hours = hours * 10 + (time[pos++] - '0');
  }
  std::int64_t minutes = 0, seconds = 0, millis = 0;
  if (hourDigits == 0 || pos >= time.size() || time[pos++] != ':') return -1;
  if (!ReadDigits(time, pos, 2, minutes) || pos >= time.size() || time[pos++] != ':') return -1;
  if (!ReadDigits(time, pos, 2, seconds) || pos >= time.size()) return -1;
  if (time[pos] != ',' && time[pos] != '.') return -1;
  ++pos;
  if (!ReadDigits(time, pos, 3, millis) || pos != time.size()) return -1;
  if (minutes >= 60 || seconds >= 60) return -1;
  const std::int64_t total = ((hours * 60 + minutes) * 60 + seconds) * 1000 + millis;
  if (total > std::numeric_limits<std::int32_t>::max()) return -1;
  return static_cast<std::int32_t>(total);
}

}  // namespace korvane
