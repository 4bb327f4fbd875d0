// The comma-separated fields of a camera log's line and the numbers in them, for the decoders of
// the logs that are not NMEA (Escort trip logs, 70mai folder logs). Pure.
#pragma once
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvane {

// Puts the first `out.size()` fields of `line` in `out` (any after them are not looked at);
// returns how many it put.
inline std::size_t SplitLogFields(std::string_view line, std::span<std::string_view> out) {
  std::size_t count = 0;
  for (std::size_t start = 0; count < out.size();) {
    const std::size_t comma = line.find(',', start);
    out[count++] = line.substr(start, comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return count;
}

// The whole field as a finite number; false for anything else (empty, a unit after it).
inline bool ReadLogNumber(std::string_view text, double& out) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

inline bool ReadLogInteger(std::string_view text, std::int64_t& out) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace korvane
