#include "telemetry/ligogps_trailer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "telemetry/civil_date.h"
#include "telemetry/log_fields.h"
#include "telemetry/mp4_sample_table.h"
#include "telemetry/record_fields.h"

namespace korvane {
namespace {

constexpr std::string_view kMark = "LIGOGPSINFO";
// A block: its size, "SKIP", the mark padded to 16 bytes (a space after it in the plaintext
// kind, a NUL in the encrypted one), the line count; then the lines, each a 4-byte number and
// its NUL-padded text in a slot of one size; then a 4-byte mark and the block's size again.
constexpr std::size_t kBlockHead = 28;
constexpr std::size_t kBlockTail = 8;
constexpr std::size_t kSlotNumber = 4;
constexpr int kMaxBlocksChained = 8;
constexpr std::uint64_t kMaxLines = 86'400;
// An MPEG-TS stream carries its encrypted blocks from its first seconds.
constexpr std::uint64_t kTransportStreamScan = 1 << 20;
constexpr std::size_t kTsPacket = 188;
constexpr std::size_t kSampleHead = 256;

// The `count` digits at `at` of `text`.
bool ReadDigitsAt(std::string_view text, std::size_t at, std::size_t count, unsigned& out) {
  out = 0;
  if (text.size() < at + count) return false;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = out * 10 + static_cast<unsigned>(text[i] - '0');
  }
  return true;
}

// "N:48.100000" with `positive`/`negative` the hemisphere letters.
bool ReadSigned(std::string_view token, char positive, char negative, double limit, double& out) {
  if (token.size() < 3 || token[1] != ':' || (token[0] != positive && token[0] != negative)) {
    return false;
  }
  if (!ReadLogNumber(token.substr(2), out) || out < 0.0 || out > limit) return false;
  if (token[0] == negative) out = -out;
  return true;
}

std::optional<std::int64_t> ReadMoment(std::string_view date, std::string_view time) {
  CivilTime t{};
  unsigned year = 0;
  if (date.size() != 10 || date[4] != '/' || date[7] != '/' || time.size() != 8 || time[2] != ':' ||
      time[5] != ':' || !ReadDigitsAt(date, 0, 4, year) || !ReadDigitsAt(date, 5, 2, t.month) ||
      !ReadDigitsAt(date, 8, 2, t.day) || !ReadDigitsAt(time, 0, 2, t.hour) ||
      !ReadDigitsAt(time, 3, 2, t.minute) || !ReadDigitsAt(time, 6, 2, t.second)) {
    return std::nullopt;
  }
  t.year = year;
  if (!IsRealCivilTime(t)) return std::nullopt;
  return SecondsFromCivil(t) * 1000;
}

std::uint32_t Be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(ReadBigEndian(p, 4));
}

// The lines of the plaintext block at [start, start + size) into `track`.
void ReadPlainBlock(const ReadAtFn& readAt, std::uint64_t start, std::uint64_t size,
                    std::uint64_t count, LigoGpsTrack& track) {
  const std::uint64_t payload = size - kBlockHead - kBlockTail;
  if (count == 0) return;
  if (count > payload / (kSlotNumber + 1)) {
    NoteMp4Problem(track.problem, "the LIGOGPS block lists more lines than it holds");
    count = payload / (kSlotNumber + 1);
  }
  if (count > kMaxLines) {
    NoteMp4Problem(track.problem, "the LIGOGPS block was read up to its first day of lines");
    count = kMaxLines;
  }
  if (count == 0) return;
  const std::uint64_t slot = payload / count;
  if (payload % count != 0) NoteMp4Problem(track.problem, "the LIGOGPS lines differ in size");
  const std::size_t textBytes =
      static_cast<std::size_t>(std::min<std::uint64_t>(slot - kSlotNumber, kMaxLigoGpsLine));
  std::vector<std::uint8_t> text(textBytes);
  std::vector<std::array<float, 3>> g;
  for (std::uint64_t i = 0; i < count; ++i) {
    ++track.lines;
    const std::uint64_t at = start + kBlockHead + i * slot + kSlotNumber;
    const std::size_t got = readAt(at, text);
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), got);
    const std::size_t nul = bytes.find('\0');
    // A line that fills what is read of a longer slot is too long to be one of these.
    const bool whole = nul != std::string_view::npos || slot - kSlotNumber <= textBytes;
    const std::optional<LigoGpsLine> line =
        whole && got == textBytes ? DecodeLigoGpsLine(bytes.substr(0, nul)) : std::nullopt;
    if (!line) {
      ++track.skipped;
      continue;
    }
    TelemetryRecord r;
    r.mediaTimeMs = static_cast<std::int32_t>(i * 1000);
    SetRecordTime(r, line->timeMs);
    if (line->fix) {
      r.valid = true;
      SetRecordPosition(r, line->latitude, line->longitude);
      if (!std::isnan(line->speedKmh)) r.speedKmh = static_cast<float>(line->speedKmh);
      r.altitudeM = static_cast<float>(line->altitudeM);
      r.headingDeg = static_cast<float>(line->headingDeg);
      ++track.fixes;
    }
    track.gValues = track.gValues || line->g[0] != 0.0f || line->g[1] != 0.0f || line->g[2] != 0.0f;
    g.push_back({line->g[0], line->g[1], line->g[2]});
    track.records.push_back(r);
  }
  // All zeros is a camera without an accelerometer, not a car at rest in free fall.
  if (!track.gValues) return;
  for (std::size_t i = 0; i < track.records.size(); ++i) {
    SetRecordG(track.records[i], g[i][0], g[i][1], g[i][2]);
  }
}

