// The controller's player port on the real player program: the path of the file reaches the player
// whole, however long and whatever its script.
#include <gtest/gtest.h>

#include <filesystem>

#include "media/player_harness.h"
#include "support/sample_paths.h"
#include "ui/controller_adapters.h"

namespace korvane::test {
namespace {

namespace fs = std::filesystem;

// About 170 CJK characters (over 511 bytes) in folder and file names, each name within the file
// system's 255-byte limit.
TEST(PlayerPort, ALongNonAsciiPathPlays) {
  PlayerHarness h;
  h.player.playerPath = ProgramDir() + "MPlayer/mplayer";
  std::string folder = h.folder.str();
  for (int level = 0; level < 2; ++level) {
    std::string name;
    for (int i = 0; i < 60; ++i) name += "行";
    folder += name + "/";
  }
  fs::create_directories(folder);
  std::string file;
  for (int i = 0; i < 50; ++i) file += "車";
  const std::string path = folder + file + " (1).mp4";
  ASSERT_GT(path.size(), 511u);
  fs::copy_file(CuesClip(5), path);

  CMplayerPort port(h.player, nullptr);
  port.Play(path, true);
  EXPECT_EQ(h.player.mediaPath, path);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted)) << "the player could not open the file";
  EXPECT_GT(h.player.length(), 0.0);
}

}  // namespace
}  // namespace korvane::test
