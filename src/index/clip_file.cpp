#include "index/clip_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "telemetry/source_registry.h"

namespace korvane {

bool ReadFileFacts(const std::string& path, ClipSummary& summary, std::string& reason) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    reason = std::string("cannot read the file: ") + std::strerror(errno);
    return false;
  }
  summary.size = st.st_size;
  summary.mtimeNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  return true;
}

bool IsUpToDate(const ClipSummary& stored, const ClipSummary& now) {
  return stored.status != ClipStatus::Unknown && stored.size == now.size &&
         stored.mtimeNs == now.mtimeNs;
}

bool BesideFilesCameOrWent(const ClipSummary& stored, const std::string& besideNow) {
  if (stored.status != ClipStatus::Indexed && stored.status != ClipStatus::NoTelemetry)
    return false;
  // A row without telemetry was read from nothing: any source that came or went may give some.
  const std::string_view readFrom =
      stored.status == ClipStatus::Indexed ? std::string_view(stored.source) : std::string_view();
  return BesideFilesChanged(stored.besideFiles, besideNow, readFrom);
}

bool IsStoredRowCurrent(const ClipSummary& stored, std::string& factsError) {
  ClipSummary now;
  if (!ReadFileFacts(stored.path, now, factsError)) return false;
  return IsUpToDate(stored, now) && !BesideFilesCameOrWent(stored, BesideFilesText(stored.path));
}

}  // namespace korvane
