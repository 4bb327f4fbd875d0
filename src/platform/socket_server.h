// A Unix domain stream socket server for one client at a time: the stand-in for the extractor's
// named pipe. Accept and reads never block longer than the time-out given, so the serving thread
// notices a stop request quickly and always ends cooperatively. The serving thread owns the object
// while it runs; Close (or destruction) comes after that thread has ended.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <string>

namespace korvane {

class UnixSocketServer {
 public:
  UnixSocketServer() = default;
  ~UnixSocketServer();  // Close()
  UnixSocketServer(const UnixSocketServer&) = delete;
  UnixSocketServer& operator=(const UnixSocketServer&) = delete;

  // Removes a stale socket file at `path`, binds and listens (mode 0600). Returns 0 or an errno
  // value (ENAMETOOLONG for a path longer than sockaddr_un allows, EEXIST when something other than
  // a socket lies at `path`; it is left alone). Listening again closes the previous socket first.
  int Listen(const std::string& path);

  enum class AcceptResult { Connected, Stopped, Failed };
  // Waits for the client, checking `stop` at least every `pollMs`. Stopped when `stop` became true;
  // Failed when not listening. A previous connection is closed first.
  AcceptResult Accept(const std::atomic<bool>& stop, int pollMs = 50);

  // Waits up to `timeoutMs` for data or end of stream; true when a read would not block.
  bool WaitReadable(int timeoutMs);
  // Reads up to `size` bytes: the count, 0 at end of stream, -1 on error.
  ssize_t Read(void* buffer, size_t size);

  // Closes the connection and the listening socket and removes the socket file. Idempotent.
  void Close();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int listenFd_ = -1;
  int clientFd_ = -1;
};

// The per-user runtime folder with no trailing "/": $XDG_RUNTIME_DIR when it is a usable folder,
// else /tmp/korvane-<uid> (created private to the user), else /tmp.
std::string RuntimeFolder();

}  // namespace korvane
