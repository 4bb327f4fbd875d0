// What a snapshot records of the moment the GPS panel shows: the EXIF date and GPS tags (as exiv2
// keys and values in exiv2's text form) and the one line stamped into the picture. Pure; the
// writing is snapshot_exif's.
#pragma once
#include <string>
#include <vector>

#include "settings/settings.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct ExifTag {
  std::string key;    // "Exif.GPSInfo.GPSLatitude"
  std::string value;  // "22/1 32/1 836/100"
  bool operator==(const ExifTag&) const = default;
};

// In tag order: date-time original (the camera's clock, which keeps local time, so no GPS
// date/time stamp is written), then the GPS version, latitude, longitude (hemisphere references
// from the signs, the angles in whole degrees, whole minutes and hundredths of a second), the speed
// in km/h to a tenth and the datum. A date or time out of range leaves the date-time out; a
// position that is not finite or outside ±90/±180 leaves every GPS tag out. An invalid record gives
// no tags.
std::vector<ExifTag> SnapshotExifTags(const TelemetryRecord& record);

// "2024-05-01 12:00:07  N 22°32'8.36"  E 113°56'7.50"  45.0 km/h": the GPS panel's values in
// one line, the speed in `unit`. Empty for an invalid record.
std::string SnapshotStampLine(const TelemetryRecord& record, SpeedUnit unit = SpeedUnit::Kmh);

}  // namespace korvane
