// The single-instance marker: an exclusive flock on a lock file named after the marker in the
// user's runtime folder, held by an open descriptor for the life of the object (the process).
#pragma once
#include <string>

namespace korvane {

// Where the lock for `name` lives: <$XDG_RUNTIME_DIR>/<name> when that folder is usable, else
// /tmp/<name>-<uid>.
std::string InstanceLockPath(const std::string& name);

class InstanceLock {
 public:
  enum class Result {
    Acquired,     // this process is the running instance
    HeldByOther,  // another process holds the lock
    Unavailable,  // no lock file of this user could be opened; the caller runs unmarked
  };

  InstanceLock() = default;
  ~InstanceLock();  // Release()
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Tries once, without waiting. The descriptor is close-on-exec, so child processes (the player,
  // ffmpeg) never keep the lock alive after this process ends.
  Result Acquire(const std::string& name);
  bool held() const { return fd_ >= 0; }
  // Drops the lock; the file stays (removing it could split two racing starters).
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace korvane
