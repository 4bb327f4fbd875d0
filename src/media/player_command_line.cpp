#include "media/player_command_line.h"

#include "media/slave_commands.h"
#include "platform/ascii_text.h"

namespace korvane {

bool IsDirectSoundOutput(std::string_view text) {
  return EqualsIgnoringAsciiCase(text, "dsound");
}

std::vector<std::string> SplitAtSpaces(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty()) {
    const std::size_t space = text.find(' ');
    if (space != 0) words.emplace_back(text.substr(0, space));
    if (space == std::string_view::npos) break;
    text.remove_prefix(space + 1);
  }
  return words;
}

std::vector<std::string> BuildPlayerArguments(const PlayerLaunch& launch) {
  std::vector<std::string> args = {launch.mediaPath};
  if (launch.videoWindow != 0) {
    args.insert(args.end(), {"-wid", std::to_string(launch.videoWindow)});
  }
  const std::string audio = IsDirectSoundOutput(launch.audioOutput)
                                ? "dsound:device=" + std::to_string(launch.soundDevice)
                                : launch.audioOutput;
  args.insert(args.end(),
              {"-vo", launch.videoOutput, "-slave", "-quiet", "-identify", "-ao", audio, "-volume",
               std::to_string(launch.volume), "-muteset", launch.muted ? "1" : "0"});
  if (launch.speed != 1.0) args.insert(args.end(), {"-speed", DecimalText(launch.speed, 2)});
  for (std::string& word : SplitAtSpaces(launch.extraArguments)) args.push_back(std::move(word));
  return args;
}

}  // namespace korvane
