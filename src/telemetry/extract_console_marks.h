// Watches the extractor's console output for the two marks of a telemetry-carrying file:
// "Subtitle: mov_text" and "Ambarella EXT". Output is taken line by line, lines ending at "\r" or
// "\n" (progress lines end in "\r"); a line cut between two reads is joined.
#pragma once
#include <string>
#include <string_view>

namespace korvane {

class ConsoleMarkScanner {
 public:
  // Forgets the marks and any partial line.
  void Reset();
  // Scans one read of console output. Returns true once both marks have been seen.
  bool Feed(std::string_view output);

  bool movTextSeen() const { return movTextSeen_; }
  bool ambarellaSeen() const { return ambarellaSeen_; }
  bool bothSeen() const { return movTextSeen_ && ambarellaSeen_; }

 private:
  void ScanLine(std::string_view line);

  std::string partial_;  // the unfinished last line of the previous read
  bool movTextSeen_ = false;
  bool ambarellaSeen_ = false;
};

}  // namespace korvane
