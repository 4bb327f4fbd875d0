// Arbitrary bytes as an MP4 file's header boxes (read through a memory file, as the reader reads a
// clip by seeks) and as a file name: no crash, no overflow, no endless walk, and times that
// stand for real moments.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "telemetry/clip_time_range.h"

namespace {

// One memory file for the whole run, rewritten per input, and the path the reader opens it by.
struct MemoryFile {
  int fd = memfd_create("fuzz_clip", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);
};

const MemoryFile& TheMemoryFile() {
  static const MemoryFile file;
  if (file.fd < 0) std::abort();
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const auto& [fd, path] = TheMemoryFile();
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
    std::abort();
  }
  // The header's times count from 1904; one before 1970 is no creation time.
  if (const auto created = Mp4CreationTime(path); created && *created < 0) std::abort();
  if (Mp4DurationMs(path) < 0) std::abort();

  constexpr std::int64_t k1990 = 631'152'000;
  const auto named = FileNameDateTime(std::string_view(reinterpret_cast<const char*>(data), size));
  if (named && *named < k1990) std::abort();
  return 0;
}
