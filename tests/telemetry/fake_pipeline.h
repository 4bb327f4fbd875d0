// A pipeline stand-in for the track builder's tests: 64 plain line slots, a state, the
// notifications it was asked to post, and the parser the builder parses into.
#pragma once
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "telemetry/pipeline_lines.h"
#include "telemetry/telemetry_parser.h"

namespace korvane::test {

class FakePipeline : public IPipelineLines {
 public:
  PipelineState state() const override { return stateOnCall_(); }
  std::int32_t lineCount() const override { return lineCount_; }
  const char* lineSlot(std::int32_t index) const override { return slots_[index].data(); }
  CTelemetryParser& parser() override { return parser_; }
  void clearStopRequested() override { stopRequested = false; }
  void notify(WPARAM code) override { notified.push_back(code); }

  // Fills slots 0 … lines.size() − 1 (each cut to 127 bytes) and sets lineCount.
  void SetLines(const std::vector<std::string>& lines) {
    for (auto& slot : slots_) slot.fill('\0');
    for (std::size_t i = 0; i < lines.size() && i < slots_.size(); ++i) {
      std::memcpy(slots_[i].data(), lines[i].data(), std::min<std::size_t>(lines[i].size(), 127));
    }
    lineCount_ = static_cast<std::int32_t>(lines.size());
  }
  // Fills the slots with raw bytes, 128 to a slot and no terminator of their own; lineCount is the
  // number of slots touched.
  void SetRawSlots(const void* data, std::size_t size) {
    for (auto& slot : slots_) slot.fill('\0');
    const std::size_t bytes = std::min(size, sizeof slots_);
    std::memcpy(slots_.data(), data, bytes);
    lineCount_ = static_cast<std::int32_t>((bytes + kLineSlotSize - 1) / kLineSlotSize);
  }
  char* rawSlot(std::size_t index) { return slots_[index].data(); }
  void SetLineCount(std::int32_t count) { lineCount_ = count; }

  // The state reported from the n-th state() call on (0-based); before that, Running.
  void StopFromCall(int n) { stopFromCall_ = n; }

  bool stopRequested = true;
  std::vector<WPARAM> notified;

 private:
  PipelineState stateOnCall_() const {
    const int call = calls_++;
    return stopFromCall_ >= 0 && call >= stopFromCall_ ? PipelineState::Stopping
                                                       : PipelineState::Running;
  }

  std::array<std::array<char, kLineSlotSize>, kLineSlotCount> slots_{};
  std::int32_t lineCount_ = 0;
  CTelemetryParser parser_;
  int stopFromCall_ = -1;
  mutable int calls_ = 0;
};

}  // namespace korvane::test
