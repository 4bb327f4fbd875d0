#include "app/entry_point.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/ascii_text.h"
#include "platform/instance_hand_over.h"
#include "platform/instance_lock.h"
#include "platform/path_parts.h"

namespace korvane {

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return SplitPath(std::string_view(buffer, static_cast<size_t>(n))).folder;
}

std::vector<std::string> CommandLineFiles(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i] != nullptr ? argv[i] : "";
    if (argument.empty() || (argument[0] == '-' && argument != "-")) continue;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(argument, error);
    files.push_back(error ? argument : absolute.lexically_normal().string());
  }
  return files;
}

std::optional<std::string> NoDisplayLine(const char* display, const char* waylandDisplay,
                                         const char* platform) {
  const auto isSet = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (isSet(display) || isSet(waylandDisplay)) return std::nullopt;
  std::string_view platforms = isSet(platform) ? platform : "";
  while (!platforms.empty()) {
    const std::size_t end = std::min(platforms.find(';'), platforms.size());
    const std::string_view name = platforms.substr(0, std::min(platforms.find(':'), end));
    if (EqualsIgnoringAsciiCase(name, "offscreen") || EqualsIgnoringAsciiCase(name, "minimal")) {
      return std::nullopt;
    }
    platforms.remove_prefix(std::min(end + 1, platforms.size()));
  }
  return "korvane: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

int RunApplication(int argc, char** argv,
                   const std::function<int(ApplicationContext&)>& runMainWindow) {
  ApplicationContext context;
  context.commandLineFiles = CommandLineFiles(argc, argv);
  // Held until the process ends; a lock that cannot be had at all does not stop the program.
  static InstanceLock instanceLock;
  switch (instanceLock.Acquire(kInstanceMutexName)) {
    case InstanceLock::Result::HeldByOther:
      // The file the user opened goes to the window that is already there.
      HandFilesToRunningInstance(InstanceSocketPath(kInstanceMutexName), context.commandLineFiles);
      return 1;
    case InstanceLock::Result::Acquired:
      context.handOverSocket = InstanceSocketPath(kInstanceMutexName);
      break;
    case InstanceLock::Result::Unavailable:
      break;
  }
  // After the lock: a start without a display still hands its files to a window that has one.
  if (const auto line =
          NoDisplayLine(getenv("DISPLAY"), getenv("WAYLAND_DISPLAY"), getenv("QT_QPA_PLATFORM"))) {
    std::fprintf(stderr, "%s\n", line->c_str());
    return 1;
  }
  context.programFolder = ExecutableFolder();
  return runMainWindow(context);
}

}  // namespace korvane
