#include "ui/snapshot_marks.h"

#include "framework/image_stamp.h"
#include "telemetry/snapshot_exif.h"
#include "telemetry/snapshot_tags.h"

namespace korvane {

std::string MarkSnapshot(const std::string& path, const TelemetryRecord& record, bool stamp,
                         SpeedUnit unit) {
  std::string failures;
  // Stamped first: drawing writes a new PNG, which would drop tags written before it.
  if (stamp && !DuiLib::StampBottomLine(path, SnapshotStampLine(record, unit))) {
    failures = "the line could not be stamped into the picture";
  }
  const std::string exif = WriteExifTags(path, SnapshotExifTags(record));
  if (!exif.empty())
    failures += (failures.empty() ? "EXIF not written: " : "; EXIF not written: ") + exif;
  return failures;
}

}  // namespace korvane
