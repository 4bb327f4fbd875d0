#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/instance_lock.h"
#include "platform/process.h"
#include "platform/xdg_folders.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::ScopedEnv;

TEST(UserDirs, DocumentsEntryIsParsedLikeXdgUserDir) {
  const std::string home = "/home/ana";
  struct Case {
    std::string text;
    std::string expected;
  } cases[] = {
      {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", "/home/ana/Documents"},
      {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n",
       "/home/ana/Документы"},
      {"XDG_DOCUMENTS_DIR=\"/data/my \\\"docs\\\"/\"\n", "/data/my \"docs\""},
      {"XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"\n", "/home/ana/b"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/home/ana"},
      {"XDG_DOCUMENTS_DIR=\"relative\"\n", ""},
      {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", ""},
      {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", ""},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DocumentsFolderFromUserDirs(c.text, home), c.expected) << c.text;
}

TEST(UserDirs, DocumentsFolderComesFromTheConfigOrDefaults) {
  test::TempDir temp;
  ScopedEnv env;
  env.Set("HOME", temp.str() + "家");
  env.Unset("XDG_CONFIG_HOME");
  EXPECT_EQ(DocumentsFolder(), temp.str() + "家/Documents");

  std::filesystem::create_directories(temp.path() / "cfg");
  std::ofstream(temp.path() / "cfg" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
  env.Set("XDG_CONFIG_HOME", temp.str() + "cfg");
  EXPECT_EQ(DocumentsFolder(), temp.str() + "家/Docs");
}

TEST(UserDirs, DataHomeComesFromXdgDataHomeOrDefaults) {
  ScopedEnv env;
  env.Set("HOME", "/home/u");
  env.Set("XDG_DATA_HOME", "/data/home/");
  EXPECT_EQ(DataHomeFolder(), "/data/home");
  for (const char* unusable : {"", "relative/data"}) {
    env.Set("XDG_DATA_HOME", unusable);
    EXPECT_EQ(DataHomeFolder(), "/home/u/.local/share") << unusable;
  }
}

TEST(RuntimeDir, OnlyAUsableXdgRuntimeDirCounts) {
  test::TempDir temp;
  ScopedEnv env;
  env.Set("XDG_RUNTIME_DIR", temp.str());
  EXPECT_EQ(UsableXdgRuntimeDir(), temp.path().string());
  EXPECT_EQ(InstanceLockPath("TesmarOrvixMutex"), temp.str() + "TesmarOrvixMutex");
  std::ofstream(temp.path() / "file") << "x";
  for (std::string bad :
       {temp.str() + "file", temp.str() + "none", std::string("rel"), std::string()}) {
    env.Set("XDG_RUNTIME_DIR", bad);
    EXPECT_EQ(UsableXdgRuntimeDir(), "") << bad;
    EXPECT_EQ(InstanceLockPath("TesmarOrvixMutex"),
              "/tmp/TesmarOrvixMutex-" + std::to_string(getuid()));
  }
}

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override { env.Set("XDG_RUNTIME_DIR", temp.str()); }
  // Whether another process can take the lock right now (util-linux flock).
  bool OtherProcessCanLock() {
    ProcessOptions o;
    o.program = "/usr/bin/flock";
    o.args = {"-n", InstanceLockPath("TesmarOrvixMutex"), "/bin/true"};
    ChildProcess child;
    EXPECT_EQ(child.Start(o), 0);
    EXPECT_TRUE(child.WaitForExit(10000));
    return child.exitCode() == 0;
  }
  test::TempDir temp;
  ScopedEnv env;
};

TEST_F(InstanceLockTest, OnlyOneHolderAtATime) {
  InstanceLock first;
  ASSERT_EQ(first.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Acquired);
  EXPECT_TRUE(first.held());
  InstanceLock second;
  EXPECT_EQ(second.Acquire("TesmarOrvixMutex"), InstanceLock::Result::HeldByOther);
  EXPECT_FALSE(second.held());
  EXPECT_FALSE(OtherProcessCanLock());
  EXPECT_EQ(second.Acquire("OtherName"), InstanceLock::Result::Acquired) << "names are separate";

  first.Release();
  EXPECT_TRUE(OtherProcessCanLock());
  EXPECT_EQ(second.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Acquired);
}

TEST_F(InstanceLockTest, ChildProcessesDoNotKeepTheLock) {
  ChildProcess player;
  {
    InstanceLock lock;
    ASSERT_EQ(lock.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Acquired);
    ProcessOptions o;
    o.program = "/bin/sleep";
    o.args = {"30"};
    ASSERT_EQ(player.Start(o), 0);
  }
  EXPECT_TRUE(OtherProcessCanLock()) << "a lingering child must not block the next start";
}

TEST_F(InstanceLockTest, UnopenableLockFileIsUnavailableNotHeld) {
  std::filesystem::create_directory(temp.path() / "TesmarOrvixMutex");  // a folder in its place
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Unavailable);
  EXPECT_FALSE(lock.held());
}

// In the shared /tmp another user can make the lock file first, open to all, and hold its lock:
// the file is not this user's, so it marks nothing and the program runs unmarked.
TEST_F(InstanceLockTest, ALockFileOfAnotherUserIsUnavailableNotHeld) {
  if (geteuid() != 0) GTEST_SKIP() << "a file of another user needs root to make";
  const std::string path = InstanceLockPath("TesmarOrvixMutex");
  const int theirs = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(theirs, 0);
  ASSERT_EQ(fchown(theirs, 4242, 4242), 0);
  ASSERT_EQ(fchmod(theirs, 0666), 0);
  ASSERT_EQ(flock(theirs, LOCK_EX | LOCK_NB), 0);
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Unavailable);
  EXPECT_FALSE(lock.held());
  close(theirs);
}

}  // namespace
}  // namespace korvane
