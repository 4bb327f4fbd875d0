#include "telemetry/vueroid_track.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "telemetry/mp4_boxes.h"
#include "telemetry/record_fields.h"

namespace korvane {
namespace {

constexpr std::int64_t kFirstSecond = 946'684'800;   // 2000-01-01
constexpr std::int64_t kLastSecond = 4'102'444'800;  // 2100-01-01
constexpr float kMaxG = 16.0f;

float F32(const std::uint8_t* p) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLittleEndian(p, 4)));
}

// Degrees of DDmm.mmmm; NaN for a value that is none or whose minutes reach 60.
double DegreesOfDdmm(float ddmm, double maxDegrees) {
  if (!std::isfinite(ddmm) || ddmm < 0.0f) return NAN;
  const double degrees = std::floor(ddmm / 100.0);
  const double minutes = ddmm - degrees * 100.0;
  if (minutes >= 60.0) return NAN;
  const double value = degrees + minutes / 60.0;
  return value <= maxDegrees ? value : NAN;
}

}  // namespace

VueroidRecord DecodeVueroidRecord(std::span<const std::uint8_t> b) {
  VueroidRecord r;
  if (b.size() != kVueroidRecordBytes) return r;
  for (int axis = 0; axis < 3; ++axis) r.g[axis] = F32(&b[40 + 4 * axis]);
  // Beyond 16 g is no reading of a car's; it would also swamp the clip's mean.
  for (const float g : r.g) {
    if (!(std::fabs(g) <= kMaxG)) return r;
  }
  const auto seconds = static_cast<std::int64_t>(ReadLittleEndian(&b[68], 4));
  if (seconds != 0 && (seconds < kFirstSecond || seconds >= kLastSecond)) return r;
  r.hasTime = seconds != 0;
  r.cameraSeconds = seconds;
  if (b[52] == 0 || !r.hasTime) {
    r.kind = VueroidRecord::Kind::NoFix;
    return r;
  }
  const double latitude = DegreesOfDdmm(F32(&b[60]), 90.0);
  const double longitude = DegreesOfDdmm(F32(&b[64]), 180.0);
  const float speed = F32(&b[56]);
  if (std::isnan(latitude) || std::isnan(longitude) || !std::isfinite(speed) || speed < 0.0f) {
    return r;
  }
  r.kind = VueroidRecord::Kind::Fix;
  r.latitude = (b[53] & 1) != 0 ? -latitude : latitude;
  r.longitude = (b[53] & 2) != 0 ? -longitude : longitude;
  r.speedKmh = speed;
  r.altitudeM = static_cast<float>(static_cast<std::int16_t>(ReadLittleEndian(&b[54], 2)));
  return r;
}

void CVueroidTrackDecoder::AddSample(std::span<const std::uint8_t> sample, std::int64_t startMs) {
  const VueroidRecord record = DecodeVueroidRecord(sample);
  if (record.kind == VueroidRecord::Kind::Unreadable) {
    ++track_.skipped;
    return;
  }
  if (!record.hasTime) {
    ++track_.noFix;  // an empty record: a moment without a fix that cannot be placed
    return;
  }
  if (record.cameraSeconds != second_) {
    second_ = record.cameraSeconds;
    secondStartMs_ = startMs;
  }
  TelemetryRecord r;
  r.mediaTimeMs = static_cast<std::int32_t>(startMs);
  const std::int64_t ms = std::clamp<std::int64_t>(startMs - secondStartMs_, 0, 999);
  SetRecordTime(r, record.cameraSeconds * 1000 + ms);
  if (record.kind == VueroidRecord::Kind::Fix) {
    r.valid = true;
    SetRecordPosition(r, record.latitude, record.longitude);
    r.speedKmh = record.speedKmh;
    r.altitudeM = record.altitudeM;
    SetRecordG(r, record.g[0], record.g[1], record.g[2]);
    for (int axis = 0; axis < 3; ++axis) sum_[axis] += record.g[axis];
    ++track_.fixes;
  } else {
    ++track_.noFix;
  }
  track_.records.push_back(r);
}

VueroidTrack CVueroidTrackDecoder::Finish() {
  if (track_.fixes > 0) {
    track_.gValues = true;
    for (int axis = 0; axis < 3; ++axis) {
      track_.offsetG[axis] = static_cast<float>(sum_[axis] / track_.fixes);
    }
    for (TelemetryRecord& r : track_.records) {
      if (!r.valid) continue;
      SetRecordG(r, r.gX - track_.offsetG[0], r.gY - track_.offsetG[1], r.gZ - track_.offsetG[2]);
    }
  }
  return std::move(track_);
}

}  // namespace korvane
