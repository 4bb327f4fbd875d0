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
std::string DecimalText(double value, int decimals) {
  char number[32];
  const auto written =
      std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, decimals);
  // Only a number too long for the buffer fails; such a value is never sent.
  return written.ec == std::errc() ? std::string(number, written.ptr) : "0";
}
std::string SeekCommand(double seconds) {
  return "pausing_keep seek " + DecimalText(seconds, 3) + " 2";
}
std::string SpeedCommand(double speed) {
  return "pausing_keep_force speed_set " + DecimalText(speed, 2);
}
std::string MuteCommand(bool mute) {
  return mute ? "mute 1" : "mute 0";
}

}  // namespace korvane
