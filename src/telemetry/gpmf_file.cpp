#include "telemetry/gpmf_file.h"

#include <vector>

#include "telemetry/mp4_sample_table.h"

namespace korvane {

GpmfFile ReadGpmfFile(std::uint64_t fileSize, const ReadAtFn& readAt) {
  GpmfFile file;
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(fileSize, readAt, [](const Mp4TrackHeader& h) { return h.FormatIs("gpmd"); });
  const Mp4Track* gpmd = nullptr;
  for (const Mp4Track& t : tracks) {
    if (t.header.FormatIs("gpmd") && !t.samples.empty()) {
      gpmd = &t;
      break;
    }
  }
  if (gpmd == nullptr) {
    for (const Mp4Track& t : tracks) NoteMp4Problem(file.problem, t.problem);
    return file;
  }
  file.hasTrack = true;
  file.problem = gpmd->problem;
  std::vector<GpmfSample> samples;
  std::vector<std::uint8_t> bytes;
  for (const Mp4Sample& s : gpmd->samples) {
    ++file.samples;
    if (s.size > kMaxGpmfSampleBytes) {
      ++file.unread;
      continue;
    }
    bytes.resize(s.size);
    if (readAt(s.offset, bytes) != s.size) {
      ++file.unread;
      continue;
    }
    file.sampleBytes += s.size;
    samples.push_back(
        {DecodeGpmfPayload(bytes), gpmd->StartMs(s), gpmd->EndMs(s) - gpmd->StartMs(s)});
  }
  file.track = ReadGpmfTrack(samples);
  if (!file.track.problem.empty()) NoteMp4Problem(file.problem, file.track.problem);
  return file;
}

}  // namespace korvane
