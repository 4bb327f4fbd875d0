#include "ui/snapshot_marks.h"

#include <cerrno>

#include "framework/image_stamp.h"
#include "telemetry/snapshot_exif.h"
#include "telemetry/snapshot_tags.h"

namespace korvane {

SnapshotMarking MarkSnapshot(const std::string& path, const TelemetryRecord& record, bool stamp,
                             SpeedUnit unit) {
  SnapshotMarking marking;
  std::string& failures = marking.failures;
  // Stamped first: drawing writes a new PNG, which would drop tags written before it.
  if (stamp && !DuiLib::StampBottomLine(path, SnapshotStampLine(record, unit))) {
    failures = "the line could not be stamped into the picture";
  }
  errno = 0;
  const std::string exif = WriteExifTags(path, SnapshotExifTags(record));
  if (!exif.empty()) {
    marking.failure = WriteFailureOf(errno);
    failures += (failures.empty() ? "EXIF not written: " : "; EXIF not written: ") + exif;
  }
  return marking;
}

}  // namespace korvane
