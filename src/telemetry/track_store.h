// The track of the file being played: telemetry records in fixed chunks of 64, with the counters
// that say which chunks are complete and which the map and chart have taken; and ProcessBatch, the
// track builder the extraction pipeline calls for every batch of 64 lines.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "settings/settings.h"
#include "telemetry/pipeline_lines.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct TrackChunk {
  static constexpr std::int32_t kCapacity = 64;
  std::int32_t capacity = kCapacity;
  std::int32_t count = 0;  // points held
  std::array<TelemetryRecord, kCapacity> points{};
};

// Written by the pipeline's thread (ProcessBatch, Append, Grow), read by the UI thread after a 516.
// Chunks never move once allocated and the chunk directory is never reallocated, so a reader on
// another thread can hold a chunk while the writer grows the store. The counters are atomic for
// the same reason.
//
// A chunk counts as ready only once ProcessBatch has converted it for the map, so a consumer never
// reads map coordinates that are still being written. That includes the final partial chunk of a
// run: the pipeline does not raise readyChunks itself, ProcessBatch does.
class CTrackStore {
 public:
  static constexpr std::int32_t kInitialChunks = 5;
  // Upper bound of the chunk directory: about a million points, far beyond any recording.
  static constexpr std::int32_t kMaxChunks = 16384;

  CTrackStore();  // kInitialChunks empty chunks, all counters 0
  CTrackStore(const CTrackStore&) = delete;
  CTrackStore& operator=(const CTrackStore&) = delete;

  std::int32_t chunkCount() const { return chunkCount_.load(std::memory_order_acquire); }
  std::int32_t currentChunk() const { return currentChunk_.load(std::memory_order_relaxed); }
  std::int32_t readyChunks() const { return readyChunks_.load(std::memory_order_acquire); }
  std::int32_t consumedChunks() const { return consumedChunks_.load(std::memory_order_relaxed); }
  std::int32_t totalPoints() const { return totalPoints_.load(std::memory_order_relaxed); }

  // The chunk at `index`, or nullptr when the index is outside 0 … chunkCount − 1.
  const TrackChunk* chunk(std::int32_t index) const;
  TrackChunk* chunk(std::int32_t index);

  // The UI thread's record of what it has handed to the map and the chart; clamped to
  // 0 … readyChunks.
  void SetConsumedChunks(std::int32_t consumed);

  // Counters and every chunk's count back to 0; the chunks stay allocated (a grown store stays
  // grown). Call only while no run writes.
  void Reset();
  // Appends one empty chunk. False when the directory is full or memory runs out; nothing changes.
  bool Grow();
  // Stores the record as the next point of `chunk`: `valid` always, the date, time, position,
  // speed, accelerations and media time only for a valid record. Returns 1 when the chunk became
  // full, 0 otherwise, −1 (nothing stored) for a null chunk or record or a chunk that is already
  // full.
  static int Append(TrackChunk* chunk, const TelemetryRecord* record);

  // The builder's step for one line: grows when needed, appends to the current chunk and advances
  // currentChunk and totalPoints. Returns what Append returned (−1 when the store cannot grow).
  int AppendNext(const TelemetryRecord& record);
  // Marks chunks 0 … chunks − 1 ready (never lowers the count, never beyond chunkCount).
  void MarkReady(std::int32_t chunks);

 private:
  std::unique_ptr<std::unique_ptr<TrackChunk>[]> chunks_;  // kMaxChunks entries, filled in order
  std::atomic<std::int32_t> chunkCount_{0};
  std::atomic<std::int32_t> currentChunk_{0};
  std::atomic<std::int32_t> readyChunks_{0};
  std::atomic<std::int32_t> consumedChunks_{0};
  std::atomic<std::int32_t> totalPoints_{0};
};

// The track builder, run on the pipeline's thread for the batch of `pipeline.lineCount()` lines in
// its slots: parses every line (valid or not, each becomes a point, with the start time of its cue
// head as its media time), converts chunk `batchIndex`
// for the map kind (1 Baidu BD-09; 2 Google: GCJ-02 when `locale` is "China", else a copy; other
// kinds none), marks it ready and posts 516 (and 518 after batch 0, whose stop request it clears).
// Returns −1 when the pipeline is stopping (checked before, between and after the steps), 0 when
// nothing was converted or `batchIndex` names no chunk (then nothing is posted), 1 after a
// conversion.
int ProcessBatch(std::int32_t batchIndex, IPipelineLines& pipeline, CTrackStore& store,
                 std::uint8_t mapKind, const std::string& locale);

// The store filled at once with a whole track read on the UI thread (a clip fed from a GPS log or
// an imported GPX track): reset, every record appended, each chunk converted for the map as
// ProcessBatch converts it, and all marked ready. Call only while no run writes. Returns the points
// stored, fewer when the store cannot grow.
std::int32_t LoadWholeTrack(std::span<const TelemetryRecord> records, CTrackStore& store,
                            std::uint8_t mapKind, const std::string& locale);

}  // namespace korvane
