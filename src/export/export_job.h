// One export from clips to a file: the clips' points (through CClipPoints), the tracks (a clip
// each, or a trip each), the writer of the format, and the file, which appears whole or not at
// all: it is written beside its final name and renamed into place at the end.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "export/camera_time_zone.h"
#include "export/clip_points.h"
#include "export/export_format.h"
#include "export/export_track.h"
#include "index/track_summary.h"
#include "platform/write_failure.h"
#include "telemetry/clock_offset.h"

namespace korvane {

// The export program's exit code when its output could not be written: this plus the cause
// (WriteFailure), so the window that ran it can say why in its own language.
inline constexpr int kExitExportNotWritten = 3;
// The cause an export program's exit code tells; nullopt for any other end.
std::optional<WriteFailure> WriteFailureOfExportExit(int exitCode);

struct ExportRequest {
  ExportFormat format = ExportFormat::Gpx;
  std::vector<std::string> clips;  // absolute paths
  bool byTrip = false;             // one track per trip of the clips, else one per clip
  std::string outputPath;
  CameraTimeZone zone;
  ClockOffsets clockOffsets;  // added to the camera's times before they are read in `zone`
};

struct ExportResult {
  std::string error;   // empty on success: one line saying why nothing was written
  int writeError = 0;  // the errno of a write of the output that failed; 0 for other failures
  ExportCounts counts;
  int tracks = 0;
  // What was left out and why, and how many clips each source family gave ("3 clips read from
  // NMEA log beside the clip"), one line each (with success too).
  std::vector<std::string> log;
};

// Never throws. Fails (and leaves no output file) when the output's folder cannot be written, no
// clip has a point to write, or a clip changes while it is read.
ExportResult RunExport(const ExportRequest& request, CClipPoints& source);

}  // namespace korvane
