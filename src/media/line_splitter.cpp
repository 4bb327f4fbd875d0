#include "media/line_splitter.h"

namespace korvane {

void LineSplitter::Feed(std::string_view data, const LineHandler& onLine) {
  while (!data.empty()) {
    const std::size_t end = data.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      carry_.append(data);
      if (carry_.size() >= kMaxLine) Flush(onLine);
      return;
    }
    if (carry_.empty()) {
      if (end > 0) onLine(data.substr(0, end));
    } else {
      carry_.append(data.substr(0, end));
      Flush(onLine);
    }
    data.remove_prefix(end + 1);
  }
}

void LineSplitter::Flush(const LineHandler& onLine) {
  if (carry_.empty()) return;
  std::string line;
  line.swap(carry_);
  onLine(line);
}

}  // namespace korvane
