#include "telemetry/nmea_track.h"

#include <algorithm>
#include <cmath>

#include "platform/path_parts.h"
#include "telemetry/blackvue_files.h"
#include "telemetry/bounded_file.h"

namespace korvane {

namespace {

constexpr std::int64_t kDayMs = 86'400'000;
constexpr double kKmhPerKnot = 1.852;
// A line longer than this is no sentence: the file reader drops it rather than grow without end.
constexpr std::size_t kMaxCarry = 480;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// A moment of the log while it is read: its fix and, once known, its date.
struct Moment {
  std::int64_t dayMs = 0;
  std::optional<std::int64_t> days;
  bool hasPosition = false;
  double gStrength = 0.0;
  NmeaFix fix;
};

class NmeaAssembler {
 public:
  void Add(const NmeaSentence& s) {
    switch (s.kind) {
      case NmeaKind::Bad:
        ++track_.badSentences;
        break;
      case NmeaKind::Rmc:
        ++known_;
        Rmc(s);
        break;
      case NmeaKind::Gga:
        ++known_;
        Gga(s);
        break;
      case NmeaKind::Accel:
        Accel(s);
        break;
      case NmeaKind::Blank:
      case NmeaKind::Other:
        break;
    }
  }
  int known() const { return known_; }
  NmeaTrack Finish(NmeaUndatedStart clipStartUtcMs, bool truncated);

 private:
  // The moment a fix of `dayMs` (on `days`, when it says) adds to: the last one when it is of that
  // time, else a new one.
  Moment& MomentAt(std::int64_t dayMs, std::optional<std::int64_t> days, bool fix, bool& opened) {
    opened = moments_.empty() || moments_.back().dayMs != dayMs ||
             (days && moments_.back().days && *moments_.back().days != *days);
    if (opened) {
      moments_.emplace_back().dayMs = dayMs;
      moments_.back().fix.valid = fix;
    } else {
      moments_.back().fix.valid = moments_.back().fix.valid && fix;
    }
    return moments_.back();
  }
  static void Place(Moment& m, const NmeaSentence& s) {
    if (!s.fix || m.hasPosition) return;
    m.hasPosition = true;
    m.fix.latitude = s.latitude;
    m.fix.longitude = s.longitude;
  }
  void Rmc(const NmeaSentence& s) {
    bool opened = false;
    Moment& m = MomentAt(s.dayMs, s.days, s.fix, opened);
    m.days = s.days;
    Place(m, s);
    if (std::isfinite(s.knots)) m.fix.speedKmh = static_cast<float>(s.knots * kKmhPerKnot);
    if (std::isfinite(s.courseDeg)) m.fix.headingDeg = static_cast<float>(s.courseDeg);
    if (!lastRmcDays_) {
      // The GGA moments before the first RMC have no date to take.
      track_.undated += static_cast<int>(
          std::erase_if(moments_, [](const Moment& before) { return !before.days; }));
    }
    lastRmcDays_ = s.days;
    lastRmcDayMs_ = s.dayMs;
  }
  void Gga(const NmeaSentence& s) {
    bool opened = false;
    Moment& m = MomentAt(s.dayMs, std::nullopt, s.fix, opened);
    if (opened && lastRmcDays_) {
      // Past midnight since that RMC: the next day.
      m.days = *lastRmcDays_ + (s.dayMs + kDayMs / 2 < lastRmcDayMs_ ? 1 : 0);
    }
    Place(m, s);
    if (std::isfinite(s.altitudeM)) m.fix.altitudeM = static_cast<float>(s.altitudeM);
  }
  void Accel(const NmeaSentence& s) {
    if (moments_.empty()) {
      ++track_.gWithoutFix;
      return;
    }
    Moment& m = moments_.back();
    const double strength = std::hypot(s.g[0], s.g[1], s.g[2]);
    if (m.fix.hasG && strength <= m.gStrength) return;
    m.fix.hasG = true;
    m.gStrength = strength;
    m.fix.gX = static_cast<float>(s.g[0]);
    m.fix.gY = static_cast<float>(s.g[1]);
    m.fix.gZ = static_cast<float>(s.g[2]);
  }
  // A log without RMC: its moments dated so that the first lies nearest the clip's start, a day
  // added each time the time of day goes back past midnight.
  void DateByClip(std::int64_t clipStartUtcMs) {
    if (moments_.empty()) return;
    std::int64_t days = FloorDiv(clipStartUtcMs - moments_.front().dayMs + kDayMs / 2, kDayMs);
    std::int64_t previous = moments_.front().dayMs;
    for (Moment& m : moments_) {
      if (m.dayMs + kDayMs / 2 < previous) ++days;
      previous = m.dayMs;
      m.days = days;
    }
  }

