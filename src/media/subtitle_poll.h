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
