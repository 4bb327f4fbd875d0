#include "ui/trip_rows.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unordered_map>

#include "index/trips.h"
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

std::int64_t DurationSeconds(const TripRow& row) {
  return std::max<std::int64_t>(0, row.end - row.start);
}

// km/h along the trip; negative when it lasts no time.
double AverageKmh(const TripRow& row) {
  const std::int64_t seconds = DurationSeconds(row);
  return seconds > 0 ? row.distanceM / 1000.0 / (static_cast<double>(seconds) / 3600.0) : -1.0;
}

}  // namespace

TripList BuildTripList(std::span<const std::string> folderClips,
                       std::span<const ClipSummary> indexed, const ClockOffsets& offsets) {
  std::unordered_map<std::string_view, const ClipSummary*> byPath;
  for (const ClipSummary& summary : indexed) {
    if (summary.status != ClipStatus::Unknown) byPath.emplace(summary.path, &summary);
  }
  TripList list;
  std::vector<ClipSummary> known;
  for (const std::string& clip : folderClips) {
    const auto found = byPath.find(clip);
    if (found == byPath.end()) {
      ++list.notIndexed;
    } else if (found->second->status != ClipStatus::Indexed || found->second->pointCount <= 0) {
      ++list.withoutTelemetry;
    } else {
      known.push_back(*found->second);
    }
  }
  ApplyClockOffsets(known, offsets);
  const std::size_t withPoints = known.size();
  std::size_t grouped = 0;
  for (Trip& trip : GroupTrips(std::move(known))) {
    TripRow row;
    row.start = trip.firstCameraTime;
    row.end = trip.lastCameraTime;
    row.distanceM = trip.distanceM;
    for (const ClipSummary& clip : trip.clips) {
      row.clips.push_back(clip.path);
      row.maxSpeedKmh = std::max(row.maxSpeedKmh, clip.maxSpeedKmh);
    }
    grouped += trip.clips.size();
    list.trips.push_back(std::move(row));
  }
  // Points without a real camera date put a clip in no trip: it has telemetry of no use here.
  list.withoutTelemetry += static_cast<int>(withPoints - grouped);
  return list;
}

std::vector<std::string> TripCells(const TripRow& row) {
  char distance[32];
  std::snprintf(distance, sizeof distance, "%.1f km", row.distanceM / 1000.0);
  char average[32] = "\u2013";
  if (const double kmh = AverageKmh(row); kmh >= 0) {
    std::snprintf(average, sizeof average, "%.0f km/h", kmh);
  }
  char maximum[32];
  std::snprintf(maximum, sizeof maximum, "%.0f km/h", static_cast<double>(row.maxSpeedKmh));
  const auto seconds = static_cast<int>(std::min<std::int64_t>(DurationSeconds(row), 1 << 30));
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
          static_cast<double>(DurationSeconds(row)),
          AverageKmh(row),
          static_cast<double>(row.maxSpeedKmh)};
}

}  // namespace korvane
