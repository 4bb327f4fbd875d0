// Saving a stretch from the real window: real keys (xdotool on the test's own Xvfb) mark a stretch
// with I and O, and S saves this moment across the seam into the next clip; each save runs while
// the window plays on, and ends as an MP4 in Documents/KORVANE/Saved with both channels, the sound
// and the telemetry track, its path put up in the window; a stretch across two clips plays back
// in the program with its route, GPS panel and curves; ticked in the settings window, the save
// also writes the stamped copy.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "program_driver.h"
#include "support/command_output.h"
#include "support/file_text.h"
#include "support/video_packets.h"

namespace korvane::test {
namespace {

// Two channels of the three 20 s clips of one trip, copied into `card`.
void CopyTheMorningTrip(const TempDir& card) {
  for (const auto& entry : std::filesystem::directory_iterator(SamplePath("dualcard"))) {
    if (entry.path().filename().string().find("_08_30_") != std::string::npos) {
      std::filesystem::copy_file(entry.path(), card.path() / entry.path().filename());
    }
  }
}

// A click on the play-time label gives the window the keyboard and does nothing else.
bool GiveTheWindowTheKeyboard(const std::string& display) {
  return XdoTool(display, {"search", "--sync", "--name", "^KORVANE", "mousemove", "--window", "%1",
                           "345", "716", "click", "1"});
}

TEST(ProgramSaveKeys, MarkedStretchAndThisMomentAreSavedWithEveryChannelAndTheTrack) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  TempDir card;
  CopyTheMorningTrip(card);
  const std::string clip = card.str() + "REC_2026_05_18_08_30_00_F.mp4";
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  ProbeState s = run.WaitFor([](const ProbeState& p) { return p.Int("state") == 3; }, 30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  run.Command("click btnPause");
  ASSERT_EQ(run.WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000).Int("state"),
            4);
  ASSERT_TRUE(GiveTheWindowTheKeyboard(display.name()));
  const auto seek = [&](int second) {
    run.Command("seek " + std::to_string(second));
    run.WaitFor([&](const ProbeState& p) { return p.Int("position") == second; }, 5000);
  };
  const std::string saved = run.home().str() + "Documents/KORVANE/Saved/";
  const auto waitSaved = [&](const std::string& name) {
    return run.WaitFor(
        [&](const ProbeState& p) {
          return p.Int("saving") == 0 && p.Str("notice").find(name) != std::string::npos;
        },
        60000);
  };
  const auto streams = [](const std::string& path) {
    return CommandOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + path +
                         "'");
  };
  const auto length = [](const std::string& path) {
    return std::atof(
        CommandOutput("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "'")
            .c_str());
  };

  seek(4);
  ASSERT_TRUE(XdoTool(display.name(), {"key", "i"}));
  s = run.WaitFor([](const ProbeState& p) { return !ProbeField(p.Str("markStart"), "ms").empty(); },
                  5000);
  EXPECT_EQ(ProbeField(s.Str("markStart"), "clip"), clip) << s.json;
  EXPECT_NEAR(std::atol(ProbeField(s.Str("markStart"), "ms").c_str()), 4000, 300) << s.json;
  seek(10);
  ASSERT_TRUE(XdoTool(display.name(), {"key", "o"}));
  const std::string marked = saved + "2026-05-18 08-30-04 incident.mp4";
  s = waitSaved(marked);
  ASSERT_NE(s.Str("notice").find("Stretch saved to: " + marked), std::string::npos) << s.json;
  EXPECT_EQ(s.Str("markStart"), "null");  // the pair is spent
  EXPECT_EQ(streams(marked), "video\nvideo\naudio\nsubtitle\n");
  EXPECT_NEAR(length(marked), 6.0, 0.3);
  EXPECT_TRUE(std::filesystem::exists(saved + "2026-05-18 08-30-04 incident.gpx"));

  // This moment at 12 s: from the clip's start (nothing before it) to 08:30:27 in the next clip.
  seek(12);
  ASSERT_TRUE(XdoTool(display.name(), {"key", "s"}));
  const std::string moment = saved + "2026-05-18 08-30-00 incident.mp4";
  s = waitSaved(moment);
  ASSERT_NE(s.Str("notice").find(moment), std::string::npos) << s.json;
  EXPECT_EQ(streams(moment), "video\nvideo\naudio\nsubtitle\n");
  EXPECT_NEAR(length(moment), 27.0, 0.3);
  EXPECT_TRUE(run.Close());
}

// The whole path of a stretch across two clips: I in the first clip, O in the next, the saved
// file has both channels, the sound and the track with no gap at the seam, and the program opens
// it again as any clip: route, GPS panel and G curves from the track it carries.
TEST(ProgramSaveKeys, AStretchAcrossTwoClipsIsSavedAndPlaysBackWithItsTrack) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  TempDir card;
  CopyTheMorningTrip(card);
  const std::string first = card.str() + "REC_2026_05_18_08_30_00_F.mp4";
  const std::string second = card.str() + "REC_2026_05_18_08_30_20_F.mp4";
  std::string saved;
  {
    ProgramRun run(display.name());
    ASSERT_TRUE(run.Start({first}));
    const auto playing = [&](const std::string& clip) {
      return run.WaitFor(
          [&](const ProbeState& p) { return p.Int("state") == 3 && p.Str("current") == clip; },
          30000);
    };
    ASSERT_EQ(playing(first).Int("state"), 3);
    ASSERT_TRUE(GiveTheWindowTheKeyboard(display.name()));
    const auto seek = [&](int second) {
      run.Command("seek " + std::to_string(second));
      run.WaitFor([&](const ProbeState& p) { return p.Int("position") == second; }, 5000);
    };
    seek(14);
    ASSERT_TRUE(XdoTool(display.name(), {"key", "i"}));
    run.WaitFor([](const ProbeState& p) { return !ProbeField(p.Str("markStart"), "ms").empty(); },
                5000);
    // Past the guard against quick repeated clicks, the next clip.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    run.Command("click btnNext");
    ASSERT_EQ(playing(second).Str("current"), second);
    seek(6);
    ASSERT_TRUE(XdoTool(display.name(), {"key", "o"}));
    saved = run.home().str() + "Documents/KORVANE/Saved/2026-05-18 08-30-14 incident.mp4";
    const ProbeState s = run.WaitFor(
        [&](const ProbeState& p) {
          return p.Int("saving") == 0 && p.Str("notice").find(saved) != std::string::npos;
        },
        60000);
    ASSERT_NE(s.Str("notice").find(saved), std::string::npos) << s.json;
    EXPECT_TRUE(run.Close());
    // The second run below has a home of its own: the file goes with the test's folder.
    std::filesystem::copy_file(saved, card.path() / "incident.mp4");
  }
  const std::string copy = card.str() + "incident.mp4";
  EXPECT_EQ(
      CommandOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + copy + "'"),
      "video\nvideo\naudio\nsubtitle\n");
  const std::vector<double> pts = VideoPacketTimes(copy);
  ASSERT_GT(pts.size(), 100u);  // 12 s at 10 fps
  EXPECT_LT(LongestStep(pts), 0.15) << "a gap at the seam";

  ProgramRun replay(display.name());
  ASSERT_TRUE(replay.Start({copy}));
  const auto plays = [](const ProbeState& p) {
    const long kept = p.Int("storePoints");
    return p.Int("state") == 3 && p.Int("gpsValid") == 1 && kept > 0 &&
           p.Map("points") == std::to_string(kept) &&
           (!p.HasChart() || p.Curves() == std::vector<double>(3, static_cast<double>(kept)));
  };
  const ProbeState s = replay.WaitFor(plays, 30000);
  EXPECT_TRUE(plays(s)) << s.json;
  EXPECT_GE(s.Int("storePoints"), 8) << s.json;  // about a point a second of the 12 s
  EXPECT_TRUE(replay.Close());
}

