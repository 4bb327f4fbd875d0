#include "telemetry/telemetry_parser.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "telemetry/g_sensor.h"

namespace korvane {

namespace {

// Sub-field readers behave like a formatted scan with one %d or %f: leading white space skipped,
// a sign allowed, reading stops at the first character that does not fit. They are written here
// rather than taken from the C library because the C scanners follow the process locale (a UI
// library may switch the decimal point to ',') and %d overflow is undefined.
enum class ScanResult { NoInput, NoNumber, Value };

// The longest degrees, minutes, seconds or acceleration text accepted. A longer one rejects the
// line: cutting it would silently change the number.
constexpr std::size_t kMaxNumberText = 7;

constexpr bool IsScanSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsScanSpace(text[i])) ++i;
  return i;
}

ScanResult ScanInt(std::string_view text, std::int32_t& out) {
  std::size_t i = SkipSpace(text);
  if (i == text.size()) return ScanResult::NoInput;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  if (i == text.size() || !IsDigit(text[i])) return ScanResult::NoNumber;
  // Saturates instead of overflowing; only reachable for texts longer than any field holds.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (magnitude > kLimit) magnitude = kLimit;
  const std::int64_t value = negative ? -magnitude : magnitude;
  out = static_cast<std::int32_t>(value > std::numeric_limits<std::int32_t>::max()
                                      ? std::numeric_limits<std::int32_t>::max()
                                      : value);
  return ScanResult::Value;
}

// Decimal numbers only (digits, point, exponent): "inf", "nan" and hex floats are no numbers here,
// so a coordinate or speed is always finite. A value beyond float range is no number either.
ScanResult ScanFloat(std::string_view text, float& out) {
  std::size_t i = SkipSpace(text);
  if (i == text.size()) return ScanResult::NoInput;
  std::size_t start = i;
  if (text[i] == '+' || text[i] == '-') {
    if (text[i] == '+') start = i + 1;  // from_chars takes '-' but not '+'
    ++i;
  }
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return ScanResult::NoNumber;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  float value = 0.0f;
  const auto [end, error] =
      std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
  if (error != std::errc{} || !std::isfinite(value)) return ScanResult::NoNumber;
  out = value;
  return ScanResult::Value;
}

bool ScanByte(std::string_view text, std::uint8_t& out) {
  std::int32_t value = 0;
  if (ScanInt(text, value) != ScanResult::Value) return false;
  out = static_cast<std::uint8_t>(value);  // low 8 bits, as the format defines
  return true;
}

bool ParseDateTime(std::string_view text, TelemetryRecord& record) {
  std::int32_t year = 0;
  switch (ScanInt(text.substr(0, 4), year)) {
    case ScanResult::NoInput:
      return false;
    case ScanResult::NoNumber:
      record.year = 0;
      break;
    case ScanResult::Value:
      record.year = year;
      break;
  }
  return ScanByte(text.substr(5, 2), record.month) && ScanByte(text.substr(8, 2), record.day) &&
         ScanByte(text.substr(11, 2), record.hour) && ScanByte(text.substr(14, 2), record.minute) &&
         ScanByte(text.substr(17, 2), record.second);
}

struct HemisphereParts {
  char& hemisphere;
  std::uint8_t& degrees;
  std::uint8_t& minutes;
  float& seconds;
};

// "<letter><degrees> <minutes> <seconds>". Returns the signed decimal degrees through `value`.
bool ParseHemisphereField(std::string_view field, char positive, char negative,
                          HemisphereParts parts, double& value) {
  if (field.empty() || (field[0] != positive && field[0] != negative)) return false;
  parts.hemisphere = field[0];
  std::string_view rest = field.substr(1);
  const std::size_t degreesEnd = rest.find(' ');
  if (degreesEnd == std::string_view::npos) return false;
  const std::string_view degreesText = rest.substr(0, degreesEnd);
  rest = rest.substr(degreesEnd + 1);
  const std::size_t minutesEnd = rest.find(' ');
  if (minutesEnd == std::string_view::npos) return false;
  const std::string_view minutesText = rest.substr(0, minutesEnd);
  const std::string_view secondsText = rest.substr(minutesEnd + 1);
  if (degreesText.size() > kMaxNumberText || minutesText.size() > kMaxNumberText ||
      secondsText.size() > kMaxNumberText) {
    return false;
  }
  if (!ScanByte(degreesText, parts.degrees) || !ScanByte(minutesText, parts.minutes) ||
      ScanFloat(secondsText, parts.seconds) != ScanResult::Value) {
    return false;
  }
  const int minuteSeconds = parts.minutes * 60;
  value = parts.degrees + (minuteSeconds + static_cast<double>(parts.seconds)) / 3600.0;
  if (parts.hemisphere == negative) value *= -1.0;
  return true;
}

// Knots to km/h; an empty or unreadable speed is 0 and never rejects the line.
float ReadSpeed(std::string_view field) {
  float knots = 0.0f;
  if (ScanFloat(field, knots) != ScanResult::Value) return 0.0f;
  const double kmh = static_cast<double>(knots) * 1.852;
  return std::fabs(kmh) <= FLT_MAX ? static_cast<float>(kmh) : 0.0f;
}

