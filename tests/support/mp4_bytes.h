// MP4 bytes for tests that build files by hand: big-endian fields, boxes and full boxes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvane::test {

// `v`'s low `bytes` bytes, most significant first.
inline std::string Be(std::uint64_t v, int bytes) {
  std::string s(static_cast<std::size_t>(bytes), '\0');
  for (int i = bytes - 1; i >= 0; --i, v >>= 8) s[static_cast<std::size_t>(i)] = char(v & 0xff);
  return s;
}
inline std::string Be32(std::uint64_t v) {
  return Be(v, 4);
}
// The `bytes`-byte big-endian value at `at` (the caller keeps it inside `b`).
inline std::uint64_t GetBe(const std::string& b, std::size_t at, int bytes = 4) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
inline void PutBe(std::string& b, std::size_t at, std::uint64_t v, int bytes = 4) {
  b.replace(at, static_cast<std::size_t>(bytes), Be(v, bytes));
}
inline std::string Box(const std::string& type, const std::string& body) {
  return Be32(body.size() + 8) + type + body;
}
inline std::string FullBox(const std::string& type, const std::string& body, int version = 0,
                           std::uint32_t flags = 0) {
  return Box(type, Be(static_cast<std::uint64_t>(version), 1) + Be(flags, 3) + body);
}

}  // namespace korvane::test
