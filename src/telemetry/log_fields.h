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
// One pass over the characters: the fields are a few bytes each, so a search call per field
// costs more than the scan.
inline std::size_t SplitLogFields(std::string_view line, std::span<std::string_view> out) {
  if (out.empty()) return 0;
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != ',') continue;
    out[count++] = line.substr(start, i - start);
    start = i + 1;
    if (count == out.size()) return count;
  }
  out[count++] = line.substr(start);
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
