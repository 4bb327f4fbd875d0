#include "telemetry/extract_line_batcher.h"

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {
constexpr std::size_t kMaxLine = kLineSlotSize - 1;

std::string_view CutLine(std::string_view message) {
  return message.substr(0, std::min(message.size(), kMaxLine));
}
}  // namespace

LineBatcher::LineBatcher() : slots_(new char[kLineSlotCount * kLineSlotSize]()) {
  lastMessage_.reserve(kMaxLine);
}

void LineBatcher::BeginRun() {
  messageCounter_ = 0;
  index_ = 0;
  lastMessage_.clear();
  batchCount_ = 0;
  lineCount_ = 0;
}

const char* LineBatcher::slot(std::int32_t index) const {
  if (index < 0 || index >= kLineSlotCount) return nullptr;
  return slots_.get() + static_cast<std::size_t>(index) * kLineSlotSize;
}

void LineBatcher::Store(std::string_view line) {
  // Zero-filled, so the slot holds exactly the line whatever an earlier batch left there.
  char* target = slots_.get() + static_cast<std::size_t>(index_) * kLineSlotSize;
  std::memset(target, 0, kLineSlotSize);
  std::memcpy(target, line.data(), line.size());
  ++index_;
  lineCount_ = index_;
}

bool LineBatcher::Add(std::string_view message, IBatchSink& sink) {
  const std::string_view line = CutLine(message);
  lastMessage_.assign(line);
  const bool keep = messageCounter_ == 0;
  messageCounter_ = (messageCounter_ + 1) % kKeepEvery;
  if (!keep) return true;
  Store(line);
  if (index_ < kLineSlotCount) return true;
  ++batchCount_;
  index_ = 0;
  return sink.ProcessBatch(batchCount_ - 1) != -1;
}

void LineBatcher::Finish(IBatchSink& sink) {
  // A -1 from the track builder always comes with an empty slot index, so nothing is pending then.
  const bool partialPending = index_ >= 1 && index_ < kLineSlotCount;
  if (partialPending) ++batchCount_;
  if (batchCount_ == 0) {
    sink.NothingKept();
  } else if (partialPending) {
    // The track ends with the last message the extractor delivered, kept or not.
    Store(lastMessage_);
    sink.ProcessBatch(batchCount_ - 1);
  }
  index_ = 0;
  batchCount_ = 0;
}

}  // namespace korvane
