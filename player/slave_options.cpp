#include "slave_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/ascii_text.h"

namespace korvane::player {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

template <typename T>
std::optional<T> WholeNumber(const std::string& text) {
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string BeforeColon(const std::string& name) {
  return name.substr(0, name.find(':'));
}

}  // namespace

std::optional<PlayerOptions> ParseCommandLine(const std::vector<std::string>& args,
                                              std::string& error) {
  PlayerOptions options;
  // Options MPlayer accepts that change nothing here.
  static const std::vector<std::string> kIgnoredFlags = {
      "-idx",    "-noidx",       "-fs", "-nofs", "-really-quiet", "-noconsolecontrols",
      "-nolirc", "-nomouseinput"};
  static const std::vector<std::string> kIgnoredWithValue = {"-vf", "-af", "-cache", "-lavdopts",
                                                             "-msglevel"};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = "Option " + arg + " needs a parameter";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto number = [&](auto& out) {
      std::string text;
      if (!value(text)) return false;
      auto parsed = WholeNumber<std::remove_reference_t<decltype(out)>>(text);
      if (!parsed) {
        error = "Option " + arg + ": bad number '" + text + "'";
        return false;
      }
      out = *parsed;
      return true;
    };
    if (arg == "-") {
      error = "Playing from standard input is not supported";
      return std::nullopt;
    }
    if (arg[0] != '-') {
      if (!options.file.empty()) {
        error = "Only one file can be played: " + arg;
        return std::nullopt;
      }
      options.file = arg;
      continue;
    }
    if (arg == "-wid") {
      if (!number(options.wid)) return std::nullopt;
    } else if (arg == "-vo") {
      if (!value(options.videoOutput)) return std::nullopt;
    } else if (arg == "-ao") {
      if (!value(options.audioOutput)) return std::nullopt;
    } else if (arg == "-volume") {
      int v = 0;
      if (!number(v)) return std::nullopt;
      options.volume = std::clamp(v, 0, 100);
    } else if (arg == "-muteset") {
      int v = 0;
      if (!number(v)) return std::nullopt;
      options.mute = v != 0;
    } else if (arg == "-sid") {
      int v = 0;
      if (!number(v)) return std::nullopt;
      options.subtitleId = v;
    } else if (arg == "-speed") {
      double v = 0.0;
      if (!number(v)) return std::nullopt;
      if (!std::isfinite(v)) {
        error = "Option -speed: bad number '" + args[i] + "'";
        return std::nullopt;
      }
      options.speed = std::clamp(v, kMinSpeed, kMaxSpeed);
    } else if (arg == "-slave") {
      options.slave = true;
    } else if (arg == "-quiet") {
      options.quiet = true;
    } else if (arg == "-v") {
      options.verbose = true;
    } else if (arg == "-identify") {
      options.identify = true;
    } else if (arg == "-nokeepaspect") {
      options.keepAspect = false;
    } else if (arg == "-keepaspect") {
      options.keepAspect = true;
    } else if (arg == "-list-audio-devices") {
      options.listAudioDevices = true;
    } else if (std::find(kIgnoredFlags.begin(), kIgnoredFlags.end(), arg) != kIgnoredFlags.end()) {
    } else if (std::find(kIgnoredWithValue.begin(), kIgnoredWithValue.end(), arg) !=
               kIgnoredWithValue.end()) {
      std::string ignored;
      if (!value(ignored)) return std::nullopt;
    } else {
      error = "Unknown option on the command line: " + arg;
      return std::nullopt;
    }
  }
  if (options.file.empty() && !options.listAudioDevices) {
    error = "No file given";
    return std::nullopt;
  }
  return options;
}

std::string MapVideoOutput(const std::string& mplayerName) {
  std::string name = AsciiLowered(BeforeColon(mplayerName));
  if (name.empty()) return name;
  if (StartsWith(name, "directx")) name = "x11";
  if (StartsWith(name, "gl")) name = "gpu,x11";
  // The trailing comma lets libmpv go on to any other output that works, as MPlayer falls back
  // from an output that cannot start, instead of ending the file.
  return name + ",";
}

bool RequestsPbo(const std::string& mplayerName) {
  const std::string name = AsciiLowered(mplayerName);
  if (!StartsWith(name, "gl")) return false;
  // Suboptions follow the first ':' and are separated by ':'.
  std::size_t start = name.find(':');
  while (start != std::string::npos) {
    const std::size_t end = name.find(':', start + 1);
    if (name.substr(start + 1, end == std::string::npos ? end : end - start - 1) == "force-pbo") {
      return true;
    }
    start = end;
  }
  return false;
}

AudioChoice MapAudioOutput(const std::string& mplayerName) {
  const std::string name = AsciiLowered(BeforeColon(mplayerName));
  AudioChoice choice;
  if (name == "dsound") {
    const std::string key = "device=";
    const std::size_t colon = mplayerName.find(':');
    if (colon != std::string::npos &&
        StartsWith(AsciiLowered(mplayerName.substr(colon + 1)), key)) {
      choice.deviceIndex = WholeNumber<int>(mplayerName.substr(colon + 1 + key.size()));
    }
    return choice;
  }
  choice.ao = name == "win32" ? "alsa" : name;
  return choice;
}

std::optional<std::string> AudioDeviceName(const std::string& listing, int index) {
  const std::string prefix = std::to_string(index) + "\t";
  std::size_t start = 0;
  while (start < listing.size()) {
    std::size_t end = listing.find('\n', start);
    if (end == std::string::npos) end = listing.size();
    const std::string line = listing.substr(start, end - start);
    if (StartsWith(line, prefix)) {
      const std::string rest = line.substr(prefix.size());
      return rest.substr(0, rest.find('\t'));
    }
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace korvane::player
