#include "telemetry/sigmastar_ssmd.h"

#include <bit>
#include <cmath>
#include <cstdlib>

#include "telemetry/mp4_boxes.h"
#include "telemetry/record_fields.h"

namespace korvane {
namespace {

constexpr double kNoFixMark = 4294967295.0;

double F64(const std::uint8_t* p) {
  return std::bit_cast<double>(ReadLittleEndian(p, 8));
}

CivilDate AddMonths(std::int64_t year, unsigned month, int by) {
  const std::int64_t index = year * 12 + (month - 1) + by;
  return {index / 12, static_cast<unsigned>(index % 12) + 1, 1};
}

}  // namespace

SsmdRecord DecodeSsmdRecord(std::span<const std::uint8_t> b) {
  SsmdRecord r;
  if (b.size() != kSsmdRecordBytes) return r;
  r.day = b[24];
  r.hour = b[25];
  r.minute = b[26];
  r.second = b[27];
  if (r.day < 1 || r.day > 31 || r.hour > 23 || r.minute > 59 || r.second > 59) return r;
  const double latitude = F64(&b[0]);
  const double longitude = F64(&b[8]);
  if (latitude == kNoFixMark || longitude == kNoFixMark || b[29] == 0) {
    r.kind = SsmdRecord::Kind::NoFix;
    return r;
  }
  if (!(std::fabs(latitude) <= 90.0) || !(std::fabs(longitude) <= 180.0)) return r;
  r.kind = SsmdRecord::Kind::Fix;
  r.latitude = latitude;
  r.longitude = longitude;
  r.altitudeM = static_cast<float>(static_cast<std::int32_t>(ReadLittleEndian(&b[16], 4)));
  r.speedKmh = static_cast<float>(ReadLittleEndian(&b[20], 2));
  r.headingDeg = b[28] == 0xff ? NAN : static_cast<float>(b[28]) * 2.0f;
  return r;
}

bool CSsmdTrackDecoder::Date(const SsmdRecord& record, CivilTime& time) {
  if (!anchored_) {
    // Of the month before, the clip's and the one after, the one that has the day and puts it
    // nearest to the clip's date.
    const std::int64_t clipDay = DaysFromCivil(clipDate_.year, clipDate_.month, clipDate_.day);
    std::int64_t best = -1;
    for (const int by : {0, -1, 1}) {
      const CivilDate month = AddMonths(clipDate_.year, clipDate_.month, by);
      if (!IsRealCivilTime({month.year, month.month, record.day, 0, 0, 0})) continue;
      const std::int64_t distance =
          std::llabs(DaysFromCivil(month.year, month.month, record.day) - clipDay);
      if (best >= 0 && distance >= best) continue;
      best = distance;
      anchorYear_ = month.year;
      anchorMonth_ = month.month;
    }
    if (best < 0) return false;
    anchored_ = true;
    firstDay_ = record.day;
  }
  // One day less is the camera's clock beside UTC around midnight, not a month gone by.
  const CivilDate month = AddMonths(anchorYear_, anchorMonth_, record.day + 1 < firstDay_ ? 1 : 0);
  time = {month.year, month.month, record.day, record.hour, record.minute, record.second};
  return IsRealCivilTime(time);
}

void CSsmdTrackDecoder::AddSample(std::span<const std::uint8_t> sample, std::int64_t startMs,
                                  std::int64_t durationMs) {
  const std::size_t count = (sample.size() + kSsmdRecordBytes - 1) / kSsmdRecordBytes;
  if (sample.size() % kSsmdRecordBytes != 0) {
    track_.skipped += static_cast<int>(count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const SsmdRecord record =
        DecodeSsmdRecord(sample.subspan(i * kSsmdRecordBytes, kSsmdRecordBytes));
    CivilTime time{};
    if (record.kind == SsmdRecord::Kind::Unreadable || !Date(record, time)) {
      ++track_.skipped;
      continue;
    }
    TelemetryRecord r;
    r.mediaTimeMs = static_cast<std::int32_t>(startMs + durationMs * static_cast<std::int64_t>(i) /
                                                            static_cast<std::int64_t>(count));
    SetRecordTime(r, SecondsFromCivil(time) * 1000);
    if (record.kind == SsmdRecord::Kind::Fix) {
      r.valid = true;
      SetRecordPosition(r, record.latitude, record.longitude);
      r.speedKmh = record.speedKmh;
      r.altitudeM = record.altitudeM;
      r.headingDeg = record.headingDeg;
      ++track_.fixes;
    } else {
      ++track_.noFix;
    }
    track_.records.push_back(r);
  }
}

}  // namespace korvane
