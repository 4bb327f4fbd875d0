#include "index/clip_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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

}  // namespace korvane
