#include "app/entry_point.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/instance_lock.h"

namespace korvane {

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  std::string path(buffer, static_cast<size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

int RunApplication(int argc, char** argv,
                   const std::function<int(ApplicationContext&)>& runMainWindow) {
  // Held until the process ends; a lock that cannot be had at all does not stop the program.
  static InstanceLock instanceLock;
  if (instanceLock.Acquire(kInstanceMutexName) == InstanceLock::Result::HeldByOther) return 1;

  ApplicationContext context;
  context.programFolder = ExecutableFolder();
  for (int i = 1; i < argc; ++i) context.commandLineFiles.emplace_back(argv[i]);
  const int result = runMainWindow(context);
  return result;
}

}  // namespace korvane
