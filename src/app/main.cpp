// KORVANE: a player for car dash-camera video files with their route and G-sensor curves.
// The `korvane` command: options that need no window (--info, --export, --save, --help,
// --version) run here without loading the toolkit, whose libraries alone cost a headless run
// more than its work; for the window it becomes the window program beside it, in the same process
// with the same arguments.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/entry_point.h"

int main(int argc, char** argv) {
  // A file-size limit fails a write (said as a full disk, the file before kept) instead of
  // killing the program in the middle of it. Ignored stays ignored in the window program.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string folder = korvane::ExecutableFolder();
  // Options run beside an open window (no instance lock) and on a machine without a display.
  if (const auto exitCode = korvane::RunCommandLine(korvane::ParseCommandLine(args), folder)) {
    return *exitCode;
  }
  const std::string window = folder + korvane::kWindowProgramName;
  ::execv(window.c_str(), argv);
  std::fprintf(stderr, "korvane: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
  return 1;
}
