// One Novatek-family "freeGPS " block decoded: the bytes of a block (starting at its 4-byte size
// field, right before the "freeGPS " mark) to the fix it holds. Pure: no I/O, no state between
// blocks; the file walker (freegps_file.h) finds the blocks and times them.
#pragma once
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace korvane {

// The mark after a block's size field.
inline constexpr std::string_view kFreeGpsMark = "freeGPS ";

// The layouts the cameras write after the mark.
enum class FreeGpsLayout {
  Unknown,      // not a block, too short, or a layout not read here
  Novatek,      // time at 48 as six int32 (h, m, s, year-2000, month, day), A|V N|S E|W at 72
  ViofoMini2,   // the same record with its time at 16 and status at 40 ("V00" before the fix)
  VantrueNmea,  // a $GxRMC sentence inside the block
  Int32Degrees  // status at 30, int32 degrees * 1e7, no time of its own (70mai)
};

struct FreeGpsFix {
  static constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
  FreeGpsLayout layout = FreeGpsLayout::Unknown;
  bool fix = false;         // status A with a position that reads
  bool hasTime = false;     // the block carries a real date and time
  std::int64_t timeMs = 0;  // that moment, ms since 1970 on the camera's clock
  double latitude = 0.0;    // north positive; read only with `fix`
  double longitude = 0.0;   // east positive
  double speedKmh = kUnknown;
  double headingDeg = kUnknown;
  bool hasG = false;  // the block carries accelerometer readings
  float g[3] = {0.0f, 0.0f, 0.0f};
};

// The block's fix. Unknown layout for anything that is not a block of a known layout; a block of
// a known layout whose date is impossible has no time, and one whose status is V or whose
// position does not read (NaN, infinite, out of range, a bad NMEA checksum) has no fix.
FreeGpsFix DecodeFreeGpsBlock(std::span<const std::uint8_t> block);

// Bytes of a block the decoder looks at: a reader need not fetch more of a block than this.
inline constexpr std::size_t kFreeGpsDecodedBytes = 1024;

}  // namespace korvane
