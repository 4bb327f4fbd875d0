// Action cameras' GPMF telemetry (GoPro, and drones that carry one) as a telemetry source: the
// clip's `gpmd` track read by its sample table through gpmf_file, never its video.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CGoProSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kGoProSource; }
  // Not present in a file that cannot be opened or has no `gpmd` track; present with no records
  // ("GoPro GPMF: no fix") when no reading has a position. The reason names the device read when
  // it is not the first (a drone's GPS under a camera without a fix) and counts what did not read.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
