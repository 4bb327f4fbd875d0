#include "telemetry/blackvue_source.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

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
    BlackVueGLog decoded = DecodeBlackVue3gf(bytes.value_or(std::string()));
    samples = std::move(decoded.samples);
    if (truncated)
      notes.push_back("G log read up to " + std::to_string(kMaxBlackVue3gfBytes >> 20) + " MiB");
    if (decoded.oddTail) notes.push_back("G log ends inside a record");
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
  std::vector<NmeaFix> fixes = track->fixes;
  read.gValues = AddBlackVueG(fixes, std::move(samples));
  read.records = HandOverFixes(fixes, onRecord);
  if (read.records == 0) notes.insert(notes.begin(), "the GPS log " + *gps + " has no valid fix");
  if (track->badSentences > 0) {
    notes.push_back("GPS log: " + std::to_string(track->badSentences) + " bad sentences skipped");
  }
  if (track->truncated) {
    notes.push_back("GPS log read up to " + std::to_string(maxBytes_ >> 20) + " MiB");
  }
  for (const std::string& note : notes) AddNote(read.reason, note);
  return read;
}

}  // namespace korvane
