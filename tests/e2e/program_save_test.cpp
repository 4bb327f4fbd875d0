// The headless save of the real program: no display, beside a running window, a stretch named by
// a clip offset and a camera time, every channel of a moment, its exit codes as --export has
// them, and its ffmpeg ending with it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "headless_program.h"
#include "support/command_output.h"

namespace korvane {
namespace {

class HeadlessSave : public test::HeadlessProgram {};

TEST_F(HeadlessSave, SavesAStretchFromAClipOffsetToACameraTimeWithTheGpxBeside) {
  const std::string clip = test::SamplePath("dualcard/REC_2026_05_18_08_30_00_F.mp4");
  const std::string out = home_.str() + "incident.mp4";
  const test::HeadlessRun run =
      Korvane({"--save", clip, "--from", clip + "@00:00:15", "--to", "2026-05-18T08:30:25", out});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("camera time 2026-05-18 08:30:15.000 to 08:30:25.000"), std::string::npos)
      << run.out;
  EXPECT_TRUE(std::filesystem::exists(home_.str() + "incident.gpx"));
  EXPECT_EQ(test::CommandOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                                out + "'"),
            "video\nvideo\naudio\nsubtitle\n");
}

// A camera that keeps its channels in sibling folders: the clip of the front folder brings the
// rear one's clip of the same moment.
TEST_F(HeadlessSave, AClipInAChannelFolderBringsTheSiblingFoldersChannels) {
  const std::string clip =
      test::SamplePath("channels/70mai/Normal/Front/NO20260518-083300-000001F.mp4");
  const std::string out = home_.str() + "incident.mp4";
  const test::HeadlessRun run =
      Korvane({"--save", clip, "--from", clip + "@00:00:01", "--to", clip + "@00:00:05", out});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(test::CommandOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                                out + "' | grep -c video"),
            "2\n");
}

// The pids of the children of `parent` whose program is `name`, from /proc/PID/stat
// ("PID (NAME) STATE PPID ..."); a child that has ended (a zombie) is not counted.
std::vector<pid_t> LiveChildrenNamed(pid_t parent, const std::string& name) {
  std::vector<pid_t> pids;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string stat = test::ReadFileText(entry.path() / "stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos || stat.find(" (" + name + ") ") == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) != 2) continue;
    if (ppid == parent && state != 'Z') pids.push_back(std::stoi(entry.path().filename().string()));
  }
  return pids;
}

bool Alive(pid_t pid) {
  const std::string stat = test::ReadFileText("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

// Killed outright while its ffmpeg writes, the program takes the ffmpeg with it, and the saved
// file never appears under its final name. The ffmpeg is held stopped, so only its parent's end
// can end it: left to itself it would stay.
TEST_F(HeadlessSave, KilledWhileSavingTakesItsFfmpegAlongAndLeavesNoFinalFile) {
  const std::string card = test::SamplePath("dualcard/");
  const std::string out = home_.str() + "incident.mp4";
  pid_t ffmpeg = -1;
  for (int attempt = 0; attempt < 10 && ffmpeg < 0; ++attempt) {
    ProcessOptions o;
    o.program = test::ProgramDir() + "korvane";
    o.args = {"--save", card, "--from", "2026-05-18T08:30:00", "--to", "2026-05-18T08:31:00", out};
    ChildProcess korvane;
    ASSERT_EQ(korvane.Start(o), 0);
    while (ffmpeg < 0 && !korvane.WaitForExit(0)) {
      const std::vector<pid_t> found = LiveChildrenNamed(korvane.pid(), "ffmpeg");
      if (!found.empty()) ffmpeg = found.front();
    }
    if (ffmpeg < 0) {  // the save ended before it was seen: again
      std::filesystem::remove(out);
      std::filesystem::remove(home_.str() + "incident.gpx");
      continue;
    }
    kill(ffmpeg, SIGSTOP);
    korvane.Kill();
  }
  ASSERT_GT(ffmpeg, 0) << "no save ran long enough to be caught";
  bool gone = false;
  for (int wait = 0; wait < 500 && !gone; ++wait) {
    gone = !Alive(ffmpeg);
    if (!gone) usleep(10000);
  }
  if (!gone) kill(ffmpeg, SIGKILL);
  EXPECT_TRUE(gone) << "ffmpeg " << ffmpeg << " outlived the program";
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(home_.str() + "incident.gpx"));
}

// Exit codes as --export has them: 1 for a stretch that cannot be saved, 2 for bad usage, and
// 3 (disk full), 4 (not allowed) or 5 (any other cause) for an output that cannot be written;
// none of them leaves a file behind.
TEST_F(HeadlessSave, EachFailureExitsWithItsCodeAndLeavesNothing) {
  const std::string card = test::SamplePath("dualcard/");
  const std::string out = home_.str() + "incident.mp4";
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> wrapper;
    int exitCode;
    const char* says;
  };
  const auto save = [&](const char* from, const char* to, const std::string& output) {
    return std::vector<std::string>{"--save", card, "--from", from, "--to", to, output};
  };
  // The first case indexes the card, so the file-size limit later meets only the video.
  const Case cases[] = {
      {save("2026-05-18T08:30:25", "2026-05-18T08:30:15", out),
       {},
       1,
       "korvane: save failed: the stretch ends before it starts\n"},
      {save("2026-05-18T08:30:50", "2026-05-18T08:50:10", out), {}, 1, "across two trips"},
      {save("2026-05-18T09:30:00", "2026-05-18T09:31:00", out), {}, 1, "no clip covers"},
      {{"--save", card, "--from", "08:30", "--to", "x@1", out}, {}, 2, "is no time"},
      {save("2026-05-18T08:30:05", "2026-05-18T08:30:50", out),
       {"/usr/bin/prlimit", "--fsize=262144"},
       3,
       "the output folder is full"},
      {save("2026-05-18T08:30:05", "2026-05-18T08:30:10", "/sys/incident.mp4"),
       {},
       4,
       "cannot write"},
      {save("2026-05-18T08:30:05", "2026-05-18T08:30:10", home_.str() + "none/incident.mp4"),
       {},
       5,
       "cannot write"},
  };
  for (const Case& c : cases) {
    const test::HeadlessRun run = Korvane(c.args, c.wrapper);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.says << ": " << run.out;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
  }
  for (const auto& entry : std::filesystem::directory_iterator(home_.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("incident")) << entry.path();
  }
}

}  // namespace
}  // namespace korvane
