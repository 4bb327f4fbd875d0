// The extraction read loop's bookkeeping without I/O: keeps the 1st, 11th, 21st ... message of a
// run, cut to 127 bytes, in the 64 line slots (allocated once), hands full batches to the track
// builder, and at the end of the run hands over the partial batch with the last message appended
// (the track builder marks a chunk ready itself, once it has converted it).
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "telemetry/pipeline_lines.h"

namespace korvane {

// Where the batches go: the track builder and the pipeline's notifications.
class IBatchSink {
 public:
  virtual ~IBatchSink() = default;
  // Builds the track from the current batch; -1 means the pipeline is stopping.
  virtual int ProcessBatch(std::int32_t batchIndex) = 0;
  // The run ended without keeping a single line.
  virtual void NothingKept() = 0;
};

class LineBatcher {
 public:
  static constexpr int kKeepEvery = 10;

  LineBatcher();

  // Clears the counters for a new run; the slots stay allocated.
  void BeginRun();

  // One message of the stream (longer ones are cut to 127 bytes). Returns false when the track
  // builder answered -1: the caller then ends its loop and still calls Finish.
  bool Add(std::string_view message, IBatchSink& sink);

  // End of the run's loop, for any reason: 518 for a run that kept nothing, else the pending
  // partial batch with the last message appended once more. Leaves batchCount at 0.
  void Finish(IBatchSink& sink);

  std::int32_t batchCount() const { return batchCount_.load(std::memory_order_relaxed); }
  std::int32_t lineCount() const { return lineCount_.load(std::memory_order_relaxed); }
  // Slot `index` (0..63), kLineSlotSize bytes; nullptr for an index out of range.
  const char* slot(std::int32_t index) const;

 private:
  void Store(std::string_view message);

  std::unique_ptr<char[]> slots_;
  std::string lastMessage_;  // the most recently read message, cut to 127 bytes
  int messageCounter_ = 0;   // 0..9: 0 keeps the message
  int index_ = 0;            // next slot to fill
  // Read by other threads only for display and tests; written by the reading thread.
  std::atomic<std::int32_t> batchCount_{0};
  std::atomic<std::int32_t> lineCount_{0};
};

}  // namespace korvane
