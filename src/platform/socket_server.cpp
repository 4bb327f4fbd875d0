#include "platform/socket_server.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/fd_io.h"
#include "platform/xdg_folders.h"

namespace korvane {

UnixSocketServer::~UnixSocketServer() {
  Close();
}

int UnixSocketServer::Listen(const std::string& path) {
  Close();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty()) return EINVAL;
  if (path.size() >= sizeof(address.sun_path)) return ENAMETOOLONG;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  // A socket file left by an earlier run that did not end cleanly is stale: nobody serves it.
  // Anything else at the path is not ours to delete.
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) {
    if (!S_ISSOCK(info.st_mode)) return EEXIST;
    if (unlink(path.c_str()) != 0) return errno;
  }

  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return errno;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    int err = errno;
    close(fd);
    return err;
  }
  // Only this user may connect; the folder it lies in is normally private as well.
  if (chmod(path.c_str(), 0600) != 0 || listen(fd, 1) != 0) {
    int err = errno;
    close(fd);
    unlink(path.c_str());
    return err;
  }
  listenFd_ = fd;
  path_ = path;
  return 0;
}

UnixSocketServer::AcceptResult UnixSocketServer::Accept(const std::atomic<bool>& stop, int pollMs) {
  if (listenFd_ < 0) return AcceptResult::Failed;
  CloseFd(clientFd_);
  if (pollMs <= 0) pollMs = 50;
  while (!stop.load()) {
    pollfd p{listenFd_, POLLIN, 0};
    int n = poll(&p, 1, pollMs);
    if (n < 0) {
      if (errno == EINTR) continue;
      return AcceptResult::Failed;
    }
    if (n == 0) continue;
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
      clientFd_ = fd;
      return AcceptResult::Connected;
    }
    // The client may have gone between poll and accept; keep waiting for the next one.
    if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN || errno == EPROTO) continue;
    return AcceptResult::Failed;
  }
  return AcceptResult::Stopped;
}

bool UnixSocketServer::WaitReadable(int timeoutMs) {
  return WaitFdReadable(clientFd_, timeoutMs);
}

ssize_t UnixSocketServer::Read(void* buffer, size_t size) {
  if (clientFd_ < 0) return -1;
  for (;;) {
    ssize_t n = recv(clientFd_, buffer, size, 0);
    if (n >= 0 || errno != EINTR) return n;
  }
}

void UnixSocketServer::Close() {
  CloseFd(clientFd_);
  if (listenFd_ >= 0) {
    CloseFd(listenFd_);
    unlink(path_.c_str());
  }
}

std::string RuntimeFolder() {
  const std::string runtime = UsableXdgRuntimeDir();
  if (!runtime.empty()) return runtime;
  // A private folder per user, so two users' sockets and locks never meet; /tmp itself only when
  // that folder cannot be had (it exists and belongs to someone else, say).
  const std::string folder = "/tmp/korvane-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
      (info.st_mode & 077) == 0) {
    return folder;
  }
  return "/tmp";
}

}  // namespace korvane