// The blocks chained back from the end of the file down to `mediaEnd`.
void ReadTrailer(std::uint64_t fileSize, std::uint64_t mediaEnd, const ReadAtFn& readAt,
                 LigoGpsTrack& track) {
  std::uint64_t end = fileSize;
  for (int n = 0; n < kMaxBlocksChained && end - mediaEnd >= kBlockHead + kBlockTail; ++n) {
    std::uint8_t tail[kBlockTail];
    if (readAt(end - kBlockTail, tail) != kBlockTail) return;
    const std::uint64_t size = Be32(tail + 4);
    if (size < kBlockHead + kBlockTail || size > end - mediaEnd || size > kMaxLigoGpsBlockBytes) {
      return;
    }
    const std::uint64_t start = end - size;
    std::uint8_t head[kBlockHead];
    if (readAt(start, head) != kBlockHead || Be32(head) != size ||
        std::memcmp(head + 4, "SKIP", 4) != 0 ||
        std::memcmp(head + 8, kMark.data(), kMark.size()) != 0) {
      return;
    }
    if (head[8 + kMark.size()] == ' ') {
      track.kind = LigoGpsKind::Plain;
      ReadPlainBlock(readAt, start, size, Be32(head + 24), track);
      return;
    }
    track.kind = LigoGpsKind::Encrypted;
    end = start;
  }
}

bool SsmdTrackMarked(std::uint64_t fileSize, const ReadAtFn& readAt) {
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(fileSize, readAt, [](const Mp4TrackHeader& h) { return h.FormatIs("ssmd"); });
  for (const Mp4Track& track : tracks) {
    if (track.samples.empty()) continue;
    std::vector<std::uint8_t> head(std::min<std::size_t>(track.samples[0].size, kSampleHead));
    head.resize(readAt(track.samples[0].offset, head));
    if (HasLigoGpsMark(head)) return true;
  }
  return false;
}

bool TransportStreamMarked(std::uint64_t fileSize, const ReadAtFn& readAt) {
  std::uint8_t sync[kTsPacket + 1];
  if (fileSize < 2 * kTsPacket || readAt(0, sync) != sizeof sync || sync[0] != 0x47 ||
      sync[kTsPacket] != 0x47) {
    return false;
  }
  std::vector<std::uint8_t> head(
      static_cast<std::size_t>(std::min(fileSize, kTransportStreamScan)));
  head.resize(readAt(0, head));
  return HasLigoGpsMark(head);
}

}  // namespace

bool HasLigoGpsMark(std::span<const std::uint8_t> bytes) {
  const auto* mark = reinterpret_cast<const std::uint8_t*>(kMark.data());
  return std::search(bytes.begin(), bytes.end(), mark, mark + kMark.size()) != bytes.end();
}

std::optional<LigoGpsLine> DecodeLigoGpsLine(std::string_view text) {
  std::array<std::string_view, 16> tokens;
  std::size_t count = 0;
  while (!text.empty() && count < tokens.size()) {
    const std::size_t space = text.find(' ');
    if (space != 0) tokens[count++] = text.substr(0, space);
    text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
  }
  if (count < 6 || tokens[5] != "km/h") return std::nullopt;
  LigoGpsLine line;
  const std::optional<std::int64_t> moment = ReadMoment(tokens[0], tokens[1]);
  if (!moment || !ReadSigned(tokens[2], 'N', 'S', 90.0, line.latitude) ||
      !ReadSigned(tokens[3], 'E', 'W', 180.0, line.longitude) ||
      !ReadLogNumber(tokens[4], line.speedKmh) || line.speedKmh < 0.0) {
    return std::nullopt;
  }
  line.timeMs = *moment;
  line.fix = line.latitude != 0.0 || line.longitude != 0.0;
  for (std::size_t i = 6; i < count; ++i) {
    const std::string_view t = tokens[i];
    double value = 0.0;
    if (t.size() < 3 || t[1] != ':' || !ReadLogNumber(t.substr(2), value)) return std::nullopt;
    switch (t[0]) {
      case 'x':
      case 'y':
      case 'z':
        if (std::fabs(value) > 1000.0) return std::nullopt;  // no accelerometer reads that
        line.g[t[0] - 'x'] = static_cast<float>(value);
        break;
      case 'A':
        line.altitudeM = value;
        break;
      case 'H':
        if (value >= 0.0 && value <= 360.0) line.headingDeg = value;
        break;
      default:
        break;  // M and what other models add
    }
  }
  return line;
}

LigoGpsTrack ReadLigoGpsFile(std::uint64_t fileSize, const ReadAtFn& readAt) {
  LigoGpsTrack track;
  if (TransportStreamMarked(fileSize, readAt)) {
    track.kind = LigoGpsKind::Encrypted;
    return track;
  }
  std::uint64_t mediaEnd = 0;
  bool media = false;
  std::string ignored;  // the walk of the boxes goes into the trailer, which is no box
  ForEachMp4Box(readAt, 0, fileSize, ignored, [&](const Mp4Box& box) {
    if (box.Is("moov") || box.Is("mdat")) {
      media = true;
      mediaEnd = std::max(mediaEnd, box.end());
    }
    return true;
  });
  if (!media) return track;
  ReadTrailer(fileSize, mediaEnd, readAt, track);
  if (track.kind == LigoGpsKind::None && SsmdTrackMarked(fileSize, readAt)) {
    track.kind = LigoGpsKind::Encrypted;
  }
  return track;
}

}  // namespace korvane
