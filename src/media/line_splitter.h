// Cuts the player's output, as it arrives in blocks of any size, into reply lines. A line cut
// between two reads is carried over and completed by the next block rather than lost in pieces.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

class LineSplitter {
 public:
  using LineHandler = std::function<void(std::string_view line)>;

  // A carried-over piece longer than this is handed on as a line of its own, so that output
  // without line breaks cannot grow the buffer without bound.
  static constexpr std::size_t kMaxLine = 64 * 1024;

  // Hands every complete line of `data` to `onLine` in order. Carriage returns and line feeds
  // both end a line; runs of them make no empty lines.
  void Feed(std::string_view data, const LineHandler& onLine);
  // Hands on the unfinished last line, if any (the output has ended).
  void Flush(const LineHandler& onLine);
  std::size_t pending() const { return carry_.size(); }

 private:
  std::string carry_;
};

}  // namespace korvane
