#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/fd_io.h"

extern char** environ;

namespace korvane {

namespace {

// The caller's environment with `extra` entries added or replacing same-named ones.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> result;
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    std::string entry = *e;
    const std::string name = nameOf(entry);
    bool replaced = std::any_of(extra.begin(), extra.end(),
                                [&](const std::string& x) { return nameOf(x) == name; });
    if (!replaced) result.push_back(std::move(entry));
  }
  result.insert(result.end(), extra.begin(), extra.end());
  return result;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Owns the spawn attribute objects so every exit path destroys them.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
};

// A step of the forked child that failed: its errno to the parent, and the child ends.
[[noreturn]] void ReportAndExit(int report) {
  const int error = errno;
  (void)!write(report, &error, sizeof error);
  _exit(127);
}

// The child's side of StartForked, between fork and exec: only async-signal-safe calls, as the
// other threads of the parent may have held any lock at the fork. Never returns; a step that
// fails sends its errno through `report` and ends the child.
[[noreturn]] void RunForkedChild(const ProcessOptions& options, pid_t parent, int stdinFd,
                                 int stdoutFd, int report, char* const* argv, char* const* envp) {
  const auto fail = [report] { ReportAndExit(report); };
  // Asked first, then checked: a parent that died before the request would leave it unheard.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) fail();
  if (getppid() != parent) _exit(127);
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);
  struct sigaction byDefault = {};
  byDefault.sa_handler = SIG_DFL;
  for (int signal = 1; signal < NSIG; ++signal) sigaction(signal, &byDefault, nullptr);
  // dup2 onto itself keeps close-on-exec, so a pipe end that already is the stream is cleared.
  const auto becomes = [&](int fd, int stream) {
    if (fd == stream) return fcntl(fd, F_SETFD, 0) == 0;
    return dup2(fd, stream) == stream;
  };
  const auto nullFor = [&](int stream, int flags) {
    const int fd = open("/dev/null", flags | O_CLOEXEC);
    return fd >= 0 && becomes(fd, stream);
  };
  if (!(stdinFd >= 0 ? becomes(stdinFd, STDIN_FILENO) : nullFor(STDIN_FILENO, O_RDONLY))) fail();
  if (!(stdoutFd >= 0 ? becomes(stdoutFd, STDOUT_FILENO) : nullFor(STDOUT_FILENO, O_WRONLY))) {
    fail();
  }
  if (!(options.stderrToStdout ? dup2(STDOUT_FILENO, STDERR_FILENO) == STDERR_FILENO
                               : nullFor(STDERR_FILENO, O_WRONLY))) {
    fail();
  }
  // Nothing but the three standard streams reaches the program; `report` closes at the exec.
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  if (!options.workingFolder.empty() && chdir(options.workingFolder.c_str()) != 0) fail();
  execve(options.program.c_str(), argv, envp);
  ReportAndExit(report);
}

// posix_spawn with PR_SET_PDEATHSIG, which it cannot set: fork and exec, the exec's errno
// reported back through a close-on-exec pipe. Returns the child or -1 with errno set.
pid_t StartForked(const ProcessOptions& options, int stdinFd, int stdoutFd, char* const* argv,
                  char* const* envp) {
  int report[2] = {-1, -1};
  if (pipe2(report, O_CLOEXEC) != 0) return -1;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) RunForkedChild(options, parent, stdinFd, stdoutFd, report[1], argv, envp);
  int error = errno;
  CloseFd(report[1]);
  if (pid > 0) {
    // The end of stream comes with the exec; an errno before it means the program never ran.
    ssize_t got = -1;
    do {
      got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    if (got == static_cast<ssize_t>(sizeof error)) {
      waitpid(pid, nullptr, 0);
      CloseFd(report[0]);
      errno = error;
      return -1;
    }
  }
  CloseFd(report[0]);
  errno = error;
  return pid;
}

}  // namespace

ChildProcess::~ChildProcess() {
  Release();
}

