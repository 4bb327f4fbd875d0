#include "telemetry/nmea_track.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/path_parts.h"
#include "telemetry/civil_date.h"

namespace korvane {

namespace {

constexpr std::size_t kMaxSentence = 120;  // NMEA allows 82 characters; some loggers write more
constexpr double kKmhPerKnot = 1.852;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The body between '$' and '*' when the checksum after '*' matches its XOR; nullopt otherwise.
std::optional<std::string_view> CheckedBody(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  if (line.size() < 4 || line.front() != '$' || line.size() > kMaxSentence) return std::nullopt;
  const std::size_t star = line.rfind('*');
  if (star == std::string_view::npos || star + 3 != line.size()) return std::nullopt;
  const int high = HexDigit(line[star + 1]);
  const int low = HexDigit(line[star + 2]);
  if (high < 0 || low < 0) return std::nullopt;
  unsigned sum = 0;
  for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
  if (sum != static_cast<unsigned>(high * 16 + low)) return std::nullopt;
  return line.substr(1, star - 1);
}

// The comma-separated fields of a sentence body; those past the first kMaxFields are not read.
constexpr std::size_t kMaxFields = 16;
struct SentenceFields {
  std::array<std::string_view, kMaxFields> at;
  std::size_t size() const { return count; }
  std::string_view operator[](std::size_t i) const { return at[i]; }
  std::size_t count = 0;
};

SentenceFields Fields(std::string_view body) {
  SentenceFields fields;
  for (std::size_t start = 0; fields.count < kMaxFields;) {
    const std::size_t comma = body.find(',', start);
    fields.at[fields.count++] = body.substr(start, comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

bool ReadDouble(std::string_view text, double& out) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

bool ReadDigits(std::string_view text, int& out) {
  out = 0;
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

// "hhmmss.sss" → milliseconds of the day.
bool ReadTimeOfDay(std::string_view text, std::int64_t& ms) {
  int h = 0, m = 0;
  double s = 0.0;
  if (text.size() < 6 || !ReadDigits(text.substr(0, 2), h) || !ReadDigits(text.substr(2, 2), m) ||
      !ReadDouble(text.substr(4), s)) {
    return false;
  }
  if (h > 23 || m > 59 || s < 0.0 || s >= 61.0) return false;
  ms = (std::int64_t{h} * 3600 + m * 60) * 1000 + std::llround(s * 1000.0);
  return true;
}

// "ddmmyy" → days since 1970; two-digit years 80–99 are the 1900s.
bool ReadDate(std::string_view text, std::int64_t& days) {
  int d = 0, m = 0, y = 0;
  if (text.size() != 6 || !ReadDigits(text.substr(0, 2), d) || !ReadDigits(text.substr(2, 2), m) ||
      !ReadDigits(text.substr(4, 2), y)) {
    return false;
  }
  if (m < 1 || m > 12 || d < 1 || d > 31) return false;
  days = DaysFromCivil(y >= 80 ? 1900 + y : 2000 + y, m, d);
  return true;
}

// "ddmm.mmmm" with its hemisphere → signed degrees; `degreeDigits` 2 for latitude, 3 for longitude.
bool ReadAngle(std::string_view value, std::string_view hemisphere, int degreeDigits, double limit,
               double& out) {
  const auto digits = static_cast<std::size_t>(degreeDigits);
  int degrees = 0;
  double minutes = 0.0;
  if (value.size() < digits + 2 || !ReadDigits(value.substr(0, digits), degrees) ||
      !ReadDouble(value.substr(digits), minutes) || minutes < 0.0 || minutes >= 60.0) {
    return false;
  }
  out = degrees + minutes / 60.0;
  if (out > limit || hemisphere.size() != 1) return false;
  const char h = hemisphere[0];
  if (h == 'S' || h == 'W') {
    out = -out;
  } else if (h != 'N' && h != 'E') {
    return false;
  }
  return true;
}

bool IsTalker(std::string_view name, std::string_view type) {
  return name.size() == 5 && (name.substr(0, 2) == "GP" || name.substr(0, 2) == "GN") &&
         name.substr(2) == type;
}

class NmeaReader {
 public:
  // One line; false when it was a sentence of ours that did not read.
  void Line(std::string_view line) {
    if (line.find('$') == std::string_view::npos) {
      if (!line.empty() && line != "\r") ++track_.badSentences;
      return;
    }
    const std::optional<std::string_view> body = CheckedBody(line.substr(line.find('$')));
    if (!body) {
      ++track_.badSentences;
      return;
    }
    const SentenceFields f = Fields(*body);
    if (IsTalker(f[0], "RMC")) {
      ++known_;
      if (!Rmc(f)) ++track_.badSentences;
    } else if (IsTalker(f[0], "GGA")) {
      ++known_;
      if (!Gga(f)) ++track_.badSentences;
    }
  }
  NmeaTrack& track() { return track_; }
  int known() const { return known_; }

 private:
  // $GPRMC,hhmmss.ss,A,llll.ll,a,yyyyy.yy,a,x.x,x.x,ddmmyy,x.x,a*hh
  bool Rmc(const SentenceFields& f) {
    if (f.size() < 10) return false;
    std::int64_t dayMs = 0, days = 0;
    if (!ReadTimeOfDay(f[1], dayMs) || !ReadDate(f[9], days)) return false;
    NmeaFix fix;
    const std::int64_t at = days * 86'400'000 + dayMs;
    if (track_.fixes.empty()) firstMs_ = at;
    const std::int64_t media = at - firstMs_;
    if (media < INT32_MIN || media > INT32_MAX) return false;
    fix.mediaMs = static_cast<std::int32_t>(media);
    fix.cameraTime = at / 1000;
    fix.milliseconds = static_cast<std::int32_t>(at % 1000);
    fix.valid = f[2] == "A";
    if (fix.valid) {
      double knots = 0.0;
      if (!ReadAngle(f[3], f[4], 2, 90.0, fix.latitude) ||
          !ReadAngle(f[5], f[6], 3, 180.0, fix.longitude)) {
        return false;
      }
      if (ReadDouble(f[7], knots) && knots >= 0.0) {
        fix.speedKmh = static_cast<float>(knots * kKmhPerKnot);
      }
      if (ggaNoFix_ && ggaDayMs_ == dayMs) fix.valid = false;
    }
    track_.fixes.push_back(fix);
    lastRmcDayMs_ = dayMs;
    return true;
  }
  // $GPGGA,hhmmss.ss,llll.ll,a,yyyyy.yy,a,q,...: q 0 is no fix.
  bool Gga(const SentenceFields& f) {
    int quality = 0;
    std::int64_t dayMs = 0;
    if (f.size() < 7 || !ReadTimeOfDay(f[1], dayMs) || !ReadDigits(f[6], quality)) return false;
    ggaDayMs_ = dayMs;
    ggaNoFix_ = quality == 0;
    // A GGA after the RMC of its moment corrects that fix.
    if (ggaNoFix_ && !track_.fixes.empty() && lastRmcDayMs_ == dayMs) {
      track_.fixes.back().valid = false;
    }
    return true;
  }

  NmeaTrack track_;
  std::int64_t firstMs_ = 0;
  std::int64_t ggaDayMs_ = -1;
  std::int64_t lastRmcDayMs_ = -1;
  bool ggaNoFix_ = false;
  int known_ = 0;
};

// Feeds `reader` the complete lines of `text`; returns where the unfinished last line starts.
std::size_t FeedLines(NmeaReader& reader, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
    reader.Line(text.substr(start, end - start));
  }
  return start;
}

}  // namespace

NmeaTrack ParseNmeaText(std::string_view text) {
  NmeaReader reader;
  const std::size_t rest = FeedLines(reader, text);
  if (rest < text.size()) reader.Line(text.substr(rest));
  return std::move(reader.track());
}

std::optional<NmeaTrack> ReadNmeaFile(const std::string& path, std::size_t maxBytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  NmeaReader reader;
  std::string carry;
  std::array<char, 1 << 16> block{};
  std::size_t total = 0;
  bool truncated = false;
  for (;;) {
    const std::size_t want = std::min(block.size(), maxBytes - total);
    if (want == 0) {
      truncated = true;
      break;
    }
    const ssize_t got = read(fd, block.data(), want);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
    carry.append(block.data(), static_cast<std::size_t>(got));
    carry.erase(0, FeedLines(reader, carry));
    // A "line" this long is no sentence: drop it rather than grow without end.
    if (carry.size() > kMaxSentence * 4) carry.clear();
  }
  close(fd);
  if (!truncated && !carry.empty()) reader.Line(carry);
  if (reader.known() == 0) return std::nullopt;
  reader.track().truncated = truncated;
  return std::move(reader.track());
}

std::string FormatNmeaSentence(std::string_view body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  constexpr char kHex[] = "0123456789ABCDEF";
  return "$" + std::string(body) + "*" + kHex[sum >> 4 & 15] + kHex[sum & 15];
}

std::optional<std::string> FindNmeaSidecar(const std::string& clipPath) {
  const SplitPathResult parts = SplitPath(clipPath);
  const std::string base = parts.folder + parts.stem;
  for (const char* extension : {".nmea", ".NMEA", ".gps", ".txt"}) {
    const std::string candidate = base + extension;
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return candidate;
  }
  return std::nullopt;
}

}  // namespace korvane
