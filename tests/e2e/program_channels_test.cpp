// Every camera of a moment in the real window (its own Xvfb, the real player programs): a front and
// rear pair shows as a main picture and a small one, a real click on the small picture swaps them
// while the front's player keeps leading, a pause holds both players, and closing leaves neither.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "program_driver.h"
#include "support/command_output.h"

namespace korvane::test {
namespace {

// The probe's pictures: eight numbers each (channel, screen rectangle, shown, pid, state).
struct Picture {
  int channel, left, top, right, bottom, shown;
  long pid;
  int state;
};

std::vector<Picture> PicturesOf(const ProbeState& s) {
  const std::vector<double> n = Numbers(s.Str("pictures"));
  std::vector<Picture> out;
  for (std::size_t i = 0; i + 8 <= n.size(); i += 8) {
    out.push_back({int(n[i]), int(n[i + 1]), int(n[i + 2]), int(n[i + 3]), int(n[i + 4]),
                   int(n[i + 5]), long(n[i + 6]), int(n[i + 7])});
  }
  return out;
}

TEST(ProgramChannels, APairShowsTwoPicturesThatSwapOnAClickPauseTogetherAndEndWithTheWindow) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  TempDir card;
  for (const auto& entry : std::filesystem::directory_iterator(SamplePath("channels/viofo"))) {
    if (entry.path().extension() == ".mp4") {
      std::filesystem::copy_file(entry.path(), card.path() / entry.path().filename());
    }
  }
  const std::string front = card.str() + "2026_0518_083000_0001F.mp4";
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({front}));
  const auto bothPlaying = [](const ProbeState& p) {
    const std::vector<Picture> pictures = PicturesOf(p);
    return p.Int("state") == 3 && pictures.size() == 2 && pictures[1].state == 3;
  };
  ProbeState s = run.WaitFor(bothPlaying, 30000);
  std::vector<Picture> pictures = PicturesOf(s);
  ASSERT_EQ(pictures.size(), 2u) << s.json;
  EXPECT_EQ(pictures[0].channel, 0);  // the front, with the telemetry, is the main picture
  EXPECT_EQ(pictures[1].channel, 1);
  EXPECT_TRUE(pictures[0].shown && pictures[1].shown);
  // The small picture lies inside the main one's area, over its top right.
  EXPECT_LT(pictures[1].right - pictures[1].left, (pictures[0].right - pictures[0].left) / 2);
  EXPECT_GT(pictures[1].left, (pictures[0].left + pictures[0].right) / 2);
  const long rearPid = pictures[1].pid;
  ASSERT_GT(rearPid, 0);
  ASSERT_NE(rearPid, s.Int("pid"));

  if (const char* shot = std::getenv("KORVANE_SHOT")) {
    std::system(("import -display " + display.name() + " -window root " + shot).c_str());
  }
  // A real click on the small picture: the rear becomes the main picture, the front still leads.
  ASSERT_TRUE(XdoTool(
      display.name(),
      {"mousemove", std::to_string((pictures[1].left + pictures[1].right) / 2),
       std::to_string((pictures[1].top + pictures[1].bottom) / 2), "sleep", "0.2", "click", "1"}));
  s = run.WaitFor([](const ProbeState& p) { return PicturesOf(p).at(0).channel == 1; }, 5000);
  pictures = PicturesOf(s);
  ASSERT_EQ(pictures.at(0).channel, 1) << s.json;
  EXPECT_EQ(pictures.at(1).channel, 0);
  EXPECT_GT(pictures.at(0).right - pictures.at(0).left,
            2 * (pictures.at(1).right - pictures.at(1).left));

  run.Command("click btnPause");
  s = run.WaitFor(
      [](const ProbeState& p) {
        const std::vector<Picture> all = PicturesOf(p);
        return all.size() == 2 && all[0].state == 4 && all[1].state == 4;
      },
      5000);
  pictures = PicturesOf(s);
  ASSERT_EQ(pictures.size(), 2u) << s.json;
  EXPECT_EQ(pictures[0].state, 4) << s.json;
  EXPECT_EQ(pictures[1].state, 4) << s.json;

  const long frontPid = s.Int("pid");
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
  EXPECT_NE(kill(static_cast<pid_t>(frontPid), 0), 0) << "front player still running";
  EXPECT_NE(kill(static_cast<pid_t>(rearPid), 0), 0) << "rear player still running";
}

