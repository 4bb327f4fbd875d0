#include "media/slave_commands.h"

namespace korvane {

std::optional<std::string> CommandLine(std::string_view text) {
  if (text.size() > kMaxCommandLength || text.find_first_of("\r\n") != std::string_view::npos) {
    return std::nullopt;
  }
  std::string line(text);
  line += '\n';
  return line;
}

std::string VolumeCommand(int volume) {
  return "volume " + std::to_string(volume) + " 1";
}
std::string SeekCommand(int seconds) {
  return "seek " + std::to_string(seconds) + " 2";
}
std::string MuteCommand(bool mute) {
  return mute ? "mute 1" : "mute 0";
}

}  // namespace korvane
