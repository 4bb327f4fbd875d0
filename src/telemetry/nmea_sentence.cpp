#include "telemetry/nmea_sentence.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "telemetry/civil_date.h"

namespace korvane {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsAccelName(std::string_view body) {
  return body.starts_with("GSENSOR,") || body.starts_with("GSENSORD,");
}

// The body between '$' and '*' when the checksum after '*' matches its XOR, or a G-sensor line
// written without one; nullopt otherwise. A `bare` sentence has no '$', and without a '*' its
// whole text is the body.
std::optional<std::string_view> CheckedBody(std::string_view line, bool bare = false) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  const std::size_t from = bare ? 0 : 1;
  if (line.size() < 4 || (!bare && line.front() != '$') || line.size() > kMaxNmeaSentence) {
    return std::nullopt;
  }
  const std::size_t star = line.rfind('*');
  if (star == std::string_view::npos) {
    if (bare || IsAccelName(line.substr(1))) return line.substr(from);
    return std::nullopt;
  }
  if (star + 3 != line.size()) return std::nullopt;
  const int high = HexDigit(line[star + 1]);
  const int low = HexDigit(line[star + 2]);
  if (high < 0 || low < 0) return std::nullopt;
  unsigned sum = 0;
  for (std::size_t i = from; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
  if (sum != static_cast<unsigned>(high * 16 + low)) return std::nullopt;
  return line.substr(from, star - from);
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

// Up to nine digits, which an int always holds; a longer field is not a number a sentence writes.
bool ReadDigits(std::string_view text, int& out) {
  out = 0;
  if (text.empty() || text.size() > 9) return false;
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
  days = DaysFromCivil(y >= 80 ? 1900 + y : 2000 + y, static_cast<unsigned>(m),
                       static_cast<unsigned>(d));
  return true;
}

// "ddmm.mmmm" with its hemisphere → signed degrees; `degreeDigits` 2 for latitude, 3 for longitude.
// The minutes always have two whole digits; the degrees may have fewer than `degreeDigits` (an
// anonymiser writes a longitude of 0° as "0.0000"), as GPSBabel reads them.
bool ReadAngle(std::string_view value, std::string_view hemisphere, int degreeDigits, double limit,
               double& out) {
  const std::size_t whole = std::min(value.find('.'), value.size());
  const std::size_t digits = whole > 2 ? whole - 2 : 0;
  int degrees = 0;
  double minutes = 0.0;
  if (whole == 0 || digits > static_cast<std::size_t>(degreeDigits) ||
      (digits > 0 && !ReadDigits(value.substr(0, digits), degrees)) ||
      !ReadDouble(value.substr(digits), minutes) || minutes < 0.0 || minutes >= 60.0 ||
      value[digits] == '-' || value[digits] == '+') {
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

bool ReadPosition(const SentenceFields& f, std::size_t at, NmeaSentence& s) {
  return ReadAngle(f[at], f[at + 1], 2, 90.0, s.latitude) &&
         ReadAngle(f[at + 2], f[at + 3], 3, 180.0, s.longitude);
}

// An optional number: empty is unknown, anything else must read.
bool ReadOptional(std::string_view text, double& out) {
  return text.empty() || ReadDouble(text, out);
}

bool IsTalker(std::string_view name, std::string_view type) {
  return name.size() == 5 && (name.substr(0, 2) == "GP" || name.substr(0, 2) == "GN") &&
         name.substr(2) == type;
}

// $GPRMC,hhmmss.ss,A,llll.ll,a,yyyyy.yy,a,x.x,x.x,ddmmyy,x.x,a*hh
bool Rmc(const SentenceFields& f, NmeaSentence& s) {
  if (f.size() < 10 || !ReadTimeOfDay(f[1], s.dayMs) || !ReadDate(f[9], s.days)) return false;
  s.fix = f[2] == "A";
  if (!s.fix) return true;
  if (!ReadPosition(f, 3, s) || !ReadOptional(f[7], s.knots) || !ReadOptional(f[8], s.courseDeg)) {
    return false;
  }
  if (s.knots < 0.0) s.knots = NmeaSentence::kUnknown;
  if (!(s.courseDeg >= 0.0 && s.courseDeg <= 360.0)) s.courseDeg = NmeaSentence::kUnknown;
  return true;
}

// $GPGGA,hhmmss.ss,llll.ll,a,yyyyy.yy,a,q,nn,h.h,alt,M,...: q 0 is no fix.
bool Gga(const SentenceFields& f, NmeaSentence& s) {
  int quality = 0;
  if (f.size() < 7 || !ReadTimeOfDay(f[1], s.dayMs) || !ReadDigits(f[6], quality)) return false;
  s.fix = quality > 0;
  if (!s.fix) return true;
  if (!ReadPosition(f, 2, s)) return false;
  if (f.size() > 9) ReadDouble(f[9], s.altitudeM);  // a logger may leave it out
  return true;
}

// $GSENSOR,x,y,z (counts) or $GSENSORD,x,y,z (g).
bool Accel(const SentenceFields& f, NmeaSentence& s) {
  if (f.size() < 4) return false;
  const double scale = f[0] == "GSENSOR" ? 1.0 / kGSensorCountsPerG : 1.0;
  for (std::size_t axis = 0; axis < 3; ++axis) {
    if (!ReadDouble(f[axis + 1], s.g[axis])) return false;
    s.g[axis] *= scale;
    if (std::fabs(s.g[axis]) > 1000.0) return false;  // no accelerometer reads that
  }
  return true;
}

// The sentence of a checked body (nullopt: Bad).
NmeaSentence DecodeBody(std::optional<std::string_view> body) {
  NmeaSentence s;
  s.kind = NmeaKind::Bad;
  if (!body) return s;
  const SentenceFields f = Fields(*body);
  bool read = true;
  if (IsTalker(f[0], "RMC")) {
    s.kind = NmeaKind::Rmc;
    read = Rmc(f, s);
  } else if (IsTalker(f[0], "GGA")) {
    s.kind = NmeaKind::Gga;
    read = Gga(f, s);
  } else if (f[0] == "GSENSOR" || f[0] == "GSENSORD") {
    s.kind = NmeaKind::Accel;
    read = Accel(f, s);
  } else {
    s.kind = NmeaKind::Other;
  }
  if (!read) s.kind = NmeaKind::Bad;
  return s;
}

}  // namespace

NmeaSentence DecodeNmeaSentence(std::string_view line) {
  const std::size_t dollar = line.find('$');
  if (dollar == std::string_view::npos) {
    NmeaSentence s;
    if (!line.empty() && line != "\r") s.kind = NmeaKind::Bad;
    return s;
  }
  return DecodeBody(CheckedBody(line.substr(dollar)));
}

NmeaSentence DecodeBareNmeaSentence(std::string_view sentence) {
  if (sentence.starts_with('$')) return DecodeNmeaSentence(sentence);
  return DecodeBody(CheckedBody(sentence, true));
}

NmeaSentence DecodeRmcFields(std::span<const std::string_view> fields) {
  NmeaSentence s;
  s.kind = NmeaKind::Bad;
  if (fields.size() != 9) return s;
  SentenceFields f;
  f.at[0] = "GPRMC";
  std::copy(fields.begin(), fields.end(), f.at.begin() + 1);
  f.count = 10;
  if (Rmc(f, s)) s.kind = NmeaKind::Rmc;
  return s;
}

std::string FormatNmeaSentence(std::string_view body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  constexpr char kHex[] = "0123456789ABCDEF";
  return "$" + std::string(body) + "*" + kHex[sum >> 4 & 15] + kHex[sum & 15];
}

}  // namespace korvane
