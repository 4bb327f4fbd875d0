// The LIGOGPS family's GPS data (ligogps_trailer) as a telemetry source: the plaintext block after
// the clip's last box read by seeks, its lines on the camera's clock; the encrypted kinds named.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CLigoGpsSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kLigoGpsSource; }
  // Not present in a file that cannot be opened or carries no LIGOGPS mark; present with no
  // records for an encrypted kind ("LIGOGPS, encrypted: not read") or a block without a fix.
  // The reason counts the lines that did not read.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
