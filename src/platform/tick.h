// A 32-bit millisecond tick that wraps like GetTickCount, and a plain millisecond sleep.
#pragma once
#include <chrono>
#include <cstdint>
#include <thread>

namespace korvane {

// Milliseconds since an arbitrary start; wraps after about 49.7 days. Compare ticks only through
// TickElapsed, which stays right across the wrap.
inline std::uint32_t GetTick() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Milliseconds from `earlier` to `later`, modulo 2^32.
constexpr std::uint32_t TickElapsed(std::uint32_t earlier, std::uint32_t later) {
  return later - earlier;
}

inline void SleepMs(unsigned ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace korvane
