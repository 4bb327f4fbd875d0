#include "platform/instance_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fd_io.h"
#include "platform/xdg_folders.h"

namespace korvane {

std::string InstanceLockPath(const std::string& name) {
  const std::string runtime = UsableXdgRuntimeDir();
  if (!runtime.empty()) return runtime + "/" + name;
  return "/tmp/" + name + "-" + std::to_string(getuid());
}

InstanceLock::~InstanceLock() {
  Release();
}

InstanceLock::Result InstanceLock::Acquire(const std::string& name) {
  Release();
  // O_NOFOLLOW: in the shared /tmp a link planted by someone else must not be followed.
  int fd = open(InstanceLockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Result::Unavailable;
  // A lock file someone else made (in the shared /tmp) is theirs to hold: a lock on it would let
  // another user stop every start of this program.
  struct stat info {};
  if (fstat(fd, &info) != 0 || info.st_uid != geteuid() || !S_ISREG(info.st_mode)) {
    close(fd);
    return Result::Unavailable;
  }
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return Result::Acquired;
    }
    if (errno != EINTR) break;
  }
  const int err = errno;
  close(fd);
  return err == EWOULDBLOCK ? Result::HeldByOther : Result::Unavailable;
}

void InstanceLock::Release() {
  CloseFd(fd_);
}

}  // namespace korvane
