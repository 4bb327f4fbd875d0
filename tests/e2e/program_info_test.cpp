// The real program's report of what it finds in clips (--info), its version, and its answer to a
// command line it cannot take: without a display, beside a running window; and the window itself
// started without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "headless_program.h"

namespace korvane {
namespace {

class HeadlessInfo : public test::HeadlessProgram {};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Every clip of a folder (with an odd name) gets its line, the generated drive's whole: 600 fixes
// on the camera's clock with G values, and its camera family; a clip without telemetry says why.
TEST_F(HeadlessInfo, JsonGivesEveryClipOfAFolderItsLine) {
  const std::string folder = home_.str() + "卡 \"card\" 1/";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(test::DefaultClip(), folder + "a drive.mp4");
  std::filesystem::copy_file(test::NoSubtitleClip(), folder + "b none.mp4");
  std::filesystem::copy_file(test::CuesClip(5), folder + "c cues.mp4");
  const test::HeadlessRun run = Korvane({"--info", "--json", folder});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0].rfind("{\"path\":\"" + home_.str() + "卡 \\\"card\\\" 1/a drive.mp4\",", 0),
            0u)
      << lines[0];
  EXPECT_NE(lines[0].find("\"source\":\"subtitle\",\"clock\":\"camera\",\"fixes\":600,"
                          "\"first\":{\"time\":\"2026-05-18T08:30:00.000\",\"media_ms\":0,"),
            std::string::npos)
      << lines[0];
  EXPECT_NE(lines[0].find("\"last\":{\"time\":\"2026-05-18T08:30:59.000\",\"media_ms\":59900,"),
            std::string::npos)
      << lines[0];
  EXPECT_NE(lines[0].find("\"g_sensor\":true,"), std::string::npos) << lines[0];
  // The family for a person comes last, after every key a machine reader already takes.
  EXPECT_TRUE(lines[0].ends_with(",\"reason\":null,\"family\":\"Camera subtitle track\"}"))
      << lines[0];
  EXPECT_NE(lines[1].find("\"source\":\"none\",\"clock\":\"none\",\"fixes\":0,\"first\":null,"
                          "\"last\":null,\"g_sensor\":false,"),
            std::string::npos)
      << lines[1];
  EXPECT_TRUE(lines[1].ends_with("\"reason\":\"no subtitle track\",\"family\":\"none\"}"))
      << lines[1];
  EXPECT_NE(lines[2].find("\"fixes\":5,"), std::string::npos) << lines[2];
}

TEST_F(HeadlessInfo, AnswersEveryOtherCommandLineInALineOrTwo) {
  const std::string usage = Korvane({"--help"}).out;
  EXPECT_NE(usage.find("--info [--json] CLIP|FOLDER"), std::string::npos) << usage;
  EXPECT_NE(usage.find("--version"), std::string::npos) << usage;
  const std::string missing = home_.str() + "missing clip.mp4";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"--version"}, 0, "korvane " KORVANE_VERSION "\n"},
      {{"--frobnicate", test::DefaultClip()}, 2, "korvane: unknown option --frobnicate\n" + usage},
      {{"--info", test::DefaultClip(), "--json", "x"},
       2,
       "korvane: --info needs one clip or folder\n" + usage},
      {{"--info", missing}, 1, "korvane: " + missing + ": no such clip or folder\n"},
  };
  for (const Case& c : cases) {
    const test::HeadlessRun run = Korvane(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args[0];
    EXPECT_EQ(run.out, c.out) << c.args[0];
  }

  // The window's start without a display, once it knows no other window runs: one line, not the
  // toolkit's abort.
  window_.Release();
  env_.Unset("QT_QPA_PLATFORM");
  const test::HeadlessRun window = Korvane({test::DefaultClip()});
  EXPECT_EQ(window.exitCode, 1) << window.out;
  EXPECT_EQ(std::count(window.out.begin(), window.out.end(), '\n'), 1) << window.out;
  EXPECT_NE(window.out.find("no display"), std::string::npos) << window.out;
}

}  // namespace
}  // namespace korvane
