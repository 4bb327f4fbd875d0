#include "support/mp4_data_track.h"

#include "support/file_text.h"
#include "support/mp4_bytes.h"

namespace korvane::test {
namespace {

struct Movie {
  std::size_t moov = 0;
  std::size_t mvhd = 0;  // 0 when the moov has none
};

// The last top-level box must be the moov, every box must fit.
bool FindMovie(const std::string& file, Movie& movie) {
  std::size_t at = 0;
  bool found = false;
  while (at + 8 <= file.size()) {
    const std::uint64_t size = GetBe(file, at);
    if (size < 8 || size > file.size() - at) return false;
    found = file.compare(at + 4, 4, "moov") == 0;
    if (found) movie.moov = at;
    at += size;
  }
  if (!found || at != file.size()) return false;
  if (file.compare(movie.moov + 12, 4, "mvhd") == 0) movie.mvhd = movie.moov + 8;
  return true;
}

std::string SampleTable(const DataTrack& track, std::uint64_t firstOffset) {
  std::string stts, stsz, co64;
  std::uint32_t runs = 0;
  for (std::size_t i = 0; i < track.samples.size();) {
    std::size_t j = i;
    while (j < track.samples.size() && track.samples[j].duration == track.samples[i].duration) ++j;
    stts += Be32(j - i) + Be32(track.samples[i].duration);
    ++runs;
    i = j;
  }
  std::uint64_t offset = firstOffset;
  for (const DataTrackSample& s : track.samples) {
    stsz += Be32(s.bytes.size());
    co64 += Be(offset, 8);
    offset += s.bytes.size();
  }
  const std::string entry =
      Box(track.format, std::string(6, '\0') + Be(1, 2) + track.descriptionBody);
  const std::string count = Be32(track.samples.size());
  return Box("stbl", FullBox("stsd", Be32(1) + entry) + FullBox("stts", Be32(runs) + stts) +
                         FullBox("stsc", Be32(1) + Be32(1) + Be32(1) + Be32(1)) +
                         FullBox("stsz", Be32(0) + count + stsz) + FullBox("co64", count + co64));
}

// The track box; its size does not depend on `firstOffset`.
std::string Track(const DataTrack& track, std::uint32_t id, std::uint64_t movieDuration,
                  std::uint64_t firstOffset) {
  std::uint64_t duration = 0;
  for (const DataTrackSample& s : track.samples) duration += s.duration;
  // Version 0 headers: times 0, the unity matrix, no size.
  const std::string matrix =
      Be32(0x10000) + Be(0, 12) + Be32(0x10000) + Be(0, 12) + Be32(0x40000000);
  const std::string tkhd = FullBox(
      "tkhd", Be(0, 8) + Be32(id) + Be32(0) + Be32(movieDuration) + Be(0, 16) + matrix + Be(0, 8),
      0, 3);
  const std::string mdhd =
      FullBox("mdhd", Be(0, 8) + Be32(track.timescale) + Be32(duration) + Be32(0x55c40000));
  const std::string hdlr =
      FullBox("hdlr", Be32(0) + track.handler + Be(0, 12) + "Telemetry" + '\0');
  const std::string dinf = Box("dinf", FullBox("dref", Be32(1) + FullBox("url ", "", 0, 1)));
  const std::string minf =
      Box("minf", FullBox("nmhd", "") + dinf + SampleTable(track, firstOffset));
  return Box("trak", tkhd + Box("mdia", mdhd + hdlr + minf));
}

}  // namespace

bool WriteClipWithDataTrack(const std::string& mp4, const std::string& out,
                            const DataTrack& track) {
  std::string file = ReadFileText(mp4);
  Movie movie;
  if (!FindMovie(file, movie)) return false;
  std::uint32_t id = 1;
  std::uint64_t movieDuration = 0;
  if (movie.mvhd != 0) {
    const std::size_t end = movie.mvhd + GetBe(file, movie.mvhd);
    id = static_cast<std::uint32_t>(GetBe(file, end - 4));
    PutBe(file, end - 4, id + 1);
    const std::uint64_t movieScale = GetBe(file, movie.mvhd + 20);
    std::uint64_t units = 0;
    for (const DataTrackSample& s : track.samples) units += s.duration;
    if (track.timescale != 0) movieDuration = units * movieScale / track.timescale;
  }
  const std::size_t trakSize = Track(track, id, movieDuration, 0).size();
  std::string mdat;
  for (const DataTrackSample& s : track.samples) mdat += s.bytes;
  const std::uint64_t firstOffset = file.size() + trakSize + 16;
  PutBe(file, movie.moov, GetBe(file, movie.moov) + trakSize);
  file += Track(track, id, movieDuration, firstOffset);
  // A 64-bit size, so a test can give a large track.
  file += Be32(1) + "mdat" + Be(16 + mdat.size(), 8) + mdat;
  WriteFileText(out, file);
  return true;
}

}  // namespace korvane::test
