// Arbitrary bytes through the NMEA sentence decoder, line by line, and through the log reader
// that joins them into fixes: no crash, no overflow, and every fix the reader gives in time order
// with a media time that counts from the first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "telemetry/nmea_sentence.h"
#include "telemetry/nmea_track.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const NmeaSentence s = DecodeNmeaSentence(text.substr(start, end - start));
    if ((s.kind == NmeaKind::Rmc || s.kind == NmeaKind::Gga) &&
        (s.dayMs < 0 || s.dayMs > 86'401'000)) {
      std::abort();
    }
    start = end + 1;
  }
  const NmeaTrack track = ParseNmeaText(text, std::int64_t{1'700'000'000'000});
  for (std::size_t i = 0; i < track.fixes.size(); ++i) {
    const NmeaFix& f = track.fixes[i];
    if (f.mediaMs < 0 || f.milliseconds < 0 || f.milliseconds > 999) std::abort();
    if (i > 0 && f.mediaMs <= track.fixes[i - 1].mediaMs) std::abort();
  }
  return 0;
}
