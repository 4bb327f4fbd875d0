// The real program run for its headless commands (--export, --info, --version) as a user's shell
// runs it: no display at all, a home of its own (settings, index), and a window's instance lock
// held, as when one is open.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/instance_lock.h"
#include "platform/process.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane::test {

struct HeadlessRun {
  int exitCode = -1;
  std::string out;  // stdout and stderr
};

class HeadlessProgram : public testing::Test {
 protected:
  void SetUp() override {
    env_.Unset("DISPLAY");
    env_.Unset("WAYLAND_DISPLAY");
    env_.Set("QT_QPA_PLATFORM", "xcb");
    env_.Set("HOME", home_.str());
    env_.Set("XDG_CONFIG_HOME", home_.str() + "config");
    env_.Set("XDG_CACHE_HOME", home_.str() + "cache");
    env_.Set("XDG_RUNTIME_DIR", home_.str());
    ASSERT_EQ(window_.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Acquired);
  }

  void SetTimeZone(const std::string& value) {
    WriteFileText(home_.path() / "Documents/KORVANE/conf/Velmora.ini",
                  "[MPlayer]\nTimeZone=" + value + "\n");
  }

  // `wrapper`: a program that runs korvane with the given arguments before its own, as
  // {"/usr/bin/prlimit", "--fsize=65536"} runs it under a file-size limit.
  HeadlessRun Korvane(std::vector<std::string> args, std::vector<std::string> wrapper = {}) {
    ProcessOptions o;
    o.program = ProgramDir() + "korvane";
    if (!wrapper.empty()) {
      args.insert(args.begin(), o.program);
      args.insert(args.begin(), wrapper.begin() + 1, wrapper.end());
      o.program = wrapper.front();
    }
    o.args = std::move(args);
    o.pipeStdout = o.stderrToStdout = true;
    ChildProcess korvane;
    HeadlessRun run;
    if (korvane.Start(o) != 0) return run;
    char buffer[4096];
    for (ssize_t got; (got = korvane.ReadStdout(buffer, sizeof buffer)) > 0;) {
      run.out.append(buffer, static_cast<std::size_t>(got));
    }
    if (korvane.WaitForExit(120000)) run.exitCode = korvane.exitCode();
    return run;
  }

  TempDir home_;
  ScopedEnv env_;
  InstanceLock window_;
};

}  // namespace korvane::test
