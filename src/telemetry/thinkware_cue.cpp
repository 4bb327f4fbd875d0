#include "telemetry/thinkware_cue.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "telemetry/log_fields.h"
#include "telemetry/mp4_sample_table.h"
#include "telemetry/record_fields.h"

namespace korvane {
namespace {

// Samples looked at before a track is taken for another kind of subtitle.
constexpr int kFirstCuesTried = 8;
constexpr double kKmhPerKnot = 1.852;
constexpr std::uint64_t kReadPiece = 64 * 1024;

std::string_view Trimmed(std::string_view part) {
  const auto space = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
  while (!part.empty() && space(part.front())) part.remove_prefix(1);
  while (!part.empty() && space(part.back())) part.remove_suffix(1);
  return part;
}

// "gsensori,<range>,<full scale>,x,y,z": counts of a full scale over ±range g. The cameras write
// "4,512", i.e. 128 counts a g, so a standing car reads about 128 on its vertical axis.
bool ReadG(std::string_view part, float g[3]) {
  std::string_view text[7];
  if (SplitLogFields(part, text) != 6) return false;
  std::int64_t fields[5] = {};
  for (int i = 0; i < 5; ++i) {
    if (!ReadLogInteger(text[i + 1], fields[i]) || std::llabs(fields[i]) > 1'000'000) return false;
  }
  if (fields[0] <= 0 || fields[1] <= 0) return false;
  const double countsPerG = static_cast<double>(fields[1]) / fields[0];
  for (int axis = 0; axis < 3; ++axis) g[axis] = static_cast<float>(fields[2 + axis] / countsPerG);
  return true;
}

bool IsRmcPart(std::string_view part) {
  if (part.starts_with('$')) part.remove_prefix(1);
  return part.size() > 6 && part[0] == 'G' && part.substr(2, 4) == "RMC,";
}

// The bytes of the samples from `first` on that lie one after another, up to kReadPiece.
std::size_t RunBytes(const std::vector<Mp4Sample>& samples, std::size_t first) {
  std::uint64_t end = samples[first].offset + samples[first].size;
  for (std::size_t i = first + 1; i < samples.size() && samples[i].offset == end; ++i) {
    if (end + samples[i].size - samples[first].offset > kReadPiece) break;
    end += samples[i].size;
  }
  return static_cast<std::size_t>(end - samples[first].offset);
}

}  // namespace

ThinkwareCue DecodeThinkwareCue(std::span<const std::uint8_t> sample) {
  ThinkwareCue cue;
  if (sample.size() < 2 || sample.size() > kMaxThinkwareCueBytes) return cue;
  const std::uint64_t length = ReadBigEndian(sample.data(), 2);
  if (length > sample.size() - 2) return cue;
  std::string_view text(reinterpret_cast<const char*>(sample.data() + 2),
                        static_cast<std::size_t>(length));
  bool own = false;
  while (!text.empty()) {
    const std::size_t semicolon = text.find(';');
    const std::string_view part = Trimmed(text.substr(0, semicolon));
    text.remove_prefix(semicolon == std::string_view::npos ? text.size() : semicolon + 1);
    if (part.starts_with("gsensori,")) {
      own = true;
      cue.hasG = ReadG(part, cue.g);
    } else if (part.starts_with("CAR,")) {
      own = true;
    } else if (IsRmcPart(part) && !cue.hasRmc) {
      cue.rmc = DecodeBareNmeaSentence(part);
      cue.hasRmc = cue.rmc.kind == NmeaKind::Rmc;
    }
  }
  cue.thinkware = own;
  if (!own) cue = ThinkwareCue{};
  return cue;
}

ThinkwareTrack ReadThinkwareTrack(std::uint64_t fileSize, const ReadAtFn& readAt) {
  ThinkwareTrack out;
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(fileSize, readAt, [](const Mp4TrackHeader& h) { return h.FormatIs("tx3g"); });
  // The cues of a chunk, or of chunks one after another, are read in one piece.
  std::vector<std::uint8_t> window;
  std::uint64_t windowAt = 0;
  for (const Mp4Track& track : tracks) {
    if (track.samples.empty()) continue;
    ThinkwareTrack read;
    read.problem = track.problem;
    for (std::size_t i = 0; i < track.samples.size(); ++i) {
      if (read.cues == 0 && static_cast<int>(i) >= kFirstCuesTried) break;
      const Mp4Sample& s = track.samples[i];
      if (s.size == 2) continue;  // an empty cue: a gap in the subtitles, as ffmpeg writes one
      ThinkwareCue cue;
      if (s.size >= 2 && s.size <= kMaxThinkwareCueBytes) {
        if (s.offset < windowAt || s.offset + s.size > windowAt + window.size()) {
          windowAt = s.offset;
          window.resize(RunBytes(track.samples, i));
          window.resize(readAt(windowAt, window));
        }
        if (s.offset + s.size <= windowAt + window.size()) {
          cue = DecodeThinkwareCue(std::span(window).subspan(s.offset - windowAt, s.size));
        }
      }
      if (!cue.thinkware) {
        ++read.skipped;
        continue;
      }
      ++read.cues;
      if (!cue.hasRmc) continue;
      TelemetryRecord r;
      r.mediaTimeMs = static_cast<std::int32_t>(
          std::min<std::int64_t>(track.StartMs(s), std::numeric_limits<std::int32_t>::max()));
      SetRecordTime(r, cue.rmc.days * 86'400'000 + cue.rmc.dayMs);
      if (cue.rmc.fix) {
        r.valid = true;
        SetRecordPosition(r, cue.rmc.latitude, cue.rmc.longitude);
        if (!std::isnan(cue.rmc.knots))
          r.speedKmh = static_cast<float>(cue.rmc.knots * kKmhPerKnot);
        r.headingDeg = static_cast<float>(cue.rmc.courseDeg);
        ++read.fixes;
      }
      if (cue.hasG) SetRecordG(r, cue.g[0], cue.g[1], cue.g[2]);
      read.records.push_back(r);
    }
    if (read.cues > 0) return read;
    if (out.problem.empty()) out.problem = read.problem;
  }
  return out;
}

}  // namespace korvane
