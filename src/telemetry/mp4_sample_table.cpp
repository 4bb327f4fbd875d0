#include "telemetry/mp4_sample_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace korvane {
namespace {

// A full box's body after its version and flags, read whole up to `maxBytes`: the tables are
// read in one piece each, and never more than the samples kept can use.
std::vector<std::uint8_t> ReadFullBoxBody(const ReadAtFn& readAt, const Mp4Box& box,
                                          std::uint64_t maxBytes) {
  if (box.size < box.header + 4) return {};
  std::vector<std::uint8_t> body(
      static_cast<std::size_t>(std::min(box.size - box.header - 4, maxBytes)));
  body.resize(readAt(box.body() + 4, body));
  return body;
}

std::uint8_t BoxVersion(const ReadAtFn& readAt, const Mp4Box& box) {
  std::uint8_t v[1] = {0};
  if (box.size > box.header) readAt(box.body(), v);
  return v[0];
}

// The entry count at the start of a table body and the entries of `entryBytes` after it, cut
// to what the body holds (noted) and to `maxEntries`.
std::uint64_t TableCount(const std::vector<std::uint8_t>& body, std::size_t countAt,
                         std::size_t entryBytes, std::uint64_t maxEntries, const char* what,
                         std::string& problem) {
  if (body.size() < countAt + 4) return 0;
  std::uint64_t count = ReadBigEndian(&body[countAt], 4);
  const std::uint64_t held = entryBytes == 0 ? count : (body.size() - countAt - 4) / entryBytes;
  if (count > held) {
    NoteMp4Problem(problem, std::string("the ") + what + " lists more entries than it holds");
    count = held;
  }
  return std::min(count, maxEntries);
}

std::uint64_t EntryBytesCap(std::size_t entryBytes) {
  return 8 + static_cast<std::uint64_t>(kMaxMp4Samples) * entryBytes;
}

std::vector<std::uint32_t> SampleSizes(const ReadAtFn& readAt, const Mp4Box& stbl,
                                       std::string& problem) {
  std::vector<std::uint32_t> sizes;
  if (const auto stsz = FindMp4Child(readAt, stbl, "stsz", problem)) {
    const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *stsz, EntryBytesCap(4));
    if (body.size() < 8) return sizes;
    const auto fixed = static_cast<std::uint32_t>(ReadBigEndian(body.data(), 4));
    const std::uint64_t n =
        TableCount(body, 4, fixed == 0 ? 4 : 0, kMaxMp4Samples, "stsz", problem);
    sizes.reserve(static_cast<std::size_t>(n));
    for (std::uint64_t i = 0; i < n; ++i) {
      sizes.push_back(fixed != 0 ? fixed
                                 : static_cast<std::uint32_t>(ReadBigEndian(&body[8 + i * 4], 4)));
    }
  } else if (const auto stz2 = FindMp4Child(readAt, stbl, "stz2", problem)) {
    const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *stz2, EntryBytesCap(2));
    if (body.size() < 8) return sizes;
    const int bits = body[3];
    if (bits != 4 && bits != 8 && bits != 16) {
      NoteMp4Problem(problem, "the stz2 field size is not 4, 8 or 16");
      return sizes;
    }
    std::uint64_t n = ReadBigEndian(&body[4], 4);
    const std::uint64_t held = (body.size() - 8) * 8 / static_cast<unsigned>(bits);
    if (n > held) NoteMp4Problem(problem, "the stz2 lists more entries than it holds");
    n = std::min<std::uint64_t>({n, held, kMaxMp4Samples});
    for (std::uint64_t i = 0; i < n; ++i) {
      if (bits == 4) {
        const std::uint8_t b = body[8 + i / 2];
        sizes.push_back(i % 2 == 0 ? b >> 4 : b & 0x0f);
      } else {
        sizes.push_back(
            static_cast<std::uint32_t>(ReadBigEndian(&body[8 + i * (bits / 8)], bits / 8)));
      }
    }
  }
  return sizes;
}

