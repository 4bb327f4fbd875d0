#include "telemetry/mp4_boxes.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace korvane {

bool Mp4Box::Is(std::string_view t) const {
  return t.size() == 4 && std::memcmp(type, t.data(), 4) == 0;
}

std::uint64_t ReadBigEndian(const std::uint8_t* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
  return v;
}

std::uint64_t ReadLittleEndian(const std::uint8_t* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

ReadAtFn MemoryReadAt(std::span<const std::uint8_t> bytes) {
  return [bytes](std::uint64_t at, std::span<std::uint8_t> out) -> std::size_t {
    if (at >= bytes.size() || out.empty()) return 0;
    const std::size_t n = std::min<std::uint64_t>(out.size(), bytes.size() - at);
    std::memcpy(out.data(), bytes.data() + at, n);
    return n;
  };
}

void NoteMp4Problem(std::string& problem, std::string_view what) {
  if (problem.find(what) != std::string::npos) return;
  problem += (problem.empty() ? "" : "; ") + std::string(what);
}

std::optional<Mp4Box> ReadMp4Box(const ReadAtFn& readAt, std::uint64_t at, std::uint64_t end,
                                 std::string& problem) {
  if (end < at || end - at < 8) return std::nullopt;
  std::array<std::uint8_t, 16> h{};
  if (readAt(at, std::span(h).first(8)) != 8) return std::nullopt;
  Mp4Box box;
  box.offset = at;
  box.header = 8;
  std::memcpy(box.type, &h[4], 4);
  std::uint64_t size = ReadBigEndian(h.data(), 4);
  if (size == 1) {
    if (end - at < 16 || readAt(at + 8, std::span(h).subspan(8, 8)) != 8) return std::nullopt;
    box.header = 16;
    size = ReadBigEndian(&h[8], 8);
  } else if (size == 0) {
    size = end - at;
  }
  if (size < box.header) {
    NoteMp4Problem(problem, "a box size below its header ends the walk");
    return std::nullopt;
  }
  if (size > end - at) {
    NoteMp4Problem(problem, "a box runs past the end of the file");
    size = end - at;
  }
  box.size = size;
  return box;
}

void ForEachMp4Box(const ReadAtFn& readAt, std::uint64_t from, std::uint64_t end,
                   std::string& problem, const std::function<bool(const Mp4Box&)>& visit) {
  std::uint64_t at = from;
  for (std::size_t n = 0; n < kMaxMp4BoxesPerLevel; ++n) {
    const std::optional<Mp4Box> box = ReadMp4Box(readAt, at, end, problem);
    if (!box || !visit(*box)) return;
    at = box->end();
  }
}

std::optional<Mp4Box> FindMp4Child(const ReadAtFn& readAt, const Mp4Box& parent,
                                   std::string_view type, std::string& problem) {
  std::optional<Mp4Box> found;
  ForEachMp4Box(readAt, parent.body(), parent.end(), problem, [&](const Mp4Box& box) {
    if (box.Is(type)) found = box;
    return !found;
  });
  return found;
}

CMp4File::CMp4File(const std::string& path) : file_(nullptr, &std::fclose) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) return;
  size_ = static_cast<std::uint64_t>(st.st_size);
  readAt_ = [this](std::uint64_t offset, std::span<std::uint8_t> out) -> std::size_t {
    if (offset > static_cast<std::uint64_t>(INT64_MAX) ||
        fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
      return 0;
    }
    const std::size_t n = std::fread(out.data(), 1, out.size(), file_.get());
    bytesRead_ += n;
    return n;
  };
}

}  // namespace korvane
