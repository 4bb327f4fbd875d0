// A clip's Novatek-family GPS blocks: where they lie (the `gps ` index inside `moov`, else the
// top-level `free` boxes that start with the mark) and their fixes in block order, one block a
// second of the clip. Pure over a read-at function, so the bytes it asks for are bounded and
// countable: box headers, the index and the head of each block, never the video.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "telemetry/mp4_boxes.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct FreeGpsBlockRef {
  std::uint64_t offset = 0;  // of the block's size field, right before the mark
  std::uint64_t size = 0;
};

struct FreeGpsBlockList {
  std::vector<FreeGpsBlockRef> blocks;
  bool fromIndex = false;  // listed by the `gps ` index (else found by the box scan)
  std::string problem;     // what was wrong with the boxes or the index; empty when nothing
};

// Most blocks taken from one clip: a day at one a second.
inline constexpr std::size_t kMaxFreeGpsBlocks = 86'400;

// The blocks of a file of `fileSize` bytes. Index entries outside the file are dropped; an
// index with none inside falls back to the scan. Box sizes past the end are cut to it, a size
// below its header ends the walk there, 64-bit sizes and size 0 (to the end) are read; the
// problem says which happened.
FreeGpsBlockList FindFreeGpsBlocks(std::uint64_t fileSize, const ReadAtFn& readAt);

struct FreeGpsTrack {
  std::vector<TelemetryRecord> records;  // one per block with a time, mediaTimeMs set
  int blocks = 0;                        // blocks of a known layout
  int fixes = 0;                         // records with a position
  int skipped = 0;                       // listed blocks that are not blocks or do not read
  bool gValues = false;                  // some record carries accelerometer readings
  std::string problem;                   // FindFreeGpsBlocks' problem
};

// The file's records: block i at media time i s; a block with its own time gives it (a second
// a camera writes twice is kept once, the first), one without (70mai) is timed `startMs` + i s.
// A block with status V gives a record without a position (`valid` false).
FreeGpsTrack ReadFreeGpsFile(std::uint64_t fileSize, const ReadAtFn& readAt, std::int64_t startMs);

// The records of a transport stream (a camera in TS mode), timed as ReadFreeGpsFile times its
// blocks: each private-stream packet of the GPS stream holds one record of the common layout
// from its first byte, as a block holds it after its first 48. The stream is the first whose
// packet reads as a record (cameras give it different PIDs); `problem` says where the stream
// did not read.
FreeGpsTrack ReadFreeGpsTs(std::uint64_t fileSize, const ReadAtFn& readAt, std::int64_t startMs);

// ReadFreeGpsTs for a file that starts as a transport stream, else ReadFreeGpsFile.
FreeGpsTrack ReadFreeGpsClip(std::uint64_t fileSize, const ReadAtFn& readAt, std::int64_t startMs);

}  // namespace korvane
