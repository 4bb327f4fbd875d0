#include "dialogs/sound_devices.h"

#include <algorithm>
#include <chrono>

#include "platform/process.h"

namespace korvane {

std::string SoundCardText(std::string_view description) {
  std::string text = " ";
  bool pendingSpace = false;
  for (char c : description) {
    if (c == ' ') {
      pendingSpace = text.size() > 1;
      continue;
    }
    if (pendingSpace) text += ' ';
    pendingSpace = false;
    text += c;
  }
  return text;
}

std::vector<std::string> ParseAudioDeviceList(std::string_view output) {
  std::vector<std::string> descriptions;
  while (!output.empty()) {
    const std::size_t end = output.find('\n');
    std::string_view line = output.substr(0, end);
    output = end == std::string_view::npos ? std::string_view{} : output.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t tab1 = line.find('\t');
    if (tab1 == 0 || tab1 == std::string_view::npos) continue;
    if (line.substr(0, tab1).find_first_not_of("0123456789") != std::string_view::npos) continue;
    const std::string_view rest = line.substr(tab1 + 1);
    const std::size_t tab2 = rest.find('\t');
    const std::string_view description =
        tab2 == std::string_view::npos ? rest : rest.substr(tab2 + 1);
    descriptions.emplace_back(description.empty() ? rest.substr(0, tab2) : description);
  }
  return descriptions;
}

std::vector<std::string> ListPlayerAudioDevices(const std::string& playerProgram, int timeoutMs,
                                                const std::atomic<bool>* cancel) {
  ChildProcess child;
  ProcessOptions options;
  options.program = playerProgram;
  // "dsound" is the output the sound card applies to; list the devices the player uses with it.
  options.args = {"-list-audio-devices", "-ao", "dsound"};
  options.pipeStdout = true;
  if (child.Start(options) != 0) return {};
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string output;
  char buffer[4096];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || (cancel != nullptr && cancel->load())) {
      child.Release();
      return {};
    }
    // In short steps, so a cancel is seen soon.
    if (!child.WaitStdoutReadable(static_cast<int>(std::min<long long>(left, 50)))) continue;
    const ssize_t n = child.ReadStdout(buffer, sizeof buffer);
    if (n <= 0) break;
    output.append(buffer, static_cast<std::size_t>(n));
  }
  if (!child.WaitForExit(1000) || child.exitCode() != 0) return {};
  return ParseAudioDeviceList(output);
}

std::string PlayerProgramPath(const std::string& programFolder) {
  return programFolder + "MPlayer/mplayer";
}

}  // namespace korvane
