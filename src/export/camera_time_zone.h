// The zone of the camera's clock, from the TimeZone setting, and camera times turned into UTC.
// Camera times carry no zone: "local" takes the system's rules for each date (summer time
// included), an offset such as "+08:00" is applied as it stands.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

inline constexpr char kTimeZoneLocal[] = "local";

struct CameraTimeZone {
  bool local = true;
  int offsetMinutes = 0;  // east of UTC; with local false
  friend bool operator==(const CameraTimeZone&, const CameraTimeZone&) = default;
};

// "local" (any ASCII case; an empty value too) or ±HH:MM with HH up to 14 and MM below 60,
// blanks around it allowed. nullopt for anything else: the caller falls back to local and says so.
std::optional<CameraTimeZone> ParseCameraTimeZone(std::string_view text);

// UTC seconds since 1970 of a camera clock reading (seconds since 1970 on the camera's own
// clock, as the index keeps it). A local time that the system's rules skip (the hour lost to
// summer time) is taken as the system's mktime takes it.
std::int64_t CameraTimeToUtc(std::int64_t cameraSeconds, const CameraTimeZone& zone);

// The camera clock reading of a UTC moment (a receiver's fix time shown as the camera would have
// written it): the inverse of CameraTimeToUtc.
std::int64_t UtcToCameraTime(std::int64_t utcSeconds, const CameraTimeZone& zone);

// ISO 8601 UTC text of seconds since 1970: "2026-05-18T08:30:00Z". Locale-independent.
std::string UtcText(std::int64_t utcSeconds);

}  // namespace korvane
