#include "telemetry/seventymai_gps.h"

#include <algorithm>
#include <cmath>

#include "platform/ascii_text.h"
#include "telemetry/bounded_file.h"
#include "telemetry/clip_time_range.h"
#include "telemetry/log_fields.h"

namespace korvane {
namespace {

constexpr std::size_t kFields = 13;
constexpr std::int64_t kHour = 3600;

std::int64_t NameTime(std::string_view name) {
  return FileNameDateTime(name).value_or(0);
}

}  // namespace

CSeventyMaiDecoder::CSeventyMaiDecoder(std::string clipName)
    : clipName_(std::move(clipName)), clipNameTime_(NameTime(clipName_)) {}

void CSeventyMaiDecoder::Line(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  if (line.empty() || line.starts_with("$V")) return;
  std::string_view f[kFields];
  const std::size_t count = SplitLogFields(line, f);
  Entry read;
  double v[7] = {};  // latitude, longitude, speed, heading, three axes
  bool reads = count >= 10 && ReadLogInteger(f[0], read.unixTime) && read.unixTime >= 0 &&
               read.unixTime < (std::int64_t{1} << 40) && (f[1] == "A" || f[1] == "V");
  for (std::size_t i = 0; reads && i < 7; ++i) reads = ReadLogNumber(f[2 + i], v[i]);
  if (!reads || std::abs(v[0]) > 90.0 || std::abs(v[1]) > 180.0) {
    ++track_.badLines;
    return;
  }
  const std::string_view name = f[9];
  if (!name.empty()) {
    // A name runs for a clip's length of lines: its time is read and listed once per run.
    if (name != lastName_) {
      lastName_.assign(name);
      lastNameTime_ = NameTime(name);
      if (lastNameTime_ != 0 &&
          std::find(starts_.begin(), starts_.end(), lastNameTime_) == starts_.end()) {
        starts_.push_back(lastNameTime_);
      }
    }
    if (lastNameTime_ != 0) offsets_.push_back(read.unixTime - lastNameTime_);
    if (!EqualsIgnoringAsciiCase(name, clipName_)) return;
    read.ours = true;
  } else {
    ++track_.unnamed;
  }
  NmeaFix& fix = read.fix;
  fix.cameraTime = read.unixTime;
  fix.valid = f[1] == "A";
  if (fix.valid) {
    fix.latitude = v[0];
    fix.longitude = v[1];
    fix.speedKmh = static_cast<float>(std::max(v[2], 0.0));
    if (v[3] >= 0.0 && v[3] <= 360.0) fix.headingDeg = static_cast<float>(v[3]);
  }
  fix.hasG = true;
  fix.gX = static_cast<float>(v[4] / kSeventyMaiCountsPerG);
  fix.gY = static_cast<float>(v[5] / kSeventyMaiCountsPerG);
  fix.gZ = static_cast<float>(v[6] / kSeventyMaiCountsPerG);
  lines_.push_back(read);
}

SeventyMaiTrack CSeventyMaiDecoder::Finish() {
  if (!offsets_.empty()) {
    // The median difference, to whole hours: the camera writes a line some seconds after the
    // clip it names started.
    std::nth_element(offsets_.begin(), offsets_.begin() + offsets_.size() / 2, offsets_.end());
    const std::int64_t median = offsets_[offsets_.size() / 2];
    track_.offsetHours = static_cast<int>(std::llround(static_cast<double>(median) / kHour));
  }
  const std::int64_t offset = std::int64_t{track_.offsetHours} * kHour;
  if (clipNameTime_ != 0 &&
      std::find(starts_.begin(), starts_.end(), clipNameTime_) == starts_.end()) {
    starts_.push_back(clipNameTime_);
  }
  std::sort(starts_.begin(), starts_.end());
  // A line without a name is this clip's when this clip is the last to start before it.
  const auto ownedByClip = [&](std::int64_t unixTime) {
    if (clipNameTime_ == 0) return false;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), unixTime - offset);
    return after != starts_.begin() && *(after - 1) == clipNameTime_;
  };
  // Kept in place: a log's lines are most of its size, and they are mostly in time order already.
  std::vector<Entry>& kept = lines_;
  std::erase_if(kept, [&](const Entry& line) { return !line.ours && !ownedByClip(line.unixTime); });
  const auto earlier = [](const Entry& a, const Entry& b) { return a.unixTime < b.unixTime; };
  if (!std::is_sorted(kept.begin(), kept.end(), earlier)) {
    std::stable_sort(kept.begin(), kept.end(), earlier);
  }
  track_.fixes.reserve(kept.size());
  // Timed from the clip's first line: the names' clock is off UTC by more than whole hours (the
  // corpus log's camera by 23 s more), so the name does not say when in the clip a line is.
  const std::int64_t start = kept.empty() ? 0 : kept.front().unixTime;
  for (const Entry& line : kept) {
    const std::int64_t media = (line.unixTime - start) * 1000;
    if (media > INT32_MAX) break;
    if (!track_.fixes.empty() && track_.fixes.back().cameraTime == line.unixTime) continue;
    NmeaFix fix = line.fix;
    fix.mediaMs = static_cast<std::int32_t>(media);
    track_.fixes.push_back(fix);
  }
  return std::move(track_);
}

SeventyMaiTrack ParseSeventyMaiGps(std::string_view text, const std::string& clipName) {
  CSeventyMaiDecoder decoder(clipName);
  ForEachLine(text, [&](std::string_view line) { decoder.Line(line); });
  return decoder.Finish();
}

}  // namespace korvane
