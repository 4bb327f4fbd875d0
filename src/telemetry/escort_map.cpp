#include "telemetry/escort_map.h"

#include <cmath>

#include "telemetry/bounded_file.h"
#include "telemetry/log_fields.h"
#include "telemetry/nmea_sentence.h"

namespace korvane {
namespace {

constexpr std::int64_t kDayMs = 86'400'000;
constexpr std::size_t kFields = 11;

}  // namespace

void CEscortMapDecoder::Line(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == ';')) {
    line.remove_suffix(1);
  }
  if (line.empty()) return;
  std::string_view f[kFields];
  const std::size_t count = SplitLogFields(line, f);
  double speed = 0.0;
  double g[3] = {0.0, 0.0, 0.0};
  bool reads = count == kFields && line.find('$') == std::string_view::npos &&
               line.find('*') == std::string_view::npos && ReadLogNumber(f[7], speed);
  for (std::size_t axis = 0; reads && axis < 3; ++axis) reads = ReadLogNumber(f[8 + axis], g[axis]);
  // The status, time, position and date are an RMC sentence's fields in another order, and are
  // read by its decoder, as long as the sentence of them ("$GPRMC,...*HH") would be a sentence.
  NmeaSentence rmc{NmeaKind::Bad};
  if (reads) {
    const std::string_view rmcFields[] = {f[2], f[0], f[3], f[4], f[5], f[6], {}, {}, f[1]};
    std::size_t length = std::string_view("$GPRMC*HH").size();
    for (const std::string_view field : rmcFields) length += 1 + field.size();
    if (length <= kMaxNmeaSentence) rmc = DecodeRmcFields(rmcFields);
  }
  if (rmc.kind != NmeaKind::Rmc) {
    ++track_.badLines;
    return;
  }
  const std::int64_t utcMs = rmc.days * kDayMs + rmc.dayMs;
  if (track_.fixes.empty()) firstMs_ = utcMs;
  if (!track_.fixes.empty() && (utcMs <= lastMs_ || utcMs - firstMs_ > INT32_MAX)) {
    ++track_.backwards;
    return;
  }
  lastMs_ = utcMs;
  NmeaFix& fix = track_.fixes.emplace_back();
  fix.mediaMs = static_cast<std::int32_t>(utcMs - firstMs_);
  fix.cameraTime = utcMs / 1000;
  fix.milliseconds = static_cast<std::int32_t>(utcMs % 1000);
  fix.valid = rmc.fix;
  if (!fix.valid) return;
  fix.latitude = rmc.latitude;
  fix.longitude = rmc.longitude;
  fix.speedKmh = static_cast<float>(std::max(speed, 0.0));
  fix.hasG = true;
  fix.gX = static_cast<float>(g[0]);
  fix.gY = static_cast<float>(g[1]);
  fix.gZ = static_cast<float>(g[2]);
}

EscortMapTrack ParseEscortMapText(std::string_view text) {
  CEscortMapDecoder decoder;
  ForEachLine(text, [&](std::string_view line) { decoder.Line(line); });
  return decoder.Finish();
}

}  // namespace korvane
