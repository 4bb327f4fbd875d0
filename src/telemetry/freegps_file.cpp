#include "telemetry/freegps_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "telemetry/freegps_block.h"
#include "telemetry/record_fields.h"

namespace korvane {
namespace {

// The `gps ` box's table: version, count, then big-endian (offset, size) pairs.
void ReadIndex(const ReadAtFn& readAt, const Mp4Box& gps, std::uint64_t fileSize,
               FreeGpsBlockList& list) {
  const std::uint64_t payload = gps.size - gps.header;
  if (payload < 8) return;
  std::uint8_t head[8];
  if (readAt(gps.offset + gps.header, head) != 8) return;
  std::uint64_t count = ReadBigEndian(head + 4, 4);
  if (count > (payload - 8) / 8) {
    NoteMp4Problem(list.problem, "the GPS index lists more blocks than it holds");
    count = (payload - 8) / 8;
  }
  if (count > kMaxFreeGpsBlocks) {
    NoteMp4Problem(list.problem, "the GPS index was read up to its first blocks");
    count = kMaxFreeGpsBlocks;
  }
  if (count == 0) return;
  std::vector<std::uint8_t> table(static_cast<std::size_t>(count) * 8);
  table.resize(readAt(gps.offset + gps.header + 8, table) / 8 * 8);
  for (std::size_t i = 0; i < table.size(); i += 8) {
    const FreeGpsBlockRef ref{ReadBigEndian(&table[i], 4), ReadBigEndian(&table[i + 4], 4)};
    // An entry outside the file, or over the index itself, holds no block.
    const bool inFile =
        ref.size >= 12 && ref.offset < fileSize && ref.size <= fileSize - ref.offset;
    const bool overIndex = ref.offset < gps.offset + gps.size && gps.offset < ref.offset + ref.size;
    if (!inFile || overIndex) {
      NoteMp4Problem(list.problem,
                     "GPS index entries outside the file or over the index were dropped");
      continue;
    }
    list.blocks.push_back(ref);
  }
}

// A top-level `free` box whose payload starts with the rest of the mark ("GPS ") is a block;
// one whose payload is a whole block without its size field ("freeGPS ...") holds one 4 bytes
// in.
void ScanFreeBox(const ReadAtFn& readAt, const Mp4Box& box, FreeGpsBlockList& list) {
  if (box.header != 8 || box.size < 20) return;
  std::uint8_t p[8];
  if (readAt(box.offset + 8, p) != 8) return;
  if (std::memcmp(p, "GPS ", 4) == 0) {
    list.blocks.push_back({box.offset, box.size});
  } else if (std::memcmp(p, "freeGPS ", 8) == 0) {
    list.blocks.push_back({box.offset + 4, box.size - 4});
  }
}

}  // namespace

FreeGpsBlockList FindFreeGpsBlocks(std::uint64_t fileSize, const ReadAtFn& readAt) {
  FreeGpsBlockList index, scan;
  ForEachMp4Box(readAt, 0, fileSize, scan.problem, [&](const Mp4Box& box) {
    if (box.Is("moov") && !index.fromIndex) {
      if (const std::optional<Mp4Box> gps = FindMp4Child(readAt, box, "gps ", scan.problem)) {
        index.fromIndex = true;
        ReadIndex(readAt, *gps, fileSize, index);
      }
    } else if (box.Is("free") && scan.blocks.size() < kMaxFreeGpsBlocks) {
      ScanFreeBox(readAt, box, scan);
    }
    return true;
  });
  FreeGpsBlockList& found = index.blocks.empty() ? scan : index;
  const FreeGpsBlockList& other = index.blocks.empty() ? index : scan;
  if (!other.problem.empty()) NoteMp4Problem(found.problem, other.problem);
  return std::move(found);
}

FreeGpsTrack ReadFreeGpsFile(std::uint64_t fileSize, const ReadAtFn& readAt, std::int64_t startMs) {
  const FreeGpsBlockList list = FindFreeGpsBlocks(fileSize, readAt);
  FreeGpsTrack track;
  track.problem = list.problem;
  std::vector<std::uint8_t> bytes;
  std::optional<std::int64_t> lastTimeMs;
  for (std::size_t i = 0; i < list.blocks.size(); ++i) {
    const FreeGpsBlockRef& ref = list.blocks[i];
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(ref.size, kFreeGpsDecodedBytes)));
    bytes.resize(readAt(ref.offset, bytes));
    const FreeGpsFix fix = DecodeFreeGpsBlock(bytes);
    if (fix.layout == FreeGpsLayout::Unknown) {
      ++track.skipped;
      continue;
    }
    ++track.blocks;
    const auto mediaMs = static_cast<std::int64_t>(i) * 1000;
    const bool ownTime = fix.layout != FreeGpsLayout::Int32Degrees;
    if (ownTime && !fix.hasTime) {
      ++track.skipped;
      continue;
    }
    const std::int64_t timeMs = ownTime ? fix.timeMs : startMs + mediaMs;
    if (lastTimeMs == timeMs) continue;
    lastTimeMs = timeMs;
    TelemetryRecord r;
    r.mediaTimeMs = static_cast<std::int32_t>(mediaMs);
    SetRecordTime(r, timeMs);
    if (fix.fix) {
      r.valid = true;
      SetRecordPosition(r, fix.latitude, fix.longitude);
      if (!std::isnan(fix.speedKmh)) r.speedKmh = static_cast<float>(fix.speedKmh);
      r.headingDeg = static_cast<float>(fix.headingDeg);
      if (fix.hasG) {
        SetRecordG(r, fix.g[0], fix.g[1], fix.g[2]);
        track.gValues = true;
      }
      ++track.fixes;
    }
    track.records.push_back(r);
  }
  return track;
}

}  // namespace korvane
