// Texts of the slave commands the controller writes to the player, one line each. Pure.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Longest command text that may be sent (the line break makes 63 bytes).
constexpr std::size_t kMaxCommandLength = 62;

// The bytes to write for one command: the text and one line feed. nullopt for a text longer than
// kMaxCommandLength or one holding a line break (it would be read as two commands).
std::optional<std::string> CommandLine(std::string_view text);

std::string VolumeCommand(int volume);  // "volume N 1", absolute
std::string SeekCommand(int seconds);   // "seek N 2", absolute seconds
std::string MuteCommand(bool mute);     // "mute 1" / "mute 0"

}  // namespace korvane
