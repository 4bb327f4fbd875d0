// The limits a process sets on itself, tried in a child process each: past its processor time
// the kernel signals it, past its address space an allocation fails instead of the machine.
#include "platform/process_limits.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <new>

namespace korvane {
namespace {

// Runs `body` in a child and returns its wait status.
template <typename Body>
int InChild(Body body) {
  const pid_t pid = fork();
  if (pid == 0) {
    rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);  // a signal's core dump is not wanted here
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST(ProcessLimits, ProcessorTimeFromNowEndsABusyProcessWithTheSignal) {
  const int status = InChild([] {
    if (!SetProcessorTimeFromNow(1)) _exit(2);
    volatile unsigned long spin = 0;
    for (;;) spin = spin + 1;
  });
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGXCPU);
}

TEST(ProcessLimits, AnAllocationPastTheAddressSpaceFailsAndTheProcessGoesOn) {
  if (kSanitizerBuild) GTEST_SKIP() << "a sanitizer's shadow memory needs the address space";
  const int status = InChild([] {
    if (!SetAddressSpaceLimit(std::uint64_t{1} << 30)) _exit(2);
    try {
      volatile char* block = new char[std::size_t{2} << 30];
      block[0] = 1;
      _exit(3);
    } catch (const std::bad_alloc&) {
      _exit(0);
    }
  });
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace korvane
