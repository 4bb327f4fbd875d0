#include "platform/write_failure.h"

#include <cerrno>

namespace korvane {

WriteFailure WriteFailureOf(int error) {
  switch (error) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return WriteFailure::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return WriteFailure::NotAllowed;
    default:
      return WriteFailure::Other;
  }
}

}  // namespace korvane