int ChildProcess::Start(const ProcessOptions& options) {
  if (IsStarted()) return EBUSY;
  if (options.program.empty()) return ENOENT;

  // Pipes are close-on-exec in the parent so children started concurrently by other threads do
  // not inherit them (an inherited write end would keep a reader from ever seeing end of stream).
  int in[2] = {-1, -1};
  int out[2] = {-1, -1};
  auto closeAll = [&] {
    for (int* fd : {&in[0], &in[1], &out[0], &out[1]}) CloseFd(*fd);
  };
  if (options.pipeStdin && pipe2(in, O_CLOEXEC) != 0) return errno;
  if (options.pipeStdout && pipe2(out, O_CLOEXEC) != 0) {
    int err = errno;
    closeAll();
    return err;
  }

  SpawnSetup setup;
  auto& fa = setup.actions;
  if (options.pipeStdin) {
    posix_spawn_file_actions_adddup2(&fa, in[0], STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&fa, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  if (options.pipeStdout) {
    posix_spawn_file_actions_adddup2(&fa, out[1], STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&fa, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  if (options.stderrToStdout) {
    posix_spawn_file_actions_adddup2(&fa, STDOUT_FILENO, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&fa, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  // Nothing but the three standard streams reaches the child.
  posix_spawn_file_actions_addclosefrom_np(&fa, 3);
  if (!options.workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&fa, options.workingFolder.c_str());
  }

  // The child starts with default signal handling and no blocked signals, whatever the caller's
  // threads have set up.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.attr, &none);
  posix_spawnattr_setsigdefault(&setup.attr, &all);
  posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> argvStrings;
  argvStrings.reserve(options.args.size() + 1);
  argvStrings.push_back(options.program);
  argvStrings.insert(argvStrings.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv = PointersTo(argvStrings);
  std::vector<std::string> envStrings = MergedEnvironment(options.environment);
  std::vector<char*> envp = PointersTo(envStrings);

  pid_t pid = -1;
  int err = 0;
  if (options.endWithParent) {
    pid = StartForked(options, options.pipeStdin ? in[0] : -1, options.pipeStdout ? out[1] : -1,
                      argv.data(), envp.data());
    err = pid < 0 ? errno : 0;
  } else {
    err = posix_spawn(&pid, options.program.c_str(), &fa, &setup.attr, argv.data(), envp.data());
  }
  if (err != 0) {
    closeAll();
    return err;
  }

  CloseFd(in[0]);
  CloseFd(out[1]);
  pid_ = pid;
  reaped_ = false;
  exitCode_ = -1;
  stdinFd_ = in[1];
  stdoutFd_ = out[0];
  return 0;
}

bool ChildProcess::WriteStdin(const void* data, size_t size) {
  return WriteAllFd(stdinFd_, data, size);
}

bool ChildProcess::WaitStdoutReadable(int timeoutMs) {
  return WaitFdReadable(stdoutFd_, timeoutMs);
}

ssize_t ChildProcess::ReadStdout(void* buffer, size_t size) {
  return ReadFd(stdoutFd_, buffer, size);
}

void ChildProcess::CloseStdin() {
  CloseFd(stdinFd_);
}

void ChildProcess::CloseStdout() {
  CloseFd(stdoutFd_);
}

bool ChildProcess::WaitForExit(int timeoutMs) {
  if (pid_ <= 0) return false;
  if (reaped_) return true;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    int status = 0;
    pid_t r = waitpid(pid_, &status, timeoutMs < 0 ? 0 : WNOHANG);
    if (r == pid_) {
      reaped_ = true;
      exitCode_ = ExitCodeOf(status);
      return true;
    }
    if (r < 0 && errno == ECHILD) {
      // Someone else reaped it (a SIGCHLD handler set to SIG_IGN, say): it has ended.
      reaped_ = true;
      return true;
    }
    if (r < 0 && errno != EINTR) return false;
    if (timeoutMs >= 0) {
      const auto now = Clock::now();
      if (now >= deadline) return false;
      std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
      pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
  }
}

bool WaitForExitGuarded(ChildProcess& child, std::mutex& guard, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    {
      std::lock_guard lock(guard);
      if (!child.IsStarted() || child.WaitForExit(0)) return true;
    }
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ChildProcess::Kill() {
  if (pid_ <= 0 || reaped_) return;
  kill(pid_, SIGKILL);
  WaitForExit(-1);
}

void ChildProcess::Release() {
  Kill();
  CloseFd(stdinFd_);
  CloseFd(stdoutFd_);
  pid_ = -1;
  reaped_ = false;
  exitCode_ = -1;
}

}  // namespace korvane
