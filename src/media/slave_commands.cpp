#include "media/slave_commands.h"

#include <charconv>

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
std::string SeekCommand(double seconds) {
  char number[32];
  const auto written =
      std::to_chars(number, number + sizeof number, seconds, std::chars_format::fixed, 3);
  const std::string text = written.ec == std::errc() ? std::string(number, written.ptr) : "0.000";
  return "pausing_keep seek " + text + " 2";
}
std::string MuteCommand(bool mute) {
  return mute ? "mute 1" : "mute 0";
}

}  // namespace korvane
