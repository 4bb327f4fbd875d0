#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace korvane {
namespace {

// Everything the child writes to stdout until it closes it.
std::string ReadAll(ChildProcess& child) {
  std::string text;
  char buffer[4096];
  while (child.WaitStdoutReadable(10000)) {
    ssize_t n = child.ReadStdout(buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

ProcessOptions Shell(const std::string& script) {
  ProcessOptions o;
  o.program = "/bin/sh";
  o.args = {"-c", script};
  o.pipeStdout = true;
  return o;
}

bool ProcessGone(pid_t pid) {
  int status;
  return waitpid(pid, &status, WNOHANG) < 0 && errno == ECHILD && kill(pid, 0) != 0;
}

TEST(ChildProcess, PassesArgumentsExactlyWithoutAShell) {
  const std::vector<std::string> args = {"two words", "it's \"quoted\"", "$HOME",
                                         "*",         "行车记录 ünï",    ""};
  ProcessOptions o;
  o.program = "/usr/bin/printf";
  o.args = {"[%s]\n"};
  o.args.insert(o.args.end(), args.begin(), args.end());
  o.pipeStdout = true;
  ChildProcess child;
  ASSERT_EQ(child.Start(o), 0);
  std::string expected;
  for (const auto& a : args) expected += "[" + a + "]\n";
  EXPECT_EQ(ReadAll(child), expected);
  ASSERT_TRUE(child.WaitForExit(10000));
  EXPECT_EQ(child.exitCode(), 0);
}

TEST(ChildProcess, RunsInTheGivenWorkingFolder) {
  test::TempDir temp;
  const auto folder = temp.path() / "snap shots 'ü' 截图";
  std::filesystem::create_directory(folder);
  ProcessOptions o = Shell("pwd");
  o.workingFolder = folder.string();
  ChildProcess child;
  ASSERT_EQ(child.Start(o), 0);
  EXPECT_EQ(ReadAll(child), folder.string() + "\n");
}

TEST(ChildProcess, ReportsStartFailuresAndHoldsNothing) {
  ChildProcess child;
  ProcessOptions missing;
  missing.program = "/no/such/program";
  missing.pipeStdin = missing.pipeStdout = true;
  EXPECT_EQ(child.Start(missing), ENOENT);
  EXPECT_FALSE(child.IsStarted());
  EXPECT_EQ(child.stdinFd(), -1);
  EXPECT_EQ(child.stdoutFd(), -1);

  ProcessOptions badFolder = Shell("true");
  badFolder.workingFolder = "/no/such/folder";
  EXPECT_NE(child.Start(badFolder), 0);
  EXPECT_FALSE(child.IsStarted());

  EXPECT_EQ(child.Start(ProcessOptions{}), ENOENT);
}

TEST(ChildProcess, SecondStartWithoutReleaseIsRefused) {
  ChildProcess child;
  ASSERT_EQ(child.Start(Shell("sleep 30")), 0);
  EXPECT_EQ(child.Start(Shell("true")), EBUSY);
  child.Release();
  ASSERT_EQ(child.Start(Shell("echo again")), 0);
  EXPECT_EQ(ReadAll(child), "again\n");
}

TEST(ChildProcess, StdinReachesTheChildAndClosingItEndsTheStream) {
  ProcessOptions o;
  o.program = "/bin/cat";
  o.pipeStdin = o.pipeStdout = true;
  ChildProcess child;
  ASSERT_EQ(child.Start(o), 0);
  EXPECT_TRUE(child.WriteStdin("pause\n"));
  EXPECT_TRUE(child.WriteStdin(std::string("get_time_pos\n")));
  child.CloseStdin();
  EXPECT_EQ(ReadAll(child), "pause\nget_time_pos\n");
  ASSERT_TRUE(child.WaitForExit(10000));
  EXPECT_EQ(child.exitCode(), 0);
}

TEST(ChildProcess, StderrGoesToStdoutOnlyWhenAsked) {
  for (bool merge : {false, true}) {
    ProcessOptions o = Shell("echo out; echo err >&2");
    o.stderrToStdout = merge;
    ChildProcess child;
    ASSERT_EQ(child.Start(o), 0);
    EXPECT_EQ(ReadAll(child), merge ? "out\nerr\n" : "out\n");
  }
}

TEST(ChildProcess, EnvironmentEntriesAreAddedOrReplaced) {
  setenv("KORVANE_TEST_KEEP", "kept", 1);
  setenv("KORVANE_TEST_SWAP", "old", 1);
  ProcessOptions o = Shell("echo $KORVANE_TEST_KEEP $KORVANE_TEST_SWAP $KORVANE_TEST_NEW");
  o.environment = {"KORVANE_TEST_SWAP=new", "KORVANE_TEST_NEW=added"};
  ChildProcess child;
  ASSERT_EQ(child.Start(o), 0);
  EXPECT_EQ(ReadAll(child), "kept new added\n");
}

TEST(ChildProcess, OnlyTheStandardStreamsAreInherited) {
  // A descriptor the parent left inheritable on purpose must still not reach the child.
  int leaky = open("/dev/null", O_RDONLY);
  ASSERT_GE(leaky, 3);
  const std::string fd = std::to_string(leaky);
  ChildProcess child;
  ASSERT_EQ(
      child.Start(Shell("if [ -e /proc/$$/fd/" + fd + " ]; then echo open; else echo closed; fi")),
      0);
  EXPECT_EQ(ReadAll(child), "closed\n");
  close(leaky);
}

TEST(ChildProcess, ExitCodesAndSignals) {
  ChildProcess child;
  ASSERT_EQ(child.Start(Shell("exit 3")), 0);
  ASSERT_TRUE(child.WaitForExit(10000));
  EXPECT_EQ(child.exitCode(), 3);
  EXPECT_TRUE(child.WaitForExit(0)) << "an ended child stays ended";
  child.Release();
  EXPECT_EQ(child.exitCode(), -1);
  EXPECT_FALSE(child.WaitForExit(0)) << "nothing started";

  ASSERT_EQ(child.Start(Shell("kill -TERM $$")), 0);
  ASSERT_TRUE(child.WaitForExit(10000));
  EXPECT_EQ(child.exitCode(), 128 + SIGTERM);
}

TEST(ChildProcess, WaitTimesOutThenKillReapsTheChild) {
  ChildProcess child;
  ASSERT_EQ(child.Start(Shell("exec sleep 30")), 0);
  const pid_t pid = child.pid();
  EXPECT_FALSE(child.WaitForExit(50));
  EXPECT_EQ(child.exitCode(), -1);
  child.Kill();
  EXPECT_TRUE(child.WaitForExit(0));
  EXPECT_EQ(child.exitCode(), 128 + SIGKILL);
  EXPECT_TRUE(ProcessGone(pid));
  child.Kill();  // harmless now
}

TEST(ChildProcess, DestructionKillsAndReapsARunningChild) {
  pid_t pid;
  {
    ChildProcess child;
    ProcessOptions o = Shell("exec sleep 30");
    o.pipeStdin = true;
    ASSERT_EQ(child.Start(o), 0);
    pid = child.pid();
  }
  EXPECT_TRUE(ProcessGone(pid));
}

TEST(ChildProcess, WritingToAChildThatHasGoneFailsWithoutSigpipe) {
  ProcessOptions o = Shell("exec 0<&-; exit 0");
  o.pipeStdin = true;
  ChildProcess child;
  ASSERT_EQ(child.Start(o), 0);
  ASSERT_TRUE(child.WaitForExit(10000));
  std::string big(1 << 20, 'x');  // more than a pipe holds
  EXPECT_FALSE(child.WriteStdin(big));
  EXPECT_FALSE(child.WriteStdin("quit\n"));
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0) << "no SIGPIPE left pending";
  // Still alive: reaching this line is the test.
}

TEST(ChildProcess, ReaderSeesEndOfStreamWhenTheChildIsKilled) {
  ChildProcess child;
  ASSERT_EQ(child.Start(Shell("echo ready; exec sleep 30")), 0);
  char buffer[64];
  ASSERT_TRUE(child.WaitStdoutReadable(10000));
  EXPECT_GT(child.ReadStdout(buffer, sizeof buffer), 0);
  EXPECT_FALSE(child.WaitStdoutReadable(20)) << "nothing more yet";
  child.Kill();
  ASSERT_TRUE(child.WaitStdoutReadable(10000));
  EXPECT_EQ(child.ReadStdout(buffer, sizeof buffer), 0);
}

TEST(ChildProcess, WithoutPipesReadsAndWritesFailCleanly) {
  ChildProcess child;
  ProcessOptions o;
  o.program = "/bin/true";
  ASSERT_EQ(child.Start(o), 0);
  char c;
  EXPECT_EQ(child.ReadStdout(&c, 1), -1);
  EXPECT_FALSE(child.WriteStdin("x"));
  EXPECT_FALSE(child.WaitStdoutReadable(0));
  EXPECT_TRUE(child.WaitForExit(10000));
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// A child that ends with its parent is started another way (fork and exec): the same streams,
// folder, environment and start failures as any child. Its end with the program is shown by the
// headless save killed while its ffmpeg runs.
TEST(ChildProcess, AChildThatEndsWithItsParentKeepsEveryOtherPromise) {
  test::TempDir temp;
  int leaky = open("/dev/null", O_RDONLY);
  ASSERT_GE(leaky, 3);
  ProcessOptions o = Shell(
      "pwd; echo $KORVANE_TEST_NEW; read line; echo \"$line\"; echo err >&2; "
      "[ -e /proc/$$/fd/" +
      std::to_string(leaky) + " ] && echo leaked; exit 3");
  o.endWithParent = true;
  o.pipeStdin = o.stderrToStdout = true;
  o.workingFolder = temp.str();
  o.environment = {"KORVANE_TEST_NEW=added"};
  ChildProcess child;
  ASSERT_EQ(child.Start(o), 0);
  EXPECT_TRUE(child.WriteStdin("to stdin\n"));
  EXPECT_EQ(ReadAll(child), temp.path().string() + "\nadded\nto stdin\nerr\n");
  ASSERT_TRUE(child.WaitForExit(10000));
  EXPECT_EQ(child.exitCode(), 3);
  close(leaky);

  ProcessOptions missing;
  missing.program = "/no/such/program";
  missing.endWithParent = missing.pipeStdout = true;
  ChildProcess never;
  EXPECT_EQ(never.Start(missing), ENOENT);
  EXPECT_FALSE(never.IsStarted());
  EXPECT_EQ(never.stdoutFd(), -1);
}

}  // namespace
}  // namespace korvane
