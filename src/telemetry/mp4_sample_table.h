// The tracks of an MP4 (QuickTime) file and, for the ones a reader wants, where each sample lies
// and when it plays, from the sample table (`stsz`/`stz2`, `stsc`, `stco`/`co64`, `stts`): the
// one way a telemetry track is read by its samples, never by demuxing the video.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "telemetry/mp4_boxes.h"

namespace korvane {

struct Mp4TrackHeader {
  std::uint32_t id = 0;         // tkhd track id
  char handler[4] = {};         // hdlr handler type: "vide", "soun", "meta", "text", "sbtl"...
  char format[4] = {};          // the first sample description's type: "gpmd", "tx3g", "mp4s"...
  std::uint32_t timescale = 0;  // mdhd units a second
  std::uint64_t duration = 0;   // mdhd, in timescale units
  // The first sample description box (inside `stsd`), for readers that need its fields.
  std::uint64_t descriptionOffset = 0;
  std::uint64_t descriptionSize = 0;
  bool HandlerIs(const char* t) const;
  bool FormatIs(const char* t) const;
};

struct Mp4Sample {
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
  std::uint64_t start = 0;     // in the track's timescale units from the track's start
  std::uint32_t duration = 0;  // in timescale units; the last one of `stts` when it ends early
};

struct Mp4Track {
  Mp4TrackHeader header;
  std::vector<Mp4Sample> samples;  // in decoding order; only samples wholly inside the file
  std::string problem;             // what was wrong with the table; empty when nothing
  // The sample's start or end in ms (rounded down), 0 with no timescale.
  std::int64_t StartMs(const Mp4Sample& s) const;
  std::int64_t EndMs(const Mp4Sample& s) const;
};

// Most samples taken from one track: a day at ten a second.
inline constexpr std::size_t kMaxMp4Samples = 864'000;
// Most tracks looked at in one file.
inline constexpr std::size_t kMaxMp4Tracks = 64;

// The tracks of the file (of `fileSize` bytes) in `moov` order; the sample table is read only of
// the tracks `wanted` accepts (the others come back with their header and no samples). Entries
// past the file's end, chunks outside it and counts larger than their box are dropped with a
// note in the track's problem; at most kMaxMp4Samples a track.
std::vector<Mp4Track> ReadMp4Tracks(std::uint64_t fileSize, const ReadAtFn& readAt,
                                    const std::function<bool(const Mp4TrackHeader&)>& wanted);

}  // namespace korvane
