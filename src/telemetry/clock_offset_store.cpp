#include "telemetry/clock_offset_store.h"

#include <cerrno>
#include <cstring>

#include "platform/small_file.h"

namespace korvane {
namespace {

// A line per folder: no user comes near this; a larger file is not ours.
constexpr std::int64_t kMaxOffsetsBytes = 1 << 20;

}  // namespace

std::string ClockOffsetsPath(const std::string& dataFolder) {
  return dataFolder + "/clock_offsets.txt";
}

ClockOffsets ReadClockOffsets(const std::string& dataFolder) {
  const auto text = ReadSmallFile(ClockOffsetsPath(dataFolder), kMaxOffsetsBytes);
  return text ? ClockOffsets::FromText(*text) : ClockOffsets{};
}

bool StoreClockOffset(const std::string& dataFolder, const std::string& folder, int seconds,
                      ClockOffsets& offsets, std::string& error) {
  ClockOffsets updated = ReadClockOffsets(dataFolder);
  updated.Set(folder, seconds);
  errno = 0;
  if (!ReplaceFile(ClockOffsetsPath(dataFolder), updated.ToText())) {
    if (errno == 0) errno = EIO;
    error = "cannot write " + ClockOffsetsPath(dataFolder) + ": " + std::strerror(errno);
    return false;
  }
  offsets = std::move(updated);
  return true;
}

}  // namespace korvane