  std::vector<Moment> moments_;
  NmeaTrack track_;
  std::optional<std::int64_t> lastRmcDays_;
  std::int64_t lastRmcDayMs_ = 0;
  int known_ = 0;
};

NmeaTrack NmeaAssembler::Finish(NmeaUndatedStart clipStartUtcMs, bool truncated) {
  if (!lastRmcDays_ && clipStartUtcMs) DateByClip(*clipStartUtcMs);
  track_.undated +=
      static_cast<int>(std::erase_if(moments_, [](const Moment& m) { return !m.days; }));
  const auto at = [](const Moment& m) { return *m.days * kDayMs + m.dayMs; };
  std::stable_sort(moments_.begin(), moments_.end(),
                   [&](const Moment& a, const Moment& b) { return at(a) < at(b); });
  // A moment written twice (a clock that went back) is kept once, as first written.
  moments_.erase(std::unique(moments_.begin(), moments_.end(),
                             [&](const Moment& a, const Moment& b) { return at(a) == at(b); }),
                 moments_.end());
  track_.fixes.reserve(moments_.size());
  for (const Moment& m : moments_) {
    const std::int64_t utcMs = at(m);
    const std::int64_t media = utcMs - at(moments_.front());
    if (media > INT32_MAX) break;
    NmeaFix fix = m.fix;
    fix.mediaMs = static_cast<std::int32_t>(media);
    fix.cameraTime = FloorDiv(utcMs, 1000);
    fix.milliseconds = static_cast<std::int32_t>(utcMs - fix.cameraTime * 1000);
    track_.gValues = track_.gValues || fix.hasG;
    track_.fixes.push_back(fix);
  }
  track_.truncated = truncated;
  return std::move(track_);
}

// Feeds `reader` the complete lines of `text`; returns where the unfinished last line starts.
std::size_t FeedLines(NmeaAssembler& reader, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
    reader.Add(DecodeNmeaSentence(text.substr(start, end - start)));
  }
  return start;
}

}  // namespace

NmeaTrack ParseNmeaText(std::string_view text, NmeaUndatedStart clipStartUtcMs) {
  NmeaAssembler reader;
  const std::size_t rest = FeedLines(reader, text);
  if (rest < text.size()) reader.Add(DecodeNmeaSentence(text.substr(rest)));
  return reader.Finish(clipStartUtcMs, false);
}

std::optional<NmeaTrack> ReadNmeaFile(const std::string& path, NmeaUndatedStart clipStartUtcMs,
                                      std::size_t maxBytes) {
  NmeaAssembler reader;
  const BoundedRead read = ReadFileLines(path, maxBytes, kMaxCarry, [&](std::string_view line) {
    reader.Add(DecodeNmeaSentence(line));
  });
  if (!read.opened || reader.known() == 0) return std::nullopt;
  return reader.Finish(clipStartUtcMs, read.truncated);
}

std::optional<std::string> FindNmeaSidecar(const std::string& clipPath) {
  // A BlackVue clip's .gps is its camera's log, read with the rest of it (blackvue_source.h).
  if (!BlackVueLogStems(SplitPath(clipPath).stem).empty()) {
    return FindBesideFile(clipPath, {".nmea", ".NMEA", ".txt"});
  }
  return FindBesideFile(clipPath, {".nmea", ".NMEA", ".gps", ".txt"});
}

}  // namespace korvane