std::vector<std::uint64_t> ChunkOffsets(const ReadAtFn& readAt, const Mp4Box& stbl,
                                        std::string& problem) {
  std::vector<std::uint64_t> offsets;
  std::optional<Mp4Box> box = FindMp4Child(readAt, stbl, "stco", problem);
  const bool wide = !box;
  if (wide) box = FindMp4Child(readAt, stbl, "co64", problem);
  if (!box) return offsets;
  const std::size_t entry = wide ? 8 : 4;
  const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *box, EntryBytesCap(entry));
  const std::uint64_t n =
      TableCount(body, 0, entry, kMaxMp4Samples, wide ? "co64" : "stco", problem);
  offsets.reserve(static_cast<std::size_t>(n));
  for (std::uint64_t i = 0; i < n; ++i) {
    offsets.push_back(ReadBigEndian(&body[4 + i * entry], static_cast<int>(entry)));
  }
  return offsets;
}

struct ChunkRun {
  std::uint64_t firstChunk = 0;  // 1-based
  std::uint64_t samplesPerChunk = 0;
};

std::vector<ChunkRun> ChunkRuns(const ReadAtFn& readAt, const Mp4Box& stbl, std::string& problem) {
  std::vector<ChunkRun> runs;
  const auto stsc = FindMp4Child(readAt, stbl, "stsc", problem);
  if (!stsc) return runs;
  const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *stsc, EntryBytesCap(12));
  const std::uint64_t n = TableCount(body, 0, 12, kMaxMp4Samples, "stsc", problem);
  for (std::uint64_t i = 0; i < n; ++i) {
    const ChunkRun run{ReadBigEndian(&body[4 + i * 12], 4), ReadBigEndian(&body[8 + i * 12], 4)};
    if (run.firstChunk == 0 || (!runs.empty() && run.firstChunk <= runs.back().firstChunk)) {
      NoteMp4Problem(problem, "the stsc chunks are out of order; the table was read up to there");
      break;
    }
    runs.push_back(run);
  }
  return runs;
}

// Each sample's start and duration from `stts`, for `count` samples: samples past its entries
// take its last duration.
void SampleTimes(const ReadAtFn& readAt, const Mp4Box& stbl, std::vector<Mp4Sample>& samples,
                 std::string& problem) {
  const auto stts = FindMp4Child(readAt, stbl, "stts", problem);
  std::vector<std::uint8_t> body;
  if (stts) body = ReadFullBoxBody(readAt, *stts, EntryBytesCap(8));
  const std::uint64_t n = TableCount(body, 0, 8, kMaxMp4Samples, "stts", problem);
  std::uint64_t start = 0, entry = 0, leftInEntry = 0;
  std::uint32_t delta = 0;
  for (Mp4Sample& s : samples) {
    while (leftInEntry == 0 && entry < n) {
      leftInEntry = ReadBigEndian(&body[4 + entry * 8], 4);
      delta = static_cast<std::uint32_t>(ReadBigEndian(&body[8 + entry * 8], 4));
      ++entry;
    }
    if (leftInEntry > 0) --leftInEntry;
    s.start = start;
    s.duration = delta;
    start += delta;
  }
}

std::vector<Mp4Sample> ReadSamples(const ReadAtFn& readAt, const Mp4Box& stbl,
                                   std::uint64_t fileSize, std::string& problem) {
  const std::vector<std::uint32_t> sizes = SampleSizes(readAt, stbl, problem);
  const std::vector<std::uint64_t> chunks = ChunkOffsets(readAt, stbl, problem);
  const std::vector<ChunkRun> runs = ChunkRuns(readAt, stbl, problem);
  std::vector<Mp4Sample> all;
  all.reserve(sizes.size());
  std::size_t run = 0;
  for (std::uint64_t c = 0; c < chunks.size() && all.size() < sizes.size() && !runs.empty(); ++c) {
    while (run + 1 < runs.size() && runs[run + 1].firstChunk <= c + 1) ++run;
    if (runs[run].firstChunk > c + 1) continue;  // chunks before the first run hold nothing
    std::uint64_t at = chunks[c];
    for (std::uint64_t k = 0; k < runs[run].samplesPerChunk && all.size() < sizes.size(); ++k) {
      const std::uint32_t size = sizes[all.size()];
      all.push_back({at, size, 0, 0});
      at += size;
    }
  }
  if (all.size() < sizes.size()) {
    NoteMp4Problem(problem, "the chunks hold fewer samples than stsz lists");
  }
  SampleTimes(readAt, stbl, all, problem);
  std::vector<Mp4Sample> inFile;
  inFile.reserve(all.size());
  for (const Mp4Sample& s : all) {
    if (s.offset <= fileSize && s.size <= fileSize - s.offset) {
      inFile.push_back(s);
    } else {
      NoteMp4Problem(problem, "samples outside the file were dropped");
    }
  }
  return inFile;
}

