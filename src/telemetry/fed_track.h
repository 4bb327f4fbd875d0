// CFedTrack: the whole track of a clip whose telemetry is not its own subtitle track (a GPS log
// beside it, or a GPX track imported for its folder), read at once when the clip starts, and the
// record shown at each moment the player reports. Owns its copy of the records, in media-time
// order. UI thread.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "telemetry/telemetry_record.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

// A record shows for at most this long after its moment: a longer silence of the log is a gap.
constexpr std::int32_t kFedRecordLifeMs = 2000;

class CFedTrack {
 public:
  // Reads the clip's track from `source`, replacing the one held. False, and nothing held, when
  // the source gives no valid record.
  bool Load(ITelemetrySource& source, const std::string& clipPath);
  // Holds `records` (any order) as the clip's track; false, and nothing held, when none is valid.
  bool Assign(std::vector<TelemetryRecord> records);
  void Clear() { records_.clear(); }

  // The record shown at `timeMs` of the clip: the last one at or before it, when it has a fix and
  // is at most kFedRecordLifeMs old. nullopt before the first record, in a stretch without a fix
  // and in a gap of the log.
  std::optional<TelemetryRecord> RecordAt(std::int64_t timeMs) const;
  // Every record read, those without a fix included, in media-time order.
  const std::vector<TelemetryRecord>& records() const { return records_; }

 private:
  std::vector<TelemetryRecord> records_;
};

}  // namespace korvane
