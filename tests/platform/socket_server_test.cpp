#include "platform/socket_server.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/process.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using namespace std::chrono_literals;

// A client end: connects to `path`, or stays -1.
struct Client {
  int fd = -1;
  explicit Client(const std::string& path) {
    fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof(a.sun_path) - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
      close(fd);
      fd = -1;
    }
  }
  ~Client() { Close(); }
  void Close() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  void Send(const std::string& s) { ASSERT_EQ(write(fd, s.data(), s.size()), ssize_t(s.size())); }
};

bool IsSocket(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

TEST(UnixSocketServer, ServesOneClientPrivatelyAndCleansUp) {
  test::TempDir temp;
  const std::string path = temp.str() + "DVR pipe 管道";
  UnixSocketServer server;
  ASSERT_EQ(server.Listen(path), 0);
  EXPECT_EQ(server.path(), path);
  struct stat st {};
  ASSERT_EQ(lstat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  Client client(path);
  ASSERT_GE(client.fd, 0);
  std::atomic<bool> stop{false};
  ASSERT_EQ(server.Accept(stop), UnixSocketServer::AcceptResult::Connected);
  EXPECT_FALSE(server.WaitReadable(10));

  client.Send("1\n00:00:00,000 --> 00:00:00,100\nline\n\n");
  ASSERT_TRUE(server.WaitReadable(5000));
  char buffer[256];
  ssize_t n = server.Read(buffer, sizeof buffer);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(buffer, size_t(n)), "1\n00:00:00,000 --> 00:00:00,100\nline\n\n");

  client.Close();
  ASSERT_TRUE(server.WaitReadable(5000));
  EXPECT_EQ(server.Read(buffer, sizeof buffer), 0);

  server.Close();
  EXPECT_FALSE(std::filesystem::exists(path));
  server.Close();  // idempotent
  EXPECT_EQ(server.Read(buffer, 1), -1);
}

TEST(UnixSocketServer, AcceptEndsSoonAfterAStopRequest) {
  test::TempDir temp;
  UnixSocketServer server;
  ASSERT_EQ(server.Listen(temp.str() + "s"), 0);
  std::atomic<bool> stop{false};
  std::thread stopper([&] {
    std::this_thread::sleep_for(100ms);
    stop = true;
  });
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(server.Accept(stop, 20), UnixSocketServer::AcceptResult::Stopped);
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - begin, 5s);

  EXPECT_EQ(server.Accept(stop), UnixSocketServer::AcceptResult::Stopped) << "already stopped";
  UnixSocketServer idle;
  stop = false;
  EXPECT_EQ(idle.Accept(stop), UnixSocketServer::AcceptResult::Failed) << "not listening";
}

TEST(UnixSocketServer, StaleSocketIsReplacedButOtherFilesAreLeftAlone) {
  test::TempDir temp;
  const std::string path = temp.str() + "pipe";
  // A server that died without cleaning up leaves its socket file behind.
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strcpy(a.sun_path, path.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)), 0);
  close(fd);
  ASSERT_TRUE(IsSocket(path));

  UnixSocketServer server;
  ASSERT_EQ(server.Listen(path), 0);
  Client client(path);
  EXPECT_GE(client.fd, 0) << "the new socket serves";

  const std::string regular = temp.str() + "notes.txt";
  std::ofstream(regular) << "keep me";
  UnixSocketServer other;
  EXPECT_EQ(other.Listen(regular), EEXIST);
  EXPECT_TRUE(std::filesystem::is_regular_file(regular));
}

TEST(UnixSocketServer, RejectsPathsASocketCannotHave) {
  UnixSocketServer server;
  EXPECT_EQ(server.Listen(std::string(200, 'x')), ENAMETOOLONG);
  EXPECT_EQ(server.Listen(""), EINVAL);
  EXPECT_EQ(server.Listen("/no/such/folder/pipe"), ENOENT);
}

TEST(UnixSocketServer, ListeningAgainStartsAFreshSocket) {
  test::TempDir temp;
  UnixSocketServer server;
  ASSERT_EQ(server.Listen(temp.str() + "a"), 0);
  ASSERT_EQ(server.Listen(temp.str() + "b"), 0);
  EXPECT_FALSE(std::filesystem::exists(temp.str() + "a"));
  EXPECT_TRUE(IsSocket(temp.str() + "b"));
}

// The real extractor writes SRT into the socket: the path it is given is the one we serve.
TEST(UnixSocketServer, ReceivesTheSubtitleTrackFromRealFfmpeg) {
  test::TempDir temp;
  const std::string path = temp.str() + "DVRFFMpegPipe";
  UnixSocketServer server;
  ASSERT_EQ(server.Listen(path), 0);
  ProcessOptions o;
  o.program = test::ProgramDir() + "FFMpeg/ffmpeg";
  o.args = {"-nostdin", "-i",  test::DefaultClip(), "-y", "-vn", "-an", "-scodec", "srt",
            "-f",       "srt", "unix:" + path};
  ChildProcess ffmpeg;
  ASSERT_EQ(ffmpeg.Start(o), 0);
  std::atomic<bool> stop{false};
  ASSERT_EQ(server.Accept(stop), UnixSocketServer::AcceptResult::Connected);
  std::string srt;
  char buffer[8192];
  while (server.WaitReadable(20000)) {
    ssize_t n = server.Read(buffer, sizeof buffer);
    if (n <= 0) break;
    srt.append(buffer, size_t(n));
  }
  ASSERT_TRUE(ffmpeg.WaitForExit(20000));
  EXPECT_EQ(ffmpeg.exitCode(), 0);
  std::ifstream lines(test::TelemetryOf(test::DefaultClip()));
  std::string first;
  std::getline(lines, first);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(srt.rfind("1\n00:00:00,000 --> ", 0), 0u) << srt.substr(0, 80);
  EXPECT_NE(srt.find(first), std::string::npos);
}

TEST(RuntimeFolder, UsesXdgRuntimeDirOnlyWhenUsable) {
  test::TempDir temp;
  const char* saved = getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", (temp.str() + "/").c_str(), 1);
  EXPECT_EQ(RuntimeFolder(), temp.path().string());

  for (const char* unusable : {"/no/such/folder", "relative/folder", ""}) {
    setenv("XDG_RUNTIME_DIR", unusable, 1);
    const std::string folder = RuntimeFolder();
    EXPECT_EQ(folder, "/tmp/korvane-" + std::to_string(getuid())) << unusable;
    struct stat st {};
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
  }
  if (saved) {
    setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
}

}  // namespace
}  // namespace korvane
