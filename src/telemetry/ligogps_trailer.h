// The LIGOGPS family's GPS data (Beferich J18 and its rebrands): the plaintext block a camera
// appends after the last box of its MP4, one line a second on the camera's clock, decoded to
// records; and the encrypted kinds (a block marked inside an `ssmd` track, or in an MPEG-TS
// stream), which are recognised and named, not read. Pure over a read-at function: the walk
// reads box headers, the block's ends and each line's slot, never the video.
#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "telemetry/mp4_boxes.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct LigoGpsLine {
  static constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
  std::int64_t timeMs = 0;  // ms since 1970 on the camera's clock
  bool fix = false;         // a position other than 0/0
  double latitude = 0.0;    // north positive
  double longitude = 0.0;   // east positive
  double speedKmh = kUnknown;
  double altitudeM = kUnknown;
  double headingDeg = kUnknown;
  float g[3] = {0.0f, 0.0f, 0.0f};  // x:, y:, z: (0 where the line has none)
};

// "YYYY/MM/DD HH:MM:SS N:dd.dddddd W:ddd.dddddd 19.0 km/h x:0.00 y:0.00 z:0.00 A:212.0 H:173.0
// M:0.0": date, time, the two signed positions (N|S, E|W), the speed, then tagged fields in any
// order (A altitude, H heading; unknown tags passed). nullopt for an impossible date or time,
// a position out of range, or a line of another form.
std::optional<LigoGpsLine> DecodeLigoGpsLine(std::string_view line);

// Where the data was found.
enum class LigoGpsKind {
  None,       // no LIGOGPS mark
  Plain,      // the plaintext block after the last box
  Encrypted,  // only an encrypted block: in the trailer, an `ssmd` track or an MPEG-TS stream
};

// A block's bytes are bounded: a day at one line a second, and each line read up to its bound.
inline constexpr std::uint64_t kMaxLigoGpsBlockBytes = 64ull << 20;
inline constexpr std::size_t kMaxLigoGpsLine = 256;

struct LigoGpsTrack {
  LigoGpsKind kind = LigoGpsKind::None;
  std::vector<TelemetryRecord> records;  // line i at media time i s; those that decode
  int lines = 0;                         // slots in the block
  int fixes = 0;                         // records with a position
  int skipped = 0;                       // slots whose line does not read, or is too long
  bool gValues = false;                  // some line has a non-zero accelerometer reading
  std::string problem;                   // what was wrong with the boxes or the block
};

// The file's LIGOGPS data. The plaintext block is the last of the blocks chained back from the
// file's end (each ends with a 4-byte mark and its own size) that lies after the last `moov` or
// `mdat`; a size that points outside that, past kMaxLigoGpsBlockBytes or at no marked block
// ends the chain (a trailer of zeros is refused by its last 8 bytes).
LigoGpsTrack ReadLigoGpsFile(std::uint64_t fileSize, const ReadAtFn& readAt);

// True when `bytes` (a sample's head, a stream's) hold the family's mark, so a reader of the
// track it is in can leave it to this one.
bool HasLigoGpsMark(std::span<const std::uint8_t> bytes);

}  // namespace korvane