bool Overlap(const Picture& a, const Picture& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A four-camera moment shows four pictures: the front big, three small ones that do not overlap;
// full screen keeps them (larger, as the video area is), and leaving it puts them back.
TEST(ProgramChannels, FourCamerasShowFourPicturesThatFullScreenKeeps) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({SamplePath("channels/tesla/2026-05-18_08-35-00-front.mp4")}));
  const auto fourShown = [](const ProbeState& p) {
    const std::vector<Picture> all = PicturesOf(p);
    // Shown, not playing: the clips last 6 s, so the later steps may come after their end.
    return all.size() == 4 &&
           std::all_of(all.begin(), all.end(), [](const Picture& q) { return q.shown == 1; });
  };
  // Each player a second in, so the screenshot shows four drawn pictures.
  ProbeState s = run.WaitFor(
      [&](const ProbeState& p) {
        const std::vector<Picture> all = PicturesOf(p);
        return fourShown(p) && p.Int("position") >= 1 &&
               std::all_of(all.begin(), all.end(), [](const Picture& q) { return q.state == 3; });
      },
      30000);
  const std::vector<Picture> window = PicturesOf(s);
  ASSERT_EQ(window.size(), 4u) << s.json;
  EXPECT_EQ(window[0].channel, 0);
  for (std::size_t i = 1; i < window.size(); ++i) {
    EXPECT_LT(window[i].right - window[i].left, (window[0].right - window[0].left) / 2) << i;
    for (std::size_t j = i + 1; j < window.size(); ++j) EXPECT_FALSE(Overlap(window[i], window[j]));
  }
  if (const char* shot = std::getenv("KORVANE_SHOT")) {
    std::system(("import -display " + display.name() + " -window root " + shot).c_str());
  }

  run.Command("key 13");  // Enter: full screen
  s = run.WaitFor(
      [&](const ProbeState& p) {
        const std::vector<Picture> all = PicturesOf(p);
        return fourShown(p) && all[0].right - all[0].left > window[0].right - window[0].left;
      },
      5000);
  const std::vector<Picture> full = PicturesOf(s);
  ASSERT_EQ(full.size(), 4u) << s.json;
  EXPECT_GT(full[0].right - full[0].left, window[0].right - window[0].left) << s.json;
  for (std::size_t i = 1; i < full.size(); ++i) {
    EXPECT_EQ(full[i].shown, 1) << i;
    EXPECT_GT(full[i].right - full[i].left, window[i].right - window[i].left) << i;
  }

  run.Command("key 27");  // Escape: back to the window
  s = run.WaitFor(
      [&](const ProbeState& p) {
        const std::vector<Picture> all = PicturesOf(p);
        return all.size() == 4 && all[1].left == window[1].left && all[1].top == window[1].top;
      },
      5000);
  const std::vector<Picture> back = PicturesOf(s);
  ASSERT_EQ(back.size(), 4u) << s.json;
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].right - back[i].left, window[i].right - window[i].left) << i;
  }
  ASSERT_TRUE(run.Close());
}

// After `V` the snapshot is the main picture's: the rear's colour bars (a grey top left), not the
// front's test pattern (red there), though the front keeps leading.
TEST(ProgramChannels, ASnapshotAfterASwapIsTheSwappedInChannelsPicture) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir card;
  for (const auto& entry : std::filesystem::directory_iterator(SamplePath("channels/viofo"))) {
    if (entry.path().extension() == ".mp4") {
      std::filesystem::copy_file(entry.path(), card.path() / entry.path().filename());
    }
  }
  ProgramRun run(display.name());
  const std::filesystem::path data = run.home().path() / "Documents/KORVANE";
  std::filesystem::create_directories(data / "conf");
  std::ofstream(data / "conf/Velmora.ini")
      << "[MPlayer]\nLanguage=english.ini\nVO=directx:noaccel\nAO=dsound\nSSPreview=0\n"
         "CleanTip=1\nAssociate=MP4\nFilter=*.mp4\n";
  ASSERT_TRUE(run.Start({card.str() + "2026_0518_083000_0001F.mp4"}));
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        const std::vector<Picture> all = PicturesOf(p);
        return p.Int("state") == 3 && all.size() == 2 && all[1].state == 3;
      },
      30000);
  ASSERT_EQ(PicturesOf(s).size(), 2u) << s.json;
  run.Command("key 86");  // V
  s = run.WaitFor([](const ProbeState& p) { return PicturesOf(p).at(0).channel == 1; }, 5000);
  ASSERT_EQ(PicturesOf(s).at(0).channel, 1) << s.json;
  run.Command("key 119");  // F8

  const std::string shot = (data / "shot0001.png").string();
  const std::string read = "convert '" + shot +
                           "' -crop 6x20+2+10 +repage -format '%[fx:mean.r] %[fx:mean.b]' "
                           "info: 2>/dev/null";
  std::vector<double> means;
  for (int i = 0; i < 150 && means.size() < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    means = Numbers(CommandOutput(read));
  }
  ASSERT_EQ(means.size(), 2u) << CommandOutput(read);
  EXPECT_GT(means[0], 0.5) << "light";
  EXPECT_NEAR(means[0], means[1], 0.1) << "grey, as the rear's first bar";
  // The snapshot's tip is open and modal: the run's end takes the program down.
}

}  // namespace
}  // namespace korvane::test
