// Proleptic Gregorian dates and day counts since 1970-01-01 (H. Hinnant's algorithms), for the
// readers that turn a receiver's or a file's date into seconds and back, and for the camera clock
// offset that moves a written moment. Exact for any year an int64 day count holds; no range
// check but where said.
#pragma once
#include <cstdint>

namespace korvane {

struct CivilDate {
  std::int64_t year;
  unsigned month, day;
};

inline std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

inline CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2), month, day};
}

// A date and time of day on some clock, as a camera or a receiver writes it.
struct CivilTime {
  std::int64_t year;
  unsigned month, day, hour, minute, second;
};

// Whether the fields name a real moment: month 1..12, a day its month has, hour below 24,
// minute and second below 60.
inline bool IsRealCivilTime(const CivilTime& t) {
  constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 || t.second > 59) {
    return false;
  }
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  return t.day <= kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
}

// Seconds since 1970-01-01 00:00 on the same clock; the fields must be real (IsRealCivilTime).
inline std::int64_t SecondsFromCivil(const CivilTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

// The fields of seconds since 1970-01-01 00:00 on some clock (before 1970 too).
inline CivilTime CivilFromSeconds(std::int64_t seconds) {
  const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const auto inDay = static_cast<unsigned>(seconds - days * 86400);
  const CivilDate date = CivilFromDays(days);
  return {date.year, date.month, date.day, inDay / 3600, inDay / 60 % 60, inDay % 60};
}

}  // namespace korvane
