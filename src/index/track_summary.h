// Turning parsed telemetry into what the index stores for a clip: the point of a record, the
// camera's clock in seconds, and the clip's summary figures. Pure arithmetic, no I/O.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "index/index_point.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

// The camera's date and time as seconds since 1970-01-01 00:00 on the same clock (no time zone is
// applied). Fields out of range (month 13, day 0) are carried arithmetically, never rejected.
std::int64_t CameraSeconds(const TelemetryRecord& record);

// True when the record's date and time name a real moment: year 1..9999, month 1..12, a day the
// month has, hour 0..23, minute and second 0..59. The parser checks none of these.
bool IsRealCameraDate(const TelemetryRecord& record);

// The point of a parsed record at `mediaMs` in the clip, from a source that keeps `clock`: its
// time (with the record's milliseconds) is kNoTime when the record's date is not a real one
// (IsRealCameraDate); raw G readings are turned into g as the chart turns them, unless the record
// holds g already. The record's validity is the caller's question.
IndexPoint ToIndexPoint(const TelemetryRecord& record, std::int32_t mediaMs,
                        SourceClock clock = SourceClock::Camera);
// The record a clip fed from the index shows for one of its points: the parser's fields, the g
// values, and raw readings in the chart's units.
TelemetryRecord RecordOfPoint(const IndexPoint& point);

// Great-circle distance in metres between two WGS-84 positions (haversine, mean earth radius).
double HaversineMetres(double lat1, double lon1, double lat2, double lon2);

// Fills pointCount, distanceM, maxSpeedKmh and the first/last camera times of `summary` from the
// clip's valid points, in track order; the camera times come from the first and last points that
// have one. No points (or none with a camera time): those figures are 0.
void SummarizeTrack(std::span<const IndexPoint> points, ClipSummary& summary);

// A clip's summary and points from a track recorded by another device.
struct ImportedTrack {
  ClipSummary summary;
  std::vector<IndexPoint> points;  // valid ones, in track order
};
// The track of a clip that plays from a track recorded by another device: `row` (the index's, for
// the file's facts) with the points of the track's valid `records` and their figures
// (SummarizeTrack), each record's time moved by `shiftSeconds` onto the clip's clock; Indexed from
// that source, with its traits (no G values). A clip with no valid record keeps `row` as it is, and
// no points.
ImportedTrack SummarizeImportedRecords(ClipSummary row, std::span<const TelemetryRecord> records,
                                       std::int64_t shiftSeconds);

}  // namespace korvane
