#include "telemetry/dji_srt.h"

#include <charconv>
#include <cmath>

#include "telemetry/bounded_file.h"
#include "telemetry/civil_date.h"

namespace korvane {
namespace {

constexpr std::int64_t kCueSecondMs = 1000;

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// The digits at `at` (at most `most`, at least `least`) as a number; `at` moves past them.
std::optional<unsigned> Number(std::string_view text, std::size_t& at, std::size_t least,
                               std::size_t most) {
  unsigned value = 0;
  std::size_t n = 0;
  while (at < text.size() && n < most && IsDigit(text[at])) {
    value = value * 10 + static_cast<unsigned>(text[at++] - '0');
    ++n;
  }
  if (n < least) return std::nullopt;
  return value;
}

bool Skip(std::string_view text, std::size_t& at, char ch) {
  if (at >= text.size() || text[at] != ch) return false;
  ++at;
  return true;
}

// A fraction of a second after "HH:MM:SS" ("." or "," then digits), in ms; 0 without one.
std::int64_t FractionMs(std::string_view text, std::size_t at) {
  if (at >= text.size() || (text[at] != '.' && text[at] != ',')) return 0;
  ++at;
  std::int64_t ms = 0;
  std::int64_t scale = 100;
  for (; at < text.size() && IsDigit(text[at]) && scale > 0; ++at, scale /= 10) {
    ms += (text[at] - '0') * scale;
  }
  return ms;
}

// "HH:MM:SS,mmm" at the line's start, as in "00:00:01,000 --> 00:00:02,000".
std::optional<std::int64_t> CueStartMs(std::string_view line) {
  std::size_t at = 0;
  const auto h = Number(line, at, 1, 3);
  if (!h || !Skip(line, at, ':')) return std::nullopt;
  const auto m = Number(line, at, 2, 2);
  if (!m || !Skip(line, at, ':')) return std::nullopt;
  const auto s = Number(line, at, 2, 2);
  if (!s || *m > 59 || *s > 59) return std::nullopt;
  return (std::int64_t{*h} * 3600 + *m * 60 + *s) * 1000 + FractionMs(line, at);
}

// A date and time "YYYY-MM-DD HH:MM:SS[.mmm]", with "-" or "." between the date's parts, whose
// month and day may have one digit ("2017.8.5 14:11:51").
std::optional<std::int64_t> DateTimeAt(std::string_view line, std::size_t at) {
  const auto year = Number(line, at, 4, 4);
  if (!year || at >= line.size() || (line[at] != '-' && line[at] != '.')) return std::nullopt;
  const char separator = line[at++];
  const auto month = Number(line, at, 1, 2);
  if (!month || !Skip(line, at, separator)) return std::nullopt;
  const auto day = Number(line, at, 1, 2);
  if (!day || !Skip(line, at, ' ')) return std::nullopt;
  const auto hour = Number(line, at, 1, 2);
  if (!hour || !Skip(line, at, ':')) return std::nullopt;
  const auto minute = Number(line, at, 2, 2);
  if (!minute || !Skip(line, at, ':')) return std::nullopt;
  const auto second = Number(line, at, 2, 2);
  if (!second) return std::nullopt;
  const CivilTime t{*year, *month, *day, *hour, *minute, *second};
  if (!IsRealCivilTime(t)) return std::nullopt;
  return SecondsFromCivil(t) * 1000 + FractionMs(line, at);
}

std::optional<std::int64_t> FindDateTime(std::string_view line) {
  for (std::size_t at = 0; at + 4 <= line.size(); ++at) {
    if (at > 0 && IsDigit(line[at - 1])) continue;
    if (const auto ms = DateTimeAt(line, at)) return ms;
  }
  return std::nullopt;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  return at;
}

std::optional<double> DoubleAt(std::string_view text, std::size_t& at) {
  at = SkipBlanks(text, at);
  if (at < text.size() && text[at] == '+') ++at;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  at = static_cast<std::size_t>(end - text.data());
  return value;
}

// The number after "<key>" and an optional ":", as in "[latitude : 31.45]" or "abs_alt: 0.401".
std::optional<double> Tagged(std::string_view line, std::string_view key) {
  const std::size_t found = line.find(key);
  if (found == std::string_view::npos) return std::nullopt;
  std::size_t at = SkipBlanks(line, found + key.size());
  if (at < line.size() && line[at] == ':') ++at;
  return DoubleAt(line, at);
}

// "GPS(lon,lat,…)" or "GPS (lon, lat, …)": longitude first.
bool ReadGps(std::string_view line, std::optional<double>& latitude,
             std::optional<double>& longitude) {
  for (std::size_t found = line.find("GPS"); found != std::string_view::npos;
       found = line.find("GPS", found + 3)) {
    std::size_t at = SkipBlanks(line, found + 3);
    if (!Skip(line, at, '(')) continue;
    const auto lon = DoubleAt(line, at);
    at = SkipBlanks(line, at);
    if (!lon || !Skip(line, at, ',')) continue;
    const auto lat = DoubleAt(line, at);
    if (!lat) continue;
    latitude = lat;
    longitude = lon;
    return true;
  }
  return false;
}

std::string_view Trimmed(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return line;
}

bool AllDigits(std::string_view text) {
  for (const char ch : text) {
    if (!IsDigit(ch)) return false;
  }
  return !text.empty();
}

}  // namespace

void CDjiSrtDecoder::Line(std::string_view raw) {
  const std::string_view line = Trimmed(raw);
  if (line.empty()) {
    EndCue();
    return;
  }
  if (line.find("-->") != std::string_view::npos) {
    if (cue_.startMs) EndCue();
    cue_.any = true;
    cue_.startMs = CueStartMs(line);
    return;
  }
  // A cue's number opens it; it says nothing else.
  if (AllDigits(line)) {
    if (cue_.latitude || cue_.dateMs) EndCue();
    return;
  }
  cue_.any = true;
  if (!cue_.dateMs) cue_.dateMs = FindDateTime(line);
  if (!cue_.latitude) {
    const auto lat = Tagged(line, "[latitude");
    auto lon = Tagged(line, "[longitude");
    if (!lon) lon = Tagged(line, "[longtitude");
    if (lat && lon) {
      cue_.latitude = lat;
      cue_.longitude = lon;
    } else {
      ReadGps(line, cue_.latitude, cue_.longitude);
    }
  }
  if (!cue_.altitudeM) cue_.altitudeM = Tagged(line, "[altitude");
  if (!cue_.altitudeM) cue_.altitudeM = Tagged(line, "abs_alt");
  if (!cue_.speedMs) cue_.speedMs = Tagged(line, "H.S ");
}

void CDjiSrtDecoder::EndCue() {
  Cue cue = std::move(cue_);
  cue_ = Cue{};
  if (!cue.any) return;
  if (!cue.latitude || !cue.longitude) {
    ++track_.withoutPosition;
    return;
  }
  if (cue.dateMs && !firstDateMs_) firstDateMs_ = cue.dateMs;
  // Without a time line the cues are timed by their dates, else a second apart.
  std::int64_t media = 0;
  if (cue.startMs) {
    media = *cue.startMs;
  } else if (cue.dateMs) {
    media = *cue.dateMs - *firstDateMs_;
  } else if (lastMediaMs_) {
    media = *lastMediaMs_ + kCueSecondMs;
  }
  if ((lastMediaMs_ && media < *lastMediaMs_) || media < 0 || media > INT32_MAX) {
    ++track_.backwards;
    return;
  }
  lastMediaMs_ = media;
  std::int64_t timeMs = 0;
  if (cue.dateMs) {
    timeMs = *cue.dateMs;
  } else {
    ++track_.undated;
    timeMs = clipStartMs_.value_or(0) + media;
  }
  NmeaFix fix;
  fix.mediaMs = static_cast<std::int32_t>(media);
  fix.cameraTime = timeMs / 1000 - (timeMs % 1000 < 0 ? 1 : 0);
  fix.milliseconds = static_cast<std::int32_t>(timeMs - fix.cameraTime * 1000);
  const double lat = *cue.latitude;
  const double lon = *cue.longitude;
  // 0,0 is what the cameras write before their first fix.
  fix.valid = std::abs(lat) <= 90.0 && std::abs(lon) <= 180.0 && (lat != 0.0 || lon != 0.0);
  if (fix.valid) {
    fix.latitude = lat;
    fix.longitude = lon;
  }
  if (cue.altitudeM) fix.altitudeM = static_cast<float>(*cue.altitudeM);
  if (cue.speedMs) fix.speedKmh = static_cast<float>(*cue.speedMs * 3.6);
  track_.fixes.push_back(fix);
}

DjiSrtTrack CDjiSrtDecoder::Finish() {
  EndCue();
  return std::move(track_);
}

DjiSrtTrack ParseDjiSrtText(std::string_view text, std::optional<std::int64_t> clipStartMs) {
  CDjiSrtDecoder decoder(clipStartMs);
  ForEachLine(text, [&](std::string_view line) { decoder.Line(line); });
  return decoder.Finish();
}

}  // namespace korvane
