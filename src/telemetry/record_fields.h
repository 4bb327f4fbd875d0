// Filling a record's fields the way the camera's line parser would, for sources that read a time
// and a position as numbers: the date fields, the milliseconds, and the signed degrees with their
// hemisphere and degree, minute and second parts, and accelerations read in g.
#pragma once
#include <cstdint>

#include "telemetry/telemetry_record.h"

namespace korvane {

// The date, time and millisecond fields of `timeMs`, ms since 1970-01-01 00:00 on whatever clock
// the source keeps (no zone is applied).
void SetRecordTime(TelemetryRecord& record, std::int64_t timeMs);

// Signed decimal degrees (north and east positive) and their parts.
void SetRecordPosition(TelemetryRecord& record, double latitude, double longitude);

// Accelerations in g, and the camera's raw readings of them for the chart, which draws raw units.
void SetRecordG(TelemetryRecord& record, float gX, float gY, float gZ);

}  // namespace korvane
