// Small helpers on raw file descriptors shared by the process and socket layers: waiting for
// readability, reads and writes that retry on EINTR, and writes that never raise SIGPIPE.
#pragma once
#include <sys/types.h>

#include <cstddef>

namespace korvane {

// Waits up to `timeoutMs` (negative: no limit) until a read on `fd` would not block: data, end of
// stream or an error. False on time-out or for fd < 0.
bool WaitFdReadable(int fd, int timeoutMs);

// read() retried on EINTR: the count, 0 at end of stream, -1 on error or for fd < 0.
ssize_t ReadFd(int fd, void* buffer, std::size_t size);

// Writes every byte, retrying on EINTR and short writes. A reader that has gone makes it return
// false instead of killing the process with SIGPIPE (the signal is blocked for this thread during
// the write and a pending one is consumed). False for fd < 0.
bool WriteAllFd(int fd, const void* data, std::size_t size);

// close() that ignores -1 and sets the variable to -1.
void CloseFd(int& fd);

}  // namespace korvane
