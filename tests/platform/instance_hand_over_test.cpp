// Files handed from a second start to the running instance over its socket.
#include "platform/instance_hand_over.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

class HandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    env.Set("XDG_RUNTIME_DIR", runtime.str());
    path = InstanceSocketPath("TesmarOrvixMutex");
  }
  void Serve() {
    ASSERT_EQ(server.Start(path,
                           [this](const std::vector<std::string>& files) {
                             std::lock_guard lock(mutex);
                             received.push_back(files);
                             arrived.notify_all();
                           }),
              0);
  }
  // The hand-overs received so far, once `count` have come (or after five seconds).
  std::vector<std::vector<std::string>> WaitFor(std::size_t count) {
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, std::chrono::seconds(5), [&] { return received.size() >= count; });
    return received;
  }

  test::TempDir runtime;
  test::ScopedEnv env;
  std::string path;
  FileHandOverServer server;
  std::mutex mutex;
  std::condition_variable arrived;
  std::vector<std::vector<std::string>> received;
};

TEST_F(HandOver, FilesReachTheRunningInstanceOnlyItsUserMayConnect) {
  EXPECT_EQ(path, runtime.str() + "TesmarOrvixMutex.socket");
  EXPECT_FALSE(HandFilesToRunningInstance(path, {"/clips/a.mp4"})) << "nobody serves yet";
  Serve();
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const std::vector<std::string> files = {"/clips/a b.mp4", "/行車/記録 \"1\".MP4"};
  ASSERT_TRUE(HandFilesToRunningInstance(path, files));
  ASSERT_TRUE(HandFilesToRunningInstance(path, {"/clips/c.mp4"}));
  EXPECT_FALSE(HandFilesToRunningInstance(path, {})) << "nothing to hand over";
  const auto got = WaitFor(2);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], files);
  EXPECT_EQ(got[1], std::vector<std::string>{"/clips/c.mp4"});
  server.Stop();
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path)));
}

// In the shared /tmp a socket at that name may be someone else's: no file name goes to it.
TEST_F(HandOver, ASocketOfAnotherUserGetsNothing) {
  if (geteuid() != 0) GTEST_SKIP() << "a socket of another user needs root to make";
  Serve();
  ASSERT_EQ(chown(path.c_str(), 4242, 4242), 0);
  EXPECT_FALSE(HandFilesToRunningInstance(path, {"/clips/a.mp4"}));
}

TEST(HandedFiles, AreTheNulEndedEntries) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ParseHandedFiles(std::string_view("/a\0/b c\0", 8)), (V{"/a", "/b c"}));
  EXPECT_EQ(ParseHandedFiles(std::string_view("\0\0/a\0/cut", 9)), (V{"/a", "/cut"}));
  EXPECT_EQ(ParseHandedFiles(""), V{});
}

}  // namespace
}  // namespace korvane
