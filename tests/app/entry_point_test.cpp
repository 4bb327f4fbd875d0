#include "app/entry_point.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/process.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

constexpr char kChildFlag[] = "KORVANE_ENTRY_POINT_CHILD";

// Inside the child processes the tests below start, this runs before the test program's main:
// the real entry point with a main window that reports itself and stays open until its stdin
// has a line (or ends).
const bool kRunAsChild = [] {
  if (getenv(kChildFlag) == nullptr) return false;
  char arg0[] = "korvane";
  char arg1[] = "clip one.mp4";
  char arg2[] = "行车 記録.mp4";
  char* argv[] = {arg0, arg1, arg2, nullptr};
  const int code = RunApplication(3, argv, [](ApplicationContext& context) {
    std::string files;
    for (const auto& f : context.commandLineFiles) files += "|" + f;
    std::printf("ready %s%s\n", context.programFolder.c_str(), files.c_str());
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return 7;
  });
  std::fflush(stdout);
  std::_Exit(code);
}();

class EntryPoint : public ::testing::Test {
 protected:
  // Starts this test program as one more instance of the application.
  void StartInstance(ChildProcess& child) {
    ProcessOptions o;
    o.program = ExecutableFolder() + program_invocation_short_name;
    o.environment = {std::string(kChildFlag) + "=1", "XDG_RUNTIME_DIR=" + runtime.str()};
    o.pipeStdin = o.pipeStdout = true;
    ASSERT_EQ(child.Start(o), 0);
  }
  // The "ready" line the child's main window printed, or empty when it never got that far.
  static std::string ReadyLine(ChildProcess& child) {
    std::string text;
    char c;
    while (child.WaitStdoutReadable(20000) && child.ReadStdout(&c, 1) == 1) {
      if (c != '\n') {
        text += c;
        continue;
      }
      if (text.rfind("ready ", 0) == 0) return text;
      text.clear();
    }
    return {};
  }
  test::TempDir runtime;
};

TEST_F(EntryPoint, SecondInstanceEndsWithOneAndLeavesTheFirstRunning) {
  ChildProcess first;
  StartInstance(first);
  const std::string ready = ReadyLine(first);
  const std::string here = std::filesystem::current_path().string() + "/";
  EXPECT_EQ(ready,
            "ready " + ExecutableFolder() + "|" + here + "clip one.mp4|" + here + "行车 記録.mp4");

  ChildProcess second;
  StartInstance(second);
  ASSERT_TRUE(second.WaitForExit(20000));
  EXPECT_EQ(second.exitCode(), 1);
  EXPECT_EQ(ReadyLine(second), "") << "no main window for the second instance";

  EXPECT_FALSE(first.WaitForExit(0)) << "the first instance keeps running";
  EXPECT_TRUE(first.WriteStdin("close\n"));
  ASSERT_TRUE(first.WaitForExit(20000));
  EXPECT_EQ(first.exitCode(), 7) << "the main window's result is the exit code";

  ChildProcess third;
  StartInstance(third);
  EXPECT_FALSE(ReadyLine(third).empty()) << "a start after the first ended runs normally";
  third.CloseStdin();
  ASSERT_TRUE(third.WaitForExit(20000));
  EXPECT_EQ(third.exitCode(), 7);
}

// Options are no files (a lone "-" is one); a relative file is made absolute, as the running
// instance it may be handed to works in another folder.
TEST(CommandLineFilesTest, AreTheAbsolutePathsOfTheArgumentsThatAreNoOptions) {
  const std::string here = std::filesystem::current_path().string();
  const std::string parent = std::filesystem::current_path().parent_path().string();
  char arg0[] = "korvane", arg1[] = "-style", arg2[] = "a b.mp4", arg3[] = "/clips/./x.MP4",
       arg4[] = "-", arg5[] = "../y.mp4", arg6[] = "", arg7[] = "./-z.mp4";
  char* argv[] = {arg0, arg1, arg2, arg3, arg4, arg5, arg6, arg7, nullptr};
  EXPECT_EQ(CommandLineFiles(8, argv),
            (std::vector<std::string>{here + "/a b.mp4", "/clips/x.MP4", here + "/-",
                                      parent + "/y.mp4", here + "/-z.mp4"}));
}

struct DisplayCase {
  const char* display;
  const char* wayland;
  const char* platform;
  bool opens;
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
  for (const char* value : {c.display, c.wayland, c.platform}) {
    *os << " [" << (value != nullptr ? value : "unset") << "]";
  }
}

class NoDisplay : public testing::TestWithParam<DisplayCase> {};

TEST_P(NoDisplay, IsSaidOnlyWithoutADisplayAndWithoutAPlatformThatNeedsNone) {
  const DisplayCase& c = GetParam();
  const auto line = NoDisplayLine(c.display, c.wayland, c.platform);
  EXPECT_EQ(!line.has_value(), c.opens);
  if (line) {
    EXPECT_EQ(line->find('\n'), std::string::npos);
    EXPECT_NE(line->find("DISPLAY"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, NoDisplay,
    testing::Values(DisplayCase{":0", nullptr, nullptr, true},
                    DisplayCase{nullptr, "wayland-0", "xcb", true},
                    DisplayCase{nullptr, nullptr, nullptr, false}, DisplayCase{"", "", "", false},
                    DisplayCase{nullptr, nullptr, "xcb", false},
                    DisplayCase{nullptr, nullptr, "offscreen", true},
                    DisplayCase{nullptr, nullptr, "Minimal", true},
                    DisplayCase{nullptr, nullptr, "offscreen:fontengine=freetype", true},
                    DisplayCase{nullptr, nullptr, "wayland;xcb;minimal", true},
                    DisplayCase{nullptr, nullptr, "offscreenx;xcb:minimal", false}));

TEST(ExecutableFolderTest, IsTheFolderOfThisProgramEndingInSlash) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(access((folder + program_invocation_short_name).c_str(), X_OK), 0);
}

}  // namespace
}  // namespace korvane
