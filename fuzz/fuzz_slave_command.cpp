// Arbitrary bytes as command lines of the slave-mode player: every line parsed, and what the
// player does with a parsed command (format its answers, use its numbers as it does) must stay
// defined: a quit code and a seek or volume type that fit an int, finite values.
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "slave_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvane::player::SlaveCommand;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const SlaveCommand command = korvane::player::ParseSlaveCommand(text.substr(0, end));
    if (!std::isfinite(command.value)) __builtin_trap();
    switch (command.kind) {
      case SlaveCommand::Kind::kQuit:
        if (!(command.value > INT_MIN - 1.0 && command.value < INT_MAX + 1.0)) __builtin_trap();
        break;
      case SlaveCommand::Kind::kSeek:
      case SlaveCommand::Kind::kVolume:
        korvane::player::TimePositionReply(command.value);
        break;
      case SlaveCommand::Kind::kGetProperty:
        korvane::player::PropertyAnswer(command.name, command.value);
        korvane::player::UnknownPropertyAnswer(command.name);
        break;
      default:
        break;
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return 0;
}
