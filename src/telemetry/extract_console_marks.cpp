#include "telemetry/extract_console_marks.h"

namespace korvane {

namespace {
constexpr std::string_view kMovTextMark = "Subtitle: mov_text";
constexpr std::string_view kAmbarellaMark = "Ambarella EXT";
// No console line of interest is this long; a longer one is scanned in pieces of this size so that
// the memory held stays bounded whatever the child writes.
constexpr std::size_t kMaxPartial = 4096;
}  // namespace

void ConsoleMarkScanner::Reset() {
  partial_.clear();
  movTextSeen_ = false;
  ambarellaSeen_ = false;
}

void ConsoleMarkScanner::ScanLine(std::string_view line) {
  if (line.find(kMovTextMark) != std::string_view::npos) {
    movTextSeen_ = true;
  } else if (line.find(kAmbarellaMark) != std::string_view::npos) {
    ambarellaSeen_ = true;
  }
}

bool ConsoleMarkScanner::Feed(std::string_view output) {
  std::size_t start = 0;
  while (!bothSeen()) {
    const std::size_t end = output.find_first_of("\r\n", start);
    if (end == std::string_view::npos) break;
    if (partial_.empty()) {
      ScanLine(output.substr(start, end - start));
    } else {
      partial_.append(output.substr(start, end - start));
      ScanLine(partial_);
      partial_.clear();
    }
    start = end + 1;
  }
  if (bothSeen()) {
    partial_.clear();
    return true;
  }
  partial_.append(output.substr(start));
  if (partial_.size() > kMaxPartial) {
    ScanLine(partial_);
    // Keep a tail long enough that a mark cut here is still found whole in the next read.
    partial_.erase(0, partial_.size() - kMovTextMark.size());
  }
  return bothSeen();
}

}  // namespace korvane
