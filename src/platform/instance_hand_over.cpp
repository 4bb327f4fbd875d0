#include "platform/instance_hand_over.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <system_error>

#include "platform/fd_io.h"
#include "platform/instance_lock.h"

namespace korvane {

namespace {

// A sender gets this long between its bytes before the connection is dropped, so a stuck one
// cannot keep the next from being served.
constexpr int kReadWaitMs = 2000;

}  // namespace

std::string InstanceSocketPath(const std::string& name) {
  return InstanceLockPath(name) + ".socket";
}

bool HandFilesToRunningInstance(const std::string& socketPath,
                                const std::vector<std::string>& paths) {
  if (paths.empty()) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.empty() || socketPath.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  // In the shared /tmp a socket of another user would receive this user's file names.
  struct stat info {};
  if (lstat(socketPath.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
      info.st_uid != geteuid()) {
    return false;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  std::string message;
  for (const std::string& path : paths) {
    if (path.empty() || path.find('\0') != std::string::npos) continue;
    message += path;
    message += '\0';
  }
  const bool sent = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                    WriteAllFd(fd, message.data(), message.size());
  CloseFd(fd);
  return sent;
}

std::vector<std::string> ParseHandedFiles(std::string_view bytes) {
  std::vector<std::string> paths;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\0');
    const std::string_view entry = bytes.substr(0, end);
    if (!entry.empty()) paths.emplace_back(entry);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return paths;
}

FileHandOverServer::~FileHandOverServer() {
  Stop();
}

int FileHandOverServer::Start(const std::string& socketPath, FilesHandler onFiles) {
  Stop();
  if (const int error = server_.Listen(socketPath); error != 0) return error;
  onFiles_ = std::move(onFiles);
  stop_ = false;
  try {
    thread_ = std::thread(&FileHandOverServer::Serve, this);
  } catch (const std::system_error&) {
    server_.Close();
    return EAGAIN;
  }
  return 0;
}

void FileHandOverServer::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  server_.Close();
}

void FileHandOverServer::Serve() {
  while (server_.Accept(stop_) == UnixSocketServer::AcceptResult::Connected) {
    std::string bytes;
    char buffer[4096];
    while (!stop_ && server_.WaitReadable(kReadWaitMs)) {
      const ssize_t n = server_.Read(buffer, sizeof buffer);
      if (n <= 0) break;
      if (bytes.size() < kMaxBytes) {
        bytes.append(buffer, std::min(static_cast<std::size_t>(n), kMaxBytes - bytes.size()));
      }
    }
    const std::vector<std::string> paths = ParseHandedFiles(bytes);
    if (!paths.empty() && onFiles_) onFiles_(paths);
  }
}

}  // namespace korvane
