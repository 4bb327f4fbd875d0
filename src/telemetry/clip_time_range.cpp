#include "telemetry/clip_time_range.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/path_parts.h"
#include "telemetry/civil_date.h"

namespace korvane {

namespace {

bool IsSeparator(char c) {
  return c == '_' || c == '-' || c == '.' || c == ' ';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Seconds from 1904-01-01 (QuickTime's epoch) to 1970-01-01.
constexpr std::int64_t kQuickTimeEpoch = 2'082'844'800;

std::uint64_t BigEndian(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

// Finds the box `type` among the boxes from `offset` to `end` of the file; its body's offset and
// end. Only box headers are read.
bool FindBox(std::ifstream& in, std::uint64_t offset, std::uint64_t end, const char* type,
             std::uint64_t& bodyOffset, std::uint64_t& bodyEnd) {
  for (int boxes = 0; offset + 8 <= end && boxes < 4096; ++boxes) {
    unsigned char header[16];
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in.read(reinterpret_cast<char*>(header), 8)) return false;
    std::uint64_t size = BigEndian(header, 4);
    std::uint64_t headerSize = 8;
    if (size == 1) {
      if (!in.read(reinterpret_cast<char*>(header + 8), 8)) return false;
      size = BigEndian(header + 8, 8);
      headerSize = 16;
    } else if (size == 0) {
      size = end - offset;
    }
    if (size < headerSize || offset + size > end) return false;
    if (std::equal(type, type + 4, header + 4)) {
      bodyOffset = offset + headerSize;
      bodyEnd = offset + size;
      return true;
    }
    offset += size;
  }
  return false;
}

}  // namespace

std::string_view ClipTimeBasisText(ClipTimeBasis basis) {
  switch (basis) {
    case ClipTimeBasis::CameraClock:
      return "camera clock";
    case ClipTimeBasis::CreationTime:
      return "MP4 creation time";
    case ClipTimeBasis::FileName:
      return "file name";
    case ClipTimeBasis::ModificationTime:
      break;
  }
  return "modification time";
}

ClipTimeRange ClipTimeRangeOf(const ClipTimeFacts& f) {
  if (f.cameraStartUtcMs) return {*f.cameraStartUtcMs, f.durationMs, ClipTimeBasis::CameraClock};
  if (f.creationTimeUtcMs) {
    return {*f.creationTimeUtcMs, f.durationMs, ClipTimeBasis::CreationTime};
  }
  if (f.fileNameUtcMs) return {*f.fileNameUtcMs, f.durationMs, ClipTimeBasis::FileName};
  return {f.modifiedUtcMs - f.durationMs, f.durationMs, ClipTimeBasis::ModificationTime};
}

std::optional<std::int64_t> FileNameDateTime(std::string_view name) {
  for (std::size_t start = 0; start < name.size(); ++start) {
    if (!IsDigit(name[start]) || (start > 0 && IsDigit(name[start - 1]))) continue;
    std::array<int, 14> d{};
    std::size_t n = 0, i = start;
    while (n < d.size() && i < name.size()) {
      if (IsDigit(name[i])) {
        d[n++] = name[i++] - '0';
      } else if (IsSeparator(name[i]) && i + 1 < name.size() && IsDigit(name[i + 1]) &&
                 (n == 4 || n == 6 || n == 8 || n == 10 || n == 12)) {
        ++i;  // one separator between groups
      } else {
        break;
      }
    }
    if (n < d.size() || (i < name.size() && IsDigit(name[i]))) continue;
    const auto num = [&](int at, int count) {
      int v = 0;
      for (int k = at; k < at + count; ++k) v = v * 10 + d[k];
      return v;
    };
    const int year = num(0, 4), month = num(4, 2), day = num(6, 2);
    const int hour = num(8, 2), minute = num(10, 2), second = num(12, 2);
    constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1990 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1] || hour > 23 ||
        minute > 59 || second > 59) {
      continue;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap) continue;
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
  }
  return std::nullopt;
}

namespace {

// The movie header (moov/mvhd) of the MP4 file at `path`: creation time (s since 1904), time scale
// and duration. False when the file has none or cannot be read.
bool ReadMovieHeader(const std::string& path, std::uint64_t& created, std::uint64_t& timeScale,
                     std::uint64_t& duration) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const auto size = static_cast<std::uint64_t>(in.tellg());
  std::uint64_t moov = 0, moovEnd = 0, mvhd = 0, mvhdEnd = 0;
  if (!FindBox(in, 0, size, "moov", moov, moovEnd) ||
      !FindBox(in, moov, moovEnd, "mvhd", mvhd, mvhdEnd)) {
    return false;
  }
  // Version 0: flags, creation, modification, time scale, duration (4 bytes each); version 1
  // has 8-byte times and duration.
  unsigned char body[32];
  in.seekg(static_cast<std::streamoff>(mvhd));
  if (mvhdEnd - mvhd < 20 || !in.read(reinterpret_cast<char*>(body), 20)) return false;
  if (body[0] == 1) {
    if (mvhdEnd - mvhd < 32 || !in.read(reinterpret_cast<char*>(body + 20), 12)) return false;
    created = BigEndian(body + 4, 8);
    timeScale = BigEndian(body + 20, 4);
    duration = BigEndian(body + 24, 8);
  } else {
    created = BigEndian(body + 4, 4);
    timeScale = BigEndian(body + 12, 4);
    duration = BigEndian(body + 16, 4);
  }
  return true;
}

}  // namespace

