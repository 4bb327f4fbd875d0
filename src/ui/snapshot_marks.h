// Marks a snapshot the player wrote with the moment the GPS panel shows: the line stamped into its
// bottom edge when the user asked for it, then the EXIF date and GPS tags.
#pragma once
#include <string>

#include "platform/write_failure.h"
#include "settings/settings.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct SnapshotMarking {
  std::string failures;  // each failed step's reason; "" when every step worked
  WriteFailure failure = WriteFailure::Other;  // why the last failed step could not write
};

// Each step that fails leaves the file as the step before left it (at worst the plain PNG the
// player wrote) and adds its reason to the answer. The stamped speed is in `unit`.
SnapshotMarking MarkSnapshot(const std::string& path, const TelemetryRecord& record, bool stamp,
                             SpeedUnit unit);

}  // namespace korvane
