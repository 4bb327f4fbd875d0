#include "ui/trip_cells.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "telemetry/source_registry.h"
#include "ui/time_text.h"

namespace korvane {
namespace {

// The camera's clock reads as written: its seconds are split into fields without a time zone.
bool CameraFields(std::int64_t cameraTime, tm& fields) {
  const auto seconds = static_cast<time_t>(cameraTime);
  return gmtime_r(&seconds, &fields) != nullptr;
}

std::string DateText(std::int64_t cameraTime) {
  tm f{};
  if (!CameraFields(cameraTime, f)) return "?";
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", f.tm_year + 1900, f.tm_mon + 1, f.tm_mday);
  return text;
}

std::string TimeText(std::int64_t cameraTime) {
  tm f{};
  if (!CameraFields(cameraTime, f)) return "?";
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.tm_hour, f.tm_min, f.tm_sec);
  return text;
}

}  // namespace

std::vector<std::string> TripCells(const TripRow& row) {
  char distance[32];
  std::snprintf(distance, sizeof distance, "%.1f km", row.distanceM / 1000.0);
  char average[32] = "\u2013";
  if (const double kmh = TripAverageKmh(row); kmh >= 0) {
    std::snprintf(average, sizeof average, "%.0f km/h", kmh);
  }
  char maximum[32];
  std::snprintf(maximum, sizeof maximum, "%.0f km/h", static_cast<double>(row.maxSpeedKmh));
  const auto seconds = static_cast<int>(std::min<std::int64_t>(TripDurationSeconds(row), 1 << 30));
  return {DateText(row.start),
          TimeText(row.start) + " \u2013 " + TimeText(row.end),
          std::to_string(row.clips.size()),
          distance,
          FormatClock(seconds),
          average,
          maximum};
}

std::vector<double> TripSortKeys(const TripRow& row) {
  const auto start = static_cast<double>(row.start);
  return {start,
          start,
          static_cast<double>(row.clips.size()),
          row.distanceM,
          static_cast<double>(TripDurationSeconds(row)),
          TripAverageKmh(row),
          static_cast<double>(row.maxSpeedKmh)};
}

std::string Captioned(std::string_view caption, std::string_view value) {
  const bool wide = caption.ends_with("\uFF1A");
  return std::string(caption) + (wide ? "" : " ") + std::string(value);
}

std::string TripSourcesTip(const TripRow& row, std::string_view caption) {
  std::string families;
  for (const FamilyCount& family : CountFamilies(row.sources)) {
    families += (families.empty() ? "" : "; ") + family.family;
  }
  return families.empty() ? std::string() : Captioned(caption, families);
}

}  // namespace korvane
