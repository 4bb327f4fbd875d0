#include "slave_protocol.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ascii_text.h"

namespace korvane::player {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ToNumber(std::string_view word, double& out) {
  std::string text(word);
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0' && std::isfinite(out);
}

// A number the player uses as an int (a seek or volume type, an exit code) must fit one.
bool FitsInt(double value) {
  return value > -2147483649.0 && value < 2147483648.0;
}

std::string Printf(const char* format, double value) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), format, value);
  return buffer.data();
}

}  // namespace

SlaveCommand ParseSlaveCommand(std::string_view line) {
  std::vector<std::string_view> words = Words(line);
  // MPlayer's "pausing", "pausing_keep", "pausing_toggle", "pausing_keep_force" prefixes.
  if (!words.empty() && words[0].substr(0, 7) == "pausing") words.erase(words.begin());
  SlaveCommand command;
  if (words.empty()) return command;

  using Kind = SlaveCommand::Kind;
  const std::string name = AsciiLowered(words[0]);
  // Reads the optional numbers after the name; false when one is malformed. Words beyond what
  // the command takes are ignored, as MPlayer ignores them.
  auto numbers = [&](std::size_t max) {
    const std::size_t given = std::min(words.size() - 1, max);
    double first = 0.0, second = 0.0;
    if (given > 0 && !ToNumber(words[1], first)) return false;
    if (given > 1 && (!ToNumber(words[2], second) || !FitsInt(second))) return false;
    command.hasValue = given > 0;
    command.value = first;
    command.type = static_cast<int>(second);
    return true;
  };
  struct Entry {
    std::string_view name;
    Kind kind;
    std::size_t maxArgs;
    bool needsValue;
  };
  static constexpr Entry kTable[] = {
      {"pause", Kind::kPause, 0, false},
      {"get_time_pos", Kind::kGetTimePos, 0, false},
      {"get_time_length", Kind::kGetTimeLength, 0, false},
      {"seek", Kind::kSeek, 2, true},
      {"volume", Kind::kVolume, 2, true},
      {"mute", Kind::kMute, 1, false},
      {"screenshot", Kind::kScreenshot, 1, false},
      {"quit", Kind::kQuit, 1, false},
      {"sub_log_static", Kind::kSubLogStatic, 0, false},
      {"frame_step", Kind::kFrameStep, 0, false},
      {"frame_back_step", Kind::kFrameBackStep, 0, false},
      {"speed_set", Kind::kSpeedSet, 1, true},
      {"get_dropped_frames", Kind::kGetDroppedFrames, 0, false},
  };
  if (name == "get_property") {
    if (words.size() < 2) return command;
    command.kind = Kind::kGetProperty;
    command.name = std::string(words[1]);
    return command;
  }
  for (const Entry& entry : kTable) {
    if (entry.name != name) continue;
    if (!numbers(entry.maxArgs) || (entry.needsValue && !command.hasValue)) return SlaveCommand{};
    if (entry.kind == Kind::kQuit && !FitsInt(command.value)) return SlaveCommand{};
    command.kind = entry.kind;
    return command;
  }
  return command;
}

std::string TimePositionReply(double seconds) {
  return Printf("ANS_TIME_POSITION=%.1f", seconds);
}
std::string LengthAnswer(double seconds) {
  return Printf("ANS_LENGTH=%.2f", seconds);
}
std::string DroppedFramesReply(long long frames) {
  return "ANS_DROPPED_FRAMES=" + std::to_string(frames < 0 ? 0 : frames);
}
std::string LengthIdentification(double seconds) {
  return Printf("ID_LENGTH=%.2f", seconds);
}
std::string AspectIdentification(double aspect) {
  return Printf("ID_VIDEO_ASPECT=%.4f", aspect);
}

std::string SubtitleLogReply(std::string_view text) {
  std::string reply = "ID_SUBTITLE_LOG=";
  for (char c : text) reply += (c == '\n' || c == '\r') ? ' ' : c;
  return reply;
}

std::string PropertyAnswer(const std::string& name, double number) {
  return "ANS_" + name + "=" + Printf("%f", number);
}

std::string PropertyAnswer(const std::string& name, bool flag) {
  return "ANS_" + name + "=" + (flag ? "yes" : "no");
}

std::string UnknownPropertyAnswer(const std::string& name) {
  return "Failed to get value of property '" + name + "'.\nANS_ERROR=PROPERTY_UNKNOWN";
}

std::string ScreenshotReply(const std::string& name) {
  return "*** screenshot '" + name + "' ***";
}

std::string NextScreenshotName(int& counter,
                               const std::function<bool(const std::string&)>& exists) {
  while (counter < 9999) {
    ++counter;
    std::array<char, 24> name{};
    std::snprintf(name.data(), name.size(), "shot%04d.png", counter);
    if (!exists(name.data())) return name.data();
  }
  return {};
}

}  // namespace korvane::player
