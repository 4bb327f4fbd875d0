// Entry point of the slave-mode player program (MPlayer/mplayer in the program folder).
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "mpv_slave_player.h"
#include "slave_options.h"

int main(int argc, char** argv) {
  // A vanished controller shows up as a failed write, which ends the player; no signal needed.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = korvane::player::ParseCommandLine(args, error);
  if (!options) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (options->listAudioDevices) return korvane::player::MpvSlavePlayer::ListAudioDevices();
  // The command and reply channels move to descriptors of their own; 0 reads nothing and 1 goes
  // where diagnostics go. A library that closes or prints to 0 or 1 (a failing video output in
  // libmpv closes descriptor 0) can then neither end the session nor garble a reply.
  const int commands = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
  const int replyFd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  std::FILE* replies = replyFd >= 0 ? fdopen(replyFd, "w") : nullptr;
  if (commands < 0 || !replies) {
    std::fprintf(stderr, "Cannot set up the command and reply channels\n");
    return 1;
  }
  if (const int null = open("/dev/null", O_RDONLY); null >= 0) {
    dup2(null, STDIN_FILENO);
    close(null);
  }
  dup2(STDERR_FILENO, STDOUT_FILENO);
  korvane::player::MpvSlavePlayer player(*options, commands, replies);
  return player.Run();
}
