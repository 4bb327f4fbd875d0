// Files handed from a second start to the running instance: the running instance serves a Unix
// socket beside its instance lock (mode 0600, this user only); a second start connects, writes its
// files (absolute paths, each ended by a NUL) and closes. The server reads each connection on its
// own thread and gives the paths to a callback there.
#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/socket_server.h"

namespace korvane {

// Where the running instance of `name` serves: beside its lock (InstanceLockPath + ".socket").
std::string InstanceSocketPath(const std::string& name);

// The second start's side: sends `paths` to the instance serving at `socketPath`. False when none
// serves there, the socket is not this user's, or the write fails; nothing is sent for no paths.
bool HandFilesToRunningInstance(const std::string& socketPath,
                                const std::vector<std::string>& paths);

// The paths of one hand-over's bytes: NUL-ended entries, empty ones skipped; an unended last
// entry (a sender cut short) counts as well.
std::vector<std::string> ParseHandedFiles(std::string_view bytes);

class FileHandOverServer {
 public:
  using FilesHandler = std::function<void(const std::vector<std::string>&)>;
  // At most this many bytes are read from one connection; the rest is dropped.
  static constexpr std::size_t kMaxBytes = 1 << 20;

  FileHandOverServer() = default;
  ~FileHandOverServer();  // Stop()
  FileHandOverServer(const FileHandOverServer&) = delete;
  FileHandOverServer& operator=(const FileHandOverServer&) = delete;

  // Listens at `socketPath` (a stale socket there is replaced; call it only while holding the
  // instance lock) and serves on a thread of its own; `onFiles` runs on that thread for each
  // hand-over with files. Returns 0 or an errno value (then nothing runs).
  int Start(const std::string& socketPath, FilesHandler onFiles);
  // Ends the serving thread and removes the socket file. Idempotent.
  void Stop();

 private:
  void Serve();

  UnixSocketServer server_;
  FilesHandler onFiles_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace korvane
