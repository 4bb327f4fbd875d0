#include "export/camera_time_zone.h"

#include <time.h>

#include <cstdio>

#include "platform/ascii_text.h"

namespace korvane {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<CameraTimeZone> ParseCameraTimeZone(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || EqualsIgnoringAsciiCase(text, kTimeZoneLocal)) return CameraTimeZone{};
  if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':') return std::nullopt;
  if (!IsDigit(text[1]) || !IsDigit(text[2]) || !IsDigit(text[4]) || !IsDigit(text[5])) {
    return std::nullopt;
  }
  const int hours = (text[1] - '0') * 10 + (text[2] - '0');
  const int minutes = (text[4] - '0') * 10 + (text[5] - '0');
  if (hours > 14 || minutes > 59) return std::nullopt;
  const int offset = hours * 60 + minutes;
  return CameraTimeZone{false, text[0] == '-' ? -offset : offset};
}

std::int64_t CameraTimeToUtc(std::int64_t cameraSeconds, const CameraTimeZone& zone) {
  if (!zone.local) return cameraSeconds - std::int64_t{zone.offsetMinutes} * 60;
  const time_t asUtc = static_cast<time_t>(cameraSeconds);
  tm fields{};
  if (gmtime_r(&asUtc, &fields) == nullptr) return cameraSeconds;
  fields.tm_isdst = -1;  // the system's rules decide whether summer time applied on that date
  const time_t utc = mktime(&fields);
  return utc == static_cast<time_t>(-1) ? cameraSeconds : static_cast<std::int64_t>(utc);
}

std::int64_t UtcToCameraTime(std::int64_t utcSeconds, const CameraTimeZone& zone) {
  if (!zone.local) return utcSeconds + std::int64_t{zone.offsetMinutes} * 60;
  const time_t utc = static_cast<time_t>(utcSeconds);
  tm fields{};
  if (localtime_r(&utc, &fields) == nullptr) return utcSeconds;
  return utcSeconds + fields.tm_gmtoff;
}

std::string UtcText(std::int64_t utcSeconds) {
  const time_t seconds = static_cast<time_t>(utcSeconds);
  tm f{};
  if (gmtime_r(&seconds, &f) == nullptr) return {};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", f.tm_year + 1900, f.tm_mon + 1,
                f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec);
  return text;
}

}  // namespace korvane
