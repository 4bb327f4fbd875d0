// What one clip may cost the indexer, and how its end reads to the programs that run it: a clip
// over its processor time ends the indexer with kExitProcessorTime, which is recorded as a failed
// clip (not tried again until the file changes), unlike a crash, which is tried once more.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// Processor time one clip may use. An hour-long 3.2 GB clip (30 frames and 10 telemetry cues a
// second) takes 0.15 s to index, in 40 MB; a clip that needs this much time is malformed.
inline constexpr int kClipProcessorSeconds = 20;
// Address space of an indexer: its libraries, the demuxer's tables for the largest clip and the
// points of an hour-long track fit many times over.
inline constexpr std::uint64_t kIndexerAddressSpace = std::uint64_t{4} << 30;

// The indexer's exit code when a clip used up its processor time.
inline constexpr int kExitProcessorTime = 4;

// Why an indexer that ended with `exitCode` (a signal as 128 + its number) left its clip.
std::string IndexerEndReason(int exitCode);
// True when the clip hit one of its limits: it fails at once, with no second try.
bool IsClipLimitEnd(int exitCode);

// The reason stored for a clip that needed more memory than the indexer may have.
std::string MemoryLimitReason();
// True for the reason of a clip failed on one of its limits (as against a time-out of a
// low-priority run, which may go better another time).
bool IsClipLimitReason(std::string_view reason);

}  // namespace korvane
