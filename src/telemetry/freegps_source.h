// The Novatek family's GPS blocks inside an MP4 or MOV clip (Viofo, 2E, SilverStone, Vantrue,
// 70mai), and their records in a TS clip's private stream, as a telemetry source: the file read
// through freegps_file, by seeks and never the video of an MP4, in one pass of a TS.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CFreeGpsSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kFreeGpsSource; }
  // Not present in a file that cannot be opened or holds no block; present with no records
  // ("Novatek GPS blocks: no fix") when no block has a position. A block without its own time
  // is dated by the clip (ClipTimeRangeOf). The reason counts the blocks that did not read.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
