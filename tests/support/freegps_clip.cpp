#include "support/freegps_clip.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "support/command_output.h"
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

std::string TsPackets(int pid, const std::string& pes) {
  std::string out;
  for (std::size_t at = 0; at < pes.size(); at += 184) {
    const std::string part = pes.substr(at, 184);
    std::string packet = {'\x47', char((at == 0 ? 0x40 : 0) | pid >> 8), char(pid & 0xff)};
    if (part.size() == 184) {
      packet += '\x10';
    } else {
      const std::size_t fill = 184 - part.size();  // the adaptation field, its length byte first
      packet += '\x30';
      packet += char(fill - 1);
      if (fill > 1) packet += '\x00' + std::string(fill - 2, '\xff');
    }
    out += packet + part;
  }
  return out;
}

std::string PrivatePes(const std::string& data) {
  return std::string("\0\0\1\xbf", 4) + Be(data.size(), 2) + data;
}

bool WriteFreeGpsTs(const std::string& mp4, const std::string& out,
                    const std::vector<BlockFix>& fixes) {
  const std::string video = out + ".video.ts";
  CommandOutput("ffmpeg -v error -y -i '" + mp4 + "' -c copy -f mpegts '" + video + "'");
  const std::string ts = ReadFileText(video);
  std::remove(video.c_str());
  if (ts.empty() || ts.size() % 188 != 0) return false;
  const std::size_t packets = ts.size() / 188;
  std::string file;
  std::size_t next = 0;
  for (std::size_t i = 0; i < packets; ++i) {
    // Fix k after the first k / n of the video's packets.
    while (next < fixes.size() && next * packets <= i * fixes.size()) {
      file += TsPackets(0x300, PrivatePes(NovatekBlock(fixes[next++]).substr(48)));
    }
    file += ts.substr(i * 188, 188);
  }
  WriteFileText(out, file);
  return true;
}

}  // namespace korvane::test
