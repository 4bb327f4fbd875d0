#include "telemetry/freegps_block.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>

#include "telemetry/civil_date.h"
#include "telemetry/nmea_sentence.h"

namespace korvane {
namespace {

constexpr double kKnotsToKmh = 1.852;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

float F32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::bit_cast<float>(U32(b, at));
}

bool IsNs(std::uint8_t c) {
  return c == 'N' || c == 'S';
}
bool IsEw(std::uint8_t c) {
  return c == 'E' || c == 'W';
}

// Status A with its two hemispheres, or V (whose hemispheres the cameras leave as zeros or "00").
bool StatusAt(std::span<const std::uint8_t> b, std::size_t at) {
  if (b[at] == 'A') return IsNs(b[at + 1]) && IsEw(b[at + 2]);
  return b[at] == 'V';
}

// Six little-endian int32 (hour, minute, second, year, month, day); the year counts from 2000
// unless the camera wrote it whole.
void ReadTime(std::span<const std::uint8_t> b, std::size_t at, FreeGpsFix& out) {
  std::uint32_t v[6];
  for (int i = 0; i < 6; ++i) v[i] = U32(b, at + 4 * static_cast<std::size_t>(i));
  if (v[3] > 9999) return;
  const CivilTime t{v[3] < 2000 ? v[3] + 2000 : v[3], v[4], v[5], v[0], v[1], v[2]};
  if (std::max({v[0], v[1], v[2], v[4], v[5]}) > 255 || !IsRealCivilTime(t)) return;
  out.hasTime = true;
  out.timeMs = SecondsFromCivil(t) * 1000;
}

// DDDmm.mmmm as the receiver gives it; NaN for a value that is not one.
double DegreesOfDdmm(float ddmm, double maxDegrees) {
  if (!std::isfinite(ddmm) || ddmm < 0) return FreeGpsFix::kUnknown;
  const double degrees = std::floor(ddmm / 100.0);
  const double minutes = ddmm - degrees * 100.0;
  if (minutes >= 60.0 || degrees > maxDegrees) return FreeGpsFix::kUnknown;
  const double value = degrees + minutes / 60.0;
  return value <= maxDegrees ? value : FreeGpsFix::kUnknown;
}

double Finite(float v) {
  return std::isfinite(v) ? static_cast<double>(v) : FreeGpsFix::kUnknown;
}

// The float record both Novatek layouts share: status, hemispheres, then DDmm latitude and
// longitude, knots and heading as floats.
void ReadFloatRecord(std::span<const std::uint8_t> b, std::size_t status, FreeGpsFix& out) {
  if (b[status] != 'A') return;
  const double lat = DegreesOfDdmm(F32(b, status + 4), 90.0);
  const double lon = DegreesOfDdmm(F32(b, status + 8), 180.0);
  if (std::isnan(lat) || std::isnan(lon)) return;
  out.fix = true;
  out.latitude = b[status + 1] == 'S' ? -lat : lat;
  out.longitude = b[status + 2] == 'W' ? -lon : lon;
  const double knots = Finite(F32(b, status + 12));
  if (knots >= 0) out.speedKmh = knots * kKnotsToKmh;
  const double heading = Finite(F32(b, status + 16));
  if (heading >= 0 && heading <= 360) out.headingDeg = heading;
}

// Viofo's accelerometer after the record: three int32 in 1/256 g; all zeros, or the int16 count
// 1..6 the camera writes without a sensor, mean none.
void ReadViofoG(std::span<const std::uint8_t> b, FreeGpsFix& out) {
  constexpr std::size_t kAt = 60;
  if (b.size() < kAt + 12) return;
  static constexpr std::uint8_t kNoSensor[12] = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
  static constexpr std::uint8_t kZeros[12] = {};
  if (std::memcmp(&b[kAt], kNoSensor, 12) == 0 || std::memcmp(&b[kAt], kZeros, 12) == 0) return;
  out.hasG = true;
  for (int i = 0; i < 3; ++i) {
    const auto raw = static_cast<std::int32_t>(U32(b, kAt + 4 * static_cast<std::size_t>(i)));
    out.g[i] = static_cast<float>(raw / 256.0);
  }
}

// The first "$xxRMC," sentence of the block, up to its line end or the padding.
bool ReadRmcSentence(std::span<const std::uint8_t> b, FreeGpsFix& out) {
  const std::string_view text(reinterpret_cast<const char*>(b.data()), b.size());
  for (std::size_t at = text.find('$'); at != std::string_view::npos; at = text.find('$', at + 1)) {
    if (at + 7 > text.size() || text.substr(at + 3, 4) != "RMC,") continue;
    const std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3), at);
    const NmeaSentence s = DecodeNmeaSentence(text.substr(at, end - at));
    out.layout = FreeGpsLayout::VantrueNmea;
    if (s.kind != NmeaKind::Rmc) return true;
    out.hasTime = true;
    out.timeMs = s.days * 86'400'000 + s.dayMs;
    if (!s.fix) return true;
    out.fix = true;
    out.latitude = s.latitude;
    out.longitude = s.longitude;
    if (s.knots >= 0) out.speedKmh = s.knots * kKnotsToKmh;
    if (s.courseDeg >= 0 && s.courseDeg <= 360) out.headingDeg = s.courseDeg;
    return true;
  }
  return false;
}

void ReadInt32Degrees(std::span<const std::uint8_t> b, FreeGpsFix& out) {
  constexpr std::size_t kStatus = 30;
  out.layout = FreeGpsLayout::Int32Degrees;
  if (b[kStatus] != 'A') return;
  const double lat = static_cast<std::int32_t>(U32(b, kStatus + 1)) * 1e-7;
  const double lon = static_cast<std::int32_t>(U32(b, kStatus + 5)) * 1e-7;
  if (std::fabs(lat) > 90.0 || std::fabs(lon) > 180.0) return;
  out.fix = true;
  out.latitude = lat;
  out.longitude = lon;
}

}  // namespace

FreeGpsFix DecodeFreeGpsBlock(std::span<const std::uint8_t> block) {
  FreeGpsFix out;
  constexpr std::size_t kNovatekSize = 92, kMini2Size = 60, kInt32Size = 39;
  if (block.size() < 4 + kFreeGpsMark.size() ||
      std::memcmp(&block[4], kFreeGpsMark.data(), kFreeGpsMark.size()) != 0) {
    return out;
  }
  const auto b = block.first(std::min(block.size(), kFreeGpsDecodedBytes));
  if (b.size() >= kNovatekSize && StatusAt(b, 72)) {
    out.layout = FreeGpsLayout::Novatek;
    ReadTime(b, 48, out);
    ReadFloatRecord(b, 72, out);
  } else if (b.size() >= kMini2Size && b[37] == 0 && b[38] == 0 && b[39] == 0 && StatusAt(b, 40)) {
    out.layout = FreeGpsLayout::ViofoMini2;
    ReadTime(b, 16, out);
    ReadFloatRecord(b, 40, out);
    if (out.fix) ReadViofoG(b, out);
  } else if (ReadRmcSentence(b, out)) {
  } else if (b.size() >= kInt32Size && (b[30] == 'A' || b[30] == 'V')) {
    ReadInt32Degrees(b, out);
  }
  return out;
}

}  // namespace korvane
