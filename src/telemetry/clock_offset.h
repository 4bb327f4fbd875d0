// The camera clock offset: a per-folder correction (± hours, minutes, seconds, at most 14 h) for a
// camera whose clock is wrong or set to another zone. Added to every time the camera's own clock
// wrote (its telemetry, the file's name and header times) before they are shown, grouped into
// trips, matched to another device's track or exported; times from a GPS receiver (a log beside
// the clip, an imported track) are true already and are left alone. Pure, no I/O.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "telemetry/civil_date.h"

namespace korvane {

inline constexpr int kMaxClockOffsetSeconds = 14 * 3600;

// "+HH:MM:SS", "-HH:MM", "HH:MM:SS", "H:MM" (no sign: ahead), blanks around it allowed, minutes
// and seconds below 60, at most 14:00:00 either way; an empty text is no offset (0). nullopt for
// anything else (a bare number, 25:00, +14:00:01, junk).
std::optional<int> ParseClockOffset(std::string_view text);
// "+01:30:00", "-14:00:00"; no offset reads "+00:00:00".
std::string ClockOffsetText(int seconds);

// Moves a moment written as date and time fields (a telemetry record, a route point) by `seconds`,
// carrying over midnight and month and year ends. Fields that name no real moment are left as
// they are: a shifted impossible date would read as a plausible wrong one.
template <typename Moment>
void ShiftMoment(Moment& m, int seconds) {
  const CivilTime written{m.year, m.month, m.day, m.hour, m.minute, m.second};
  if (seconds == 0 || !IsRealCivilTime(written)) return;
  const CivilTime t = CivilFromSeconds(SecondsFromCivil(written) + seconds);
  m.year = static_cast<decltype(m.year)>(t.year);
  m.month = static_cast<decltype(m.month)>(t.month);
  m.day = static_cast<decltype(m.day)>(t.day);
  m.hour = static_cast<decltype(m.hour)>(t.hour);
  m.minute = static_cast<decltype(m.minute)>(t.minute);
  m.second = static_cast<decltype(m.second)>(t.second);
}

// The offsets of every folder the user set one for. A folder is named by its path up to and
// including its last '/' ("/card/DCIM/"), as a clip's path begins with it; paths compare exactly.
class ClockOffsets {
 public:
  // 0 for a folder without one.
  int OfFolder(std::string_view folder) const;
  // The offset of the clip's folder.
  int OfClip(std::string_view clipPath) const;
  // Sets the folder's offset; 0 removes it. Values beyond ±14 h are not kept.
  void Set(std::string_view folder, int seconds);
  bool empty() const { return byFolder_.empty(); }

  // One line per folder: the offset ("-01:00:00") and the folder as two fields (JoinFields).
  std::string ToText() const;
  // The offsets of a text ToText wrote. A line that does not read as an offset and a folder is
  // skipped; text that is no text at all (a NUL byte) gives none.
  static ClockOffsets FromText(std::string_view text);

 private:
  std::map<std::string, int, std::less<>> byFolder_;
};

}  // namespace korvane
