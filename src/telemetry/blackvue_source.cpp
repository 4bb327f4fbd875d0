#include "telemetry/blackvue_source.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/path_parts.h"
#include "telemetry/bounded_file.h"
#include "telemetry/clip_time_range.h"
#include "telemetry/nmea_source.h"

namespace korvane {
namespace {

// The first file of the clip's log stems with `extension` that can be read.
std::optional<std::string> LogBeside(const std::string& clipPath, const char* extension) {
  const SplitPathResult parts = SplitPath(clipPath);
  for (const std::string& stem : BlackVueLogStems(parts.stem)) {
    const std::string candidate = parts.folder + stem + extension;
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindBlackVueSidecar(const std::string& clipPath) {
  if (auto gps = LogBeside(clipPath, ".gps")) return gps;
  return LogBeside(clipPath, ".3gf");
}

bool AddBlackVueG(std::vector<NmeaFix>& fixes, std::vector<BlackVueGSample> samples) {
  const auto earlier = [](const BlackVueGSample& a, const BlackVueGSample& b) {
    return a.offsetMs < b.offsetMs;
  };
  std::stable_sort(samples.begin(), samples.end(), earlier);
  bool any = false;
  auto from = samples.begin();
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    NmeaFix& fix = fixes[i];
    const std::int64_t until = i + 1 < fixes.size() ? fixes[i + 1].mediaMs : fix.mediaMs + 1000;
    from = std::lower_bound(from, samples.end(), BlackVueGSample{fix.mediaMs, {}}, earlier);
    double strongest = -1.0;
    for (auto s = from; s != samples.end() && s->offsetMs < until; ++s) {
      const double strength = std::hypot(s->g[0], s->g[1], s->g[2]);
      if (strength <= strongest) continue;
      strongest = strength;
      fix.hasG = true;
      fix.gX = s->g[0];
      fix.gY = s->g[1];
      fix.gZ = s->g[2];
    }
    any = any || fix.hasG;
  }
  return any;
}

namespace {

// The fixes of the GPS log (`gpsName` for the reason) with the G log's readings handed over;
// `notes` (the G log's) and the log's own go into the reason.
void HandOverLogs(const NmeaTrack& track, std::vector<BlackVueGSample> samples,
                  const std::string& gpsName, std::vector<std::string> notes,
                  const ITelemetrySource::RecordSink& onRecord, std::size_t maxBytes,
                  TelemetryRead& read) {
  std::vector<NmeaFix> fixes = track.fixes;
  read.gValues = AddBlackVueG(fixes, std::move(samples));
  read.records = HandOverFixes(fixes, onRecord);
  if (read.records == 0)
    notes.insert(notes.begin(), "the GPS log " + gpsName + " has no valid fix");
  if (track.badSentences > 0) {
    notes.push_back("GPS log: " + std::to_string(track.badSentences) + " bad sentences skipped");
  }
  if (track.truncated) {
    notes.push_back("GPS log read up to " + std::to_string(maxBytes >> 20) + " MiB");
  }
  for (const std::string& note : notes) AddNote(read.reason, note);
}

// The G log's samples, with what was wrong with it in `notes`.
std::vector<BlackVueGSample> GSamples(std::string_view bytes, bool truncated,
                                      std::vector<std::string>& notes) {
  BlackVueGLog decoded = DecodeBlackVue3gf(bytes);
  if (truncated) {
    notes.push_back("G log read up to " + std::to_string(kMaxBlackVue3gfBytes >> 20) + " MiB");
  }
  if (decoded.oddTail) notes.push_back("G log ends inside a record");
  return std::move(decoded.samples);
}

// The payload of the clip's top-level `free` box that is the camera's; nullopt when there is
// none. A payload over `maxBytes` is not read.
std::optional<std::string> CameraFreeBox(const std::string& clipPath, std::size_t maxBytes) {
  // A pipe was the clip's stream for the sources before; opening it again would wait for ever.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(clipPath, ec)) return std::nullopt;
  std::ifstream in(clipPath, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const auto size = static_cast<std::uint64_t>(in.tellg());
  std::uint64_t body = 0, bodyEnd = 0;
  for (std::uint64_t from = 0; FindMp4Box(in, from, size, "free", body, bodyEnd); from = bodyEnd) {
    std::string head(std::min<std::uint64_t>(bodyEnd - body, 8), '\0');
    in.seekg(static_cast<std::streamoff>(body));
    if (!in.read(head.data(), static_cast<std::streamsize>(head.size()))) return std::nullopt;
    if (!BlackVueFreeBoxChildren(head).found) continue;
    if (bodyEnd - body > maxBytes) return std::nullopt;
    std::string payload(bodyEnd - body, '\0');
    in.seekg(static_cast<std::streamoff>(body));
    if (!in.read(payload.data(), static_cast<std::streamsize>(payload.size()))) return std::nullopt;
    return payload;
  }
  return std::nullopt;
}

}  // namespace

TelemetryRead CBlackVueSidecarSource::Read(const std::string& clipPath,
                                           const RecordSink& onRecord) {
  TelemetryRead read;
  const std::optional<std::string> gps = LogBeside(clipPath, ".gps");
  const std::optional<std::string> gLog = LogBeside(clipPath, ".3gf");
  if (!gps && !gLog) {
    read.reason = "no BlackVue log beside the clip";
    return read;
  }
  read.present = true;
  std::vector<std::string> notes;
  std::vector<BlackVueGSample> samples;
  if (gLog) {
    bool truncated = false;
    const std::optional<std::string> bytes = ReadFileHead(*gLog, kMaxBlackVue3gfBytes, truncated);
    samples = GSamples(bytes.value_or(std::string()), truncated, notes);
  }
  if (!gps) {
    read.reason = "only a G log beside the clip, which has no position";
    return read;
  }
  const std::optional<NmeaTrack> track =
      ReadNmeaFile(*gps, ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs, maxBytes_);
  if (!track) {
    read.reason = "the GPS log " + *gps + " holds no NMEA sentence that reads";
    return read;
  }
  HandOverLogs(*track, std::move(samples), *gps, std::move(notes), onRecord, maxBytes_, read);
  return read;
}

TelemetryRead CBlackVueInClipSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::string payload = CameraFreeBox(clipPath, maxBytes_).value_or(std::string());
  const BlackVueBoxes boxes = BlackVueFreeBoxChildren(payload);
  if (boxes.gps.empty()) {
    read.reason = "no BlackVue GPS log inside the clip";
    return read;
  }
  read.present = true;
  std::vector<std::string> notes;
  std::vector<BlackVueGSample> samples = GSamples(boxes.g3gf, false, notes);
  const NmeaTrack track =
      ParseNmeaText(boxes.gps, ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs);
  HandOverLogs(track, std::move(samples), "inside the clip", std::move(notes), onRecord, maxBytes_,
               read);
  return read;
}

}  // namespace korvane
