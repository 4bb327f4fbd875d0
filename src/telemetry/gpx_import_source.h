// CGpxImportSource: a clip's telemetry taken from a GPX track imported for its folder, behind the
// one reading interface. The clip's range comes from its camera times when it has its own track
// (the user chose the import for it), else from its file (ClipTimeFactsOfFile); its records from
// the track at the feed's step, with their media time. The track is read once, on the first clip
// asked for.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "telemetry/gpx_track.h"
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CGpxImportSource final : public ITelemetrySource {
 public:
  // `cameraStartUtcMs`: the first camera time of the clip read, its zone applied; nullopt for a
  // clip without camera times. `clockOffsetSeconds`: the camera clock offset of the folder the
  // track was imported for.
  explicit CGpxImportSource(std::string gpxPath,
                            std::optional<std::int64_t> cameraStartUtcMs = std::nullopt,
                            int clockOffsetSeconds = 0)
      : gpxPath_(std::move(gpxPath)),
        cameraStartUtcMs_(cameraStartUtcMs),
        clockOffsetSeconds_(clockOffsetSeconds) {}

  std::string_view name() const override { return kGpxSource; }
  // `reason` holds the match's log line ("<clip>: times from the file name, 20 of 21 moments
  // with a position"), or why the track cannot be read.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::string gpxPath_;
  std::optional<std::int64_t> cameraStartUtcMs_;
  int clockOffsetSeconds_ = 0;
  std::optional<GpxTrack> track_;
  std::string trackError_;
  bool readTried_ = false;
};

}  // namespace korvane
