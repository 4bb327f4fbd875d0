// Arbitrary bytes as telemetry lines: both parse forms on one long-lived parser (its record is
// never cleared, so earlier inputs shape later ones) and the track builder over raw line slots.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "../tests/telemetry/fake_pipeline.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/track_store.h"

namespace {

using namespace korvane;

// A parsed record must never carry a non-finite number: the map and the chart take them as they
// are.
void CheckRecord(const TelemetryRecord& r) {
  if (!std::isfinite(r.longitude) || !std::isfinite(r.latitude) || !std::isfinite(r.speedKmh)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CTelemetryParser parser;
  const std::string line(reinterpret_cast<const char*>(data), size);
  if (parser.ParseFull(line.c_str())) CheckRecord(parser.record());
  if (parser.ParseLive(line.c_str())) CheckRecord(parser.record());

  static CTrackStore store;
  test::FakePipeline pipeline;
  pipeline.SetRawSlots(data, size);
  if (store.chunkCount() > 64) store.Reset();
  const std::int32_t batch = store.currentChunk();
  ProcessBatch(batch, pipeline, store, static_cast<std::uint8_t>(size % 4), "China");
  for (std::int32_t c = 0; c < store.readyChunks(); ++c) {
    const TrackChunk* chunk = store.chunk(c);
    for (std::int32_t i = 0; i < chunk->count; ++i) {
      if (chunk->points[i].valid) CheckRecord(chunk->points[i]);
    }
  }
  return 0;
}
