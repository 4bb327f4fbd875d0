#include "telemetry/clock_offset.h"

#include <cstdio>
#include <cstdlib>

#include "platform/field_line.h"
#include "platform/path_parts.h"

namespace korvane {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads `count` digits at the front of `text` and drops them; -1 when they are not there.
int TakeDigits(std::string_view& text, std::size_t count) {
  if (text.size() < count) return -1;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  text.remove_prefix(count);
  return value;
}

// "/card/DCIM" and "/card/DCIM/" are one folder.
std::string FolderKey(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  std::string key(folder);
  if (!key.empty() && key.back() != '/') key += '/';
  return key;
}

}  // namespace

std::optional<int> ParseClockOffset(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return 0;
  int sign = 1;
  if (text.front() == '+' || text.front() == '-') {
    sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
  }
  const std::size_t hourDigits = text.find(':');
  if (hourDigits != 1 && hourDigits != 2) return std::nullopt;
  const int hours = TakeDigits(text, hourDigits);
  text.remove_prefix(hours >= 0 ? 1 : 0);
  const int minutes = TakeDigits(text, 2);
  int seconds = 0;
  if (!text.empty()) {
    if (text.front() != ':') return std::nullopt;
    text.remove_prefix(1);
    seconds = TakeDigits(text, 2);
  }
  if (hours < 0 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 || !text.empty()) {
    return std::nullopt;
  }
  const int total = hours * 3600 + minutes * 60 + seconds;
  if (total > kMaxClockOffsetSeconds) return std::nullopt;
  return sign * total;
}

std::string ClockOffsetText(int seconds) {
  const int magnitude = std::abs(seconds);
  char text[24];
  std::snprintf(text, sizeof text, "%c%02d:%02d:%02d", seconds < 0 ? '-' : '+', magnitude / 3600,
                magnitude / 60 % 60, magnitude % 60);
  return text;
}

bool IsCameraClock(TelemetrySourceKind source) {
  // Without a source there are no times, and none to leave alone.
  return ClockOfSource(source) != SourceClock::Utc;
}

int ClockOffsets::OfFolder(std::string_view folder) const {
  const auto found = byFolder_.find(FolderKey(folder));
  return found == byFolder_.end() ? 0 : found->second;
}

int ClockOffsets::OfClip(std::string_view clipPath) const {
  return OfFolder(SplitPath(clipPath).folder);
}

void ClockOffsets::Set(std::string_view folder, int seconds) {
  if (seconds == 0 || std::abs(seconds) > kMaxClockOffsetSeconds) {
    byFolder_.erase(FolderKey(folder));
  } else {
    byFolder_.insert_or_assign(FolderKey(folder), seconds);
  }
}

std::string ClockOffsets::ToText() const {
  std::string text;
  for (const auto& [folder, seconds] : byFolder_) {
    text += JoinFields({ClockOffsetText(seconds), folder});
  }
  return text;
}

ClockOffsets ClockOffsets::FromText(std::string_view text) {
  ClockOffsets offsets;
  if (text.find('\0') != std::string_view::npos) return offsets;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const auto fields = SplitFields(line);
    if (!fields || fields->size() != 2 || (*fields)[1].empty()) continue;
    if (const std::optional<int> seconds = ParseClockOffset((*fields)[0])) {
      offsets.Set((*fields)[1], *seconds);
    }
  }
  return offsets;
}

}  // namespace korvane
