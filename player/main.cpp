// Entry point of the slave-mode player program (MPlayer/mplayer in the program folder).
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
  if (options->listAudioDevices) return korvane::player::MpvSlavePlayer::ListAudioDevices(*options);
  korvane::player::MpvSlavePlayer player(*options);
  return player.Run();
}
