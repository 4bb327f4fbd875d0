// GPMF, the key-length-value format of action cameras' `gpmd` samples: walking its items (a
// four-character key, a type, a structure size and a repeat count, each item padded to 32 bits,
// type 0 holding nested items) and reading an item's values as numbers. Pure over bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

struct GpmfItem {
  char key[4] = {};
  char type = 0;  // 0 for nested items; '?' for a structure its stream's TYPE describes
  std::uint8_t structSize = 0;
  std::uint16_t repeat = 0;
  std::span<const std::uint8_t> data;  // structSize × repeat bytes
  bool Is(std::string_view k) const;
  bool nested() const { return type == 0; }
  // The data as text up to its first NUL (for 'c' items: names, units, TYPE, ORIN).
  std::string_view text() const;
};

// Calls `visit` with each item of `bytes` at this level, in order, until it returns false. A
// zero key ends the level; an item whose size runs past the end ends it with a note in
// `problem` ("; " between notes, each once).
void ForEachGpmfItem(std::span<const std::uint8_t> bytes, std::string& problem,
                     const std::function<bool(const GpmfItem&)>& visit);

// How many numbers one structure of `item` holds. For type '?', `complexType` (the stream's TYPE)
// gives the fields; 0 when a type is not a number, the TYPE does not fill the structure exactly,
// or the structure is not a whole number of fields.
std::size_t GpmfFieldCount(const GpmfItem& item, std::string_view complexType);

// The item's values as doubles, repeat × GpmfFieldCount of them, row by row; empty when the
// count is 0. Fixed-point types ('q' Q15.16, 'Q' Q31.32) are converted; 'c', 'F', 'G' and 'U' are
// not numbers and give nothing.
std::vector<double> GpmfNumbers(const GpmfItem& item, std::string_view complexType = {});

// Divides each row of `values` (`fields` wide) by `scale` (one divisor for every field, or one a
// field). False, and nothing changed, when a divisor is zero, not finite, or the counts differ.
bool ApplyGpmfScale(std::vector<double>& values, std::size_t fields,
                    const std::vector<double>& scale);

}  // namespace korvane
