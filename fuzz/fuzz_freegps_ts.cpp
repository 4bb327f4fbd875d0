// Arbitrary bytes as a transport stream through the TS demuxer and the freeGPS record reader:
// each 188-byte packet's first byte is made the sync byte (but where the input puts 0xff there,
// so a lost sync is reached too). No crash, no hang, records in media-time order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "telemetry/freegps_file.h"
#include "telemetry/mpeg_ts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  std::vector<std::uint8_t> ts(data, data + size);
  for (std::size_t at = 0; at < ts.size(); at += kTsPacketSize) {
    if (ts[at] != 0xff) ts[at] = 0x47;
  }
  const FreeGpsTrack track = ReadFreeGpsTs(ts.size(), MemoryReadAt(ts), 1'700'000'000'000);
  if (track.fixes > static_cast<int>(track.records.size())) std::abort();
  for (std::size_t i = 1; i < track.records.size(); ++i) {
    if (track.records[i].mediaTimeMs <= track.records[i - 1].mediaTimeMs) std::abort();
  }
  return 0;
}
