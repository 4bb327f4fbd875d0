// The real program against the single-instance marker.
#include <gtest/gtest.h>

#include "platform/instance_lock.h"
#include "platform/process.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

TEST(Korvane, EndsWithOneWhileAnotherInstanceRuns) {
  test::TempDir runtime;
  test::ScopedEnv env;
  env.Set("XDG_RUNTIME_DIR", runtime.str());
  InstanceLock running;
  ASSERT_EQ(running.Acquire("TesmarOrvixMutex"), InstanceLock::Result::Acquired);

  ProcessOptions o;
  o.program = test::ProgramDir() + "korvane";
  o.args = {test::DefaultClip()};
  o.environment = {"XDG_RUNTIME_DIR=" + runtime.str(), "QT_QPA_PLATFORM=offscreen"};
  o.pipeStdout = o.stderrToStdout = true;
  ChildProcess korvane;
  ASSERT_EQ(korvane.Start(o), 0);
  ASSERT_TRUE(korvane.WaitForExit(20000));
  EXPECT_EQ(korvane.exitCode(), 1);
  char c;
  EXPECT_EQ(korvane.ReadStdout(&c, 1), 0) << "silently: nothing printed";
  EXPECT_TRUE(running.held());
}

}  // namespace
}  // namespace korvane
