#include "index/indexer_limits.h"

namespace korvane {

std::string IndexerEndReason(int exitCode) {
  if (exitCode == kExitProcessorTime) {
    return "used more than " + std::to_string(kClipProcessorSeconds) + " s of processor time";
  }
  if (exitCode > 128) return "the indexer was killed by signal " + std::to_string(exitCode - 128);
  return "the indexer ended with code " + std::to_string(exitCode);
}

bool IsClipLimitEnd(int exitCode) {
  return exitCode == kExitProcessorTime;
}

std::string MemoryLimitReason() {
  return "needed more than " + std::to_string(kIndexerAddressSpace >> 30) + " GiB of memory";
}

bool IsClipLimitReason(std::string_view reason) {
  return reason == IndexerEndReason(kExitProcessorTime) || reason == MemoryLimitReason();
}

}  // namespace korvane
