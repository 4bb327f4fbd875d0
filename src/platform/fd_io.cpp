#include "platform/fd_io.h"

#include <errno.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <chrono>

namespace korvane {

bool WaitFdReadable(int fd, int timeoutMs) {
  if (fd < 0) return false;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  pollfd p{fd, POLLIN, 0};
  for (;;) {
    int wait = -1;
    if (timeoutMs >= 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      wait = left.count() < 0 ? 0 : static_cast<int>(left.count());
    }
    int n = poll(&p, 1, wait);
    if (n > 0) return true;  // POLLIN, POLLHUP, POLLERR and POLLNVAL all end a wait
    if (n == 0) return false;
    if (errno != EINTR) return false;
  }
}

ssize_t ReadFd(int fd, void* buffer, std::size_t size) {
  if (fd < 0) return -1;
  for (;;) {
    ssize_t n = read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

bool WriteAllFd(int fd, const void* data, std::size_t size) {
  if (fd < 0) return false;
  // Block SIGPIPE for this thread only, so no process-wide disposition changes behind the
  // program's back; a SIGPIPE this write raises stays pending and is consumed below.
  sigset_t pipeSet, oldSet;
  sigemptyset(&pipeSet);
  sigaddset(&pipeSet, SIGPIPE);
  sigset_t pendingBefore;
  sigemptyset(&pendingBefore);
  pthread_sigmask(SIG_BLOCK, &pipeSet, &oldSet);
  sigpending(&pendingBefore);
  const bool wasPending = sigismember(&pendingBefore, SIGPIPE) == 1;

  const char* p = static_cast<const char*>(data);
  bool ok = true;
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }

  if (!ok && errno == EPIPE && !wasPending) {
    timespec zero{0, 0};
    while (sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &oldSet, nullptr);
  return ok;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace korvane