Mp4TrackHeader ReadHeader(const ReadAtFn& readAt, const Mp4Box& trak, std::string& problem,
                          std::optional<Mp4Box>& stbl) {
  Mp4TrackHeader h;
  if (const auto tkhd = FindMp4Child(readAt, trak, "tkhd", problem)) {
    const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *tkhd, 24);
    const std::size_t at = BoxVersion(readAt, *tkhd) == 1 ? 16 : 8;
    if (body.size() >= at + 4) h.id = static_cast<std::uint32_t>(ReadBigEndian(&body[at], 4));
  }
  const auto mdia = FindMp4Child(readAt, trak, "mdia", problem);
  if (!mdia) return h;
  if (const auto mdhd = FindMp4Child(readAt, *mdia, "mdhd", problem)) {
    const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *mdhd, 32);
    const bool v1 = BoxVersion(readAt, *mdhd) == 1;
    const std::size_t at = v1 ? 16 : 8;
    if (body.size() >= at + (v1 ? 12 : 8)) {
      h.timescale = static_cast<std::uint32_t>(ReadBigEndian(&body[at], 4));
      h.duration = ReadBigEndian(&body[at + 4], v1 ? 8 : 4);
    }
  }
  if (const auto hdlr = FindMp4Child(readAt, *mdia, "hdlr", problem)) {
    const std::vector<std::uint8_t> body = ReadFullBoxBody(readAt, *hdlr, 8);
    if (body.size() >= 8) std::memcpy(h.handler, &body[4], 4);
  }
  const auto minf = FindMp4Child(readAt, *mdia, "minf", problem);
  if (minf) stbl = FindMp4Child(readAt, *minf, "stbl", problem);
  if (!stbl) return h;
  if (const auto stsd = FindMp4Child(readAt, *stbl, "stsd", problem)) {
    // Version and flags, the entry count, then the descriptions as boxes.
    std::string ignored;
    if (const auto first = ReadMp4Box(readAt, stsd->body() + 8, stsd->end(), ignored)) {
      std::memcpy(h.format, first->type, 4);
      h.descriptionOffset = first->offset;
      h.descriptionSize = first->size;
    }
  }
  return h;
}

std::int64_t TimescaleMs(std::uint64_t units, std::uint32_t timescale) {
  if (timescale == 0) return 0;
  const std::uint64_t seconds = units / timescale, rest = units % timescale;
  constexpr std::uint64_t kMostSeconds = static_cast<std::uint64_t>(INT64_MAX) / 1000 - 1;
  if (seconds > kMostSeconds) return static_cast<std::int64_t>(kMostSeconds * 1000);
  return static_cast<std::int64_t>(seconds * 1000 + rest * 1000 / timescale);
}

}  // namespace

bool Mp4TrackHeader::HandlerIs(const char* t) const {
  return std::memcmp(handler, t, 4) == 0;
}
bool Mp4TrackHeader::FormatIs(const char* t) const {
  return std::memcmp(format, t, 4) == 0;
}

std::int64_t Mp4Track::StartMs(const Mp4Sample& s) const {
  return TimescaleMs(s.start, header.timescale);
}
std::int64_t Mp4Track::EndMs(const Mp4Sample& s) const {
  return TimescaleMs(s.start + s.duration, header.timescale);
}

std::vector<Mp4Track> ReadMp4Tracks(std::uint64_t fileSize, const ReadAtFn& readAt,
                                    const std::function<bool(const Mp4TrackHeader&)>& wanted) {
  std::vector<Mp4Track> tracks;
  std::string topProblem;
  std::optional<Mp4Box> moov;
  ForEachMp4Box(readAt, 0, fileSize, topProblem, [&](const Mp4Box& box) {
    if (box.Is("moov")) moov = box;
    return !moov;
  });
  if (!moov) return tracks;
  ForEachMp4Box(readAt, moov->body(), moov->end(), topProblem, [&](const Mp4Box& trak) {
    if (!trak.Is("trak")) return true;
    Mp4Track track;
    std::optional<Mp4Box> stbl;
    track.header = ReadHeader(readAt, trak, track.problem, stbl);
    if (stbl && wanted(track.header)) {
      track.samples = ReadSamples(readAt, *stbl, fileSize, track.problem);
    }
    tracks.push_back(std::move(track));
    return tracks.size() < kMaxMp4Tracks;
  });
  return tracks;
}

}  // namespace korvane
