// Child processes with redirected standard streams: the stand-in for CreatePipe + CreateProcessW,
// WaitForSingleObject and TerminateProcess. No shell is involved: the program and its arguments go
// to the child exactly as given, so paths with spaces, quotes or CJK characters need no quoting.
#pragma once
#include <sys/types.h>

#include <mutex>
#include <string>
#include <vector>

namespace korvane {

struct ProcessOptions {
  std::string program;            // path of the executable (not searched in PATH; give it absolute,
                                  // a relative one is taken from the working folder)
  std::vector<std::string> args;  // arguments after argv[0]; argv[0] is `program`
  std::string workingFolder;      // empty: the caller's
  bool pipeStdin = false;         // give the child a pipe as stdin (else /dev/null)
  bool pipeStdout = false;        // give the child a pipe as stdout (else /dev/null)
  bool stderrToStdout = false;    // stderr goes where stdout goes (else /dev/null)
  // "NAME=value" entries added to the caller's environment (an entry replaces a variable of the
  // same name); empty: the caller's environment unchanged.
  std::vector<std::string> environment;
  // The child is killed when the thread that started it ends (the program killed, even with
  // SIGKILL, or that thread gone): for a child that must not go on writing on its own, such as an
  // ffmpeg saving a file. Only for a child the starting thread waits for; others outlive it.
  bool endWithParent = false;
};

// Owns one child process and the parent's ends of its pipes. Every descriptor and the child are
// released exactly once; destruction kills and reaps a child that still runs (no zombies).
// One object is driven by one thread at a time, except that a reader thread may block in
// ReadStdout while the owner writes stdin or kills the child (the kill ends the read with 0).
// Close or release the pipes only once that reader has ended.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the child. Returns 0, or an errno value (ENOENT for a missing program, ...) and then
  // holds nothing. A started child must be released first (returns EBUSY otherwise).
  int Start(const ProcessOptions& options);

  bool IsStarted() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  // Parent ends of the pipes; -1 when not piped or already closed. Non-blocking is not set:
  // poll before reading when a blocking read is not wanted.
  int stdinFd() const { return stdinFd_; }
  int stdoutFd() const { return stdoutFd_; }

  // Writes all bytes to the child's stdin. False when there is no pipe or the child has gone
  // (never raises SIGPIPE).
  bool WriteStdin(const void* data, size_t size);
  bool WriteStdin(const std::string& text) { return WriteStdin(text.data(), text.size()); }
  // Waits up to `timeoutMs` (negative: no limit) until a read of stdout would not block (data or
  // end of stream). False on time-out or when there is no stdout pipe.
  bool WaitStdoutReadable(int timeoutMs);
  // Reads up to `size` bytes of the child's stdout: the count, 0 at end of stream, -1 on error or
  // without a pipe. Blocks until data comes unless WaitStdoutReadable said it would not.
  ssize_t ReadStdout(void* buffer, size_t size);
  void CloseStdin();
  void CloseStdout();

  // Waits up to `timeoutMs` (negative: no limit) for the child to end (polling waitpid, no
  // signals). True when it ended
  // (then it is reaped and exitCode() is valid); a child already reaped returns true at once.
  bool WaitForExit(int timeoutMs);
  // SIGKILL and reap. Harmless when the child has ended.
  void Kill();
  // Exit code, 128+signal for a killed child, -1 while running or never started.
  int exitCode() const { return exitCode_; }

  // Kills a child still running, reaps it, closes both pipe ends. Leaves the object reusable.
  void Release();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int exitCode_ = -1;
  int stdinFd_ = -1;
  int stdoutFd_ = -1;
};

// WaitForExit for a child that another thread may also touch under `guard` (to write to it, kill
// or release it): `guard` is held only for each non-blocking check, never for the whole wait, so
// that thread is not held up by it. True when the child ended (or was released meanwhile).
bool WaitForExitGuarded(ChildProcess& child, std::mutex& guard, int timeoutMs);

}  // namespace korvane
