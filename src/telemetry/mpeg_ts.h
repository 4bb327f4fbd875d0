// The private-stream packets of an MPEG transport stream (a dash camera's .TS clip), reassembled
// from its 188-byte packets: where cameras put their GPS records beside the video. Pure over a
// read-at function; the file is read once, in order, and only the private streams are kept.
#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "telemetry/mp4_boxes.h"

namespace korvane {

inline constexpr std::size_t kTsPacketSize = 188;
// Largest private PES kept: a camera's record is a few hundred bytes to a few kB.
inline constexpr std::size_t kMaxTsPrivatePes = 64 * 1024;

// Whether the file starts as a transport stream: sync bytes at 0, 188 and 376 (or at each packet
// of a shorter file).
bool LooksLikeMpegTs(std::uint64_t fileSize, const ReadAtFn& readAt);

struct TsPes {
  std::uint16_t pid = 0;
  std::uint8_t streamId = 0;           // 0xBD private_stream_1 or 0xBF private_stream_2
  std::span<const std::uint8_t> data;  // after the PES header; valid during the call
};

// Calls `visit` with each whole private-stream PES of the file in order (one that its next start
// or the file's end closes). A packet without the sync byte ends the walk there with a note in
// `problem`; a PES larger than kMaxTsPrivatePes is dropped with a note.
void ForEachTsPrivatePes(std::uint64_t fileSize, const ReadAtFn& readAt, std::string& problem,
                         const std::function<void(const TsPes&)>& visit);

}  // namespace korvane
