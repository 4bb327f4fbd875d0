#include "telemetry/freegps_source.h"

#include <cstdio>
#include <memory>

#include "telemetry/clip_time_range.h"
#include "telemetry/freegps_file.h"

namespace korvane {

TelemetryRead CFreeGpsSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(clipPath.c_str(), "rb"),
                                                             &std::fclose);
  if (!file || fseeko(file.get(), 0, SEEK_END) != 0) {
    read.reason = "the clip cannot be read for GPS blocks";
    return read;
  }
  const off_t size = ftello(file.get());
  const ReadAtFn readAt = [&](std::uint64_t offset, std::span<std::uint8_t> out) -> std::size_t {
    if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
    return std::fread(out.data(), 1, out.size(), file.get());
  };
  const std::int64_t startMs = ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs;
  const FreeGpsTrack track =
      ReadFreeGpsFile(size > 0 ? static_cast<std::uint64_t>(size) : 0, readAt, startMs);
  if (track.blocks == 0) {
    read.reason = "no Novatek GPS blocks";
    if (!track.problem.empty()) read.reason += " (" + track.problem + ")";
    return read;
  }
  read.present = true;
  for (const TelemetryRecord& r : track.records) onRecord(r);
  read.records = track.fixes;
  read.gValues = track.gValues;
  if (track.fixes == 0) {
    read.reason = "Novatek GPS blocks: no fix";
  } else if (track.skipped > 0) {
    read.reason = "Novatek GPS blocks: " + std::to_string(track.skipped) + " blocks unread";
  }
  if (!track.problem.empty()) {
    read.reason += std::string(read.reason.empty() ? "" : "; ") + track.problem;
  }
  return read;
}

}  // namespace korvane