// Where in the settings window (skin "Setting.xml", 500 x 690) the "with a stamped copy" box and
// the OK button lie: below the 46 px title bar and the 22 px inset, seven 32 px rows and two 28 px
// boxes, 12 px apart, then the box's own middle; OK is the left one of the two 100 px buttons of
// the 64 px bottom row.
constexpr int kStampedBoxX = 60;
constexpr int kStampedBoxY = 46 + 22 + 7 * (32 + 12) + 2 * (28 + 12) + 14;
constexpr int kOkButtonX = 500 - 26 - 100 - 10 - 50;
constexpr int kOkButtonY = 690 - 64 + 12 + 16;

// A real click at the point (x, y) of the settings window, once it is open.
bool ClickInSettingsWindow(const std::string& display, int x, int y) {
  return XdoTool(display,
                 {"search", "--sync", "--name", "^SettingWnd$", "mousemove", "--window", "%1",
                  std::to_string(x), std::to_string(y), "sleep", "0.3", "click", "1"});
}

TEST(ProgramSaveKeys, TickedInTheSettingsWindowASaveAlsoWritesAStampedCopy) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  TempDir card;
  CopyTheMorningTrip(card);
  const std::string clip = card.str() + "REC_2026_05_18_08_30_00_F.mp4";
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        return p.Int("state") == 3 && Numbers(p.Str("settingButton")).size() == 4;
      },
      30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  run.Command("click btnPause");
  ASSERT_EQ(run.WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000).Int("state"),
            4);

  // At its first size the right-hand panels hide the settings button; wider, the bar shows it.
  const std::string before = s.Str("settingButton");
  ASSERT_TRUE(XdoTool(display.name(), {"search", "--sync", "--name", "^KORVANE", "windowmove", "%1",
                                       "0", "0", "windowsize", "%1", "1600", "900"}));
  s = run.WaitFor([&](const ProbeState& p) { return p.Str("settingButton") != before; }, 5000);
  ASSERT_NE(s.Str("settingButton"), before) << s.json;
  const std::vector<double> button = Numbers(s.Str("settingButton"));
  ASSERT_TRUE(XdoTool(
      display.name(),
      {"mousemove", std::to_string(std::lround((button[0] + button[2]) / 2)),
       std::to_string(std::lround((button[1] + button[3]) / 2)), "sleep", "0.2", "click", "1"}));
  ASSERT_TRUE(ClickInSettingsWindow(display.name(), kStampedBoxX, kStampedBoxY));
  ShootIfAsked(display.name(), "-settings.png");
  ASSERT_TRUE(ClickInSettingsWindow(display.name(), kOkButtonX, kOkButtonY));
  const std::string settings = run.home().str() + "Documents/KORVANE/conf/Velmora.ini";
  for (int wait = 0;
       wait < 100 && ReadFileText(settings).find("SaveStamped=1") == std::string::npos; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_NE(ReadFileText(settings).find("SaveStamped=1"), std::string::npos)
      << ReadFileText(settings);

  ASSERT_TRUE(GiveTheWindowTheKeyboard(display.name()));
  for (const auto& [second, key] : {std::pair{4, "i"}, std::pair{10, "o"}}) {
    run.Command("seek " + std::to_string(second));
    run.WaitFor([&](const ProbeState& p) { return p.Int("position") == second; }, 5000);
    ASSERT_TRUE(XdoTool(display.name(), {"key", key}));
    if (second == 4) {
      run.WaitFor([](const ProbeState& p) { return !ProbeField(p.Str("markStart"), "ms").empty(); },
                  5000);
    }
  }
  const std::string saved =
      run.home().str() + "Documents/KORVANE/Saved/2026-05-18 08-30-04 incident";
  s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("saving") == 0 && p.Str("notice").find(saved) != std::string::npos;
      },
      120000);
  ASSERT_NE(s.Str("notice").find("Stretch saved to: " + saved + ".mp4, " + saved + " stamped.mp4"),
            std::string::npos)
      << s.json;
  EXPECT_TRUE(std::filesystem::exists(saved + ".mp4"));
  EXPECT_TRUE(std::filesystem::exists(saved + ".gpx"));
  const std::string stamped = saved + " stamped.mp4";
  EXPECT_EQ(CommandOutput("ffprobe -v error -select_streams v -show_entries stream=codec_name -of "
                          "csv=p=0 '" +
                          stamped + "'"),
            "h264\n");
  EXPECT_NEAR(
      std::atof(CommandOutput("ffprobe -v error -show_entries format=duration -of csv=p=0 '" +
                              stamped + "'")
                    .c_str()),
      6.0, 0.3);
  // A frame of the copy decodes; kept beside the window's pictures when they are asked for.
  const char* shot = std::getenv("KORVANE_SHOT");
  const std::string frame =
      shot != nullptr ? std::string(shot) + "-stamped.png" : card.str() + "stamped.png";
  CommandOutput("ffmpeg -v error -y -ss 3 -i '" + stamped + "' -frames:v 1 '" + frame + "'");
  EXPECT_TRUE(std::filesystem::exists(frame));
  EXPECT_TRUE(run.Close());
}

// Closed while a save may still run: the window ends at once and a save cut short leaves no
// part file, so what the Saved folder holds is whole.
TEST(ProgramSaveKeys, ClosingTheWindowDuringASaveLeavesNoPartFile) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({SamplePath("dualcard/REC_2026_05_18_08_30_20_F.mp4")}));
  ASSERT_EQ(
      run.WaitFor([](const ProbeState& p) { return p.Int("state") == 3; }, 30000).Int("state"), 3);
  ASSERT_TRUE(GiveTheWindowTheKeyboard(display.name()));
  ASSERT_TRUE(XdoTool(display.name(), {"key", "s"}));
  EXPECT_TRUE(run.Close(5000));
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(run.home().str() + "Documents/KORVANE/Saved", error)) {
    EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace korvane::test
