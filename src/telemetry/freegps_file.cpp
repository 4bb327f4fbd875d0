#include "telemetry/freegps_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "telemetry/freegps_block.h"
#include "telemetry/mpeg_ts.h"
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
  } else if (std::memcmp(p, kFreeGpsMark.data(), kFreeGpsMark.size()) == 0) {
    list.blocks.push_back({box.offset + 4, box.size - 4});
  }
}

// Gathers a track block by block, block i at media time i s, as ReadFreeGpsFile describes.
class CTrackBuilder {
 public:
  CTrackBuilder(FreeGpsTrack& track, std::int64_t startMs) : track_(track), startMs_(startMs) {}
  void Add(const FreeGpsFix& fix) {
    const auto mediaMs = static_cast<std::int64_t>(index_++) * 1000;
    if (fix.layout == FreeGpsLayout::Unknown) {
      ++track_.skipped;
      return;
    }
    ++track_.blocks;
    const bool ownTime = fix.layout != FreeGpsLayout::Int32Degrees;
    if (ownTime && !fix.hasTime) {
      ++track_.skipped;
      return;
    }
    const std::int64_t timeMs = ownTime ? fix.timeMs : startMs_ + mediaMs;
    if (lastTimeMs_ == timeMs) return;
    lastTimeMs_ = timeMs;
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
        track_.gValues = true;
      }
      ++track_.fixes;
    }
    track_.records.push_back(r);
  }

 private:
  FreeGpsTrack& track_;
  std::int64_t startMs_;
  std::size_t index_ = 0;
  std::optional<std::int64_t> lastTimeMs_;
};

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
  CTrackBuilder builder(track, startMs);
  std::vector<std::uint8_t> bytes;
  for (const FreeGpsBlockRef& ref : list.blocks) {
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(ref.size, kFreeGpsDecodedBytes)));
    bytes.resize(readAt(ref.offset, bytes));
    builder.Add(DecodeFreeGpsBlock(bytes));
  }
  return track;
}

FreeGpsTrack ReadFreeGpsTs(std::uint64_t fileSize, const ReadAtFn& readAt, std::int64_t startMs) {
  FreeGpsTrack track;
  CTrackBuilder builder(track, startMs);
  std::optional<std::uint16_t> gpsPid;
  // The record as a block would hold it: the size field and the mark, then the record at 48.
  constexpr std::size_t kRecordAt = 48;
  std::vector<std::uint8_t> block(kRecordAt, 0);
  std::memcpy(&block[4], kFreeGpsMark.data(), kFreeGpsMark.size());
  ForEachTsPrivatePes(fileSize, readAt, track.problem, [&](const TsPes& pes) {
    if (gpsPid && pes.pid != *gpsPid) return;
    const std::size_t n = std::min(pes.data.size(), kFreeGpsDecodedBytes - kRecordAt);
    block.resize(kRecordAt);
    block.insert(block.end(), pes.data.begin(), pes.data.begin() + static_cast<std::ptrdiff_t>(n));
    const FreeGpsFix fix = DecodeFreeGpsBlock(block);
    // The stream is found by what it holds: the first whose packet reads as a record.
    if (!gpsPid && fix.layout == FreeGpsLayout::Unknown) return;
    gpsPid = pes.pid;
    builder.Add(fix);
  });
  return track;
}

FreeGpsTrack ReadFreeGpsClip(std::uint64_t fileSize, const ReadAtFn& readAt, std::int64_t startMs) {
  return LooksLikeMpegTs(fileSize, readAt) ? ReadFreeGpsTs(fileSize, readAt, startMs)
                                           : ReadFreeGpsFile(fileSize, readAt, startMs);
}

}  // namespace korvane
