// The one walker over the boxes of an MP4 (QuickTime) file, through a read-at function, and the
// reading shell that gives a clip file such a function: only the bytes asked for are read, so a
// reader of telemetry never touches the video and can count what it read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvane {

// Reads up to out.size() bytes at `offset`; returns how many it read (fewer at the end of the
// file or on an error).
using ReadAtFn = std::function<std::size_t(std::uint64_t offset, std::span<std::uint8_t> out)>;

// Reads of `bytes` held in memory (a payload cut from a file, a fuzzer's input); valid while they
// live.
ReadAtFn MemoryReadAt(std::span<const std::uint8_t> bytes);

struct Mp4Box {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;    // whole box, header included, cut to its parent's end
  std::uint64_t header = 0;  // 8, or 16 with a 64-bit size
  char type[4] = {};
  bool Is(std::string_view t) const;
  std::uint64_t body() const { return offset + header; }
  std::uint64_t end() const { return offset + size; }
};

// Most boxes one walk visits, at one level.
inline constexpr std::size_t kMaxMp4BoxesPerLevel = 200'000;

// The box at `at` inside [at, end); nullopt at the end or where the walk cannot go on. Size 1
// reads the 64-bit size, size 0 runs to `end`; a size past `end` is cut to it and a size below
// the header ends the walk, each noted in `problem` (once, "; " between notes).
std::optional<Mp4Box> ReadMp4Box(const ReadAtFn& readAt, std::uint64_t at, std::uint64_t end,
                                 std::string& problem);

// Calls `visit` with each box from `from` to `end` in order, until it returns false.
void ForEachMp4Box(const ReadAtFn& readAt, std::uint64_t from, std::uint64_t end,
                   std::string& problem, const std::function<bool(const Mp4Box&)>& visit);

// The first box of `type` among the children of `parent` (or of [from, end)).
std::optional<Mp4Box> FindMp4Child(const ReadAtFn& readAt, const Mp4Box& parent,
                                   std::string_view type, std::string& problem);

// Appends `what` to `problem` unless it is there already.
void NoteMp4Problem(std::string& problem, std::string_view what);

// Big-endian unsigned integer of `bytes` (at most 8) bytes.
std::uint64_t ReadBigEndian(const std::uint8_t* p, int bytes);
// Little-endian, for the camera records inside the samples.
std::uint64_t ReadLittleEndian(const std::uint8_t* p, int bytes);

// A clip file opened for reading by seeks, with the bytes read counted.
class CMp4File {
 public:
  // Not open() for a path that cannot be opened or is no regular file.
  explicit CMp4File(const std::string& path);
  CMp4File(const CMp4File&) = delete;  // readAt() holds this object
  CMp4File& operator=(const CMp4File&) = delete;
  bool open() const { return file_ != nullptr; }
  std::uint64_t size() const { return size_; }
  std::uint64_t bytesRead() const { return bytesRead_; }
  // Reads of this file; valid while it lives.
  const ReadAtFn& readAt() const { return readAt_; }

 private:
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
  std::uint64_t size_ = 0;
  mutable std::uint64_t bytesRead_ = 0;  // counted by the reads of a const file too
  ReadAtFn readAt_;
};

}  // namespace korvane