// "<tag><any one character><integer>", or the no-reading mark in place of the integer: a saved
// file from a source without a G-sensor writes it, and it reads as 0 G rather than as raw 0.
bool ParseAccel(std::string_view field, char tag, std::int32_t& out, bool& noReading) {
  if (field.size() < 3 || field[0] != tag) return false;
  const std::string_view number = field.substr(2);
  if (number == kNoGReadingMark) {
    out = static_cast<std::int32_t>(kAccZeroRaw);
    noReading = true;
    return true;
  }
  if (number.size() > kMaxNumberText) return false;
  std::int32_t value = 0;
  if (ScanInt(number, value) != ScanResult::Value) return false;
  out = value;
  return true;
}

// The text from just after `from` up to `to` (exclusive), or to the end when `to` is npos.
std::string_view Between(std::string_view line, std::size_t from, std::size_t to) {
  return to == std::string_view::npos ? line.substr(from + 1)
                                      : line.substr(from + 1, to - from - 1);
}

}  // namespace

CTelemetryParser::~CTelemetryParser() {
  StopLiveWorker();
}

bool CTelemetryParser::ParseFull(const char* line) {
  record_.valid = ParseLine(line, true);
  return record_.valid;
}

bool CTelemetryParser::ParseLive(const char* line) {
  liveValid_ = ParseLine(line, false);
  return liveValid_;
}

bool CTelemetryParser::ParseLine(const char* line, bool full) {
  if (line == nullptr) return false;
  const std::string_view text(line);
  constexpr std::size_t npos = std::string_view::npos;
  if (text.size() < kDateTimeLength + 1) return false;

  const std::size_t s1 = text.find('/');
  if (s1 == npos || s1 < kDateTimeLength) return false;
  std::memcpy(dateTimeText_, text.data() + s1 - kDateTimeLength, kDateTimeLength);
  dateTimeText_[kDateTimeLength] = '\0';
  if (!ParseDateTime(std::string_view(dateTimeText_, kDateTimeLength), record_)) return false;

  const std::size_t s2 = text.find('/', s1 + 1);
  if (s2 == npos) return false;
  double value = 0.0;
  if (!ParseHemisphereField(
          Between(text, s1, s2), 'E', 'W',
          {record_.lonHemisphere, record_.lonDegrees, record_.lonMinutes, record_.lonSeconds},
          value)) {
    return false;
  }
  record_.longitude = value;

  const std::size_t s3 = text.find('/', s2 + 1);
  if (!ParseHemisphereField(
          Between(text, s2, s3), 'N', 'S',
          {record_.latHemisphere, record_.latDegrees, record_.latMinutes, record_.latSeconds},
          value)) {
    return false;
  }
  record_.latitude = value;
  if (s3 == npos) return true;  // speed and accelerations keep their previous values

  const std::size_t s4 = text.find('/', s3 + 1);
  record_.speedKmh = ReadSpeed(Between(text, s3, s4));
  if (!full || s4 == npos) return true;

  bool noReading = false;
  const std::size_t s5 = text.find('/', s4 + 1);
  if (s5 == npos || !ParseAccel(Between(text, s4, s5), 'X', record_.accelX, noReading))
    return false;
  const std::size_t s6 = text.find('/', s5 + 1);
  if (s6 == npos || !ParseAccel(Between(text, s5, s6), 'Y', record_.accelY, noReading))
    return false;
  const std::size_t s7 = text.find('/', s6 + 1);
  if (!ParseAccel(Between(text, s6, s7), 'Z', record_.accelZ, noReading)) return false;
  record_.noGReading = noReading;
  return true;
}

bool CTelemetryParser::StartLiveWorker(WindowHandle notifyWindow) {
  if (worker_.joinable()) return false;
  notifyWindow_ = notifyWindow;
  stopping_.store(false);
  try {
    worker_ = std::thread([this] { LiveWorkerLoop(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CTelemetryParser::StopLiveWorker() {
  if (!worker_.joinable()) return;
  stopping_.store(true);
  lineReady_.Set();
  worker_.join();
}

void CTelemetryParser::SubmitLiveLine(const char* line, std::uint32_t value) {
  SubmitLiveLine(line == nullptr ? std::string_view() : std::string_view(line), value);
}

void CTelemetryParser::SubmitLiveLine(std::string_view line, std::uint32_t value) {
  {
    std::lock_guard lock(handOverLock_);
    std::memset(handOver_, 0, sizeof handOver_);
    const std::size_t length = line.size() < kLiveLineSize - 1 ? line.size() : kLiveLineSize - 1;
    if (length > 0) std::memcpy(handOver_, line.data(), length);
    handOverValue_ = value;
  }
  lineReady_.Set();
}

void CTelemetryParser::LiveWorkerLoop() {
  for (;;) {
    lineReady_.Wait();
    if (stopping_.load()) return;
    std::uint32_t value = 0;
    {
      std::lock_guard lock(handOverLock_);
      std::memcpy(lineBuffer_, handOver_, sizeof lineBuffer_);
      value = handOverValue_;
    }
    const bool parsed = ParseLive(lineBuffer_);
    SendWindowMessage(notifyWindow_, WM_TELEMETRY_LIVE, value, parsed ? 1 : 0);
  }
}

}  // namespace korvane
