#include "telemetry/seventymai_source.h"

#include <filesystem>

#include "platform/ascii_text.h"
#include "platform/path_parts.h"
#include "telemetry/bounded_file.h"
#include "telemetry/nmea_source.h"
#include "telemetry/seventymai_gps.h"

namespace korvane {

std::optional<std::string> FindSeventyMaiLog(const std::string& clipPath) {
  const SplitPathResult parts = SplitPath(clipPath);
  std::optional<std::string> first;
  std::error_code ec;
  const std::filesystem::path folder = parts.folder.empty() ? "." : parts.folder;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!StartsWithIgnoringAsciiCase(name, "GPSData") || AsciiLowered(ExtensionOf(name)) != "txt") {
      continue;
    }
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    const std::string path = parts.folder + name;
    if (!first || path < *first) first = path;
  }
  return first;
}

TelemetryRead CSeventyMaiSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::optional<std::string> log = FindSeventyMaiLog(clipPath);
  CSeventyMaiDecoder decoder(SplitPath(clipPath).fileName);
  const BoundedRead file = ReadLogLines(read, log, "70mai GPS log", maxBytes_, kMaxSeventyMaiLine,
                                        [&](std::string_view line) { decoder.Line(line); });
  if (!read.present) return read;
  const SeventyMaiTrack track = decoder.Finish();
  read.records = HandOverFixes(track.fixes, onRecord);
  read.gValues = !track.fixes.empty();
  AddLogNotes(read, "70mai GPS log", *log, file, maxBytes_);
  if (track.badLines > 0)
    AddNote(read.reason, std::to_string(track.badLines) + " bad lines skipped");
  return read;
}

}  // namespace korvane
