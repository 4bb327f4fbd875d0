#include "support/freegps_clip.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "support/file_text.h"
#include "support/mp4_bytes.h"

namespace korvane::test {
namespace {

void PutLe(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}
// Degrees as DDDmm.mmmm.
float Ddmm(double degrees) {
  const double a = std::fabs(degrees);
  const double whole = std::floor(a);
  return static_cast<float>(whole * 100 + (a - whole) * 60);
}

}  // namespace

std::string NovatekBlock(const BlockFix& f, std::uint32_t size) {
  std::string b(size, '\0');
  PutBe(b, 0, size);
  std::memcpy(&b[4], "freeGPS ", 8);
  PutLe(b, 12, 0x4c);
  const int fields[6] = {f.hour, f.minute, f.second, f.year - 2000, f.month, f.day};
  for (int i = 0; i < 6; ++i) PutLe(b, 48 + 4 * i, static_cast<std::uint32_t>(fields[i]));
  b[72] = f.status;
  if (f.status != 'A') return b;
  b[73] = f.latitude < 0 ? 'S' : 'N';
  b[74] = f.longitude < 0 ? 'W' : 'E';
  const float values[4] = {Ddmm(f.latitude), Ddmm(f.longitude), f.knots, f.heading};
  for (int i = 0; i < 4; ++i) PutLe(b, 76 + 4 * i, std::bit_cast<std::uint32_t>(values[i]));
  return b;
}

BlockFix DriveFix(const BlockFix& start, int i) {
  BlockFix f = start;
  const int seconds = start.hour * 3600 + start.minute * 60 + start.second + i;
  f.hour = seconds / 3600 % 24;
  f.minute = seconds / 60 % 60;
  f.second = seconds % 60;
  f.latitude += 0.0001 * i;
  f.longitude += 0.0001 * i;
  f.knots = 27.0f + static_cast<float>(i % 7);
  f.heading = static_cast<float>((45 + 3 * i) % 360);
  return f;
}

bool WriteFreeGpsClip(const std::string& mp4, const std::string& out,
                      const std::vector<BlockFix>& fixes) {
  std::string file = ReadFileText(mp4);
  std::size_t at = 0, moov = std::string::npos;
  while (at + 8 <= file.size()) {
    const std::uint32_t size = GetBe(file, at);
    if (size < 8 || size > file.size() - at) return false;
    if (file.compare(at + 4, 4, "moov") == 0) moov = at;
    at += size;
  }
  if (moov == std::string::npos || moov + GetBe(file, moov) != file.size()) return false;
  const auto indexSize = static_cast<std::uint32_t>(16 + 8 * fixes.size());
  std::string index = Be32(indexSize) + "gps " + Be32(0x101) + Be32(fixes.size());
  std::string blocks;
  const std::size_t first = file.size() + indexSize;
  for (const BlockFix& fix : fixes) {
    const std::string block = NovatekBlock(fix);
    index += Be32(static_cast<std::uint32_t>(first + blocks.size())) + Be32(block.size());
    blocks += block;
  }
  PutBe(file, moov, GetBe(file, moov) + indexSize);
  // Right after the movie header, where the cameras write it (and where ExifTool looks for it);
  // the samples' offsets point into the mdat before the moov, so nothing moves.
  const bool header = file.compare(moov + 12, 4, "mvhd") == 0;
  file.insert(moov + 8 + (header ? GetBe(file, moov + 8) : 0), index);
  WriteFileText(out, file + blocks);
  return true;
}

}  // namespace korvane::test