std::optional<std::int64_t> Mp4CreationTime(const std::string& path) {
  std::uint64_t created = 0, timeScale = 0, duration = 0;
  if (!ReadMovieHeader(path, created, timeScale, duration)) return std::nullopt;
  // Before 1970 no camera wrote it; past the year 9999 it is garbage, whose ms would overflow.
  constexpr std::uint64_t kFirst = kQuickTimeEpoch, kLast = kQuickTimeEpoch + 253'402'300'799;
  if (created < kFirst || created > kLast) return std::nullopt;
  return (static_cast<std::int64_t>(created) - kQuickTimeEpoch) * 1000;
}

std::int64_t Mp4DurationMs(const std::string& path) {
  std::uint64_t created = 0, timeScale = 0, duration = 0;
  if (!ReadMovieHeader(path, created, timeScale, duration) || timeScale == 0) return 0;
  // A duration of all ones means "not known"; anything past a day is not a dash-cam clip.
  if (duration / timeScale > 86'400) return 0;
  return static_cast<std::int64_t>(duration * 1000 / timeScale);
}

ClipTimeRange ClipDateOf(const ClipTimeFacts& facts) {
  if (facts.fileNameUtcMs) return {*facts.fileNameUtcMs, facts.durationMs, ClipTimeBasis::FileName};
  if (facts.creationTimeUtcMs) {
    return {*facts.creationTimeUtcMs, facts.durationMs, ClipTimeBasis::CreationTime};
  }
  return {facts.modifiedUtcMs - facts.durationMs, facts.durationMs,
          ClipTimeBasis::ModificationTime};
}

ClipTimeFacts ClipTimeFactsOfFile(const std::string& path) {
  ClipTimeFacts facts;
  facts.creationTimeUtcMs = Mp4CreationTime(path);
  if (const auto seconds = FileNameDateTime(SplitPath(path).fileName))
    facts.fileNameUtcMs = *seconds * 1000;
  std::error_code error;
  const auto written = std::filesystem::last_write_time(path, error);
  if (!error) {
    const auto since1970 = std::chrono::file_clock::to_sys(written);
    facts.modifiedUtcMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(since1970.time_since_epoch()).count();
  }
  facts.durationMs = Mp4DurationMs(path);
  return facts;
}

bool FindMp4Box(std::ifstream& in, std::uint64_t offset, std::uint64_t end, const char* type,
                std::uint64_t& bodyOffset, std::uint64_t& bodyEnd) {
  return FindBox(in, offset, end, type, bodyOffset, bodyEnd);
}

}  // namespace korvane
