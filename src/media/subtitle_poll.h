// When the reply reader asks the player for the current subtitle ("sub_log_static"): every
// 500 ms of uninterrupted play, never while paused. Pure tick arithmetic, safe across the wrap of
// the 32-bit tick.
#pragma once
#include <cstdint>

#include "platform/tick.h"

namespace korvane {

class SubtitlePollClock {
 public:
  static constexpr std::uint32_t kIntervalMs = 500;

  // True when a poll is due at tick `now` (the first call always is, unless paused); a due poll
  // or a paused call restarts the interval, so the first poll after a resume comes 500 ms later.
  // Milliseconds from `now` until the next poll is due, at most `limit`, so that the reader wakes
  // for the poll on time instead of up to one idle wait late. `limit` while paused.
  std::uint32_t MsUntilDue(bool paused, std::uint32_t now, std::uint32_t limit) const {
    if (paused || !started_) return started_ ? limit : 0;
    const std::uint32_t elapsed = TickElapsed(last_, now);
    const std::uint32_t left = elapsed > kIntervalMs ? 0 : kIntervalMs + 1 - elapsed;
    return left < limit ? left : limit;
  }

  bool Due(bool paused, std::uint32_t now) {
    const bool due = !paused && (!started_ || TickElapsed(last_, now) > kIntervalMs);
    if (paused || due) {
      last_ = now;
      started_ = true;
    }
    return due;
  }

 private:
  bool started_ = false;
  std::uint32_t last_ = 0;
};

}  // namespace korvane
